#include "unit/installer/plan_checks.h"

#include "platform/text.h"

namespace kestrel {
namespace {

template <typename Reader>
std::u16string ReadText(Reader read) {
  std::uint32_t size = 0;
  if (read(nullptr, size) != kSuccess) return u"<unreadable>";
  std::vector<std::uint8_t> bytes(size);
  if (read(bytes.data(), size) != kSuccess) return u"<unreadable>";
  return Utf16FromBytes(bytes.data(), size);
}

}  // namespace

Guid G(const char* text) { return ParseGuid(std::string_view(text)).value_or(kNullGuid); }

std::vector<Guid> Plans(PowerManager& power) {
  std::vector<Guid> plans;
  Guid plan;
  for (std::uint32_t index = 0; power.EnumeratePlans(index, plan) == kSuccess; ++index) plans.push_back(plan);
  return plans;
}

std::u16string PlanName(PowerManager& power, const Guid& plan) {
  return ReadText([&](std::uint8_t* buffer, std::uint32_t& size) {
    return power.ReadFriendlyName(plan, nullptr, nullptr, buffer, size);
  });
}

std::u16string PlanDescription(PowerManager& power, const Guid& plan) {
  return ReadText([&](std::uint8_t* buffer, std::uint32_t& size) {
    return power.ReadDescription(plan, nullptr, nullptr, buffer, size);
  });
}

long long AcValue(PowerManager& power, const Guid& plan, SettingRef setting) {
  std::uint32_t value = 0;
  if (power.ReadAcValueIndex(plan, G(setting.subgroup), G(setting.setting), value) != kSuccess) return -1;
  return value;
}

long long DcValue(PowerManager& power, const Guid& plan, SettingRef setting) {
  std::uint32_t value = 0;
  if (power.ReadDcValueIndex(plan, G(setting.subgroup), G(setting.setting), value) != kSuccess) return -1;
  return value;
}

}  // namespace kestrel
