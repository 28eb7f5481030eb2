// The panel's brightness through WMI (ROOT\WMI): the supported levels, the
// current brightness and the brightness method, over one session opened at
// start-up and released at exit. Also the processor clock (ROOT\CIMV2).
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/wmi.h"

namespace kestrel {

class WmiBrightness {
 public:
  explicit WmiBrightness(Wmi& wmi) : wmi_(wmi) {}
  ~WmiBrightness() { Close(); }
  WmiBrightness(const WmiBrightness&) = delete;
  WmiBrightness& operator=(const WmiBrightness&) = delete;

  // Connects (once) and learns the panel's instance name.
  Status Open();
  void Close();

  // Level (one value per level) and Levels (their number) of the panel; the
  // count is held to the values actually returned.
  Status ReadLevels(std::vector<std::uint16_t>& levels);
  // CurrentBrightness, also refreshing the instance name.
  Status ReadCurrent(std::uint32_t& percent);
  // WmiSetBrightness(Brightness, Timeout 0) on the panel's instance; its
  // ReturnValue is not looked at.
  Status SetBrightness(std::uint8_t percent);

  const std::u16string& instanceName() const { return instanceName_; }

 private:
  Status QueryPanel(std::span<const std::u16string_view> properties, WmiObject& panel);
  Status RefreshInstanceName();

  Wmi& wmi_;
  WmiSession session_ = 0;
  std::u16string instanceName_;
};

inline constexpr std::size_t kMonitorInstanceNameUnits = 256;

// The processor's clock in MHz (its maximum clock, else its current one) from
// Win32_Processor; 0 when WMI cannot tell.
std::uint32_t MeasureProcessorMhz(Wmi& wmi);

}  // namespace kestrel
