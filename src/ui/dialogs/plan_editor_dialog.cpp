#include "ui/dialogs/plan_editor_dialog.h"

#include <commctrl.h>

#include "base/messages.h"
#include "base/string_ids.h"
#include "eco/mode_table.h"
#include "eco/processor_mode.h"
#include "power/extension_read.h"
#include "platform/win32/wide_text.h"
#include "ui/dialogs/eco_settings_ids.h"
#include "ui/dialogs/editor_ids.h"
#include "ui/dialogs/help_loader.h"
#include "ui/dialogs/plan_editor.h"
#include "ui/dialogs/save_as_dialog.h"
#include "ui/model/editor_template.h"

namespace kestrel {
namespace {

namespace ids = editor_ids;

constexpr UINT_PTR kBatteryTimer = 10103;
constexpr UINT kBatteryTimerMs = 30000;
constexpr UINT_PTR kBlinkTimer = 10104;
constexpr UINT kBlinkStepMs = 500;
constexpr int kBlinkSteps = 4;  // blank, text, blank, text
constexpr DWORD kHelpEditor = 10503;
// The ids of the texts the editor loads by number.
constexpr std::uint32_t kResetButtonThreeModes = 248;
constexpr std::uint32_t kDiscardChanges = 535;
constexpr std::uint32_t kUpdateFailed = 56;
constexpr std::uint32_t kRestoreFailed = 57;
constexpr std::uint32_t kSaveFailed = 58;
constexpr std::uint32_t kDeleteFailed = 50;
constexpr std::uint32_t kReadSettingsFailed = 61;
constexpr std::uint32_t kActivateFailed = 28;
// Codes of the PlanLock time-outs: another plan chosen or a delete, the
// editor's start, a reset.
constexpr std::int64_t kLockCodeChoice = 9;
constexpr std::int64_t kLockCodeInit = 16;
constexpr std::int64_t kLockCodeReset = 17;
// The two-mode model's low-power plan is bound to mode 3.
constexpr std::uint32_t kLowPowerMode = 3;

CatalogueOptions CatalogueOf(const DialogServices& services) {
  const SettingsRecord& settings = services.settings;
  return CatalogueOptions{services.config.lowerLimit, settings.Has(SettingsFlag::WirelessLan),
                          !settings.Has(SettingsFlag::ExternalMonitors) && services.config.osModel >= 2};
}

// While a plan's ambient-light control is on, Windows holds no dimming
// time-out for it; the one the user chose is kept in the plan's extension key.
void ReadKeptDimTimeouts(Registry& registry, const Guid& plan, PlanSettings& settings) {
  RegKey key;
  if (RegKey::Open(registry, kHkeyLocalMachine, ExtensionKeyPath(plan), kKeyRead, key) != kSuccess) return;
  std::uint32_t ac = 0;
  std::uint32_t dc = 0;
  if (key.ReadDword(u"DIMTimeoutAC", ac) == kSuccess) settings.dimTimeoutAc = ac;
  if (key.ReadDword(u"DIMTimeoutDC", dc) == kSuccess) settings.dimTimeoutDc = dc;
}

EditorFeatures FeaturesOf(const DialogServices& services, std::uint16_t templateId) {
  const SettingsRecord& settings = services.settings;
  EditorFeatures features;
  features.ambientLight = services.ambientLight && TemplateHasAmbientLight(templateId);
  features.panelBrightness = services.panelBrightnessAvailable && services.panelBrightnessAvailable();
  features.dimmingRows = TemplateHasDimmingRows(templateId) && !settings.Has(SettingsFlag::ExternalMonitors);
  features.externalMonitors = settings.Has(SettingsFlag::ExternalMonitors);
  features.deviceSaving = settings.Has(SettingsFlag::DeviceSaving);
  return features;
}

}  // namespace

PlanEditorTemplate ChooseEditorTemplate(std::uint32_t settingsFlags, std::uint32_t osModel, bool ambientLight) {
  return static_cast<PlanEditorTemplate>(EditorTemplateFor(settingsFlags, osModel, ambientLight));
}

PlanEditorTemplate ChooseSheetEditorTemplate(std::uint32_t settingsFlags, bool ambientLight) {
  return static_cast<PlanEditorTemplate>(SheetEditorTemplateFor(settingsFlags, ambientLight));
}

INT_PTR RunPlanEditor(HWND owner, const PlanEditorRequest& request) {
  PlanEditor editor(request);
  INT_PTR result = editor.Run(owner);
  if (request.services.openPlanEditor != nullptr) *request.services.openPlanEditor = 0;
  return result;
}

PlanEditor::PlanEditor(const PlanEditorRequest& request)
    : services_(request.services),
      request_(request),
      templateId_(static_cast<std::uint16_t>(request.templateId)),
      tables_(services_.machine.strings, services_.config.allowConstant, services_.brightness.levelCount()),
      features_(FeaturesOf(services_, templateId_)),
      model_(tables_, features_),
      access_(services_.machine.power, services_.reporter, services_.brightness, CatalogueOf(services_)),
      saver_(services_.machine.registry, services_.reporter, access_, services_.plans.lock(),
             PlanSaveFlags{features_.deviceSaving, features_.externalMonitors}),
      backups_(FactoryBackupParts{services_.machine.registry, services_.machine.power, services_.reporter,
                                  services_.plans.reader(), services_.brightness, services_.plans.lock()},
               FactoryBackupOptions{CatalogueOf(services_), features_.deviceSaving, features_.externalMonitors,
                                    services_.config.numDefaultPlans}) {}

INT_PTR PlanEditor::Run(HWND owner) {
  return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), owner, Proc,
                         reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK PlanEditor::Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<PlanEditor*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<PlanEditor*>(lParam);
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    self->dialog_ = dialog;
    return self->OnInit();
  }
  return self != nullptr ? self->Handle(message, wParam, lParam) : FALSE;
}

