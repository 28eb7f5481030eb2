#include "display/level_table.h"

#include <algorithm>

#include "base/registry_paths.h"
#include "display/lcd_device.h"

namespace kestrel {
namespace {

constexpr std::uint32_t kDriverOpenFailed = 64;        // "fail : Driver Open"
constexpr std::uint32_t kBLevelReadFailed = 70;        // "fail : RegQueryValueEx/HKLM...BLevel"
constexpr std::uint32_t kBValueReadFailed = 71;        // "fail : RegQueryValueEx/HKLM...BValue"
constexpr std::uint32_t kLcdBrightnessUnsupported = 87;  // "fail: Not Support LCD Brightness Control"
constexpr std::uint32_t kMaxLevels = 256;

}  // namespace

std::optional<std::vector<std::uint16_t>> ReadSystemLevels(WmiBrightness& wmi, DeviceIo& devices,
                                                           ErrorReporter& reporter, bool reportOpenFailure) {
  std::vector<std::uint16_t> levels;
  if (wmi.ReadLevels(levels) == kSuccess) return levels;
  std::vector<std::uint8_t> bytes;
  LcdResult result = QuerySupportedBrightness(devices, bytes);
  if (result.open != kSuccess) {
    if (reportOpenFailure) reporter.ReportCode(kDriverOpenFailed, result.open);
    return std::nullopt;
  }
  if (result.control != kSuccess) {
    reporter.ReportCode(kLcdBrightnessUnsupported, result.control);
    return std::nullopt;
  }
  return std::vector<std::uint16_t>(bytes.begin(), bytes.end());
}

void ApplyLevelOverride(Registry& registry, ErrorReporter& reporter, std::vector<std::uint16_t>& table) {
  RegKey key;
  if (RegKey::Open(registry, kHkeyLocalMachine, kKestrelKey, kKeyRead, key) != kSuccess) return;
  std::uint32_t count = 0;
  Status status = key.ReadDword(u"BLevel", count);
  if (status != kSuccess) {
    if (status != kErrorFileNotFound) reporter.ReportCode(kBLevelReadFailed, status);
    return;
  }
  std::vector<std::uint8_t> bytes;
  status = key.ReadBinary(u"BValue", bytes);
  if (status != kSuccess) {
    if (status != kErrorFileNotFound) reporter.ReportCode(kBValueReadFailed, status);
    table.clear();
    return;
  }
  // A BValue shorter than BLevel says gives only the levels it holds.
  std::size_t levels = std::min<std::size_t>({count, kMaxLevels, bytes.size() / 2});
  table.assign(levels, 0);
  for (std::size_t k = 0; k < levels; ++k) {
    table[k] = static_cast<std::uint16_t>(bytes[2 * k] | (bytes[2 * k + 1] << 8));
  }
}

bool ReadAmbientLightSupport(Registry& registry) {
  RegKey key;
  std::uint32_t value = 0;
  return RegKey::Open(registry, kHkeyLocalMachine, kKestrelKey, kKeyRead, key) == kSuccess &&
         key.ReadDword(u"ASLSupported", value) == kSuccess && value == 1;
}

}  // namespace kestrel
