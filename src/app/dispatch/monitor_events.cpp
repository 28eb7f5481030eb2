#include "app/dispatch/monitor_events.h"

#include "app/dispatch/display_gate.h"

namespace kestrel {
namespace {

// Indexes into MachineConfig::externalMonitorTiming.
constexpr std::size_t kSleepTime = 3;
constexpr std::size_t kDevChgTime = 4;
constexpr std::size_t kLuiChkTime = 5;

}  // namespace

void MonitorEvents::Set(std::uintptr_t id, bool& pending, std::uint32_t ms) {
  context_.SetTimer(id, ms);
  pending = true;
}

void MonitorEvents::Stop(std::uintptr_t id, bool& pending) {
  if (!pending) return;
  context_.KillTimer(id);
  pending = false;
}

void MonitorEvents::DeviceInterfaceChanged(WParam event, const Guid& interfaceClass) {
  if (event != kDbtDeviceArrival && event != kDbtDeviceRemoveComplete) return;
  if (interfaceClass != kMonitorInterfaceClass) return;
  DispatchState& state = context_.state();
  if (DisplayGateClosed(context_)) {
    Stop(kMonitorRescanTimer, state.monitorRescanPending);
    Stop(kExternalBrightnessTimer, state.externalApplyPending);
    // A monitor that arrives while the display is held elsewhere is looked at
    // once the gate opens; one that left needs nothing.
    if (event == kDbtDeviceArrival) Set(kDisplayGateRecheckTimer, state.gateRecheckPending, Timing(kLuiChkTime));
    return;
  }
  Stop(kDisplayGateRecheckTimer, state.gateRecheckPending);
  Stop(kExternalBrightnessTimer, state.externalApplyPending);
  Set(kMonitorRescanTimer, state.monitorRescanPending, Timing(kDevChgTime));
}

void MonitorEvents::ScheduleExternalBrightness() {
  DispatchState& state = context_.state();
  if (state.monitorRescanPending || state.gateRecheckPending || DisplayGateClosed(context_)) return;
  Set(kExternalBrightnessTimer, state.externalApplyPending, Timing(kSleepTime));
}

bool MonitorEvents::TimerFired(std::uintptr_t id) {
  DispatchState& state = context_.state();
  switch (id) {
    case kMonitorRescanTimer:
      Stop(kMonitorRescanTimer, state.monitorRescanPending);
      context_.subsystems().RescanExternalMonitors();
      return true;
    case kDisplayGateRecheckTimer:
      Stop(kDisplayGateRecheckTimer, state.gateRecheckPending);
      if (!DisplayGateClosed(context_)) {
        Stop(kExternalBrightnessTimer, state.externalApplyPending);
        Set(kMonitorRescanTimer, state.monitorRescanPending, Timing(kDevChgTime));
      }
      return true;
    case kExternalBrightnessTimer:
      Stop(kExternalBrightnessTimer, state.externalApplyPending);
      if (!state.monitorRescanPending && !state.gateRecheckPending && !DisplayGateClosed(context_)) {
        context_.subsystems().ApplyBrightness(kApplyExternalBrightness);
      }
      return true;
    default:
      return false;
  }
}

}  // namespace kestrel