int PlanEditor::Box(std::uint32_t stringId, UINT style) {
  return services_.machine.boxes.Show(reinterpret_cast<WindowHandle>(dialog_),
                                      services_.machine.strings.Load(stringId), services_.titleText(), style);
}

void PlanEditor::ReportPlan(std::uint32_t id, const Guid& plan, bool shown) {
  services_.reporter.ReportPlan(id, plan, shown ? kReportLog | kReportBox : kReportLog);
}

BOOL PlanEditor::OnInit() {
  const bool threeModes = services_.config.ecoModel() == EcoModel::ThreeModes;
  if (threeModes) {
    SetDlgItemTextW(dialog_, ids::kReset, ToWide(services_.machine.strings.Load(kResetButtonThreeModes)).c_str());
  }
  std::uint32_t monitorText = threeModes ? kStringMonitorBrightnessModeSwitch : kStringMonitorBrightnessEcoButton;
  SetDlgItemTextW(dialog_, ids::kMonitorBrightness, ToWide(services_.machine.strings.Load(monitorText)).c_str());
  white_.reset(CreateSolidBrush(RGB(255, 255, 255)));
  const int highest = model_.highestLevel();
  ambientAc_.Attach(dialog_, ids::kAmbientAc, highest);
  ambientDc_.Attach(dialog_, ids::kAmbientDc, highest);
  {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    labelFont_.reset(CreateFontW(-MulDiv(9, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                                 L"MS UI Gothic"));
  }
  if (services_.machine.power.GetActivePlan(activePlan_) != kSuccess) {
    services_.reporter.ReportCode(kStringGetActivePlanFailed, 0);
    activePlan_ = Guid{};
  }
  scale_ = MeasureLayoutScale(dialog_);
  LoadIcons();
  LoadPlan(request_.plan);
  FillPlanCombo();
  if (services_.openPlanEditor != nullptr) *services_.openPlanEditor = reinterpret_cast<WindowHandle>(dialog_);
  EnableWindow(GetDlgItem(dialog_, ids::kApply), FALSE);
  if (services_.settings.Has(SettingsFlag::BatteryPresent)) {
    RefreshBattery();
    if (request_.settingsDialog != nullptr) PostMessageW(request_.settingsDialog, kMsgRefreshSettings, 0, 0);
    SetTimer(dialog_, kBatteryTimer, kBatteryTimerMs, nullptr);
  }
  CreateTooltips();
  ScaleLayout();
  return TRUE;
}

bool PlanEditor::PlanExists(const Guid& plan) {
  std::uint32_t size = 0;
  return services_.machine.power.ReadFriendlyName(plan, nullptr, nullptr, nullptr, size) == kSuccess;
}

bool PlanEditor::IsModeBound(const PlanRecord& record) {
  if (record.ledNo != 0) return true;
  ModePlans modes = services_.plans.FindModePlans(services_.config.ecoModel());
  for (const ModeSlot& slot : modes.slots) {
    if (!slot.plan.IsNull() && slot.plan == record.guid) return true;
  }
  return false;
}

void PlanEditor::SetButtonsForPlan(const PlanRecord& record) {
  PlanStanding standing;
  standing.active = record.guid == activePlan_;
  standing.modeBound = IsModeBound(record);
  standing.factoryBackup = backups_.HasFactoryBackup(record.guid);
  standing.twoModes = services_.config.ecoModel() == EcoModel::TwoModes;
  standing.choices = comboPlans_.empty() ? 2 : comboPlans_.size();  // the list is filled after the first load
  PlanButtonState buttons = PlanButtonsFor(record, standing);
  EnableWindow(GetDlgItem(dialog_, ids::kSaveAs), buttons.saveAs);
  EnableWindow(GetDlgItem(dialog_, ids::kRename), buttons.rename);
  EnableWindow(GetDlgItem(dialog_, ids::kDelete), buttons.remove);
  EnableWindow(GetDlgItem(dialog_, ids::kReset), buttons.reset);
}

bool PlanEditor::LoadPlan(const Guid& plan) {
  PlanLock::Hold hold = services_.plans.lock().Acquire(kPlanLockWaitMs);
  if (!hold) {
    services_.reporter.ReportCode(kStringPlanLockTimeout, kLockCodeInit);
    return false;
  }
  PlanRecord record;
  record.guid = plan;
  std::shared_ptr<const PlanList> list = services_.plans.planList();
  if (std::optional<std::size_t> index = list->FindPlanIndex(plan)) {
    record = list->plans()[*index];
  } else {
    services_.plans.reader().Read(record);
  }
  if (record.guid.IsNull() || !PlanExists(plan)) {
    ReportPlan(kStringPlanNotFound, plan, false);
    record.guid = plan;
  }
  SetButtonsForPlan(record);
  PlanSettings settings;
  if (!access_.ReadPlanSettings(plan, settings)) services_.reporter.ReportCode(kReadSettingsFailed, 0);
  if (features_.dimmingRows && record.alsbc.on()) ReadKeptDimTimeouts(services_.machine.registry, plan, settings);
  model_.Load(record, settings);
  hold.Release();
  ShowPlanNames();
  SetUpRows();
  return true;
}

void PlanEditor::RebuildPlanList() { services_.plans.BuildPlanList(services_.config.pinnedPlans); }

void PlanEditor::FillPlanCombo() {
  HWND combo = GetDlgItem(dialog_, ids::kPlanCombo);
  const PlanRecord& shown = model_.record();
  const bool twoModes = services_.config.ecoModel() == EcoModel::TwoModes;
  if (twoModes && shown.ledNo == kLowPowerMode) {
    // The low-power plan of the two-mode model is shown by name only.
    ShowWindow(combo, SW_HIDE);
    ShowWindow(GetDlgItem(dialog_, ids::kPlanNameStatic), SW_SHOW);
    SetDlgItemTextW(dialog_, ids::kPlanNameStatic, ToWide(shown.name).c_str());
    EnableWindow(GetDlgItem(dialog_, ids::kDelete), FALSE);
    return;
  }
  comboPlans_.clear();
  SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  std::shared_ptr<const PlanList> list = services_.plans.planList();
  auto add = [&](const PlanRecord& record) {
    if (record.guid.IsNull()) return;
    if (twoModes && record.ledNo == kLowPowerMode) return;
    for (const Guid& known : comboPlans_) {
      if (known == record.guid) return;
    }
    comboPlans_.push_back(record.guid);
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToWide(record.name).c_str()));
  };
  ModePlans modes = services_.plans.FindModePlans(services_.config.ecoModel());
  for (const ModeSlot& slot : modes.slots) {
    if (std::optional<std::size_t> index = list->FindPlanIndex(slot.plan)) add(list->plans()[*index]);
  }
  for (std::size_t index : list->listed()) add(list->plans()[index]);
  add(shown);
  const Guid selected = pendingPlan_.value_or(shown.guid);
  for (std::size_t i = 0; i < comboPlans_.size(); ++i) {
    if (comboPlans_[i] == selected) SendMessageW(combo, CB_SETCURSEL, i, 0);
  }
  if (comboPlans_.size() <= 1) EnableWindow(GetDlgItem(dialog_, ids::kDelete), FALSE);
}

