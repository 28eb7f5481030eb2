#include "base/machine_config.h"

#include "platform/power.h"

namespace kestrel {

std::vector<Guid> DefaultPinnedPlans(std::uint32_t count) {
  if (count == 3) return {kBalancedPlan, kPowerSaverPlan, kHighPerformancePlan};
  return std::vector<Guid>(count);
}

std::optional<std::vector<Guid>> ParseSchemeList(const std::vector<std::uint8_t>& bytes, std::uint32_t count) {
  constexpr std::size_t kEntryBytes = 37 * 2;
  if (bytes.size() < kEntryBytes * count) return std::nullopt;
  std::vector<Guid> plans;
  for (std::uint32_t k = 0; k < count; ++k) {
    const std::uint8_t* entry = bytes.data() + k * kEntryBytes;
    std::u16string text;
    for (std::size_t i = 0; i < 36; ++i) text.push_back(static_cast<char16_t>(entry[2 * i] | (entry[2 * i + 1] << 8)));
    if (entry[72] != 0 || entry[73] != 0) return std::nullopt;
    std::optional<Guid> guid = ParseGuid(text);
    if (!guid) return std::nullopt;
    plans.push_back(*guid);
  }
  return plans;
}

}  // namespace kestrel
