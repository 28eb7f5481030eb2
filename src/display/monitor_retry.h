// Every DDC/CI call is retried: a fixed number of attempts with a pause
// between them, stopped at once by the codes that mean the monitor is gone.
// A call that needed retries is logged with its last error and the count.
#pragma once
#include <cstdint>
#include <functional>

#include "base/error_reporter.h"
#include "platform/clock.h"
#include "platform/status.h"

namespace kestrel {

// Answer of a wrapper configured for no attempts: nothing was called.
inline constexpr Status kErrorNoMonitorAttempts = kErrorNotSupported;

enum class MonitorCall : std::uint8_t {
  GetMonitorCapabilities,
  GetMonitorBrightness,
  GetVCPFeatureAndVCPFeatureReply,
  GetCapabilitiesStringLength,
  CapabilitiesRequestAndCapabilitiesReply,
  GetNumberOfPhysicalMonitorsFromHMONITOR,
  GetPhysicalMonitorsFromHMONITOR,
  SetMonitorBrightness,
  SetVCPFeature,
  SaveCurrentMonitorSettings,
  SaveCurrentSettings,
};

// The tuning values of HKLM Software\Vexa\Kestrel, as stored.
struct MonitorTiming {
  std::int32_t retryCount = 0;   // attempts of every call but the capability-string length
  std::uint32_t retryTimeMs = 0;  // pause between attempts and after each successful step
  std::int32_t checkCount = 10;  // attempts of the capability-string length
};

class MonitorRetry {
 public:
  MonitorRetry(Clock& clock, ErrorReporter& reporter, MonitorTiming timing, bool debugLog)
      : clock_(clock), reporter_(reporter), timing_(timing), debugLog_(debugLog) {}

  // Runs `call` until it succeeds, answers a stop code or used its attempts;
  // returns its last result.
  Status Run(MonitorCall which, const std::function<Status()>& call);

  // The pause after a successful step of discovery and writing.
  void Pause() { clock_.Sleep(timing_.retryTimeMs); }

  const MonitorTiming& timing() const { return timing_; }
  // The tuning values are read after the supported list.
  void SetTiming(MonitorTiming timing, bool debugLog) {
    timing_ = timing;
    debugLog_ = debugLog;
  }

 private:
  Clock& clock_;
  ErrorReporter& reporter_;
  MonitorTiming timing_;
  bool debugLog_;
};

}  // namespace kestrel