void PlanEditor::MarkChanged() {
  EnableWindow(GetDlgItem(dialog_, ids::kApply), TRUE);
  if (request_.settingsDialog != nullptr) PostMessageW(request_.settingsDialog, kMsgRefreshSettings, 0, 0);
}

std::uint32_t PlanEditor::ResultIndex() const {
  return static_cast<std::uint32_t>(services_.plans.FindPlanIndex(model_.record().guid).value_or(0));
}

// Writes what changed; false (after telling the user) when the write failed.
bool PlanEditor::Write() {
  KillTimer(dialog_, kBatteryTimer);
  EnableWindow(GetDlgItem(dialog_, ids::kApply), FALSE);
  if (!model_.HasChanges()) return true;
  PlanRecord record = model_.CollectRecord();
  PlanSettings settings = model_.CollectSettings();
  if (!saver_.SavePlan(record, settings)) {
    Box(kUpdateFailed, MB_OK | MB_ICONEXCLAMATION);
    if (PlanExists(record.guid)) {
      ReportPlan(kUpdateFailed, record.guid, false);
    } else {
      ReportPlan(kStringPlanNotFound, record.guid, false);
    }
    EnableWindow(GetDlgItem(dialog_, ids::kApply), TRUE);
    return false;
  }
  model_.MarkWritten();
  resultWord_ |= kEditorWrote;
  RebuildPlanList();
  return true;
}

