// Registry port over advapi32. Keys are opened in the 64-bit view; the
// predefined roots map to the platform's own HKEY values.
#pragma once
#include "platform/registry.h"

namespace kestrel {

class Win32Registry : public Registry {
 public:
  Status OpenKey(KeyHandle parent, std::u16string_view subKey, std::uint32_t access, KeyHandle& out) override;
  Status CreateKey(KeyHandle parent, std::u16string_view subKey, std::uint32_t access, KeyHandle& out,
                   bool* created = nullptr) override;
  Status CloseKey(KeyHandle key) override;
  Status QueryValue(KeyHandle key, std::u16string_view name, RegType* type, std::uint8_t* data,
                    std::uint32_t& size) override;
  Status SetValue(KeyHandle key, std::u16string_view name, RegType type, const std::uint8_t* data,
                  std::uint32_t size) override;
  Status DeleteValue(KeyHandle key, std::u16string_view name) override;
  Status Flush(KeyHandle key) override;
  Status EnumKey(KeyHandle key, std::uint32_t index, std::u16string& name) override;
  Status EnumValue(KeyHandle key, std::uint32_t index, std::u16string& name) override;
  Status DeleteKey(KeyHandle parent, std::u16string_view subKey) override;
  // Only allow and deny entries are understood; a DACL holding any other kind
  // of entry, or no DACL at all, gives kErrorNotSupported rather than a list
  // that would silently drop protection when written back.
  Status GetKeyAccess(KeyHandle key, std::vector<AccessEntry>& entries) override;
  Status SetKeyAccess(KeyHandle key, const std::vector<AccessEntry>& entries) override;
};

}  // namespace kestrel
