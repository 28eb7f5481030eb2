#include "ui/dialogs/plan_sheet.h"

#include <commctrl.h>
#include <prsht.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "base/messages.h"
#include "base/settings_record.h"
#include "base/string_ids.h"
#include "power/plan_ids.h"
#include "platform/win32/wide_text.h"
#include "ui/dialogs/auto_switch_page.h"
#include "ui/dialogs/device_page.h"
#include "ui/dialogs/eco_settings_common.h"
#include "ui/dialogs/eco_settings_ids.h"
#include "ui/dialogs/plan_editor_dialog.h"
#include "ui/model/auto_switch_page_model.h"
#include "ui/model/plan_sheet_items.h"

namespace kestrel {
namespace {

using namespace eco_ids;

constexpr std::int64_t kLockCodeApply = 7;
// The page's own message: place the sheet once it is shown.
constexpr UINT kMsgPlaceSheet = WM_APP + 1;
constexpr std::int64_t kLockCodeSelect = 9;
constexpr std::int64_t kLockCodeEditor = 11;

class PlanPage {
 public:
  PlanPage(SettingsDialogHost& host, const DialogServicesSource& services, DevicePage* const& devicePage)
      : host_(host), services_(services), devicePage_(devicePage) {}
  INT_PTR Handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void Init();
  void Fill(const Guid& select);
  void ShowChosen();
  void OpenEditor();
  void Apply();
  void PlaceSheet();

  SettingsDialogHost& host_;
  DialogServicesSource services_;
  DevicePage* const& devicePage_;
  HWND dialog_ = nullptr;
  HWND tooltip_ = nullptr;
  std::vector<PlanChoice> items_;
  Guid chosen_;
  bool placed_ = false;
};

void PlanPage::Fill(const Guid& select) {
  PlanLock::Hold hold = host_.plans().lock().Acquire(kPlanLockWaitMs);
  if (!hold) {
    host_.reporter().ReportCode(kStringPlanLockTimeout, kLockCodeSelect);
    return;
  }
  std::shared_ptr<const PlanList> list = host_.plans().planList();
  items_.clear();
  auto add = [this](const PlanRecord* record) {
    if (record == nullptr || !record->listable()) return;
    items_.push_back({record->guid, record->name, record->description, record->iconNo, record->indicator});
  };
  for (std::size_t pin = 0; pin < list->modePlanRefs().size(); ++pin) add(list->modePlan(pin));
  for (std::size_t position = 0; position < list->listed().size(); ++position) add(list->listedPlan(position));
  hold.Release();
  HWND combo = GetDlgItem(dialog_, kSheetPlanList);
  SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  std::size_t selected = 0;
  for (std::size_t i = 0; i < items_.size(); ++i) {
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToWide(items_[i].name).c_str()));
    if (items_[i].guid == select) selected = i;
  }
  if (!items_.empty()) {
    SendMessageW(combo, CB_SETCURSEL, selected, 0);
    chosen_ = items_[selected].guid;
  }
  ShowChosen();
}

void PlanPage::ShowChosen() {
  PlanChoice none;
  const PlanChoice* choice = &none;
  for (const PlanChoice& item : items_) {
    if (item.guid == chosen_) choice = &item;
  }
  SetText(dialog_, kSheetDescription, choice->description);
  ShowRatings(dialog_, kSheetPerformancePips, kSheetSavingPips, RatingsOfPlan(host_, *choice));
  PlanRecord record;
  record.guid = chosen_;
  if (!record.guid.IsNull()) host_.plans().reader().Read(record);
  SetText(dialog_, kSheetRunTime,
          record.guid.IsNull() ? host_.machine().strings.Load(kStringNoRunTime) : host_.RunTimeText(record));
  EnableControl(dialog_, kSheetDetailButton, !record.guid.IsNull() && services_ && services_() != nullptr);
}