void PlanEditor::ActivateShownPlan() {
  const Guid plan = model_.record().guid;
  WindowHandle panel = services_.panelWindow ? services_.panelWindow() : 0;
  if (panel != 0) SendMessageW(reinterpret_cast<HWND>(panel), kMsgEndBoost, 0, 0);
  // The settings dialog below must not refresh its lists in the middle of
  // the activation: its refresh timer stops around it.
  HWND settings = request_.settingsDialog;
  if (settings != nullptr) KillTimer(settings, eco_ids::kRefreshTimer);
  Status status = services_.plans.ActivatePlan(plan, AfterActivation::ReloadActive);
  if (settings != nullptr) SetTimer(settings, eco_ids::kRefreshTimer, eco_ids::kRefreshPeriodMs, nullptr);
  if (status != kSuccess) {
    services_.reporter.ReportCode(kActivateFailed, status);
    return;
  }
  ClearDimmingOf(plan);
  WindowHandle target = panel != 0 ? panel : (services_.mainWindow ? services_.mainWindow() : 0);
  if (target != 0) PostMessageW(reinterpret_cast<HWND>(target), kMsgPlanChanged, 0, 0);
  if (services_.applyBrightness) services_.applyBrightness();
  if (services_.settings.Has(SettingsFlag::EcoMode) && services_.setLampToCurrentMode) {
    services_.setLampToCurrentMode();
  }
  if (services_.settings.Has(SettingsFlag::DeviceSaving)) {
    SendProcessorMode(services_.machine.devices, services_.reporter, model_.record().npdCpu);
  }
  RefreshBrightnessCaption();
}

// A plan whose ambient-light control is on must not also dim the display by
// its time-out: after its activation the time-out is cleared (models after
// Windows 6.0 without external monitor support).
void PlanEditor::ClearDimmingOf(const Guid& plan) {
  constexpr std::uint32_t kOsModelAfterVista = 2;
  if (services_.settings.Has(SettingsFlag::ExternalMonitors) || services_.config.osModel < kOsModelAfterVista) return;
  if (!model_.record().alsbc.on()) return;
  if (!access_.ClearDimTimeouts(plan)) ReportPlan(kStringDimTimeoutFailed, plan, false);
}

