// Registry port: the calls of advapi32's registry API that the program makes, at
// the same grain and with the same error codes. Keys are opaque handles owned by
// RegKey, which closes them when it goes out of scope.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/status.h"

namespace kestrel {

using KeyHandle = std::uintptr_t;

// Predefined roots, as the platform defines their handle values.
inline constexpr KeyHandle kHkeyCurrentUser = 0x80000001u;
inline constexpr KeyHandle kHkeyLocalMachine = 0x80000002u;
inline constexpr KeyHandle kHkeyUsers = 0x80000003u;

enum class RegType : std::uint32_t {
  None = 0,
  Sz = 1,
  ExpandSz = 2,
  Binary = 3,
  Dword = 4,
  MultiSz = 7,
  Qword = 11,
};

// Access rights, same values as the platform's.
inline constexpr std::uint32_t kKeyQueryValue = 0x0001;
inline constexpr std::uint32_t kKeySetValue = 0x0002;
inline constexpr std::uint32_t kKeyCreateSubKey = 0x0004;
inline constexpr std::uint32_t kKeyEnumerateSubKeys = 0x0008;
inline constexpr std::uint32_t kKeyNotify = 0x0010;
inline constexpr std::uint32_t kKeyRead = 0x20019;
inline constexpr std::uint32_t kKeyWrite = 0x20006;
inline constexpr std::uint32_t kKeyAllAccess = 0xF003F;
inline constexpr std::uint32_t kKeyWow64_64Key = 0x0100;
inline constexpr std::uint32_t kReadControl = 0x00020000;
inline constexpr std::uint32_t kWriteDac = 0x00040000;

// One access-control entry of a key's DACL. Trustees are SIDs in their string
// form ("S-1-5-32-545" is the built-in Users group).
struct AccessEntry {
  enum class Kind : std::uint8_t { Allow = 0, Deny = 1 };
  Kind kind = Kind::Allow;
  std::uint8_t inheritFlags = 0;  // ACE flags (OBJECT_INHERIT_ACE, CONTAINER_INHERIT_ACE, INHERITED_ACE, ...)
  std::uint32_t mask = 0;
  std::string trustee;
  friend bool operator==(const AccessEntry&, const AccessEntry&) = default;
};

inline constexpr std::string_view kBuiltinUsersSid = "S-1-5-32-545";

class Registry {
 public:
  virtual ~Registry() = default;

  // RegOpenKeyExW / RegCreateKeyExW. `created` (optional) tells whether the key is new.
  virtual Status OpenKey(KeyHandle parent, std::u16string_view subKey, std::uint32_t access, KeyHandle& out) = 0;
  virtual Status CreateKey(KeyHandle parent, std::u16string_view subKey, std::uint32_t access, KeyHandle& out,
                           bool* created = nullptr) = 0;
  virtual Status CloseKey(KeyHandle key) = 0;

  // RegQueryValueExW. `data` may be null to ask for the size only. When the
  // buffer is too small the size needed is stored in `size` and kErrorMoreData
  // is returned; otherwise `size` becomes the number of bytes copied.
  virtual Status QueryValue(KeyHandle key, std::u16string_view name, RegType* type, std::uint8_t* data,
                            std::uint32_t& size) = 0;
  // RegSetValueExW: stores exactly `size` bytes.
  virtual Status SetValue(KeyHandle key, std::u16string_view name, RegType type, const std::uint8_t* data,
                          std::uint32_t size) = 0;
  virtual Status DeleteValue(KeyHandle key, std::u16string_view name) = 0;
  // RegFlushKey: writes the key's changes to the store before returning.
  virtual Status Flush(KeyHandle key) = 0;

  // RegEnumKeyExW / RegEnumValueW: index from 0; kErrorNoMoreItems past the end.
  virtual Status EnumKey(KeyHandle key, std::uint32_t index, std::u16string& name) = 0;
  virtual Status EnumValue(KeyHandle key, std::uint32_t index, std::u16string& name) = 0;

  // RegDeleteKeyW: not recursive; a key that still has subkeys is refused with
  // kErrorAccessDenied, as the platform does.
  virtual Status DeleteKey(KeyHandle parent, std::u16string_view subKey) = 0;

  // The key's DACL, read and replaced whole (RegGetKeySecurity / RegSetKeySecurity).
  virtual Status GetKeyAccess(KeyHandle key, std::vector<AccessEntry>& entries) = 0;
  virtual Status SetKeyAccess(KeyHandle key, const std::vector<AccessEntry>& entries) = 0;
};

// Owns one open key; closes it when destroyed. Predefined roots are never closed.
class RegKey {
 public:
  RegKey() = default;
  RegKey(Registry& registry, KeyHandle handle) : registry_(&registry), handle_(handle) {}
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;
  RegKey(RegKey&& other) noexcept { *this = std::move(other); }
  RegKey& operator=(RegKey&& other) noexcept {
    if (this != &other) {
      Reset();
      registry_ = std::exchange(other.registry_, nullptr);
      handle_ = std::exchange(other.handle_, 0);
    }
    return *this;
  }
  ~RegKey() { Reset(); }

  static Status Open(Registry& registry, KeyHandle parent, std::u16string_view subKey, std::uint32_t access,
                     RegKey& out);
  static Status Create(Registry& registry, KeyHandle parent, std::u16string_view subKey, std::uint32_t access,
                       RegKey& out, bool* created = nullptr);

  bool valid() const { return handle_ != 0; }
  KeyHandle get() const { return handle_; }
  Registry& registry() const { return *registry_; }
  void Reset();

  // Convenience readers and writers over the port. Reads accept a value only of
  // the expected type and, for fixed-size values, of the exact size; a value of
  // another type or size gives kErrorInvalidData.
  Status ReadDword(std::u16string_view name, std::uint32_t& value) const;
  Status ReadString(std::u16string_view name, std::u16string& value, std::size_t maxUnits = 0x7fff) const;
  Status ReadBinary(std::u16string_view name, std::vector<std::uint8_t>& value) const;
  // Reads a binary value that must be exactly `size` bytes long.
  Status ReadExactBinary(std::u16string_view name, std::uint8_t* data, std::uint32_t size) const;
  Status ReadMultiString(std::u16string_view name, std::vector<std::u16string>& value) const;
  Status WriteDword(std::u16string_view name, std::uint32_t value) const;
  Status WriteString(std::u16string_view name, std::u16string_view value) const;
  Status WriteBinary(std::u16string_view name, const std::uint8_t* data, std::uint32_t size) const;
  Status WriteMultiString(std::u16string_view name, const std::vector<std::u16string>& value) const;
  Status Flush() const { return registry_->Flush(handle_); }

 private:
  Registry* registry_ = nullptr;
  KeyHandle handle_ = 0;
};

}  // namespace kestrel
