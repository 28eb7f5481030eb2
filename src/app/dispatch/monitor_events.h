// External monitors coming and going (WM_DEVICECHANGE for the monitor
// interface class) and the three timers that follow them: 10111 re-scans the
// monitors, 10112 waits for the display gate to open, 10113 applies the
// external brightness after a resume.
#pragma once
#include <cstdint>

#include "app/dispatch/dispatch_context.h"
#include "base/messages.h"
#include "power/plan_ids.h"

namespace kestrel {


inline constexpr Guid kMonitorInterfaceClass = GuidLiteral("e6f07b5f-ee97-4a90-b076-33f57bf4eaa7");

class MonitorEvents {
 public:
  explicit MonitorEvents(DispatchContext& context) : context_(context) {}

  // A device interface arrived or left; only monitors count.
  void DeviceInterfaceChanged(WParam event, const Guid& interfaceClass);
  // After a resume: timer 10113, unless the gate is closed or a re-scan is due.
  void ScheduleExternalBrightness();
  // Timers 10111-10113; false for any other timer.
  bool TimerFired(std::uintptr_t id);

 private:
  void Set(std::uintptr_t id, bool& pending, std::uint32_t ms);
  void Stop(std::uintptr_t id, bool& pending);
  std::uint32_t Timing(std::size_t index) { return context_.config().externalMonitorTiming[index]; }

  DispatchContext& context_;
};

}  // namespace kestrel