void PlanEditor::StartRemainingTimeBlink() {
  wchar_t text[256] = {};
  GetDlgItemTextW(dialog_, ids::kBatteryTime, text, 256);
  blinkText_ = text;
  blinkStep_ = 0;
  BlinkRemainingTime();
  SetTimer(dialog_, kBlinkTimer, kBlinkStepMs, nullptr);
}

void PlanEditor::BlinkRemainingTime() {
  bool blank = blinkStep_ % 2 == 0;
  SetDlgItemTextW(dialog_, ids::kBatteryTime, blank ? L" " : blinkText_.c_str());
  if (++blinkStep_ >= kBlinkSteps) KillTimer(dialog_, kBlinkTimer);
}

void PlanEditor::Apply() {
  std::uint32_t estimateBefore = BatteryEstimate();
  if (!Write()) return;
  if (model_.record().guid == activePlan_) ActivateShownPlan();
  SetUpRows();
  RefreshBattery();
  // A new remaining time draws the eye to itself.
  if (BatteryEstimate() != estimateBefore) StartRemainingTimeBlink();
  if (services_.settings.Has(SettingsFlag::BatteryPresent)) SetTimer(dialog_, kBatteryTimer, kBatteryTimerMs, nullptr);
  if (request_.settingsDialog != nullptr) PostMessageW(request_.settingsDialog, kMsgRefreshSettings, 0, 0);
  FillPlanCombo();
}

void PlanEditor::OnOk() {
  Write();
  if (model_.record().guid == activePlan_ && PlanExists(activePlan_)) ActivateShownPlan();
  // The editor always closes: a plan that vanished is only logged.
  if (!PlanExists(model_.record().guid)) ReportPlan(kStringPlanNotFound, model_.record().guid, false);
  resultWord_ |= kEditorEndedByOk;
  EndDialog(dialog_, static_cast<INT_PTR>((resultWord_ << 16) | ResultIndex()));
}

void PlanEditor::OnCancel() {
  if (IsWindowEnabled(GetDlgItem(dialog_, ids::kApply)) && Box(kDiscardChanges, MB_YESNO | MB_ICONQUESTION) == IDNO) {
    return;
  }
  if (!PlanExists(model_.record().guid)) ReportPlan(kStringPlanNotFound, model_.record().guid, false);
  EndDialog(dialog_, static_cast<INT_PTR>((resultWord_ << 16) | ResultIndex()));
}

void PlanEditor::OnPlanChosen() {
  HWND combo = GetDlgItem(dialog_, ids::kPlanCombo);
  LRESULT index = SendMessageW(combo, CB_GETCURSEL, 0, 0);
  if (index < 0 || static_cast<std::size_t>(index) >= comboPlans_.size()) return;
  const Guid chosen = comboPlans_[static_cast<std::size_t>(index)];
  if (chosen == model_.record().guid) return;
  if (IsWindowEnabled(GetDlgItem(dialog_, ids::kApply))) {
    pendingPlan_ = chosen;
    int answer = Box(kStringSaveEditedPlanQuestion, MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDCANCEL) {
      pendingPlan_.reset();
      FillPlanCombo();
      return;
    }
    if (answer == IDYES && !Write()) {
      pendingPlan_.reset();
      FillPlanCombo();
      return;
    }
  }
  pendingPlan_.reset();
  {
    PlanLock::Hold hold = services_.plans.lock().Acquire(kPlanLockWaitMs);
    if (!hold) {
      services_.reporter.ReportCode(kStringPlanLockTimeout, kLockCodeChoice);
      FillPlanCombo();
      return;
    }
  }
  LoadPlan(chosen);
  FillPlanCombo();
  if (request_.settingsDialog != nullptr) PostMessageW(request_.settingsDialog, kMsgRefreshSettings, 0, 0);
  EnableWindow(GetDlgItem(dialog_, ids::kApply), FALSE);
  RefreshBattery();
}

