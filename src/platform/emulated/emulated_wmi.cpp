#include "platform/emulated/emulated_wmi.h"

#include <optional>
#include <string>

#include "platform/emulated/devices.h"
#include "platform/emulated/machine_state.h"
#include "platform/emulated/panel.h"
#include "platform/text.h"

namespace kestrel {
namespace {

// E_HANDLE: a session this process did not connect, or released.
constexpr Status kInvalidSession = 0x80070006;

std::u16string Ascii(const std::string& text) { return std::u16string(text.begin(), text.end()); }

std::u16string Number(std::uint32_t value) { return Ascii(std::to_string(value)); }

std::u16string Describe(const WmiValue& value) {
  if (const auto* number = std::get_if<std::uint32_t>(&value)) return Number(*number);
  if (const auto* text = std::get_if<std::u16string>(&value)) return u"'" + *text + u"'";
  if (const auto* numbers = std::get_if<std::vector<std::uint32_t>>(&value)) {
    std::u16string list = u"[";
    for (std::size_t i = 0; i < numbers->size(); ++i) {
      if (i != 0) list += u' ';
      list += Number((*numbers)[i]);
    }
    return list + u"]";
  }
  return u"null";
}

std::u16string Joined(std::span<const std::u16string_view> names) {
  std::u16string list;
  for (std::u16string_view name : names) {
    if (!list.empty()) list += u',';
    list += name;
  }
  return list.empty() ? u"*" : list;
}

const WmiProperty* FindFolded(const std::vector<WmiProperty>& properties, std::u16string_view name) {
  for (const WmiProperty& property : properties) {
    if (EqualsFolded(property.name, name)) return &property;
  }
  return nullptr;
}

// The value of the key in "<class>.InstanceName='<value>'" (or "..."), with
// backslash escapes undone; nothing when the path is not of that form.
std::optional<std::u16string> InstanceNameOfPath(std::u16string_view path, std::u16string_view className) {
  std::size_t dot = path.find(u'.');
  if (dot == std::u16string_view::npos || !EqualsFolded(path.substr(0, dot), className)) return std::nullopt;
  std::u16string_view rest = path.substr(dot + 1);
  std::size_t equals = rest.find(u'=');
  if (equals == std::u16string_view::npos || !EqualsFolded(rest.substr(0, equals), kWmiInstanceName)) {
    return std::nullopt;
  }
  std::u16string_view quoted = rest.substr(equals + 1);
  if (quoted.size() < 2 || (quoted.front() != u'\'' && quoted.front() != u'"') || quoted.back() != quoted.front()) {
    return std::nullopt;
  }
  return std::u16string(quoted.substr(1, quoted.size() - 2));
}

std::u16string Unescaped(std::u16string_view text) {
  std::u16string plain;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\\' && i + 1 < text.size()) ++i;
    plain.push_back(text[i]);
  }
  return plain;
}

std::optional<std::uint32_t> NumberInput(const std::vector<WmiProperty>& inputs, std::u16string_view name) {
  const WmiProperty* property = FindFolded(inputs, name);
  if (property == nullptr) return std::nullopt;
  const auto* number = std::get_if<std::uint32_t>(&property->value);
  return number == nullptr ? std::nullopt : std::optional<std::uint32_t>(*number);
}

}  // namespace

WmiAvailability ReadWmiAvailability(Registry& registry) {
  WmiAvailability availability;
  RegKey key;
  if (OpenDeviceState(registry, kEmulatedWmiName, key) != kSuccess) return availability;
  std::uint32_t value = 0;
  if (key.ReadDword(u"Present", value) == kSuccess) availability.present = value != 0;
  if (key.ReadDword(u"Failure", value) == kSuccess && value != kSuccess) availability.failure = value;
  return availability;
}

Status WriteWmiAvailability(Registry& registry, const WmiAvailability& availability) {
  if (availability.failure == kSuccess) return kErrorInvalidParameter;
  RegKey key;
  if (Status status = OpenDeviceState(registry, kEmulatedWmiName, key); status != kSuccess) return status;
  if (Status status = key.WriteDword(u"Present", availability.present ? 1 : 0); status != kSuccess) return status;
  return key.WriteDword(u"Failure", availability.failure);
}

Status EmulatedWmi::Connect(std::u16string_view ns, WmiSession& session) {
  Status status = kWbemInvalidNamespace;
  session = 0;
  if (EqualsFolded(ns, kWmiNamespace) || EqualsFolded(ns, kCimNamespace)) {
    std::lock_guard lock(mutex_);
    session = nextSession_;
    nextSession_ += 4;
    sessions_[session] = EqualsFolded(ns, kWmiNamespace) ? Namespace::Wmi : Namespace::Cim;
    status = kSuccess;
  }
  Log(u"connect " + std::u16string(ns) + u" -> " + Ascii(HexCode(status)));
  return status;
}

Status EmulatedWmi::Release(WmiSession session) {
  std::lock_guard lock(mutex_);
  return sessions_.erase(session) == 1 ? kSuccess : kInvalidSession;
}

std::size_t EmulatedWmi::OpenSessionCount() const {
  std::lock_guard lock(mutex_);
  return sessions_.size();
}

