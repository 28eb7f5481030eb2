// What the ECO mode settings dialog and the plan settings sheet's pages draw
// alike: the rating pips, the run-time text, the plan icon of a column, texts
// and tooltips.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <string_view>

#include "app/surfaces.h"
#include "power/plan_record.h"
#include "ui/model/eco_settings_model.h"
#include "ui/shell/scoped_win.h"

namespace kestrel {

void SetText(HWND dialog, int id, std::u16string_view text);
std::u16string GetText(HWND dialog, int id);
void ShowControl(HWND dialog, int id, bool shown);
void EnableControl(HWND dialog, int id, bool enabled);

// The ratings as five pips each, from `firstPerformance` and `firstSaving`
// on. The three pip bitmaps are loaded once for the process; statics are
// only ever given those.
void ShowRatings(HWND dialog, int firstPerformance, int firstSaving, const PlanRatings& ratings);
// Ratings of a plan: the eco-level library, then Indicator.
PlanRatings RatingsOfPlan(SettingsDialogHost& host, const PlanChoice& choice);

// The icon resource of a column: the plan's large ECO icon plus the mode, or
// the none icon; loaded at the default icon size (the caller owns it).
ScopedIcon LoadColumnIcon(HINSTANCE instance, const PlanChoice& choice, std::uint32_t mode);

// A tooltip over a control of the dialog (TTF_SUBCLASS, the control's rectangle).
void AddTooltip(HWND tooltip, HWND dialog, int id, const std::wstring& text);
HWND CreateTooltip(HINSTANCE instance, HWND dialog);

// Sizes icon statics to `pixels` square at 96 DPI, scaled to the screen's DPI.
void ResizeIcons(HWND dialog, std::initializer_list<int> controls, int pixels);

// A message box owned by the dialog with the program's caption.
int Ask(SettingsDialogHost& host, HWND dialog, std::u16string_view text, UINT style);

// The dialog procedure of a property sheet page whose state is a `Page`: the
// page's lParam is the state, and every message goes to Page::Handle.
template <typename Page>
INT_PTR CALLBACK SheetPageProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<const PROPSHEETPAGEW*>(lParam)->lParam);
  }
  auto* page = reinterpret_cast<Page*>(GetWindowLongPtrW(dialog, DWLP_USER));
  return page != nullptr ? page->Handle(dialog, message, wParam, lParam) : FALSE;
}

// A property sheet page of template `templateId` over the state `page`.
template <typename Page>
HPROPSHEETPAGE CreateSheetPage(HINSTANCE instance, int templateId, Page* page) {
  PROPSHEETPAGEW sheetPage{};
  sheetPage.dwSize = sizeof(sheetPage);
  sheetPage.hInstance = instance;
  sheetPage.pszTemplate = MAKEINTRESOURCEW(templateId);
  sheetPage.pfnDlgProc = SheetPageProc<Page>;
  sheetPage.lParam = reinterpret_cast<LPARAM>(page);
  return CreatePropertySheetPageW(&sheetPage);
}

}  // namespace kestrel