void PlanEditor::OnSaveAs(bool newPlan) {
  PlanRecord copy = model_.CollectRecord();
  if (newPlan) {
    copy.guid = Guid{};
    copy.indicator = -1;
  }
  SaveAsRequest request{services_, copy, request_.editedMode};
  if (RunSaveAsDialog(dialog_, request) != 1) {
    RefreshBattery();
    return;
  }
  const Guid source = model_.record().guid;
  if (newPlan) {
    Guid created;
    if (services_.machine.power.DuplicatePlan(source, nullptr, created) != kSuccess) {
      Box(kSaveFailed, MB_OK | MB_ICONEXCLAMATION);
      ReportPlan(PlanExists(source) ? kSaveFailed : kStringPlanNotFound, source, false);
      return;
    }
    // The copy's extension key is new: no mode binding, no list flags.
    model_.SetGuid(created);
  }
  model_.SetNames(copy.name, copy.description, copy.iconNo);
  PlanRecord record = model_.CollectRecord();
  PlanSettings settings = model_.CollectSettings();
  if (!saver_.SavePlan(record, settings)) {
    Box(kSaveFailed, MB_OK | MB_ICONEXCLAMATION);
    ReportPlan(kSaveFailed, record.guid, false);
    return;
  }
  model_.MarkWritten();
  resultWord_ |= kEditorWrote;
  RebuildPlanList();
  LoadPlan(record.guid);
  EnableWindow(GetDlgItem(dialog_, ids::kRename), TRUE);
  FillPlanCombo();
  EnableWindow(GetDlgItem(dialog_, ids::kApply), FALSE);
  if (request_.settingsDialog != nullptr) PostMessageW(request_.settingsDialog, kMsgRefreshSettings, 0, 0);
  RefreshBattery();
}

void PlanEditor::OnDelete() {
  if (Box(kStringDeletePlanQuestion, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  const PlanRecord shown = model_.record();
  {
    PlanLock::Hold hold = services_.plans.lock().Acquire(kPlanLockWaitMs);
    if (!hold) {
      services_.reporter.ReportCode(kStringPlanLockTimeout, kLockCodeChoice);
      return;
    }
    // The active plan and a plan bound to a mode are never deleted, whatever
    // happened since the buttons were set.
    Guid active;
    if (services_.machine.power.GetActivePlan(active) == kSuccess) activePlan_ = active;
    if (shown.guid == activePlan_ || IsModeBound(shown) ||
        services_.machine.power.DeletePlan(shown.guid) != kSuccess) {
      hold.Release();
      Box(kDeleteFailed, MB_OK | MB_ICONEXCLAMATION);
      return;
    }
  }
  services_.plans.PurgeOrphanExtensions();
  RebuildPlanList();
  resultWord_ |= kEditorWrote;
  LoadPlan(activePlan_);
  FillPlanCombo();
  EnableWindow(GetDlgItem(dialog_, ids::kApply), FALSE);
  if (request_.settingsDialog != nullptr) PostMessageW(request_.settingsDialog, kMsgRefreshSettings, 0, 0);
}

void PlanEditor::OnReset() {
  const bool threeModes = services_.config.ecoModel() == EcoModel::ThreeModes;
  if (Box(threeModes ? kStringPlanResetQuestionThreeModes : kStringPlanResetQuestion, MB_YESNO | MB_ICONQUESTION) !=
      IDYES) {
    return;
  }
  const PlanRecord shown = model_.record();
  PlanRecord record;
  record.guid = shown.guid;
  record.ledNo = shown.ledNo;
  PlanSettings settings;
  ProcessorStateRecord processor;
  if (backups_.ReadFactoryBackup(record, settings, processor) != kSuccess) {
    services_.reporter.ReportCode(kRestoreFailed, -1, kReportLog | kReportBox);
    FillPlanCombo();
    return;
  }
  // The plan keeps its mode binding, list flags and indicator.
  record.flags = shown.flags;
  record.indicator = shown.indicator;
  record.enumIndex = shown.enumIndex;
  if (!saver_.SavePlan(record, settings, &processor)) ReportPlan(kRestoreFailed, record.guid, true);
  {
    PlanLock::Hold hold = services_.plans.lock().Acquire(kPlanLockWaitMs);
    if (!hold) services_.reporter.ReportCode(kStringPlanLockTimeout, kLockCodeReset);
  }
  RebuildPlanList();
  LoadPlan(shown.guid);
  resultWord_ |= kEditorWrote;
  if (request_.settingsDialog != nullptr) PostMessageW(request_.settingsDialog, kMsgRefreshSettings, 0, 0);
  if (shown.guid == activePlan_) ActivateShownPlan();
  EnableWindow(GetDlgItem(dialog_, ids::kApply), FALSE);
  FillPlanCombo();
  RefreshBattery();
}

void PlanEditor::OnCommand(int id, int code) {
  switch (id) {
    case ids::kPlanCombo:
      if (code == CBN_SELCHANGE) OnPlanChosen();
      if (code == CBN_DROPDOWN) FillPlanCombo();
      return;
    case ids::kSaveAs:
      OnSaveAs(true);
      return;
    case ids::kRename:
      OnSaveAs(false);
      return;
    case ids::kDelete:
      OnDelete();
      return;
    case ids::kReset:
      OnReset();
      return;
    case ids::kFixedBrightness:
    case ids::kAmbientBrightness:
      model_.SetAmbientLightOn(IsDlgButtonChecked(dialog_, ids::kAmbientBrightness) == BST_CHECKED);
      SetUpBrightnessControls();
      RefreshBattery();
      MarkChanged();
      return;
    case ids::kProcessorEco:
      model_.SetProcessorEco(IsDlgButtonChecked(dialog_, ids::kProcessorEco) == BST_CHECKED);
      SetUpProcessorControls();
      MarkChanged();
      return;
    case ids::kMonitorBrightness:
      model_.SetMonitorBrightness(IsDlgButtonChecked(dialog_, ids::kMonitorBrightness) == BST_CHECKED);
      SetUpBrightnessControls();
      MarkChanged();
      return;
    case ids::kApply:
      Apply();
      return;
    case IDOK:
      OnOk();
      return;
    case IDCANCEL:
      OnCancel();
      return;
    default:
      return;
  }
}

void PlanEditor::Paint() {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(dialog_, &paint);
  RECT client{};
  GetClientRect(dialog_, &client);
  ScopedBrush gray(CreateSolidBrush(RGB(0xF4, 0xF4, 0xF4)));
  FillRect(dc, &client, gray.get());
  if (HWND panel = GetDlgItem(dialog_, ids::kPanel)) {
    RECT box{};
    GetWindowRect(panel, &box);
    MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&box), 2);
    ScopedBrush frame(CreateSolidBrush(RGB(0x89, 0x8C, 0x95)));
    FillRect(dc, &box, frame.get());
    InflateRect(&box, -1, -1);
    FillRect(dc, &box, white_.get());
  }
  EndPaint(dialog_, &paint);
}

