#include "base/registry_string.h"

#include <vector>

#include "base/string_ids.h"
#include "platform/text.h"

namespace kestrel {

std::u16string ReadRegistryString(Registry& registry, ErrorReporter& reporter, KeyHandle root,
                                  std::u16string_view subKey, std::u16string_view name,
                                  std::u16string_view defaultText) {
  RegKey key;
  Status status = RegKey::Open(registry, root, subKey, kKeyRead, key);
  if (status != kSuccess) {
    reporter.ReportCode(kStringKeyUnreadable, status);
    return std::u16string(defaultText);
  }
  std::vector<std::uint8_t> buffer(kRegistryStringUnits * 2);
  std::uint32_t size = static_cast<std::uint32_t>(buffer.size());
  RegType type = RegType::None;
  status = registry.QueryValue(key.get(), name, &type, buffer.data(), size);
  if (status != kSuccess || (type != RegType::Sz && type != RegType::ExpandSz)) return std::u16string(defaultText);
  return Truncate(Utf16FromBytes(buffer.data(), size), kRegistryStringUnits - 1);
}

}  // namespace kestrel
