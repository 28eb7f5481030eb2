#include "ui/dialogs/auto_switch_page.h"

#include <commctrl.h>

#include <memory>
#include <vector>

#include "base/settings_record.h"
#include "base/string_ids.h"
#include "platform/win32/wide_text.h"
#include "ui/dialogs/eco_settings_common.h"
#include "ui/dialogs/help_loader.h"
#include "ui/dialogs/eco_settings_ids.h"
#include "ui/model/auto_switch_page_model.h"

namespace kestrel {

using namespace eco_ids;

class AutoSwitchSheetPage {
 public:
  AutoSwitchSheetPage(HINSTANCE instance, SettingsDialogHost& host, bool standalone)
      : instance_(instance), host_(host), standalone_(standalone) {}

  INT_PTR Handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void Init();
  void FillPlans();
  void EnableByCheck();
  void EnableAll(bool enabled);
  AutoSwitchChoice Choice() const;
  bool ApplyChoice();
  void StartRoamer();
  void RoamerTick();
  void Command(int id, int code);
  void End(INT_PTR result) { EndDialog(dialog_, result); }

  HINSTANCE instance_;
  SettingsDialogHost& host_;
  bool standalone_;
  HWND dialog_ = nullptr;
  std::vector<AutoSwitchPlanItem> items_;
  Guid chosen_;
  bool roamerRunning_ = false;
};

void AutoSwitchPageDeleter::operator()(AutoSwitchSheetPage* page) const { delete page; }

void AutoSwitchSheetPage::Init() {
  StringTable& strings = host_.machine().strings;
  bool ecoModel = host_.Has(SettingsFlag::EcoMode);
  SetText(dialog_, kNote, strings.Load(kStringPlaybackNote));
  for (int id : {kNote, kNoteMark}) ShowControl(dialog_, id, ecoModel);
  for (int id : {IDOK, IDCANCEL}) ShowControl(dialog_, id, ecoModel && standalone_);
  AutoSwitchRecord record = host_.autoSwitchRecord();
  CheckDlgButton(dialog_, kAutoEnabled, record.enabled == 1 ? BST_CHECKED : BST_UNCHECKED);
  chosen_ = record.target;
  FillPlans();
  HWND trackbar = GetDlgItem(dialog_, kAutoThreshold);
  SendMessageW(trackbar, TBM_SETRANGE, TRUE, MAKELPARAM(0, 100));
  SendMessageW(trackbar, TBM_SETTICFREQ, 10, 0);
  AutoSwitchChoice choice = ChoiceFromRecord(record);
  SendMessageW(trackbar, TBM_SETPOS, TRUE, static_cast<LPARAM>(choice.threshold));
  SetText(dialog_, kAutoThresholdText, ThresholdText(choice.threshold));
  if (host_.config().roamer != 0) {
    EnableControl(dialog_, kRoamerButton, true);
  } else if (HWND roamer = GetDlgItem(dialog_, kRoamerButton)) {
    DestroyWindow(roamer);
  }
  EnableByCheck();
  if (standalone_) SetForegroundWindow(dialog_);
}

void AutoSwitchSheetPage::FillPlans() {
  {
    PlanLock::Hold hold = host_.plans().lock().Acquire(kPlanLockWaitMs);
    if (!hold) return;
    items_ = AutoSwitchPlanItems(*host_.plans().planList());
  }
  HWND combo = GetDlgItem(dialog_, kAutoPlan);
  SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  for (const AutoSwitchPlanItem& item : items_) {
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToWide(item.name).c_str()));
  }
  std::optional<std::size_t> selected = AutoSwitchSelection(items_, chosen_);
  if (selected) {
    SendMessageW(combo, CB_SETCURSEL, *selected, 0);
    chosen_ = items_[*selected].guid;
  }
}

void AutoSwitchSheetPage::EnableByCheck() {
  bool enabled = IsDlgButtonChecked(dialog_, kAutoEnabled) == BST_CHECKED;
  for (int id : {kAutoThreshold, kAutoPlan, kAutoScaleLow, kAutoScaleHigh, kAutoPlanLabel}) {
    EnableControl(dialog_, id, enabled);
  }
}

