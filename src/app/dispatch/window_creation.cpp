#include "app/dispatch/window_creation.h"

#include "app/dispatch/brightness_reapply.h"
#include "app/dispatch/monitor_events.h"
#include "app/dispatch/power_events.h"
#include "base/registry_paths.h"
#include "base/string_ids.h"

namespace kestrel {

const std::array<Guid, kWatchedPowerSettingCount>& WatchedPowerSettings() {
  static constexpr std::array<Guid, kWatchedPowerSettingCount> kSettings{
      kActivePowerScheme, kAcDcPowerSource,          kLidSwitchStateChange,
      kMonitorPowerOn,    kProcessorThrottleMinimum, kProcessorThrottleMaximum};
  return kSettings;
}

void WindowCreation::Created(WindowHandle window) {
  context_.NoteWindow(window);
  RegisterSessionNotification();
  ReadDelayBrightness();
  DispatchState& state = context_.state();
  state.sessionUnlocked = true;
  state.consoleConnected = true;
  context_.ReadAcLineStatus();
  RunDimmingStep(context_);
  Subsystems& subsystems = context_.subsystems();
  subsystems.ApplyBrightness(kApplyPanelBrightness);
  if (context_.Has(SettingsFlag::ExternalMonitors)) subsystems.ApplyBrightness(kApplyExternalBrightness);
  hotKey_.RegisterAtStartup(window);
  if (context_.LoadActivePlanRecord()) context_.SendProcessorModeOf(state.activePlan.guid);
  RegisterPowerSettings();
  if (context_.Has(SettingsFlag::ExternalMonitors)) RegisterMonitorNotification();
}

void WindowCreation::RegisterSessionNotification() {
  // The session service may not be up yet when the program starts with the
  // user's log-on: one try and up to 20 more, a second apart. Without it the
  // program runs without lock and unlock handling; nothing is reported.
  for (std::uint32_t attempt = 0; attempt <= kSessionRegistrationRetries; ++attempt) {
    if (attempt > 0) context_.machine().clock.Sleep(kSessionRegistrationRetryMs);
    if (context_.desktop().RegisterSessionNotification(context_.window()) == kSuccess) {
      sessionRegistered_ = true;
      return;
    }
  }
}

void WindowCreation::ReadDelayBrightness() {
  RegKey key;
  Status status = RegKey::Open(context_.machine().registry, kHkeyLocalMachine, kKestrelKey, kKeyRead, key);
  if (status != kSuccess) {
    if (status != kErrorFileNotFound) context_.reporter().ReportCode(kStringKestrelKeyOpenFailed, status);
    return;
  }
  std::uint32_t delay = 0;
  status = key.ReadDword(u"DelayBrightness", delay);
  if (status == kSuccess) {
    context_.app().settings().config().delayBrightnessMs = delay;
  } else if (status != kErrorFileNotFound) {
    context_.reporter().ReportCode(kStringBadValue, status);
  }
}

void WindowCreation::RegisterPowerSettings() {
  PowerManager& power = context_.machine().power;
  const auto& settings = WatchedPowerSettings();
  for (std::size_t i = 0; i < settings.size(); ++i) {
    if (power.RegisterSettingNotification(context_.window(), settings[i], powerRegistrations_[i]) != kSuccess) {
      powerRegistrations_[i] = 0;
    }
  }
}

void WindowCreation::RegisterMonitorNotification() {
  if (context_.desktop().RegisterDeviceInterfaceNotification(context_.window(), kMonitorInterfaceClass,
                                                             monitorRegistration_) != kSuccess) {
    monitorRegistration_ = 0;
  }
}

void WindowCreation::Destroyed() {
  // Every registration goes, the throttle limits' too: on the emulated
  // machine a registration outlives the window that made it.
  for (PowerNotifyHandle& handle : powerRegistrations_) {
    if (handle != 0) context_.machine().power.UnregisterSettingNotification(handle);
    handle = 0;
  }
  if (monitorRegistration_ != 0) context_.desktop().UnregisterDeviceNotification(monitorRegistration_);
  monitorRegistration_ = 0;
  if (sessionRegistered_) context_.desktop().UnregisterSessionNotification(context_.window());
  sessionRegistered_ = false;
  hotKey_.Unregister();
}

}  // namespace kestrel
