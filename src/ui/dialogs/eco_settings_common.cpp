#include "ui/dialogs/eco_settings_common.h"

#include <commctrl.h>

#include "platform/win32/wide_text.h"
#include "ui/dialogs/eco_settings_ids.h"
#include "ui/model/eco_level_library.h"
#include "ui/model/plan_icons.h"

namespace kestrel {
namespace {

constexpr int kPipCount = 5;

HBITMAP PipBitmap(int id) {
  // Loaded once and kept for the life of the process.
  static HBITMAP filled = LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(eco_ids::kPipFilled));
  static HBITMAP empty = LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(eco_ids::kPipEmpty));
  static HBITMAP unknown = LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(eco_ids::kPipUnknown));
  return id == eco_ids::kPipFilled ? filled : id == eco_ids::kPipEmpty ? empty : unknown;
}

bool IsPip(HBITMAP bitmap) {
  return bitmap == PipBitmap(eco_ids::kPipFilled) || bitmap == PipBitmap(eco_ids::kPipEmpty) ||
         bitmap == PipBitmap(eco_ids::kPipUnknown);
}

void SetPip(HWND dialog, int id, int bitmapId) {
  HWND control = GetDlgItem(dialog, id);
  if (control == nullptr) return;
  HBITMAP previous = reinterpret_cast<HBITMAP>(
      SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(PipBitmap(bitmapId))));
  if (previous != nullptr && !IsPip(previous)) DeleteObject(previous);
}

void ShowRow(HWND dialog, int first, bool known, std::uint32_t rating) {
  for (int i = 0; i < kPipCount; ++i) {
    int bitmap = !known ? eco_ids::kPipUnknown
                        : static_cast<std::uint32_t>(i) < rating ? eco_ids::kPipFilled : eco_ids::kPipEmpty;
    SetPip(dialog, first + i, bitmap);
  }
}

}  // namespace

void SetText(HWND dialog, int id, std::u16string_view text) {
  SetDlgItemTextW(dialog, id, ToWide(text).c_str());
}

std::u16string GetText(HWND dialog, int id) {
  wchar_t buffer[1026] = {};
  GetDlgItemTextW(dialog, id, buffer, 1026);
  return FromWide(buffer);
}

void ShowControl(HWND dialog, int id, bool shown) {
  if (HWND control = GetDlgItem(dialog, id)) ShowWindow(control, shown ? SW_SHOW : SW_HIDE);
}

void EnableControl(HWND dialog, int id, bool enabled) {
  if (HWND control = GetDlgItem(dialog, id)) EnableWindow(control, enabled ? TRUE : FALSE);
}

void ShowRatings(HWND dialog, int firstPerformance, int firstSaving, const PlanRatings& ratings) {
  ShowRow(dialog, firstPerformance, ratings.known, ratings.performance);
  ShowRow(dialog, firstSaving, ratings.known, ratings.saving);
}

PlanRatings RatingsOfPlan(SettingsDialogHost& host, const PlanChoice& choice) {
  if (choice.none()) return RatingsOf(kNoEcoLevel, -1);
  PlanRecord record;
  record.guid = choice.guid;
  host.plans().reader().Read(record);
  if (record.guid.IsNull()) return RatingsOf(kNoEcoLevel, choice.indicator);
  return RatingsOf(host.EcoLevel(record), record.indicator);
}

ScopedIcon LoadColumnIcon(HINSTANCE instance, const PlanChoice& choice, std::uint32_t mode) {
  UINT id = choice.none() ? eco_ids::kNoPlanIcon : PlanLargeIcon(choice.iconNo, mode, IconSet::Eco);
  return ScopedIcon(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
}

HWND CreateTooltip(HINSTANCE instance, HWND dialog) {
  return CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr, instance, nullptr);
}

void AddTooltip(HWND tooltip, HWND dialog, int id, const std::wstring& text) {
  HWND control = GetDlgItem(dialog, id);
  if (tooltip == nullptr || control == nullptr) return;
  TOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_SUBCLASS;
  tool.hwnd = control;
  tool.uId = static_cast<UINT_PTR>(id);
  GetClientRect(control, &tool.rect);
  tool.lpszText = const_cast<wchar_t*>(text.c_str());
  SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void ResizeIcons(HWND dialog, std::initializer_list<int> controls, int pixels) {
  ScopedWindowDc screen;
  int size = MulDiv(pixels, GetDeviceCaps(screen.get(), LOGPIXELSX), 96);
  for (int id : controls) {
    if (HWND control = GetDlgItem(dialog, id)) {
      SetWindowPos(control, nullptr, 0, 0, size, size, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
}

int Ask(SettingsDialogHost& host, HWND dialog, std::u16string_view text, UINT style) {
  return host.machine().boxes.Show(reinterpret_cast<WindowHandle>(dialog), text, host.titleText(), style);
}

}  // namespace kestrel
