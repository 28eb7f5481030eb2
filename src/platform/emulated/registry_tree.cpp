#include "platform/emulated/registry_tree.h"

namespace kestrel {
namespace {

Status CopyValues(Registry& registry, KeyHandle from, KeyHandle to) {
  std::u16string name;
  for (std::uint32_t index = 0;; ++index) {
    Status status = registry.EnumValue(from, index, name);
    if (status == kErrorNoMoreItems) return kSuccess;
    if (status != kSuccess) return status;
    RegType type = RegType::None;
    std::uint32_t size = 0;
    if (status = registry.QueryValue(from, name, &type, nullptr, size); status != kSuccess) return status;
    std::vector<std::uint8_t> data(size);
    if (status = registry.QueryValue(from, name, &type, data.data(), size); status != kSuccess) return status;
    if (status = registry.SetValue(to, name, type, data.data(), size); status != kSuccess) return status;
  }
}

}  // namespace

Status ListSubkeys(Registry& registry, KeyHandle key, std::vector<std::u16string>& names) {
  names.clear();
  std::u16string name;
  for (std::uint32_t index = 0;; ++index) {
    Status status = registry.EnumKey(key, index, name);
    if (status == kErrorNoMoreItems) return kSuccess;
    if (status != kSuccess) return status;
    names.push_back(name);
  }
}

Status CopyKeyTree(Registry& registry, KeyHandle from, KeyHandle to) {
  if (Status status = CopyValues(registry, from, to); status != kSuccess) return status;
  std::vector<std::u16string> children;
  if (Status status = ListSubkeys(registry, from, children); status != kSuccess) return status;
  for (const std::u16string& child : children) {
    RegKey source;
    RegKey target;
    if (Status status = RegKey::Open(registry, from, child, kKeyRead, source); status != kSuccess) return status;
    if (Status status = RegKey::Create(registry, to, child, kKeyAllAccess, target); status != kSuccess) {
      return status;
    }
    if (Status status = CopyKeyTree(registry, source.get(), target.get()); status != kSuccess) return status;
  }
  return kSuccess;
}

Status DeleteKeyTree(Registry& registry, KeyHandle parent, std::u16string_view subKey) {
  {
    RegKey key;
    if (Status status = RegKey::Open(registry, parent, subKey, kKeyRead, key); status != kSuccess) return status;
    std::vector<std::u16string> children;
    if (Status status = ListSubkeys(registry, key.get(), children); status != kSuccess) return status;
    for (const std::u16string& child : children) {
      if (Status status = DeleteKeyTree(registry, key.get(), child); status != kSuccess) return status;
    }
  }
  return registry.DeleteKey(parent, subKey);
}

}  // namespace kestrel
