#include "platform/emulated/power_notify.h"

#include <charconv>
#include <mutex>
#include <string>

#include "platform/text.h"

namespace kestrel {
namespace {

// Handles are numbered after the highest one in use; the lock keeps two
// threads of one process from taking the same number.
std::mutex& NumberingLock() {
  static std::mutex lock;
  return lock;
}

std::u16string Decimal(std::uint64_t value) {
  std::string text = std::to_string(value);
  return std::u16string(text.begin(), text.end());
}

bool ParseDecimal(std::string_view text, std::uint64_t& value) {
  if (text.empty()) return false;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

bool ParseRegistration(const std::u16string& name, const std::u16string& data, PowerRegistration& out) {
  std::uint64_t handle = 0;
  std::uint64_t window = 0;
  std::string narrowData = Utf16ToUtf8(data);
  std::size_t space = narrowData.find(' ');
  if (!ParseDecimal(Utf16ToUtf8(name), handle) || handle == 0 || space == std::string::npos) return false;
  std::optional<Guid> setting = ParseGuid(std::string_view(narrowData).substr(0, space));
  if (!setting || !ParseDecimal(std::string_view(narrowData).substr(space + 1), window)) return false;
  out = PowerRegistration{static_cast<PowerNotifyHandle>(handle), static_cast<WindowHandle>(window), *setting};
  return true;
}

}  // namespace

Status PowerNotifyStore::Add(WindowHandle window, const Guid& setting, PowerNotifyHandle& handle) {
  handle = 0;
  std::lock_guard lock(NumberingLock());
  PowerNotifyHandle highest = 0;
  for (const PowerRegistration& registration : List()) highest = std::max(highest, registration.handle);
  RegKey key;
  if (Status status = RegKey::Create(registry_, kHkeyLocalMachine, kPowerNotifyKey, kKeySetValue, key);
      status != kSuccess) {
    return status;
  }
  std::u16string data = ToString(setting) + u" " + Decimal(window);
  if (Status status = key.WriteString(Decimal(highest + 1), data); status != kSuccess) return status;
  handle = highest + 1;
  return kSuccess;
}

Status PowerNotifyStore::Remove(PowerNotifyHandle handle) {
  RegKey key;
  Status status = RegKey::Open(registry_, kHkeyLocalMachine, kPowerNotifyKey, kKeySetValue, key);
  if (status == kErrorFileNotFound) return kErrorInvalidHandle;
  if (status != kSuccess) return status;
  status = registry_.DeleteValue(key.get(), Decimal(handle));
  return status == kErrorFileNotFound ? kErrorInvalidHandle : status;
}

std::vector<PowerRegistration> PowerNotifyStore::List() {
  std::vector<PowerRegistration> registrations;
  RegKey key;
  if (RegKey::Open(registry_, kHkeyLocalMachine, kPowerNotifyKey, kKeyQueryValue, key) != kSuccess) {
    return registrations;
  }
  std::u16string name;
  for (std::uint32_t index = 0; registry_.EnumValue(key.get(), index, name) == kSuccess; ++index) {
    std::u16string data;
    PowerRegistration registration;
    if (key.ReadString(name, data) == kSuccess && ParseRegistration(name, data, registration)) {
      registrations.push_back(registration);
    }
  }
  return registrations;
}

}  // namespace kestrel
