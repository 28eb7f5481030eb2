#include "ui/model/switch_limit.h"

#include <array>

#include "base/registry_paths.h"

namespace kestrel {
namespace {

constexpr std::uint32_t kRecordBytes = 48;
constexpr std::size_t kLimitOffset = 8;

}  // namespace

std::uint64_t StoredSwitchLimit(Registry& registry) {
  RegKey key;
  if (RegKey::Open(registry, kHkeyCurrentUser, kKestrelKey, kKeyRead, key) != kSuccess) return kDefaultSwitchLimit;
  std::array<std::uint8_t, kRecordBytes> record{};
  if (key.ReadExactBinary(u"Auto", record.data(), kRecordBytes) != kSuccess) return kDefaultSwitchLimit;
  std::uint64_t limit = 0;
  for (std::size_t i = 0; i < 8; ++i) limit |= static_cast<std::uint64_t>(record[kLimitOffset + i]) << (8 * i);
  return limit;
}

}  // namespace kestrel
