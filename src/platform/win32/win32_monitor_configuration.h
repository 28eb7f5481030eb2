// Monitor configuration port over user32 (EnumDisplayMonitors,
// EnumDisplayDevicesW) and dxva2. dxva2 is bound at first use, so a system
// without it answers 120 (kErrorCallNotImplemented) as Wine's stubs do,
// instead of the program failing to start.
#pragma once
#include <memory>

#include "platform/monitor_configuration.h"

namespace kestrel {

class Win32MonitorConfiguration : public MonitorConfiguration {
 public:
  Win32MonitorConfiguration();
  ~Win32MonitorConfiguration() override;

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
                                std::uint32_t& supportedColorTemperatures) override;
  Status GetMonitorBrightness(PhysicalMonitorHandle monitor, std::uint32_t& minimum, std::uint32_t& current,
                              std::uint32_t& maximum) override;
  Status SetMonitorBrightness(PhysicalMonitorHandle monitor, std::uint32_t brightness) override;
  Status GetVCPFeatureAndVCPFeatureReply(PhysicalMonitorHandle monitor, std::uint8_t code, VcpCodeType& type,
                                         std::uint32_t& current, std::uint32_t& maximum) override;
  Status SetVCPFeature(PhysicalMonitorHandle monitor, std::uint8_t code, std::uint32_t value) override;
  Status SaveCurrentMonitorSettings(PhysicalMonitorHandle monitor) override;
  Status SaveCurrentSettings(PhysicalMonitorHandle monitor) override;

 private:
  struct Library;
  std::unique_ptr<Library> library_;
};

}  // namespace kestrel
