// Monitor configuration port: the display monitors of the desktop
// (EnumDisplayMonitors, EnumDisplayDevicesW of user32) and the physical
// monitors behind them with their DDC/CI functions (dxva2). Every call answers
// a status: kSuccess, or the GetLastError() code the function left when it
// returned FALSE (the monitor configuration errors are 0xC026xxxx values, for
// example 0xC026258D when the monitor no longer exists; Wine's dxva2 answers
// 120 to everything).
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace kestrel {

using DisplayMonitorHandle = std::uintptr_t;   // HMONITOR
using PhysicalMonitorHandle = std::uintptr_t;  // PHYSICAL_MONITOR.hPhysicalMonitor

// PHYSICAL_MONITOR: the description has at most 127 units (128 with the
// terminator).
struct PhysicalMonitor {
  PhysicalMonitorHandle handle = 0;
  std::u16string description;
};

inline constexpr std::size_t kPhysicalMonitorDescriptionUnits = 128;

// GetMonitorCapabilities flags.
inline constexpr std::uint32_t kMcCapsBrightness = 0x00000002;
inline constexpr std::uint32_t kMcCapsContrast = 0x00000004;

// MC_VCP_CODE_TYPE.
enum class VcpCodeType : std::uint32_t { Momentary = 0, SetParameter = 1 };

// The VCP code of the luminance (brightness) control.
inline constexpr std::uint8_t kVcpBrightness = 0x10;

// DISPLAY_DEVICEW as EnumDisplayDevicesW fills it.
struct DisplayDevice {
  std::u16string deviceName;    // "\\.\DISPLAY1", or "\\.\DISPLAY1\Monitor0" for a monitor
  std::u16string deviceString;  // the adapter's or monitor's description
  std::uint32_t stateFlags = 0;
};

inline constexpr std::uint32_t kDisplayDeviceActive = 0x00000001;  // DISPLAY_DEVICE_ACTIVE
inline constexpr std::uint32_t kDisplayDevicePrimary = 0x00000004;

// Error codes of the monitor configuration functions the program and the
// emulated machine name.
inline constexpr Status kErrorGraphicsI2cErrorTransmittingData = 0xC0262582;
inline constexpr Status kErrorGraphicsInvalidPhysicalMonitorHandle = 0xC026258C;
inline constexpr Status kErrorGraphicsMonitorNoLongerExists = 0xC026258D;

class MonitorConfiguration {
 public:
  virtual ~MonitorConfiguration() = default;

  // EnumDisplayMonitors over the whole desktop (no DC, no clipping): every
  // display monitor in the order the callback receives them.
  virtual Status EnumDisplayMonitors(std::vector<DisplayMonitorHandle>& monitors) = 0;

  // EnumDisplayDevicesW(device, index): `device` empty enumerates the display
  // adapters, an adapter's deviceName enumerates its monitors.
  // kErrorNoMoreItems past the last one.
  virtual Status EnumDisplayDevices(std::u16string_view device, std::uint32_t index, DisplayDevice& result) = 0;

  virtual Status GetNumberOfPhysicalMonitorsFromHMONITOR(DisplayMonitorHandle monitor, std::uint32_t& count) = 0;
  // Fills `monitors` with `count` physical monitors; each handle must be given
  // back with DestroyPhysicalMonitor(s).
  virtual Status GetPhysicalMonitorsFromHMONITOR(DisplayMonitorHandle monitor, std::uint32_t count,
                                                 std::vector<PhysicalMonitor>& monitors) = 0;
  virtual Status DestroyPhysicalMonitor(PhysicalMonitorHandle monitor) = 0;
  virtual Status DestroyPhysicalMonitors(const std::vector<PhysicalMonitor>& monitors) = 0;

  // Length of the capability string in bytes, its terminator included.
  virtual Status GetCapabilitiesStringLength(PhysicalMonitorHandle monitor, std::uint32_t& length) = 0;
  // CapabilitiesRequestAndCapabilitiesReply: on entry `buffer.size()` is the
  // buffer's length; on success it holds the buffer as the monitor filled it
  // (the same size; ASCII text, terminated only when the monitor's reply fits).
  virtual Status CapabilitiesRequestAndCapabilitiesReply(PhysicalMonitorHandle monitor, std::string& buffer) = 0;

  virtual Status GetMonitorCapabilities(PhysicalMonitorHandle monitor, std::uint32_t& capabilities,
                                        std::uint32_t& supportedColorTemperatures) = 0;
  virtual Status GetMonitorBrightness(PhysicalMonitorHandle monitor, std::uint32_t& minimum, std::uint32_t& current,
                                      std::uint32_t& maximum) = 0;
  virtual Status SetMonitorBrightness(PhysicalMonitorHandle monitor, std::uint32_t brightness) = 0;
  virtual Status GetVCPFeatureAndVCPFeatureReply(PhysicalMonitorHandle monitor, std::uint8_t code, VcpCodeType& type,
                                                 std::uint32_t& current, std::uint32_t& maximum) = 0;
  virtual Status SetVCPFeature(PhysicalMonitorHandle monitor, std::uint8_t code, std::uint32_t value) = 0;
  virtual Status SaveCurrentMonitorSettings(PhysicalMonitorHandle monitor) = 0;
  virtual Status SaveCurrentSettings(PhysicalMonitorHandle monitor) = 0;
};

}  // namespace kestrel