INT_PTR PlanEditor::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_HSCROLL:
      if (lParam != 0) OnSliderMoved(reinterpret_cast<HWND>(lParam));
      return TRUE;
    case WM_TIMER:
      if (wParam == kBlinkTimer) BlinkRemainingTime();
      if (wParam == kBatteryTimer) {
        RefreshBattery();
        if (request_.settingsDialog != nullptr) PostMessageW(request_.settingsDialog, kMsgRefreshSettings, 0, 0);
      }
      return TRUE;
    case kMsgRefreshSettings:
      RefreshBattery();
      return TRUE;
    case kMsgRefreshPlanEditor:
      FillPlanCombo();
      return TRUE;
    case WM_POWERBROADCAST:
      if (wParam == PBT_APMPOWERSTATUSCHANGE) RefreshBattery();
      return TRUE;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header->code == TTN_GETDISPINFOW) OnTooltipText(*reinterpret_cast<NMTTDISPINFOW*>(lParam));
      return TRUE;
    }
    case WM_MOUSEMOVE:
      UpdateLabelTooltip(POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
      return FALSE;
    case WM_CTLCOLORSTATIC:
      SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
      return reinterpret_cast<INT_PTR>(white_.get());
    case WM_ERASEBKGND:
      return TRUE;
    case WM_PAINT:
      Paint();
      return TRUE;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CONTEXTHELP) {
        ShowHelpContext(ToWide(services_.helpFile()), kHelpEditor);
        return TRUE;
      }
      return FALSE;
    case WM_CLOSE:
      OnCancel();
      return TRUE;
    case WM_DESTROY:
      KillTimer(dialog_, kBatteryTimer);
      KillTimer(dialog_, kBlinkTimer);
      ambientAc_.Detach();
      ambientDc_.Detach();
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace kestrel
