#include "ui/dialogs/eco_settings_dialog.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <memory>

#include "base/messages.h"
#include "base/settings_record.h"
#include "base/string_ids.h"
#include "platform/format.h"
#include "platform/win32/wide_text.h"
#include "ui/dialogs/auto_switch_page.h"
#include "ui/dialogs/eco_settings_common.h"
#include "ui/dialogs/help_loader.h"
#include "ui/dialogs/eco_settings_ids.h"
#include "ui/dialogs/hot_key_dialog.h"
#include "ui/dialogs/plan_editor_dialog.h"

namespace kestrel {
namespace {

using namespace eco_ids;

constexpr COLORREF kWhite = RGB(0xFF, 0xFF, 0xFF);
// COLORREF values as the dialog's colours are given (0x00BBGGRR).
constexpr COLORREF kButtonFace = 0xE3DFE0;
constexpr COLORREF kOutside = 0xF4F4F4;
constexpr COLORREF kPanelFrame = 0x958C89;
constexpr COLORREF kDescriptionFrame = 0xE2DBCE;
constexpr int kLampIconPixels = 19;

std::u16string_view kPlaybackValue = u"PwrChangeDlg";

std::uint32_t ReadPlaybackChoice(Registry& registry) {
  RegKey key;
  std::uint32_t value = 1;
  if (RegKey::Open(registry, kHkeyCurrentUser, u"Software\\Vexa\\Kestrel", kKeyQueryValue, key) != kSuccess) return 1;
  if (key.ReadDword(kPlaybackValue, value) != kSuccess) return 1;
  return value;
}

void WritePlaybackChoice(Registry& registry, std::uint32_t value) {
  RegKey key;
  if (RegKey::Open(registry, kHkeyCurrentUser, u"Software\\Vexa\\Kestrel", kKeySetValue, key) != kSuccess) return;
  key.WriteDword(kPlaybackValue, value);  // a failed write is ignored
}

class EcoSettingsDialog {
 public:
  EcoSettingsDialog(HINSTANCE instance, SettingsDialogHost& host, const DialogServicesSource& services)
      : instance_(instance), host_(host), services_(services) {
    EcoModel model = host.Has(SettingsFlag::ThreeModes) ? EcoModel::ThreeModes : EcoModel::TwoModes;
    EcoSettingsParts parts{host.machine(), host.reporter(), host.plans(), model, host.config().pinnedPlans,
                           host.titleText(), {}};
    parts.reimportModePlan = [&host](std::size_t column, const Guid& plan) {
      return host.ReimportModePlan(column, plan);
    };
    model_ = std::make_unique<EcoSettingsModel>(parts);
  }

  INT_PTR Handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  bool three() const { return model_->model() == EcoModel::ThreeModes; }
  void Init();
  void FillCombos();
  void ShowColumn(std::size_t column);
  void ShowRunTimes();
  void SetupTexts();
  void PlaceAtAnchor();
  // The lamp colours of the LED row, 19 x 19 at 96 DPI.
  void ShowLampIcons();
  void Command(int id, int code);
  void SelectionChanged(std::size_t column);
  void OpenEditor(std::size_t column);
  void Reset();
  bool Save(bool apply);
  void CloseAsked();
  void End(INT_PTR result);
  void Refresh(bool timer);
  void Paint();
  HBRUSH ColourFor(HWND control, HDC dc, bool button);
  void EnableApply(bool enabled) { EnableControl(dialog_, kApply, enabled); }
  bool ApplyEnabled() const { return IsWindowEnabled(GetDlgItem(dialog_, kApply)) != FALSE; }

