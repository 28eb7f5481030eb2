#include "platform/registry.h"

#include "platform/text.h"

namespace kestrel {

Status RegKey::Open(Registry& registry, KeyHandle parent, std::u16string_view subKey, std::uint32_t access,
                    RegKey& out) {
  KeyHandle handle = 0;
  Status status = registry.OpenKey(parent, subKey, access, handle);
  out = status == kSuccess ? RegKey(registry, handle) : RegKey();
  return status;
}

Status RegKey::Create(Registry& registry, KeyHandle parent, std::u16string_view subKey, std::uint32_t access,
                      RegKey& out, bool* created) {
  KeyHandle handle = 0;
  Status status = registry.CreateKey(parent, subKey, access, handle, created);
  out = status == kSuccess ? RegKey(registry, handle) : RegKey();
  return status;
}

void RegKey::Reset() {
  if (registry_ != nullptr && handle_ != 0) registry_->CloseKey(handle_);
  registry_ = nullptr;
  handle_ = 0;
}

Status RegKey::ReadDword(std::u16string_view name, std::uint32_t& value) const {
  std::uint8_t bytes[4];
  RegType type = RegType::None;
  std::uint32_t size = sizeof bytes;
  Status status = registry_->QueryValue(handle_, name, &type, bytes, size);
  if (status == kErrorMoreData) return kErrorInvalidData;
  if (status != kSuccess) return status;
  if (type != RegType::Dword || size != 4) return kErrorInvalidData;
  value = std::uint32_t{bytes[0]} | (std::uint32_t{bytes[1]} << 8) | (std::uint32_t{bytes[2]} << 16) |
          (std::uint32_t{bytes[3]} << 24);
  return kSuccess;
}

Status RegKey::ReadBinary(std::u16string_view name, std::vector<std::uint8_t>& value) const {
  std::uint32_t size = 0;
  RegType type = RegType::None;
  Status status = registry_->QueryValue(handle_, name, &type, nullptr, size);
  if (status != kSuccess) return status;
  std::vector<std::uint8_t> bytes(size);
  status = registry_->QueryValue(handle_, name, &type, bytes.data(), size);
  if (status != kSuccess) return status;
  bytes.resize(size);
  value = std::move(bytes);
  return kSuccess;
}

Status RegKey::ReadExactBinary(std::u16string_view name, std::uint8_t* data, std::uint32_t size) const {
  std::vector<std::uint8_t> bytes;
  RegType type = RegType::None;
  std::uint32_t actual = 0;
  Status status = registry_->QueryValue(handle_, name, &type, nullptr, actual);
  if (status != kSuccess) return status;
  if (type != RegType::Binary || actual != size) return kErrorInvalidData;
  return registry_->QueryValue(handle_, name, &type, data, actual);
}

Status RegKey::ReadString(std::u16string_view name, std::u16string& value, std::size_t maxUnits) const {
  std::uint32_t size = 0;
  RegType type = RegType::None;
  Status status = registry_->QueryValue(handle_, name, &type, nullptr, size);
  if (status != kSuccess) return status;
  if (type != RegType::Sz && type != RegType::ExpandSz) return kErrorInvalidData;
  std::vector<std::uint8_t> bytes(size);
  status = registry_->QueryValue(handle_, name, &type, bytes.data(), size);
  if (status != kSuccess) return status;
  value = Truncate(Utf16FromBytes(bytes.data(), size), maxUnits);
  return kSuccess;
}

Status RegKey::ReadMultiString(std::u16string_view name, std::vector<std::u16string>& value) const {
  std::vector<std::uint8_t> bytes;
  std::uint32_t size = 0;
  RegType type = RegType::None;
  Status status = registry_->QueryValue(handle_, name, &type, nullptr, size);
  if (status != kSuccess) return status;
  if (type != RegType::MultiSz) return kErrorInvalidData;
  bytes.resize(size);
  status = registry_->QueryValue(handle_, name, &type, bytes.data(), size);
  if (status != kSuccess) return status;
  value.clear();
  std::u16string current;
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    char16_t c = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
    if (c != 0) {
      current.push_back(c);
    } else if (current.empty()) {
      break;
    } else {
      value.push_back(std::move(current));
      current.clear();
    }
  }
  if (!current.empty()) value.push_back(std::move(current));
  return kSuccess;
}

Status RegKey::WriteDword(std::u16string_view name, std::uint32_t value) const {
  const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                                 static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
  return registry_->SetValue(handle_, name, RegType::Dword, bytes, 4);
}

Status RegKey::WriteString(std::u16string_view name, std::u16string_view value) const {
  std::vector<std::uint8_t> bytes = Utf16ToBytes(value, true);
  return registry_->SetValue(handle_, name, RegType::Sz, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
}

Status RegKey::WriteBinary(std::u16string_view name, const std::uint8_t* data, std::uint32_t size) const {
  return registry_->SetValue(handle_, name, RegType::Binary, data, size);
}

Status RegKey::WriteMultiString(std::u16string_view name, const std::vector<std::u16string>& value) const {
  std::vector<std::uint8_t> bytes;
  for (const std::u16string& item : value) {
    std::vector<std::uint8_t> part = Utf16ToBytes(item, true);
    bytes.insert(bytes.end(), part.begin(), part.end());
  }
  bytes.push_back(0);
  bytes.push_back(0);
  return registry_->SetValue(handle_, name, RegType::MultiSz, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
}

}  // namespace kestrel