void AutoSwitchSheetPage::EnableAll(bool enabled) {
  for (HWND child = GetWindow(dialog_, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    EnableWindow(child, enabled ? TRUE : FALSE);
  }
}

AutoSwitchChoice AutoSwitchSheetPage::Choice() const {
  AutoSwitchChoice choice;
  choice.enabled = IsDlgButtonChecked(dialog_, kAutoEnabled) == BST_CHECKED;
  choice.threshold = static_cast<std::uint32_t>(SendDlgItemMessageW(dialog_, kAutoThreshold, TBM_GETPOS, 0, 0));
  choice.target = chosen_;
  return choice;
}

bool AutoSwitchSheetPage::ApplyChoice() {
  AutoSwitchPageParts parts{host_.machine(), host_.reporter(), [this] { return host_.autoSwitchRecord(); },
                            [this](const AutoSwitchRecord& record) { return host_.StoreAutoSwitchRecord(record); }};
  AutoSwitchApply result = ApplyAutoSwitchChoice(parts, Choice());
  return result != AutoSwitchApply::NoPlan;
}

void AutoSwitchSheetPage::StartRoamer() {
  if (RoamerSettingsOpen(host_.machine().sync)) {
    Ask(host_, dialog_, host_.machine().strings.Load(kStringRoamerOpen), MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  std::wstring commandLine = ToWide(kRoamerProgramPath);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (CreateProcessW(commandLine.c_str(), nullptr, nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                     &startup, &process)) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  roamerRunning_ = true;
  EnableAll(false);
  SetTimer(dialog_, kRoamerTimer, kRoamerPeriodMs, nullptr);
}

void AutoSwitchSheetPage::RoamerTick() {
  if (RoamerSettingsOpen(host_.machine().sync)) return;  // the timer keeps running
  KillTimer(dialog_, kRoamerTimer);
  roamerRunning_ = false;
  EnableAll(true);
  EnableByCheck();
}

void AutoSwitchSheetPage::Command(int id, int code) {
  switch (id) {
    case kAutoEnabled:
      EnableByCheck();
      break;
    case kAutoPlan:
      if (code == CBN_SELCHANGE) {
        PlanLock::Hold hold = host_.plans().lock().Acquire(kPlanLockWaitMs);
        if (!hold) {
          host_.reporter().ReportCode(kStringPlanLockTimeout, 9);
          break;
        }
        LRESULT item = SendDlgItemMessageW(dialog_, kAutoPlan, CB_GETCURSEL, 0, 0);
        if (item != CB_ERR && static_cast<std::size_t>(item) < items_.size()) chosen_ = items_[item].guid;
        if (chosen_.IsNull()) host_.reporter().ReportCode(kStringPlanNotFound, 0);
      }
      break;
    case kRoamerButton:
      StartRoamer();
      break;
    case IDOK:
      if (standalone_) {
        ApplyChoice();
        End(1);
      }
      break;
    case IDCANCEL:
      if (standalone_) {
        bool changed = ChoiceDiffers(host_.autoSwitchRecord(), Choice());
        if (changed && Ask(host_, dialog_, host_.machine().strings.Load(kStringDiscardChanges),
                           MB_OKCANCEL | MB_ICONQUESTION) != IDOK) {
          break;
        }
        End(2);
      }
      break;
    default:
      break;
  }
}

INT_PTR AutoSwitchSheetPage::Handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      dialog_ = dialog;
      Init();
      return TRUE;
    case WM_COMMAND:
      Command(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_CLOSE:
      if (standalone_) Command(IDCANCEL, 0);
      return TRUE;
    case WM_HSCROLL:
      SetText(dialog_, kAutoThresholdText,
              ThresholdText(static_cast<std::uint32_t>(SendDlgItemMessageW(dialog_, kAutoThreshold, TBM_GETPOS, 0, 0))));
      return TRUE;
    case WM_TIMER:
      if (wParam == kRoamerTimer) RoamerTick();
      return TRUE;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CONTEXTHELP) {
        std::u16string help = host_.helpPath();
        ShowHelpContext(ToWide(help), kAutoSwitchHelp);
        return TRUE;
      }
      return FALSE;
    case WM_NOTIFY: {
      const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->code == PSN_SETACTIVE) {
        FillPlans();
        if (roamerRunning_) {
          EnableAll(false);
          SetTimer(dialog_, kRoamerTimer, kRoamerPeriodMs, nullptr);
        }
      } else if (header->code == PSN_APPLY) {
        ApplyChoice();
        SetWindowLongPtrW(dialog_, DWLP_MSGRESULT, PSNRET_NOERROR);
      }
      return TRUE;
    }
    case WM_DESTROY:
      KillTimer(dialog_, kRoamerTimer);
      return FALSE;
    default:
      return FALSE;
  }
}

namespace {

INT_PTR CALLBACK StandaloneProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) SetWindowLongPtrW(dialog, DWLP_USER, lParam);
  auto* page = reinterpret_cast<AutoSwitchSheetPage*>(GetWindowLongPtrW(dialog, DWLP_USER));
  return page != nullptr ? page->Handle(dialog, message, wParam, lParam) : FALSE;
}

}  // namespace

INT_PTR RunAutoSwitchDialog(HINSTANCE instance, HWND owner, SettingsDialogHost& host) {
  AutoSwitchSheetPage page(instance, host, true);
  return DialogBoxParamW(instance, MAKEINTRESOURCEW(kAutoSwitchTemplate), owner, StandaloneProc,
                         reinterpret_cast<LPARAM>(&page));
}

HPROPSHEETPAGE CreateAutoSwitchSheetPage(HINSTANCE instance, SettingsDialogHost& host,
                                         std::unique_ptr<AutoSwitchSheetPage, AutoSwitchPageDeleter>& state) {
  state.reset(new AutoSwitchSheetPage(instance, host, false));
  return CreateSheetPage(instance, kAutoSwitchTemplate, state.get());
}

}  // namespace kestrel