  HINSTANCE instance_;
  SettingsDialogHost& host_;
  DialogServicesSource services_;
  std::unique_ptr<EcoSettingsModel> model_;
  HWND dialog_ = nullptr;
  std::array<ScopedIcon, 3> icons_;
  std::array<ScopedIcon, 3> lampIcons_;
  ScopedBrush white_, buttonFace_, outside_;
  HWND tooltip_ = nullptr;
  std::uint32_t editedMode_ = 0;
  std::size_t focusedColumn_ = 0;
  bool ended_ = false;
};

void EcoSettingsDialog::Init() {
  white_.reset(CreateSolidBrush(kWhite));
  buttonFace_.reset(CreateSolidBrush(kButtonFace));
  outside_.reset(CreateSolidBrush(kOutside));
  model_->Open();
  FillCombos();
  SetupTexts();
  if (model_->rememberedMode() != 0) {
    std::optional<std::size_t> column = ColumnOfMode(model_->model(), model_->rememberedMode());
    if (column) PostMessageW(dialog_, kMsgFocusColumn, three() ? *column : (*column == 0 ? 0 : 1), 0);
  }
  host_.DialogOpened(reinterpret_cast<WindowHandle>(dialog_));
  SetForegroundWindow(dialog_);
  tooltip_ = CreateTooltip(instance_, dialog_);
  std::wstring detailTip = ToWide(host_.machine().strings.Load(kStringDetailButtonTip));
  for (std::size_t c = 0; c < model_->columns(); ++c) AddTooltip(tooltip_, dialog_, kDetailButton + int(c), detailTip);
  StringTable& strings = host_.machine().strings;
  AddTooltip(tooltip_, dialog_, kResetButton,
             ToWide(strings.Load(three() ? kStringResetTipThreeModes : kStringResetTipTwoModes)));
  AddTooltip(tooltip_, dialog_, kHotKeyButton, ToWide(strings.Load(kStringHotKeyButtonTip)));
  AddTooltip(tooltip_, dialog_, kAutoSwitchButton, ToWide(strings.Load(kStringAutoSwitchButtonTip)));
  if (!host_.Has(SettingsFlag::BatteryPresent)) {
    for (int c = 0; c < 3; ++c) {
      ShowControl(dialog_, kRunTime + c, false);
      ShowControl(dialog_, kRunTimeLabel + c, false);
    }
  }
  SetTimer(dialog_, kRefreshTimer, kRefreshPeriodMs, nullptr);
  ShowLampIcons();
  bool servicesReady = services_ && services_() != nullptr;
  EnableControl(dialog_, kHotKeyButton, servicesReady);
  EnableApply(false);
  PlaceAtAnchor();
}

void EcoSettingsDialog::SetupTexts() {
  StringTable& strings = host_.machine().strings;
  bool lamp = host_.LampPresent();
  if (three()) {
    if (!lamp) SetText(dialog_, kLampLabel, strings.Load(kStringLampColourLabel));
    ShowControl(dialog_, kHotKeyButton, true);
    ShowControl(dialog_, kSwitchMessageCheck, false);
    ShowControl(dialog_, kAutoSwitchButton, false);
    SetText(dialog_, kResetButton, strings.Load(kStringResetButtonThreeModes));
    SetText(dialog_, kIntro, strings.Load(kStringEcoIntroThreeModes));
    SetText(dialog_, kHowTo, strings.Load(kStringEcoHowToThreeModes));
    return;
  }
  if (!lamp) {
    ShowControl(dialog_, kLampLabel, false);
    for (int id : kTwoModeLampRow) ShowControl(dialog_, id, false);
  }
  ShowControl(dialog_, kHotKeyButton, false);
  SetText(dialog_, kIntro, strings.Load(kStringEcoIntroTwoModes));
  SetText(dialog_, kHowTo, strings.Load(kStringEcoHowToTwoModes));
  PlanRecord low;
  low.guid = host_.config().twoModeLow;
  if (!low.guid.IsNull()) host_.plans().reader().Read(low);
  if (low.guid.IsNull()) {
    ShowControl(dialog_, kSwitchMessageCheck, false);
  } else {
    SetText(dialog_, kSwitchMessageCheck, FormatText(strings.Load(kStringShowSwitchMessage), {low.name}));
    bool offered = host_.config().playbackWarning != 0;
    CheckDlgButton(dialog_, kSwitchMessageCheck,
                   offered && ReadPlaybackChoice(host_.machine().registry) == 1 ? BST_CHECKED : BST_UNCHECKED);
    ShowControl(dialog_, kSwitchMessageCheck, offered);
  }
  ShowControl(dialog_, kAutoSwitchButton, host_.Has(SettingsFlag::BatteryPresent));
}

void EcoSettingsDialog::ShowLampIcons() {
  // Three-mode: blue, light blue, green; two-mode: green (lit) and dark.
  std::array<int, 3> pictures = three() ? std::array<int, 3>{1162, 1163, 1164} : std::array<int, 3>{1164, 542, 0};
  ScopedWindowDc screen;
  int size = MulDiv(kLampIconPixels, GetDeviceCaps(screen.get(), LOGPIXELSX), 96);
  for (std::size_t i = 0; i < pictures.size() && pictures[i] != 0; ++i) {
    HWND control = GetDlgItem(dialog_, kLampIcons[i]);
    if (control == nullptr) continue;
    lampIcons_[i].reset(
        static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(pictures[i]), IMAGE_ICON, size, size, 0)));
    SendMessageW(control, STM_SETICON, reinterpret_cast<WPARAM>(lampIcons_[i].get()), 0);
  }
  if (three()) {
    ResizeIcons(dialog_, {kLampIcons[0], kLampIcons[1], kLampIcons[2]}, kLampIconPixels);
  } else {
    ResizeIcons(dialog_, {kLampIcons[0], kLampIcons[1]}, kLampIconPixels);
  }
}

