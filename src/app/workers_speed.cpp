#include "app/workers_speed.h"

#include <vector>

#include "base/messages.h"
#include "base/string_ids.h"

namespace kestrel {
namespace {

constexpr std::uint32_t kFailuresBeforeReport = 10;

}  // namespace

std::uint32_t SpeedPercent(std::uint32_t currentMhz, std::uint32_t maximumMhz) {
  if (maximumMhz == 0) return 0;
  std::uint64_t percent = std::uint64_t{currentMhz} * 100 / maximumMhz;
  return percent > 100 ? 100 : static_cast<std::uint32_t>(percent);
}

void SpeedMonitor::Connect(WindowHandle window, SyncHandle speedEvent) {
  speedEvent_.store(speedEvent);
  window_.store(window);
}

SpeedValues SpeedMonitor::values() const {
  std::lock_guard lock(valuesMutex_);
  return values_;
}

bool SpeedMonitor::Round() {
  std::vector<ProcessorPowerInfo> processors;
  Status status = machine_.power.ReadProcessorInformation(processors);
  if (status == kSuccess && processors.empty()) status = kErrorInvalidData;
  if (status != kSuccess) {
    reporter_.ReportCode(kStringProcessorPollFailed, status);
    return false;
  }
  SpeedValues read{processors[0].currentMhz, processors[0].maxMhz};
  bool changed = false;
  {
    std::lock_guard lock(valuesMutex_);
    if (read.currentMhz != values_.currentMhz || read.maximumMhz != values_.maximumMhz) {
      values_ = read;
      changed = true;
    }
  }
  WindowHandle window = window_.load();
  if (window == 0 || !changed) return true;
  targetPercent_.store(SpeedPercent(read.currentMhz, read.maximumMhz));
  if (SyncHandle event = speedEvent_.load(); event != 0) machine_.sync.SetEvent(event);
  machine_.messaging.Send(window, kMsgSpeedChanged, read.currentMhz, read.maximumMhz);
  return true;
}

bool BatteryPollRound::Round() {
  Status status = battery_.Poll();
  if (status == kSuccess) {
    failuresInARow_ = 0;
    return true;
  }
  if (++failuresInARow_ >= kFailuresBeforeReport && !reported_) {
    reporter_.ReportCode(kStringBatteryStatusCheckFailed, status);
    reported_ = true;
  }
  return true;
}

}  // namespace kestrel
