// WM_POWERBROADCAST at the main window: a change of the power status, the
// resume from sleep, and the power-setting notifications it registered for
// (the active plan, the power source, monitor power, the lid and the
// processor throttle limits).
#pragma once
#include <cstdint>
#include <span>

#include "app/dispatch/dispatch_context.h"
#include "app/dispatch/monitor_events.h"

namespace kestrel {


inline constexpr Guid kProcessorThrottleMinimum = GuidLiteral("893dee8e-2bef-41e0-89c6-b55d0929964c");
inline constexpr Guid kProcessorThrottleMaximum = GuidLiteral("bc5038f7-23e0-4960-96da-33abaf5935ec");

inline constexpr std::uint32_t kResumeSettleMs = 1000;

class PowerEvents {
 public:
  PowerEvents(DispatchContext& context, MonitorEvents& monitors) : context_(context), monitors_(monitors) {}

  // Every broadcast is answered TRUE.
  LParam Broadcast(WParam event);
  // PBT_POWERSETTINGCHANGE: `data` as Windows delivers it (a GUID for the
  // active plan, a DWORD for the others).
  void SettingChanged(const Guid& setting, std::span<const std::uint8_t> data);

 private:
  void PowerStatusChanged();
  void Resumed();
  void ActivePlanChanged(std::span<const std::uint8_t> data);
  void ThrottleChanged(std::span<const std::uint8_t> data);
  void ReloadForBrightness();

  DispatchContext& context_;
  MonitorEvents& monitors_;
};

}  // namespace kestrel