Status EmulatedWmi::SessionNamespace(WmiSession session, Namespace& ns) const {
  std::lock_guard lock(mutex_);
  auto found = sessions_.find(session);
  if (found == sessions_.end()) return kInvalidSession;
  ns = found->second;
  return kSuccess;
}

// Every property of the class's one instance.
Status EmulatedWmi::QueryInstance(Namespace ns, std::u16string_view className, WmiObject& all) {
  if (ns == Namespace::Wmi && EqualsFolded(className, kWmiMonitorBrightness)) {
    WmiAvailability availability = ReadWmiAvailability(registry_);
    if (!availability.present) return availability.failure;
    EmulatedPanel panel(registry_);
    std::vector<std::uint8_t> levels = panel.Levels();
    all.properties = {
        {u"Active", std::uint32_t{1}},
        {std::u16string(kWmiCurrentBrightness), std::uint32_t{panel.CurrentBrightness()}},
        {std::u16string(kWmiInstanceName), std::u16string(kEmulatedPanelInstanceName)},
        {std::u16string(kWmiLevel), std::vector<std::uint32_t>(levels.begin(), levels.end())},
        {std::u16string(kWmiLevels), static_cast<std::uint32_t>(levels.size())},
    };
    return kSuccess;
  }
  if (ns == Namespace::Cim && EqualsFolded(className, kWin32Processor)) {
    std::uint32_t mhz = EmulatedMachineState(registry_).ProcessorMaxMhz();
    all.properties = {
        {std::u16string(kCurrentClockSpeed), mhz},
        {std::u16string(kMaxClockSpeed), mhz},
    };
    return kSuccess;
  }
  return kWbemInvalidClass;
}

Status EmulatedWmi::Query(WmiSession session, std::u16string_view className,
                          std::span<const std::u16string_view> properties, std::vector<WmiObject>& objects) {
  objects.clear();
  Namespace ns{};
  Status status = SessionNamespace(session, ns);
  WmiObject all;
  if (status == kSuccess) status = QueryInstance(ns, className, all);
  WmiObject selected;
  for (std::size_t i = 0; status == kSuccess && i < properties.size(); ++i) {
    const WmiProperty* property = FindFolded(all.properties, properties[i]);
    if (property == nullptr) {
      status = kWbemInvalidQuery;
      break;
    }
    selected.properties.push_back({std::u16string(properties[i]), property->value});
  }
  if (status == kSuccess) objects.push_back(properties.empty() ? std::move(all) : std::move(selected));
  std::u16string line(u"query ");
  line += className;
  line += u' ';
  line += Joined(properties);
  line += u" -> ";
  line += Ascii(HexCode(status));
  line += u' ';
  line += Number(static_cast<std::uint32_t>(objects.size()));
  Log(line);
  return status;
}

Status EmulatedWmi::SetBrightness(std::u16string_view objectPath, const std::vector<WmiProperty>& inputs) {
  WmiAvailability availability = ReadWmiAvailability(registry_);
  if (!availability.present) return availability.failure;
  std::optional<std::u16string> instance = InstanceNameOfPath(objectPath, kWmiMonitorBrightnessMethods);
  if (!instance) return kWbemInvalidParameter;
  // A path's key may carry its backslashes escaped or not; both name the panel.
  if (*instance != kEmulatedPanelInstanceName && Unescaped(*instance) != kEmulatedPanelInstanceName) {
    return kWbemNotFound;
  }
  std::optional<std::uint32_t> brightness = NumberInput(inputs, kWmiBrightness);
  std::optional<std::uint32_t> timeout = NumberInput(inputs, kWmiTimeout);
  if (!brightness || !timeout || *brightness > kMaxPanelBrightness) return kWbemInvalidParameter;
  return EmulatedPanel(registry_).SetCurrentBrightness(*brightness) == kSuccess ? kSuccess : kWbemInvalidParameter;
}

Status EmulatedWmi::CallMethod(WmiSession session, std::u16string_view className, std::u16string_view objectPath,
                               std::u16string_view method, const std::vector<WmiProperty>& inputs,
                               std::vector<WmiProperty>& outputs) {
  outputs.clear();
  Namespace ns{};
  Status status = SessionNamespace(session, ns);
  if (status == kSuccess && (ns != Namespace::Wmi || !EqualsFolded(className, kWmiMonitorBrightnessMethods))) {
    status = kWbemInvalidClass;
  }
  if (status == kSuccess && !EqualsFolded(method, kWmiSetBrightness)) status = kWbemInvalidMethod;
  if (status == kSuccess) status = SetBrightness(objectPath, inputs);
  std::u16string line = u"method " + std::u16string(className) + u"." + std::u16string(method) + u" " +
                        std::u16string(objectPath);
  for (const WmiProperty& input : inputs) {
    line += u' ';
    line += input.name;
    line += u'=';
    line += Describe(input.value);
  }
  Log(line + u" -> " + Ascii(HexCode(status)));
  return status;
}

void EmulatedWmi::Log(const std::u16string& line) {
  RegKey key;
  if (OpenDeviceState(registry_, kEmulatedWmiName, key) == kSuccess) AppendDeviceLog(key, line);
}

}  // namespace kestrel
