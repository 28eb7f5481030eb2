#include "display/monitor_retry.h"

#include <algorithm>
#include <array>

#include "platform/monitor_configuration.h"

namespace kestrel {
namespace {

constexpr std::uint32_t kRetryCountReport = 292;  // "Monitor Retry Count"
constexpr Status kErrorMonitorCapabilitiesUnavailable = 0xC02625DB;

struct CallRule {
  std::uint32_t reportId;  // "fail : <call>()"
  std::array<Status, 2> stopCodes;
};

constexpr CallRule RuleOf(MonitorCall which) {
  constexpr Status gone = kErrorGraphicsMonitorNoLongerExists;
  switch (which) {
    case MonitorCall::GetMonitorCapabilities: return {281, {kErrorMonitorCapabilitiesUnavailable, gone}};
    case MonitorCall::GetMonitorBrightness: return {282, {gone, gone}};
    case MonitorCall::GetVCPFeatureAndVCPFeatureReply: return {283, {gone, gone}};
    case MonitorCall::GetCapabilitiesStringLength: return {284, {gone, gone}};
    case MonitorCall::CapabilitiesRequestAndCapabilitiesReply: return {285, {gone, gone}};
    case MonitorCall::GetNumberOfPhysicalMonitorsFromHMONITOR: return {286, {gone, gone}};
    case MonitorCall::GetPhysicalMonitorsFromHMONITOR: return {287, {gone, gone}};
    case MonitorCall::SetMonitorBrightness: return {288, {gone, gone}};
    case MonitorCall::SetVCPFeature: return {289, {gone, gone}};
    case MonitorCall::SaveCurrentMonitorSettings: return {290, {gone, gone}};
    case MonitorCall::SaveCurrentSettings: return {291, {gone, gone}};
  }
  return {0, {gone, gone}};
}

}  // namespace

Status MonitorRetry::Run(MonitorCall which, const std::function<Status()>& call) {
  bool lengthQuery = which == MonitorCall::GetCapabilitiesStringLength;
  std::int32_t attempts = lengthQuery ? timing_.checkCount : timing_.retryCount;
  if (attempts <= 0) return kErrorNoMonitorAttempts;
  CallRule rule = RuleOf(which);
  std::int32_t retries = 0;
  Status status = kSuccess;
  Status lastError = kSuccess;
  do {
    status = call();
    if (status == kSuccess) break;
    lastError = status;
    if (std::ranges::find(rule.stopCodes, status) != rule.stopCodes.end()) break;
    clock_.Sleep(timing_.retryTimeMs);
    ++retries;
  } while (retries < attempts);
  // The length query fails on every monitor without DDC/CI: logged only on request.
  if (retries > 0 && (!lengthQuery || debugLog_)) {
    reporter_.ReportCode(rule.reportId, lastError);
    reporter_.ReportCode(kRetryCountReport, retries);
  }
  return status;
}

}  // namespace kestrel