void EcoSettingsDialog::PlaceAtAnchor() {
  RECT window{};
  GetWindowRect(dialog_, &window);
  RECT area{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  int width = window.right - window.left;
  int height = window.bottom - window.top;
  // From the notification area: bottom-right corner at the anchor; otherwise
  // the middle of the work area (the hidden main window gives no centre).
  Point anchor = host_.openedFromTray()
                     ? host_.dialogAnchor()
                     : Point{(area.left + area.right + width) / 2, (area.top + area.bottom + height) / 2};
  int x = std::max<int>(area.left, std::min<int>(anchor.x, area.right) - width);
  int y = std::max<int>(area.top, std::min<int>(anchor.y, area.bottom) - height);
  SetWindowPos(dialog_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void EcoSettingsDialog::FillCombos() {
  for (std::size_t c = 0; c < model_->columns(); ++c) {
    HWND combo = GetDlgItem(dialog_, kPlanCombo + int(c));
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (const PlanChoice& item : model_->column(c).items) {
      SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToWide(item.name).c_str()));
    }
    ShowColumn(c);
  }
  if (!three()) SetText(dialog_, kEcoPlanName, model_->column(0).fixedName);
}

void EcoSettingsDialog::ShowColumn(std::size_t column) {
  const PlanChoice& choice = model_->SelectedChoice(column);
  int offset = int(column);
  EnableControl(dialog_, kDetailButton + offset, !choice.none() && services_ && services_() != nullptr);
  StringTable& strings = host_.machine().strings;
  std::u16string description = choice.none()
                                   ? strings.Load(three() ? kStringNoPlanNoteThreeModes : kStringNoPlanNoteTwoModes)
                                   : choice.description.substr(0, kPlanDescriptionUnits);
  SetText(dialog_, kDescription + offset, description);
  ScopedIcon icon = LoadColumnIcon(instance_, choice, ModeOfColumn(model_->model(), column));
  if (icon) {
    SendDlgItemMessageW(dialog_, kPlanIcon + offset, STM_SETICON, reinterpret_cast<WPARAM>(icon.get()), 0);
    icons_[column] = std::move(icon);
  }
  SendDlgItemMessageW(dialog_, kPlanCombo + offset, CB_SETCURSEL, model_->column(column).selected, 0);
  ShowRatings(dialog_, kPerformancePips + 10 * offset, kSavingPips + 10 * offset, RatingsOfPlan(host_, choice));
  PlanRecord record;
  record.guid = choice.guid;
  if (!choice.none()) host_.plans().reader().Read(record);
  SetText(dialog_, kRunTime + offset,
          record.guid.IsNull() ? strings.Load(kStringNoRunTime) : host_.RunTimeText(record));
}

void EcoSettingsDialog::SelectionChanged(std::size_t column) {
  LRESULT item = SendDlgItemMessageW(dialog_, kPlanCombo + int(column), CB_GETCURSEL, 0, 0);
  if (item == CB_ERR) return;
  if (model_->Select(column, static_cast<std::size_t>(item))) EnableApply(true);
  ShowColumn(column);
}

void EcoSettingsDialog::OpenEditor(std::size_t column) {
  const PlanChoice& choice = model_->SelectedChoice(column);
  const DialogServices* services = services_ ? services_() : nullptr;
  if (choice.none() || services == nullptr) return;
  PlanRecord record;
  record.guid = choice.guid;
  host_.plans().reader().Read(record);
  if (record.guid.IsNull()) return;
  editedMode_ = ModeOfColumn(model_->model(), column);
  focusedColumn_ = column;
  PlanEditorRequest request{*services, record.guid, editedMode_,
                            ChooseEditorTemplate(services->settings.flags, services->config.osModel,
                                                 services->ambientLight),
                            dialog_};
  INT_PTR result = RunPlanEditor(dialog_, request);
  host_.EditorClosed();
  editedMode_ = 0;
  Guid chosen;
  if (result != -1 && HIWORD(result) != 0) {
    std::shared_ptr<const PlanList> list = host_.plans().planList();
    std::size_t index = LOWORD(result);
    if (index < list->plans().size()) chosen = list->plans()[index].guid;
  }
  model_->AfterEditor(column, chosen);
  FillCombos();
  SetFocus(GetDlgItem(dialog_, IDOK));
  host_.ForgetRunTimeEstimate();
}

void EcoSettingsDialog::Reset() {
  EcoSettingsModel::ResetResult result = model_->Reset(reinterpret_cast<WindowHandle>(dialog_));
  if (result == EcoSettingsModel::ResetResult::Declined) return;
  FillCombos();
  focusedColumn_ = three() ? 2 : 0;
  SetFocus(GetDlgItem(dialog_, kPlanCombo + 1));
  EnableApply(true);
}

bool EcoSettingsDialog::Save(bool apply) {
  EcoSettingsModel::SaveResult result =
      model_->Save(reinterpret_cast<WindowHandle>(dialog_), apply, [this] { host_.SetLampToCurrentMode(); });
  if (result == EcoSettingsModel::SaveResult::Rejected) return false;
  FillCombos();
  if (three() || host_.config().playbackWarning != 0) {
    WritePlaybackChoice(host_.machine().registry,
                        IsDlgButtonChecked(dialog_, kSwitchMessageCheck) == BST_CHECKED ? 1 : 0);
  }
  if (apply) EnableApply(false);
  return true;
}

void EcoSettingsDialog::End(INT_PTR result) {
  if (ended_) return;
  ended_ = true;
  host_.DialogClosed();
  EndDialog(dialog_, result);
}

void EcoSettingsDialog::CloseAsked() {
  if (ApplyEnabled() &&
      Ask(host_, dialog_, host_.machine().strings.Load(kStringDiscardChanges), MB_YESNO | MB_ICONQUESTION) != IDYES) {
    return;
  }
  End(0);
}

void EcoSettingsDialog::Refresh(bool timer) {
  model_->Refresh(timer);
  FillCombos();
}

void EcoSettingsDialog::Command(int id, int code) {
  if (id >= kPlanCombo && id < kPlanCombo + int(model_->columns())) {
    std::size_t column = static_cast<std::size_t>(id - kPlanCombo);
    if (code == CBN_SELCHANGE) SelectionChanged(column);
    if (code == CBN_SETFOCUS) focusedColumn_ = column + 1;
    return;
  }
  if (id >= kDetailButton && id < kDetailButton + int(model_->columns())) {
    OpenEditor(static_cast<std::size_t>(id - kDetailButton));
    return;
  }
  switch (id) {
    case kResetButton:
      Reset();
      break;
    case kHotKeyButton:
      if (const DialogServices* services = services_ ? services_() : nullptr) RunHotKeyDialog(dialog_, *services);
      break;
    case kAutoSwitchButton:
      RunAutoSwitchDialog(instance_, dialog_, host_);
      break;
    case kSwitchMessageCheck: {
      std::uint32_t checked = IsDlgButtonChecked(dialog_, kSwitchMessageCheck) == BST_CHECKED ? 1 : 0;
      if (checked != ReadPlaybackChoice(host_.machine().registry)) EnableApply(true);
      break;
    }
    case IDOK:
      if (Save(false)) End(1);
      break;
    case kApply:
      Save(true);
      break;
    case IDCANCEL:
      CloseAsked();
      break;
    default:
      break;
  }
}

void EcoSettingsDialog::Paint() {
  ScopedPaint paint(dialog_);
  RECT client{};
  GetClientRect(dialog_, &client);
  ScopedMemoryDc memory(CreateCompatibleDC(paint.get()));
  ScopedBitmap bitmap(CreateCompatibleBitmap(paint.get(), client.right, client.bottom));
  ScopedSelectObject selected(memory.get(), bitmap.get());
  ScopedBrush outside(CreateSolidBrush(kOutside));
  FillRect(memory.get(), &client, outside.get());
  RECT panel{};
  GetWindowRect(GetDlgItem(dialog_, kPanelRect), &panel);
  MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&panel), 2);
  ScopedBrush frame(CreateSolidBrush(kPanelFrame));
  FillRect(memory.get(), &panel, frame.get());
  InflateRect(&panel, -1, -1);
  FillRect(memory.get(), &panel, white_.get());
  ScopedPen pen(CreatePen(PS_SOLID, 1, kDescriptionFrame));
  ScopedSelectObject penSelected(memory.get(), pen.get());
  ScopedSelectObject noFill(memory.get(), GetStockObject(NULL_BRUSH));
  for (std::size_t c = 0; c < model_->columns(); ++c) {
    RECT area{};
    GetWindowRect(GetDlgItem(dialog_, kDescription + int(c)), &area);
    MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&area), 2);
    Rectangle(memory.get(), area.left - 1, area.top - 1, area.right + 1, area.bottom + 1);
  }
  BitBlt(paint.get(), 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
}

