// Monitors on a DDC/CI bus for tests: each physical monitor answers from its
// own state, a test scripts failures per call, and every call is recorded.
#pragma once
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "platform/monitor_configuration.h"

namespace kestrel::testing {

struct FakeMonitor {
  std::string capabilities;  // without terminator
  std::uint32_t caps = kMcCapsBrightness;
  std::uint32_t minimum = 0;
  std::uint32_t current = 50;
  std::uint32_t maximum = 100;
  bool saved = false;
};

class FakeMonitors : public MonitorConfiguration {
 public:
  // A display monitor with these physical monitors; returns the first handle.
  PhysicalMonitorHandle AddDisplay(std::vector<FakeMonitor> physicals);
  FakeMonitor& monitor(PhysicalMonitorHandle handle) { return monitors_.at(handle); }
  // The next calls of `call` fail with these codes, in order.
  void Fail(const std::string& call, std::vector<Status> codes);
  void AddActiveDisplays(std::uint32_t active, std::uint32_t inactive);

  std::vector<std::string> calls;  // "<call> <handle>"
  std::vector<PhysicalMonitorHandle> destroyed;
  bool enumerationFails = false;

  Status EnumDisplayMonitors(std::vector<DisplayMonitorHandle>& monitors) override;
  Status EnumDisplayDevices(std::u16string_view device, std::uint32_t index, DisplayDevice& result) override;
  Status GetNumberOfPhysicalMonitorsFromHMONITOR(DisplayMonitorHandle monitor, std::uint32_t& count) override;
  Status GetPhysicalMonitorsFromHMONITOR(DisplayMonitorHandle monitor, std::uint32_t count,
                                         std::vector<PhysicalMonitor>& monitors) override;
  Status DestroyPhysicalMonitor(PhysicalMonitorHandle monitor) override;
  Status DestroyPhysicalMonitors(const std::vector<PhysicalMonitor>& monitors) override;
  Status GetCapabilitiesStringLength(PhysicalMonitorHandle monitor, std::uint32_t& length) override;
  Status CapabilitiesRequestAndCapabilitiesReply(PhysicalMonitorHandle monitor, std::string& buffer) override;
  Status GetMonitorCapabilities(PhysicalMonitorHandle monitor, std::uint32_t& capabilities,
                                std::uint32_t& temperatures) override;
  Status GetMonitorBrightness(PhysicalMonitorHandle monitor, std::uint32_t& minimum, std::uint32_t& current,
                              std::uint32_t& maximum) override;
  Status SetMonitorBrightness(PhysicalMonitorHandle monitor, std::uint32_t brightness) override;
  Status GetVCPFeatureAndVCPFeatureReply(PhysicalMonitorHandle monitor, std::uint8_t code, VcpCodeType& type,
                                         std::uint32_t& current, std::uint32_t& maximum) override;
  Status SetVCPFeature(PhysicalMonitorHandle monitor, std::uint8_t code, std::uint32_t value) override;
  Status SaveCurrentMonitorSettings(PhysicalMonitorHandle monitor) override;
  Status SaveCurrentSettings(PhysicalMonitorHandle monitor) override;

 private:
  Status Enter(const std::string& call, std::uintptr_t handle);

  std::map<DisplayMonitorHandle, std::vector<PhysicalMonitorHandle>> displays_;
  std::map<PhysicalMonitorHandle, FakeMonitor> monitors_;
  std::map<std::string, std::deque<Status>> failures_;
  std::vector<DisplayDevice> adapters_;
  std::map<std::u16string, std::vector<DisplayDevice>> adapterMonitors_;
  PhysicalMonitorHandle nextHandle_ = 0x100;
};

}  // namespace kestrel::testing
