// An in-memory registry with the platform's semantics: case-insensitive key and
// value names that keep their case, exact-size values, the platform's error
// codes, non-recursive key deletion, per-key access lists. Native tests run the
// emulated machine over it.
#pragma once
#include <map>
#include <memory>
#include <mutex>

#include "platform/registry.h"

namespace kestrel {

class InMemoryRegistry : public Registry {
 public:
  InMemoryRegistry();
  ~InMemoryRegistry() override;

  Status OpenKey(KeyHandle parent, std::u16string_view subKey, std::uint32_t access, KeyHandle& out) override;
  Status CreateKey(KeyHandle parent, std::u16string_view subKey, std::uint32_t access, KeyHandle& out,
                   bool* created = nullptr) override;
  Status CloseKey(KeyHandle key) override;
  Status QueryValue(KeyHandle key, std::u16string_view name, RegType* type, std::uint8_t* data,
                    std::uint32_t& size) override;
  Status SetValue(KeyHandle key, std::u16string_view name, RegType type, const std::uint8_t* data,
                  std::uint32_t size) override;
  Status DeleteValue(KeyHandle key, std::u16string_view name) override;
  Status EnumKey(KeyHandle key, std::uint32_t index, std::u16string& name) override;
  Status EnumValue(KeyHandle key, std::uint32_t index, std::u16string& name) override;
  Status DeleteKey(KeyHandle parent, std::u16string_view subKey) override;
  Status GetKeyAccess(KeyHandle key, std::vector<AccessEntry>& entries) override;
  Status SetKeyAccess(KeyHandle key, const std::vector<AccessEntry>& entries) override;

  // Number of handles currently open (tests check that code closes its keys).
  std::size_t OpenHandleCount() const;

 private:
  struct Node;
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace kestrel