void PlanPage::PlaceSheet() {
  HWND sheet = GetParent(dialog_);
  if (placed_ || sheet == nullptr) return;
  placed_ = true;
  RECT window{}, area{}, buttons{};
  GetWindowRect(sheet, &window);
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0)) {
    host_.reporter().ReportCode(kStringWorkAreaFailed, static_cast<std::int64_t>(GetLastError()));
    return;
  }
  if (!host_.openedFromTray()) {
    // Not from the notification area: the middle of the work area.
    int width = window.right - window.left;
    int height = window.bottom - window.top;
    SetWindowPos(sheet, nullptr, std::max<int>(area.left, (area.left + area.right - width) / 2),
                 std::max<int>(area.top, (area.top + area.bottom - height) / 2), 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    return;
  }
  std::optional<Rect> bar;
  HWND languageBar = FindWindowW(nullptr, L"TF_FloatingLangBar_WndTitle");
  if (languageBar != nullptr && IsWindowVisible(languageBar)) {
    RECT r{};
    GetWindowRect(languageBar, &r);
    bar = Rect{r.left, r.top, r.right, r.bottom};
  }
  if (HWND ok = GetDlgItem(sheet, IDOK)) GetWindowRect(ok, &buttons);
  Point position = SheetPosition(Rect{area.left, area.top, area.right, area.bottom},
                                 Rect{window.left, window.top, window.right, window.bottom}, host_.dialogAnchor(), bar,
                                 buttons.top != 0 ? buttons.top - window.top : window.bottom - window.top);
  SetWindowPos(sheet, nullptr, position.x, position.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void PlanPage::Init() {
  if (!host_.Has(SettingsFlag::BatteryPresent)) {
    ShowControl(dialog_, kSheetRunTime, false);
    ShowControl(dialog_, kSheetRunTimeLabel, false);
  }
  std::shared_ptr<const PlanRecord> current = host_.plans().currentPlan();
  Fill(current ? current->guid : Guid{});
  HWND sheet = GetParent(dialog_);
  host_.DialogOpened(reinterpret_cast<WindowHandle>(sheet));
  tooltip_ = CreateTooltip(GetModuleHandleW(nullptr), dialog_);
  AddTooltip(tooltip_, dialog_, kSheetDetailButton, ToWide(host_.machine().strings.Load(kStringDetailButtonTip)));
  SetTimer(dialog_, kRefreshTimer, kRefreshPeriodMs, nullptr);
}

void PlanPage::OpenEditor() {
  const DialogServices* services = services_ ? services_() : nullptr;
  if (services == nullptr) return;
  PlanRecord record;
  {
    PlanLock::Hold hold = host_.plans().lock().Acquire(kPlanLockWaitMs);
    if (!hold) {
      host_.reporter().ReportCode(kStringPlanLockTimeout, kLockCodeEditor);
      return;
    }
    record.guid = chosen_;
    host_.plans().reader().Read(record);
  }
  if (record.guid.IsNull()) {
    host_.reporter().ReportCode(kStringPlanNotFound, 0);
    return;
  }
  PlanEditorRequest request{*services, record.guid, 0,
                            ChooseSheetEditorTemplate(services->settings.flags, services->ambientLight),
                            GetParent(dialog_)};
  RunPlanEditor(GetParent(dialog_), request);
  host_.EditorClosed();
  host_.plans().BuildPlanList(host_.config().pinnedPlans);
  Guid wanted = chosen_;
  Fill(wanted);
  if (chosen_ != wanted) {
    std::shared_ptr<const PlanRecord> current = host_.plans().currentPlan();
    Fill(current ? current->guid : Guid{});
  }
}

void PlanPage::Apply() {
  RestorePanelAfterDevicePage(devicePage_);
  KillTimer(dialog_, kRefreshTimer);
  if (RoamerSettingsOpen(host_.machine().sync)) {
    Ask(host_, dialog_, host_.machine().strings.Load(kStringRoamerOpen), MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  PlanLock::Hold hold = host_.plans().lock().Acquire(kPlanLockWaitMs);
  if (!hold) {
    host_.reporter().ReportCode(kStringPlanLockTimeout, kLockCodeApply);
    return;
  }
  if (chosen_.IsNull()) return;
  Status status = host_.machine().power.SetActivePlan(chosen_);
  if (status != kSuccess) {
    host_.reporter().ReportCode(kStringSetActivePlanFailed, status);
    return;
  }
  host_.plans().SetCurrentPlan(kReloadActivePlanId);
  hold.Release();
  host_.PlanActivated();
}

INT_PTR PlanPage::Handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      dialog_ = dialog;
      Init();
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == kSheetDetailButton) OpenEditor();
      if (LOWORD(wParam) == kSheetPlanList && HIWORD(wParam) == CBN_SELCHANGE) {
        LRESULT item = SendDlgItemMessageW(dialog_, kSheetPlanList, CB_GETCURSEL, 0, 0);
        if (item != CB_ERR && static_cast<std::size_t>(item) < items_.size()) chosen_ = items_[item].guid;
        ShowChosen();
      }
      if (LOWORD(wParam) == kSheetPlanList && HIWORD(wParam) == CBN_DROPDOWN) {
        if (chosen_.IsNull()) host_.reporter().ReportCode(kStringPlanNotFound, 0);
        Fill(chosen_);
      }
      return TRUE;
    case WM_TIMER:
      if (wParam == kRefreshTimer) {
        host_.plans().BuildPlanList(host_.config().pinnedPlans);
        Fill(chosen_);
      }
      return TRUE;
    case kMsgRefreshSettings:
      ShowChosen();
      return TRUE;
    case kMsgPlaceSheet:
      PlaceSheet();
      return TRUE;
    case WM_POWERBROADCAST:
      ShowChosen();
      return TRUE;
    case WM_NOTIFY: {
      const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
      // The sheet places itself after its first page is active: move it
      // once that is done.
      if (header->code == PSN_SETACTIVE && !placed_) PostMessageW(dialog_, kMsgPlaceSheet, 0, 0);
      if (header->code == PSN_APPLY) {
        Apply();
        SetWindowLongPtrW(dialog_, DWLP_MSGRESULT, PSNRET_NOERROR);
      }
      if (header->code == PSN_QUERYCANCEL) {
        RestorePanelAfterDevicePage(devicePage_);
        SetWindowLongPtrW(dialog_, DWLP_MSGRESULT, FALSE);
      }
      return TRUE;
    }
    case WM_DESTROY:
      KillTimer(dialog_, kRefreshTimer);
      if (tooltip_ != nullptr) DestroyWindow(tooltip_);
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

void RunPlanSettingsSheet(HINSTANCE instance, HWND owner, SettingsDialogHost& host, DeviceInstances& devices,
                          const DialogServicesSource& services) {
  std::unique_ptr<DevicePage, DevicePageDeleter> devicePage;
  std::unique_ptr<AutoSwitchSheetPage, AutoSwitchPageDeleter> autoPage;
  DevicePage* devicePointer = nullptr;
  PlanPage planPage(host, services, devicePointer);
  std::vector<HPROPSHEETPAGE> pages;
  pages.push_back(CreateSheetPage(instance, kPlanPageTemplate, &planPage));
  if (host.Has(SettingsFlag::BatteryPresent)) pages.push_back(CreateAutoSwitchSheetPage(instance, host, autoPage));
  if (!host.deviceItems().empty()) {
    pages.push_back(CreateDeviceSheetPage(instance, host, devices, devicePage));
    devicePointer = devicePage.get();
  }
  std::wstring caption = ToWide(host.machine().strings.Load(kStringPlanSettingsCaption));
  PROPSHEETHEADERW header{};
  header.dwSize = sizeof(header);
  header.dwFlags = PSH_NOAPPLYNOW;
  header.hwndParent = owner;
  header.hInstance = instance;
  header.pszCaption = caption.c_str();
  header.nPages = static_cast<UINT>(pages.size());
  header.phpage = pages.data();
  PropertySheetW(&header);
  host.DialogClosed();
}

}  // namespace kestrel
