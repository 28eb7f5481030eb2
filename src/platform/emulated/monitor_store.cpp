#include "platform/emulated/monitor_store.h"

#include <algorithm>

#include "platform/emulated/devices.h"
#include "platform/text.h"

namespace kestrel {
namespace {

constexpr std::u16string_view kFailurePrefix = u"Fail.";

std::u16string MonitorsPath() { return std::u16string(kEmulatedDevicesKey) + u"\\" + std::u16string(kEmulatedMonitorsName); }

std::u16string Decimal(std::uint32_t value) {
  std::string text = std::to_string(value);
  return std::u16string(text.begin(), text.end());
}

std::optional<std::uint32_t> ParseId(std::u16string_view name) {
  if (name.empty() || name.size() > 9) return std::nullopt;
  std::uint32_t value = 0;
  for (char16_t unit : name) {
    if (unit < u'0' || unit > u'9') return std::nullopt;
    value = value * 10 + (unit - u'0');
  }
  return value;
}

std::uint32_t DwordOr(const RegKey& key, std::u16string_view name, std::uint32_t fallback) {
  std::uint32_t value = 0;
  return key.ReadDword(name, value) == kSuccess ? value : fallback;
}

std::vector<std::uint8_t> EncodeFailure(std::uint32_t count, Status code) {
  std::vector<std::uint8_t> bytes(8);
  for (int i = 0; i < 4; ++i) {
    bytes[i] = static_cast<std::uint8_t>(count >> (8 * i));
    bytes[4 + i] = static_cast<std::uint8_t>(code >> (8 * i));
  }
  return bytes;
}

std::optional<ScriptedFailure> DecodeFailure(std::u16string_view operation, const std::vector<std::uint8_t>& bytes) {
  if (bytes.size() != 8) return std::nullopt;
  ScriptedFailure failure{std::u16string(operation), 0, 0};
  for (int i = 0; i < 4; ++i) {
    failure.count |= std::uint32_t{bytes[i]} << (8 * i);
    failure.code |= std::uint32_t{bytes[4 + i]} << (8 * i);
  }
  return failure;
}

std::vector<ScriptedFailure> ReadFailures(const RegKey& key) {
  std::vector<ScriptedFailure> failures;
  std::u16string name;
  for (std::uint32_t index = 0; key.registry().EnumValue(key.get(), index, name) == kSuccess; ++index) {
    if (!name.starts_with(kFailurePrefix)) continue;
    std::vector<std::uint8_t> bytes;
    if (key.ReadBinary(name, bytes) != kSuccess) continue;
    std::optional<ScriptedFailure> failure = DecodeFailure(std::u16string_view(name).substr(kFailurePrefix.size()), bytes);
    if (failure && failure->count > 0) failures.push_back(*failure);
  }
  return failures;
}

EmulatedMonitorState ReadMonitor(const RegKey& key, std::uint32_t id) {
  EmulatedMonitorState state;
  EmulatedMonitorSetup defaults;
  state.id = id;
  std::u16string text;
  state.setup.description = key.ReadString(u"Description", text) == kSuccess ? text : defaults.description;
  state.setup.capabilities = key.ReadString(u"Capabilities", text) == kSuccess ? Utf16ToUtf8(text) : std::string();
  state.setup.minimum = DwordOr(key, u"Minimum", defaults.minimum);
  state.setup.current = DwordOr(key, u"Current", defaults.current);
  state.setup.maximum = DwordOr(key, u"Maximum", defaults.maximum);
  state.setup.caps = DwordOr(key, u"Caps", defaults.caps);
  state.setup.active = DwordOr(key, u"Active", 1) != 0;
  state.saves = DwordOr(key, u"Saves", 0);
  state.savedBrightness = DwordOr(key, u"SavedBrightness", 0);
  state.failures = ReadFailures(key);
  return state;
}

Status WriteSpec(const RegKey& key, const EmulatedMonitorSetup& setup) {
  Status results[] = {
      key.WriteString(u"Description", setup.description),
      key.WriteString(u"Capabilities", Utf8ToUtf16(setup.capabilities)),
      key.WriteDword(u"Minimum", setup.minimum),
      key.WriteDword(u"Current", setup.current),
      key.WriteDword(u"Maximum", setup.maximum),
      key.WriteDword(u"Caps", setup.caps),
      key.WriteDword(u"Active", setup.active ? 1 : 0),
  };
  for (Status status : results) {
    if (status != kSuccess) return status;
  }
  return kSuccess;
}

std::vector<std::uint32_t> MonitorIds(Registry& registry) {
  std::vector<std::uint32_t> ids;
  RegKey key;
  if (RegKey::Open(registry, kHkeyLocalMachine, MonitorsPath(), kKeyRead, key) != kSuccess) return ids;
  std::u16string name;
  for (std::uint32_t index = 0; registry.EnumKey(key.get(), index, name) == kSuccess; ++index) {
    if (std::optional<std::uint32_t> id = ParseId(name); id && *id != 0) ids.push_back(*id);
  }
  std::sort(ids.begin(), ids.end());
  return ids;
}

}  // namespace

const std::vector<std::u16string_view>& ScriptableMonitorOperations() {
  static const std::vector<std::u16string_view> operations = {
      u"GetNumberOfPhysicalMonitorsFromHMONITOR",
      u"GetPhysicalMonitorsFromHMONITOR",
      u"GetCapabilitiesStringLength",
      u"CapabilitiesRequestAndCapabilitiesReply",
      u"GetMonitorCapabilities",
      u"GetMonitorBrightness",
      u"SetMonitorBrightness",
      u"GetVCPFeatureAndVCPFeatureReply",
      u"SetVCPFeature",
      u"SaveCurrentMonitorSettings",
      u"SaveCurrentSettings",
  };
  return operations;
}

Status MonitorStore::OpenMonitor(std::uint32_t id, std::uint32_t access, RegKey& key) {
  return RegKey::Open(registry_, kHkeyLocalMachine, MonitorsPath() + u"\\" + Decimal(id), access, key);
}

Status MonitorStore::Add(const EmulatedMonitorSetup& setup, std::uint32_t& id) {
  std::vector<std::uint32_t> ids = MonitorIds(registry_);
  id = ids.empty() ? 1 : ids.back() + 1;
  RegKey key;
  if (Status status = RegKey::Create(registry_, kHkeyLocalMachine, MonitorsPath() + u"\\" + Decimal(id),
                                     kKeyRead | kKeyWrite, key);
      status != kSuccess) {
    return status;
  }
  return WriteSpec(key, setup);
}

Status MonitorStore::Remove(std::uint32_t id) {
  RegKey parent;
  if (Status status = RegKey::Open(registry_, kHkeyLocalMachine, MonitorsPath(), kKeyRead | kKeyWrite, parent);
      status != kSuccess) {
    return status;
  }
  return registry_.DeleteKey(parent.get(), Decimal(id));
}

std::vector<EmulatedMonitorState> MonitorStore::List() {
  std::vector<EmulatedMonitorState> monitors;
  for (std::uint32_t id : MonitorIds(registry_)) {
    if (std::optional<EmulatedMonitorState> state = Find(id)) monitors.push_back(std::move(*state));
  }
  return monitors;
}

std::optional<EmulatedMonitorState> MonitorStore::Find(std::uint32_t id) {
  RegKey key;
  if (id == 0 || OpenMonitor(id, kKeyQueryValue, key) != kSuccess) return std::nullopt;
  return ReadMonitor(key, id);
}

Status MonitorStore::ScriptFailure(std::uint32_t id, std::u16string_view operation, std::uint32_t count, Status code) {
  const auto& operations = ScriptableMonitorOperations();
  auto known = std::find_if(operations.begin(), operations.end(),
                            [operation](std::u16string_view name) { return EqualsFolded(name, operation); });
  if (known == operations.end() || (count > 0 && code == kSuccess)) return kErrorInvalidParameter;
  RegKey key;
  if (Status status = OpenMonitor(id, kKeySetValue, key); status != kSuccess) return status;
  std::u16string name = std::u16string(kFailurePrefix) + std::u16string(*known);
  if (count == 0) {
    Status status = registry_.DeleteValue(key.get(), name);
    return status == kErrorFileNotFound ? kSuccess : status;
  }
  std::vector<std::uint8_t> bytes = EncodeFailure(count, code);
  return key.WriteBinary(name, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
}

std::optional<Status> MonitorStore::TakeFailure(std::uint32_t id, std::u16string_view operation) {
  RegKey key;
  if (OpenMonitor(id, kKeyQueryValue | kKeySetValue, key) != kSuccess) return std::nullopt;
  std::u16string name = std::u16string(kFailurePrefix) + std::u16string(operation);
  std::vector<std::uint8_t> bytes;
  if (key.ReadBinary(name, bytes) != kSuccess) return std::nullopt;
  std::optional<ScriptedFailure> failure = DecodeFailure(operation, bytes);
  if (!failure || failure->count == 0) return std::nullopt;
  if (failure->count == 1) {
    registry_.DeleteValue(key.get(), name);
  } else {
    bytes = EncodeFailure(failure->count - 1, failure->code);
    key.WriteBinary(name, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
  }
  return failure->code;
}

Status MonitorStore::WriteBrightness(std::uint32_t id, std::uint32_t current) {
  RegKey key;
  if (Status status = OpenMonitor(id, kKeySetValue, key); status != kSuccess) return status;
  return key.WriteDword(u"Current", current);
}

Status MonitorStore::RecordSave(std::uint32_t id) {
  RegKey key;
  if (Status status = OpenMonitor(id, kKeyQueryValue | kKeySetValue, key); status != kSuccess) return status;
  if (Status status = key.WriteDword(u"Saves", DwordOr(key, u"Saves", 0) + 1); status != kSuccess) return status;
  return key.WriteDword(u"SavedBrightness", DwordOr(key, u"Current", 0));
}

void MonitorStore::Log(std::u16string_view line) {
  RegKey key;
  if (OpenDeviceState(registry_, kEmulatedMonitorsName, key) == kSuccess) AppendDeviceLog(key, line);
}

}  // namespace kestrel
