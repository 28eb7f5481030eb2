// The machine's battery data under HKLM Software\Vexa\Kestrel: the rate
// tables that scale a run-time estimate by panel level (Num_LCD_Rate,
// LCDRate) and processor mode (CPURate), and the charge parameter sets under
// ModPar\SetItemData, one subkey per battery type named like the battery's
// device name, matched to the installed batteries.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/error_reporter.h"
#include "platform/battery.h"
#include "platform/device_io.h"
#include "platform/registry.h"

namespace kestrel {

inline constexpr std::u16string_view kBatteryParameterSetsKey = u"Software\\Vexa\\Kestrel\\ModPar\\SetItemData";
inline constexpr std::size_t kProcessorRateEntries = 4;
inline constexpr std::uint32_t kMaxPanelRateEntries = 128;

// Relative consumption in hundredths of a percent.
struct RateTables {
  std::vector<std::uint16_t> processor{10000, 9326, 9209, 9089};
  std::vector<std::uint16_t> panel{7894, 8342, 8634, 8980, 9465, 9615, 9794, 10000};
};

// The 16-bit entries of a table value that must hold exactly `count` of
// them; nothing when it does not.
std::optional<std::vector<std::uint16_t>> DecodeRateTable(std::span<const std::uint8_t> bytes, std::uint32_t count);
// Reads both tables; a missing or unusable table keeps its default.
RateTables ReadRateTables(Registry& registry);

// A parameter text converted as a decimal floating-point number (leading
// blanks, sign, digits, fraction, exponent); nothing when it holds no finite
// number.
std::optional<double> ParseChargeParameter(std::u16string_view text);

struct BatteryEntry {
  bool valid = false;
  std::u16string devicePath;
  std::uint32_t changePoint = 0;   // ChargeChangePoint, percent
  std::uint32_t fullPercent = 100;  // FullPercent
  double ua = 0;
  double ub = 0;
  double uc = 0;
  double chargePower = 0;  // IChargeParameter
  bool matched = false;
  std::u16string name;  // the subkey's name, the battery's device name
  std::uint32_t index = 0;
  // The battery's last read status.
  std::uint32_t powerState = 0;
  std::uint32_t remainingCapacity = 0;
  std::uint32_t fullChargedCapacity = 0;
  std::int32_t rate = 0;
};

// One subkey's set; `valid` only when every rule holds. Failures are logged.
BatteryEntry ReadParameterSet(const RegKey& key, std::u16string name, ErrorReporter& reporter);

struct ParameterSets {
  std::vector<BatteryEntry> entries;
  bool complete = true;  // false when a subkey name could not be read
};
ParameterSets LoadParameterSets(Registry& registry, ErrorReporter& reporter);

// Clears every match and gives each battery interface whose device name
// equals (case-sensitively) a valid, unmatched entry's name that entry.
void MatchBatteries(std::vector<BatteryEntry>& entries, BatteryPort& port, DeviceIo& devices,
                    ErrorReporter& reporter);

}  // namespace kestrel
