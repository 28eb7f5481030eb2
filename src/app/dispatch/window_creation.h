// The main window's creation after the current plan and the lamp: the
// session, power-setting and monitor notifications it registers for, the
// brightness delay, the AC line status, the dimming step, the first
// brightness apply, the hot key and the processor mode of the active plan;
// and the unregistration of all of them when the window is destroyed.
#pragma once
#include <array>
#include <cstdint>

#include "app/dispatch/dispatch_context.h"
#include "eco/hot_keys.h"

namespace kestrel {

inline constexpr std::uint32_t kSessionRegistrationRetries = 20;
inline constexpr std::uint32_t kSessionRegistrationRetryMs = 1000;

// The power settings the main window follows, in registration order.
inline constexpr std::size_t kWatchedPowerSettingCount = 6;
const std::array<Guid, kWatchedPowerSettingCount>& WatchedPowerSettings();

class WindowCreation {
 public:
  WindowCreation(DispatchContext& context, EcoHotKey& hotKey) : context_(context), hotKey_(hotKey) {}

  void Created(WindowHandle window);
  void Destroyed();

  bool sessionRegistered() const { return sessionRegistered_; }

 private:
  void RegisterSessionNotification();
  void ReadDelayBrightness();
  void RegisterPowerSettings();
  void RegisterMonitorNotification();

  DispatchContext& context_;
  EcoHotKey& hotKey_;
  bool sessionRegistered_ = false;
  std::array<PowerNotifyHandle, kWatchedPowerSettingCount> powerRegistrations_{};
  DeviceNotifyHandle monitorRegistration_ = 0;
};

}  // namespace kestrel
