// External monitors driven over DDC/CI: discovery of the supported monitors
// (at most four), reading and writing their brightness as a percentage, and
// the monitor record of the current plan under PowerSettings.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "display/monitor_retry.h"
#include "platform/monitor_configuration.h"
#include "platform/registry.h"

namespace kestrel {

inline constexpr std::size_t kMaxExternalMonitors = 4;
inline constexpr std::size_t kMonitorModelUnits = 32;
// Read brightness answer when no monitor gave one.
inline constexpr std::uint32_t kUnknownMonitorPercent = 256;

// Monitor record levels: no monitor in the slot, and a monitor whose
// brightness the plan does not control.
inline constexpr std::uint32_t kMonitorSlotEmpty = 0xF021;
inline constexpr std::uint32_t kMonitorControlOff = 0xF022;

inline constexpr std::uint32_t kMonitorFlagVcpBrightness = 0x1;   // the capability string lists VCP 0x10
inline constexpr std::uint32_t kMonitorFlagCapsBrightness = 0x2;  // GetMonitorCapabilities: MC_CAPS_BRIGHTNESS

struct ExternalMonitor {
  PhysicalMonitor physical;
  std::uint32_t flags = 0;
  std::uint32_t maximum = 0;
  std::uint32_t current = 0;
  std::uint32_t minimum = 0;
  std::u16string model;
};

// current of [minimum, maximum] as a percentage (current x 1000 / maximum / 10);
// nothing when the maximum is 0.
std::optional<std::uint32_t> MonitorValueToPercent(const ExternalMonitor& monitor);
// The value for a percentage: maximum x p / 100 rounded up, held inside
// [minimum, maximum].
std::uint32_t MonitorPercentToValue(const ExternalMonitor& monitor, std::uint32_t percent);

// Two or more active displays on all adapters.
bool MoreThanOneActiveDisplay(MonitorConfiguration& monitors);

class ExternalMonitors {
 public:
  ExternalMonitors(MonitorConfiguration& monitors, Registry& registry, MonitorRetry& retry)
      : monitors_(monitors), registry_(registry), retry_(retry) {}
  ~ExternalMonitors();
  ExternalMonitors(const ExternalMonitors&) = delete;
  ExternalMonitors& operator=(const ExternalMonitors&) = delete;

  // Reads the supported models; false when there are none.
  bool LoadSupportedList();
  bool supported() const { return !supportedModels_.empty(); }

  // Rebuilds the table from the desktop's monitors. False when the
  // enumeration itself failed (the table is then empty and present unchanged).
  bool Discover();
  bool present() const { return present_; }
  const std::vector<ExternalMonitor>& table() const { return table_; }

  // The first monitor's brightness that can be read, in percent, or 256.
  std::uint32_t ReadBrightness();
  // Writes the percentage to every monitor; the result of the last one.
  bool WriteBrightness(std::uint32_t percent);
  // MonitorName1/2 and MonitorBLevel1/2 for the first two monitors of the table.
  bool WriteMonitorRecord(std::uint32_t levelIndex, bool enabled);
  bool MoreThanOneActiveDisplay() { return kestrel::MoreThanOneActiveDisplay(monitors_); }

  // Gives every physical monitor handle back.
  void Release();

 private:
  void DiscoverBehind(DisplayMonitorHandle monitor);
  bool TakeMonitor(const PhysicalMonitor& physical);
  std::optional<std::u16string> ReadCapabilities(PhysicalMonitorHandle handle);
  bool ReadEntry(ExternalMonitor& entry);
  bool WriteEntry(const ExternalMonitor& entry, std::uint32_t percent);

  MonitorConfiguration& monitors_;
  Registry& registry_;
  MonitorRetry& retry_;
  std::vector<std::u16string> supportedModels_;
  std::vector<ExternalMonitor> table_;
  bool present_ = false;
};

}  // namespace kestrel
