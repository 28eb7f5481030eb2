// The monitor configuration of the emulated machine. The desktop shows the
// built-in panel first (a display monitor whose physical monitor does not
// answer DDC/CI, as a laptop panel does not) and then every external monitor
// of the MonitorStore, each its own display monitor with one physical monitor
// on its own adapter. Physical monitor handles live in the process that asked
// for them; a handle whose monitor was removed answers 0xC026258D. Every call
// is logged in the store's log:
//   <function> monitor=<number> [<arguments>] -> <status, 8 hex digits>
// (monitor=0 is the built-in panel).
#pragma once
#include <map>
#include <mutex>

#include "platform/emulated/monitor_store.h"
#include "platform/monitor_configuration.h"

namespace kestrel {

inline constexpr std::u16string_view kEmulatedPanelDescription = u"Built-in Display";
// The DDC/CI answer to an unknown VCP code.
inline constexpr Status kErrorGraphicsDdcciVcpNotSupported = 0xC0262584;

class EmulatedMonitors : public MonitorConfiguration {
 public:
  explicit EmulatedMonitors(Registry& registry) : store_(registry) {}

  MonitorStore& store() { return store_; }
  std::size_t OpenPhysicalMonitorCount() const;

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
  // The monitor behind a handle, or the error the call answers: an unknown
  // handle, a removed monitor, the built-in panel (no DDC/CI) or a scripted
  // failure of `operation`.
  Status Resolve(PhysicalMonitorHandle handle, std::u16string_view operation, EmulatedMonitorState& state);
  Status ResolveDisplay(DisplayMonitorHandle handle, std::u16string_view operation, std::uint32_t& id);
  Status Logged(std::u16string_view operation, std::uint32_t id, std::u16string_view arguments, Status status);
  std::uint32_t IdOf(PhysicalMonitorHandle handle) const;

  MonitorStore store_;
  mutable std::mutex mutex_;
  std::map<PhysicalMonitorHandle, std::uint32_t> physical_;  // handle -> monitor number (0 = panel)
  PhysicalMonitorHandle nextPhysical_ = 0x20000;
};

}  // namespace kestrel
