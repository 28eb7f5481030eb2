#include "display/brightness_command.h"

#include <algorithm>

#include "base/registry_paths.h"
#include "base/registry_string.h"
#include "display/lcd_device.h"
#include "display/level_table.h"
#include "power/plan_reader.h"
#include "power/setting_catalogue.h"

namespace kestrel {
namespace {

constexpr std::uint32_t kSetValueFailed = 67;    // "fail : Set Value to Driver"
constexpr std::uint32_t kGetValueFailed = 68;    // "fail : Get Value from Driver"
constexpr std::uint32_t kWaitReadFailed = 72;    // "fail : RegQueryValueEx/HKLM...Offset"
constexpr std::uint32_t kCmosCallFailed = 157;   // "fail : quillapi function."
constexpr std::int64_t kCmosWriteCode = 2;
constexpr std::int64_t kCmosReadCode = 3;
constexpr std::uint32_t kResendPauseMs = 100;
constexpr std::uint32_t kResendDefaultPercent = 100;

}  // namespace

std::uint32_t BrightnessCommand::Run(std::uint32_t command) {
  std::lock_guard lock(running_);
  if (command == kBrightnessInitialise) {
    Initialise();
    return kBrightnessDone;
  }
  Context context;
  if (!ReadActivePlan(context.plan)) return kBrightnessDone;
  if (options_.monitors != nullptr && !options_.monitors->present() && options_.displayGateOpen()) {
    options_.monitors->Discover();
    UpdateAvailability();
  }
  if (!available_) return kBrightnessDone;
  SystemPowerStatus status;
  context.powerStatusRead = ports_.power.GetSystemPowerStatus(status) == kSuccess;
  context.mains = status.acLineStatus == 1;
  if (command == kBrightnessApplyPlan) return ApplyPlan(context);
  if (command == kBrightnessRead) return ReadLevel(context);
  if (command == kBrightnessResend) return Resend(context);
  if (command >= kBrightnessSetBase && command < kBrightnessSetBase + 0x100)
    return SetPanel(context, static_cast<std::uint8_t>(command - kBrightnessSetBase));
  return kBrightnessDone;
}

bool BrightnessCommand::Busy() {
  if (!running_.try_lock()) return true;
  running_.unlock();
  return false;
}

// Initialisation does not depend on the active plan: a machine whose active
// plan cannot be read still gets its level table and library.
void BrightnessCommand::Initialise() {
  cmos_.Load(ReadRegistryString(ports_.registry, ports_.reporter, kHkeyLocalMachine, kKestrelKey, kQuillPathValue,
                                kQuillDefaultPath));
  std::vector<std::uint16_t> table;
  panelLevelsPresent_ = false;
  if (options_.brightnessSupported) {
    if (auto levels = ReadSystemLevels(wmi_, ports_.devices, ports_.reporter, options_.monitors == nullptr)) {
      table = std::move(*levels);
      panelLevelsPresent_ = true;
    }
  }
  if (options_.monitors != nullptr && options_.displayGateOpen()) options_.monitors->Discover();
  UpdateAvailability();
  ApplyLevelOverride(ports_.registry, ports_.reporter, table);
  levels_.SetLevels(CBrightnessCtrl::kTableMode, table);
  ReadWaits();
}

void BrightnessCommand::ReadWaits() {
  RegKey key;
  if (RegKey::Open(ports_.registry, kHkeyLocalMachine, kKestrelKey, kKeyRead, key) != kSuccess) return;
  for (auto [name, wait] : {std::pair{u"ECWait0", &ecWait0_}, std::pair{u"ECWait1", &ecWait1_}}) {
    std::uint32_t value = 0;
    Status status = key.ReadDword(name, value);
    if (status == kSuccess) *wait = value;
    else if (status != kErrorFileNotFound) ports_.reporter.ReportCode(kWaitReadFailed, status);
  }
}

bool BrightnessCommand::ReadActivePlan(PlanRecord& plan) {
  if (ports_.power.GetActivePlan(plan.guid) != kSuccess) return false;
  PlanReader(ports_.power, ports_.registry, ports_.reporter, levels_).Read(plan);
  return !plan.guid.IsNull();
}

bool BrightnessCommand::ExternalMonitorUsable(bool needGate) const {
  return options_.monitors != nullptr && options_.monitors->present() && (!needGate || options_.displayGateOpen());
}

void BrightnessCommand::UpdateAvailability() {
  available_ = panelLevelsPresent_ || (options_.monitors != nullptr && options_.monitors->present());
}

std::optional<std::uint32_t> BrightnessCommand::LevelPercent(std::uint32_t index) const {
  std::uint32_t count = levels_.levelCount();
  if (count == 0) return std::nullopt;
  return levels_.level(std::min(index, count - 1));
}

std::optional<std::uint32_t> BrightnessCommand::PlanPercent(const PlanRecord& plan, bool mains) {
  std::uint32_t percent = 0;
  PowerSource source = mains ? PowerSource::Ac : PowerSource::Dc;
  if (ReadSettingValue(ports_.power, plan.guid, PowerSetting::DisplayBrightness, source, percent) != kSuccess)
    return std::nullopt;
  return percent;
}

void BrightnessCommand::WriteMonitorLevel(const PlanRecord& plan) {
  if (std::optional<std::uint32_t> percent = LevelPercent(plan.brightnessMonitor))
    options_.monitors->WriteBrightness(*percent);
}

void BrightnessCommand::ApplyMonitorValues(const PlanRecord& plan) {
  bool enabled = plan.brightnessMonitorEnable != 0;
  if (enabled) WriteMonitorLevel(plan);
  options_.monitors->WriteMonitorRecord(plan.brightnessMonitor, enabled);
}

void BrightnessCommand::RescanMonitors(const PlanRecord& current) {
  std::lock_guard lock(running_);
  if (options_.monitors == nullptr) return;
  options_.monitors->Discover();
  UpdateAvailability();
  // A monitor that arrived takes the current plan's brightness, as the ones
  // known at the plan's apply did; with panel levels the panel carries it.
  if (!panelLevelsPresent_ && ExternalMonitorUsable(false)) {
    ApplyMonitorValues(current);
    return;
  }
  options_.monitors->WriteMonitorRecord(current.brightnessMonitor, current.brightnessMonitorEnable != 0);
}

void BrightnessCommand::SetBrightness(std::uint8_t value) {
  Status status = wmi_.SetBrightness(value);
  if (status == kSuccess) return;
  ports_.reporter.ReportCode(kSetValueFailed, status);
  LcdResult result = SetDisplayBrightness(ports_.devices, value);
  if (result.open == kSuccess && result.control != kSuccess) ports_.reporter.ReportCode(kSetValueFailed, result.control);
}

void BrightnessCommand::WritePmc(const Alsbc& record) {
  if (cmos_.present() && !cmos_.WritePmcInfo(record)) ports_.reporter.ReportCode(kCmosCallFailed, kCmosWriteCode);
}

// The panel ignores a write of the value it already shows, so a neighbouring
// value goes first. With automatic brightness on, the embedded controller
// takes over after that nudge.
void BrightnessCommand::WriteNudgedThenTarget(std::uint32_t target, const Alsbc& record) {
  std::uint32_t nudge = target >= 1 ? target - 1 : target + 1;
  SetBrightness(static_cast<std::uint8_t>(std::min<std::uint32_t>(nudge, 255)));
  if (record.bytes[0] != 0) return;
  SetBrightness(static_cast<std::uint8_t>(std::min<std::uint32_t>(target, 255)));
}

std::uint32_t BrightnessCommand::ApplyPlan(const Context& context) {
  if (!panelLevelsPresent_ || !context.powerStatusRead) {
    if (ExternalMonitorUsable(true)) ApplyMonitorValues(context.plan);
    return kBrightnessDone;
  }
  ports_.clock.Sleep(ecWait0_);
  WritePmc(context.plan.alsbc);
  std::uint32_t index = context.mains ? context.plan.brightnessLevelAc : context.plan.brightnessLevelDc;
  // A plan whose brightness is unknown keeps the panel as it is rather than
  // turning it down to 0.
  if (index == kNoBrightnessLevel || index >= levels_.levelCount()) return kBrightnessDone;
  std::uint32_t target = PlanPercent(context.plan, context.mains).value_or(levels_.level(index));
  WriteNudgedThenTarget(target, context.plan.alsbc);
  return kBrightnessDone;
}

std::uint32_t BrightnessCommand::SetPanel(const Context& context, std::uint8_t value) {
  Alsbc manual = context.plan.alsbc;
  manual.bytes[0] = 0;
  WritePmc(manual);
  if ((!panelLevelsPresent_ || !context.powerStatusRead) && ExternalMonitorUsable(false)) {
    WriteMonitorLevel(context.plan);
    ApplyMonitorValues(context.plan);
  } else {
    SetBrightness(value);
  }
  if (cmos_.present()) SetBrightness(value);
  return value;
}

std::uint32_t BrightnessCommand::ReadLevel(const Context& context) {
  std::uint32_t result = kBrightnessDone;
  if (!panelLevelsPresent_ || !context.powerStatusRead) {
    if (ExternalMonitorUsable(true)) {
      std::uint32_t percent = options_.monitors->ReadBrightness();
      std::uint32_t index = percent == kUnknownMonitorPercent ? kNoBrightnessValue : levels_.PercentToIndex(percent);
      if (index != kNoBrightnessValue) result = index;
    }
  } else {
    std::uint32_t current = 0;
    if (Status status = wmi_.ReadCurrent(current); status != kSuccess) {
      ports_.reporter.ReportCode(kGetValueFailed, status);
    } else {
      for (std::uint32_t k = 0; k < levels_.levelCount(); ++k) {
        if (levels_.level(k) == current) {
          result = k;
          break;
        }
      }
    }
  }
  if (!cmos_.present()) return result;
  std::uint32_t mode = 0;
  if (!cmos_.ReadBrightMode(mode)) {
    ports_.reporter.ReportCode(kCmosCallFailed, kCmosReadCode);
    return result;
  }
  return mode == 1 ? kBrightnessAutomatic : result;
}

std::uint32_t BrightnessCommand::Resend(const Context& context) {
  if (!cmos_.present() || !context.powerStatusRead) return kBrightnessDone;
  ports_.clock.Sleep(kResendPauseMs);
  if (!cmos_.WritePmcInfo(context.plan.alsbc)) {
    ports_.reporter.ReportCode(kCmosCallFailed, kCmosWriteCode);
    return kBrightnessDone;
  }
  ports_.clock.Sleep(kResendPauseMs);
  std::uint32_t target = PlanPercent(context.plan, context.mains).value_or(kResendDefaultPercent);
  ports_.clock.Sleep(ecWait1_);
  WriteNudgedThenTarget(target, context.plan.alsbc);
  return kBrightnessDone;
}

}  // namespace kestrel