HBRUSH EcoSettingsDialog::ColourFor(HWND control, HDC dc, bool button) {
  int id = GetDlgCtrlID(control);
  if (button && (id == IDOK || id == IDCANCEL || id == kApply)) return buttonFace_.get();
  RECT panel{}, rect{};
  GetWindowRect(GetDlgItem(dialog_, kPanelRect), &panel);
  GetWindowRect(control, &rect);
  // Controls outside the white panel (the explanations above it, the buttons
  // and the check box below it) lie on the grey surface.
  bool inside = rect.top >= panel.top && rect.bottom <= panel.bottom;
  SetBkMode(dc, TRANSPARENT);
  if (id == kSwitchMessageCheck || !inside) {
    SetBkColor(dc, kOutside);
    return outside_.get();
  }
  SetBkColor(dc, kWhite);
  return white_.get();
}

INT_PTR EcoSettingsDialog::Handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      dialog_ = dialog;
      Init();
      return FALSE;
    case WM_COMMAND:
      Command(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_CLOSE:
      CloseAsked();
      return TRUE;
    case WM_TIMER:
      if (wParam == kRefreshTimer) Refresh(true);
      return TRUE;
    case kMsgRefreshSettings: {
      Refresh(false);
      WindowHandle editor = 0;
      if (const DialogServices* services = services_ ? services_() : nullptr) {
        if (services->openPlanEditor != nullptr) editor = *services->openPlanEditor;
      }
      // The editor refreshes on its own message (1035).
      if (editor != 0) PostMessageW(reinterpret_cast<HWND>(editor), kMsgRefreshPlanEditor, 0, 0);
      return TRUE;
    }
    case kMsgFocusColumn:
      SetFocus(GetDlgItem(dialog_, kPlanCombo + static_cast<int>(wParam)));
      return TRUE;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CONTEXTHELP) {
        std::u16string help = host_.helpPath();
        ShowHelpContext(ToWide(help), kEcoSettingsHelp);
        return TRUE;
      }
      return FALSE;
    case WM_ERASEBKGND:
      return TRUE;
    case WM_PAINT:
      Paint();
      return TRUE;
    case WM_CTLCOLORDLG:
      return reinterpret_cast<INT_PTR>(white_.get());
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
      return reinterpret_cast<INT_PTR>(
          ColourFor(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam), message == WM_CTLCOLORBTN));
    case WM_POWERBROADCAST:
      SetWindowLongPtrW(dialog_, DWLP_MSGRESULT, TRUE);
      return TRUE;
    case WM_DESTROY:
      KillTimer(dialog_, kRefreshTimer);
      if (tooltip_ != nullptr) DestroyWindow(tooltip_);
      // Destroyed from outside (the program's exit): the state still learns it.
      if (!ended_) {
        ended_ = true;
        host_.DialogClosed();
      }
      return FALSE;
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK EcoSettingsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) SetWindowLongPtrW(dialog, DWLP_USER, lParam);
  auto* self = reinterpret_cast<EcoSettingsDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
  return self != nullptr ? self->Handle(dialog, message, wParam, lParam) : FALSE;
}

}  // namespace

INT_PTR RunEcoSettingsDialog(HINSTANCE instance, HWND owner, SettingsDialogHost& host,
                             const DialogServicesSource& services) {
  EcoSettingsDialog dialog(instance, host, services);
  int templateId = host.Has(SettingsFlag::ThreeModes) ? kThreeModeTemplate : kTwoModeTemplate;
  INT_PTR result = DialogBoxParamW(instance, MAKEINTRESOURCEW(templateId), owner, EcoSettingsProc,
                                   reinterpret_cast<LPARAM>(&dialog));
  host.DialogClosed();
  return result;
}

}  // namespace kestrel
