#include "app/dispatch/power_events.h"

#include "app/dispatch/brightness_reapply.h"
#include "app/dispatch/display_gate.h"

namespace kestrel {
namespace {

constexpr std::uint32_t kAcDcChangeRepaintMs = 1000;
constexpr std::uint32_t kFullThrottle = 100;

// A DWORD value of a notification; nothing when the data is too short.
std::optional<std::uint32_t> DwordOf(std::span<const std::uint8_t> data) {
  if (data.size() < 4) return std::nullopt;
  return static_cast<std::uint32_t>(data[0]) | static_cast<std::uint32_t>(data[1]) << 8 |
         static_cast<std::uint32_t>(data[2]) << 16 | static_cast<std::uint32_t>(data[3]) << 24;
}

}  // namespace

LParam PowerEvents::Broadcast(WParam event) {
  switch (event) {
    case kPbtPowerStatusChange:
      PowerStatusChanged();
      break;
    case kPbtResumeSuspend:
    case kPbtResumeCritical:
      Resumed();
      break;
    default:
      break;
  }
  return 1;
}

void PowerEvents::PowerStatusChanged() {
  context_.ReadAcLineStatus();
  context_.subsystems().RefreshBatteryState();
  context_.subsystems().RepaintPanelBattery();
  context_.SetTimer(kRepaintPanelTimer, kAcDcChangeRepaintMs);
  context_.RefreshSettingsDialog();
}

void PowerEvents::Resumed() {
  DispatchState& state = context_.state();
  context_.LoadActivePlanRecord(true);
  if (state.consoleConnected) {
    Subsystems& subsystems = context_.subsystems();
    if (!subsystems.PanelBrightnessAvailable()) {
      if (context_.Has(SettingsFlag::ExternalMonitors) && ColourProgramAllowsBrightness(context_)) {
        monitors_.ScheduleExternalBrightness();
      }
    } else if (ColourProgramAllowsBrightness(context_)) {
      subsystems.ApplyBrightness(kApplyPanelBrightness);
      context_.SetTimer(kBrightnessDelayTimer, context_.config().delayBrightnessMs);
    }
  }
  context_.machine().clock.Sleep(kResumeSettleMs);
  // The lamp's part waits the second second itself.
  context_.eco().Resumed(state.consoleConnected, state.sessionUnlocked);
  if (!state.activePlan.guid.IsNull()) context_.SendProcessorModeOf(state.activePlan.guid);
}

void PowerEvents::SettingChanged(const Guid& setting, std::span<const std::uint8_t> data) {
  if (setting == kActivePowerScheme) {
    ActivePlanChanged(data);
  } else if (setting == kProcessorThrottleMinimum || setting == kProcessorThrottleMaximum) {
    ThrottleChanged(data);
  } else if (setting == kAcDcPowerSource) {
    ReloadForBrightness();
  } else if (setting == kMonitorPowerOn || setting == kLidSwitchStateChange) {
    // Monitor switched on, lid opened.
    if (DwordOf(data) == 1u) ReloadForBrightness();
  }
}

void PowerEvents::ActivePlanChanged(std::span<const std::uint8_t> data) {
  if (data.size() < 16) return;
  Guid plan = GuidFromBytes(data.data());
  context_.plans().PurgeOrphanExtensions();
  FollowUpConditions conditions;
  conditions.settingsDialogClosed = context_.state().settingsDialogClosed;
  conditions.sessionActive = context_.state().consoleConnected;
  context_.eco().ActivePlanChanged(plan, conditions);
}

void PowerEvents::ThrottleChanged(std::span<const std::uint8_t> data) {
  if (data.empty() || data[0] == kFullThrottle) return;
  // The boost of the panel ends when another program changes the limits.
  std::shared_ptr<const PlanRecord> current = context_.plans().currentPlan();
  PowerManager& power = context_.machine().power;
  Guid plan;
  for (std::uint32_t index = 0; power.EnumeratePlans(index, plan) == kSuccess; ++index) {
    if (plan == current->guid) {
      context_.EndBoost(index);
      return;
    }
  }
}

void PowerEvents::ReloadForBrightness() {
  if (!context_.LoadActivePlanRecord()) return;
  if (context_.state().activePlan.alsbc.bytes[0] != 0) {
    context_.SetTimer(kBrightnessDelayTimer, context_.config().delayBrightnessMs);
  }
}

}  // namespace kestrel
