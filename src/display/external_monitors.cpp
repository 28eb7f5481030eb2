#include "display/external_monitors.h"

#include <algorithm>

#include "base/registry_paths.h"
#include "display/capability_string.h"
#include "display/supported_monitors.h"
#include "platform/text.h"

namespace kestrel {
namespace {


constexpr std::size_t kMonitorNameBytes = 66;

struct RecordSlot {
  std::u16string name;
  std::uint32_t level = kMonitorSlotEmpty;
};

Status WriteSlot(const RegKey& key, const RecordSlot& slot, char16_t number) {
  // The name keeps its fixed 66-byte room, as the record's readers expect.
  std::vector<std::uint8_t> name = Utf16ToBytes(slot.name, true);
  name.resize(kMonitorNameBytes, 0);
  std::u16string nameValue = std::u16string(u"MonitorName") + number;
  std::u16string levelValue = std::u16string(u"MonitorBLevel") + number;
  Status status = key.registry().SetValue(key.get(), nameValue, RegType::Sz, name.data(), kMonitorNameBytes);
  Status level = key.WriteDword(levelValue, slot.level);
  return status != kSuccess ? status : level;
}

}  // namespace

std::optional<std::uint32_t> MonitorValueToPercent(const ExternalMonitor& monitor) {
  if (monitor.maximum == 0) return std::nullopt;
  std::uint32_t current = std::clamp(monitor.current, std::min(monitor.minimum, monitor.maximum), monitor.maximum);
  return static_cast<std::uint32_t>(std::uint64_t{current} * 1000 / monitor.maximum / 10);
}

std::uint32_t MonitorPercentToValue(const ExternalMonitor& monitor, std::uint32_t percent) {
  std::uint64_t scaled = std::uint64_t{monitor.maximum} * percent;
  auto value = static_cast<std::uint32_t>(std::min<std::uint64_t>((scaled + 99) / 100, monitor.maximum));
  return std::clamp(value, std::min(monitor.minimum, monitor.maximum), monitor.maximum);
}

ExternalMonitors::~ExternalMonitors() { Release(); }

bool ExternalMonitors::LoadSupportedList() {
  supportedModels_ = LoadSupportedMonitors(registry_);
  return !supportedModels_.empty();
}

void ExternalMonitors::Release() {
  for (const ExternalMonitor& entry : table_) monitors_.DestroyPhysicalMonitor(entry.physical.handle);
  table_.clear();
}

bool ExternalMonitors::Discover() {
  Release();
  std::vector<DisplayMonitorHandle> displays;
  if (monitors_.EnumDisplayMonitors(displays) != kSuccess) return false;
  for (DisplayMonitorHandle display : displays) DiscoverBehind(display);
  present_ = !table_.empty();
  return true;
}

void ExternalMonitors::DiscoverBehind(DisplayMonitorHandle display) {
  std::uint32_t count = 0;
  if (retry_.Run(MonitorCall::GetNumberOfPhysicalMonitorsFromHMONITOR, [&] {
        return monitors_.GetNumberOfPhysicalMonitorsFromHMONITOR(display, count);
      }) != kSuccess) {
    return;
  }
  std::vector<PhysicalMonitor> physicals;
  if (count == 0 || retry_.Run(MonitorCall::GetPhysicalMonitorsFromHMONITOR, [&] {
        return monitors_.GetPhysicalMonitorsFromHMONITOR(display, count, physicals);
      }) != kSuccess) {
    return;
  }
  // A monitor not taken gives its handle back at once; taken ones keep it in the table.
  for (const PhysicalMonitor& physical : physicals) {
    if (!TakeMonitor(physical)) monitors_.DestroyPhysicalMonitor(physical.handle);
  }
}

std::optional<std::u16string> ExternalMonitors::ReadCapabilities(PhysicalMonitorHandle handle) {
  std::uint32_t length = 0;
  if (retry_.Run(MonitorCall::GetCapabilitiesStringLength,
                 [&] { return monitors_.GetCapabilitiesStringLength(handle, length); }) != kSuccess) {
    return std::nullopt;
  }
  retry_.Pause();
  std::string reply;
  if (retry_.Run(MonitorCall::CapabilitiesRequestAndCapabilitiesReply, [&] {
        reply.assign(length, '\0');
        return monitors_.CapabilitiesRequestAndCapabilitiesReply(handle, reply);
      }) != kSuccess) {
    return std::nullopt;
  }
  retry_.Pause();
  return CapabilityText(reply);
}

bool ExternalMonitors::TakeMonitor(const PhysicalMonitor& physical) {
  std::optional<std::u16string> capabilities = ReadCapabilities(physical.handle);
  if (!capabilities) return false;
  std::optional<std::u16string> model = CapabilityModel(*capabilities);
  if (!model || std::ranges::find(supportedModels_, *model) == supportedModels_.end()) return false;
  if (!CapabilityListsBrightness(*capabilities) || table_.size() >= kMaxExternalMonitors) return false;

  ExternalMonitor entry;
  entry.physical = physical;
  entry.flags = kMonitorFlagVcpBrightness;
  entry.model = Truncate(*model, kMonitorModelUnits);
  std::uint32_t caps = 0;
  std::uint32_t temperatures = 0;
  if (retry_.Run(MonitorCall::GetMonitorCapabilities, [&] {
        return monitors_.GetMonitorCapabilities(physical.handle, caps, temperatures);
      }) == kSuccess &&
      (caps & kMcCapsBrightness) != 0) {
    entry.flags |= kMonitorFlagCapsBrightness;
  }
  retry_.Pause();
  ReadEntry(entry);
  table_.push_back(std::move(entry));
  return true;
}

bool ExternalMonitors::ReadEntry(ExternalMonitor& entry) {
  PhysicalMonitorHandle handle = entry.physical.handle;
  if ((entry.flags & kMonitorFlagCapsBrightness) != 0) {
    return retry_.Run(MonitorCall::GetMonitorBrightness, [&] {
      return monitors_.GetMonitorBrightness(handle, entry.minimum, entry.current, entry.maximum);
    }) == kSuccess;
  }
  if ((entry.flags & kMonitorFlagVcpBrightness) != 0) {
    entry.minimum = 0;
    VcpCodeType type = VcpCodeType::SetParameter;
    return retry_.Run(MonitorCall::GetVCPFeatureAndVCPFeatureReply, [&] {
      return monitors_.GetVCPFeatureAndVCPFeatureReply(handle, kVcpBrightness, type, entry.current, entry.maximum);
    }) == kSuccess;
  }
  return false;
}

std::uint32_t ExternalMonitors::ReadBrightness() {
  for (ExternalMonitor& entry : table_) {
    if (!ReadEntry(entry)) {
      present_ = false;
      continue;
    }
    if (std::optional<std::uint32_t> percent = MonitorValueToPercent(entry)) return *percent;
  }
  return kUnknownMonitorPercent;
}

bool ExternalMonitors::WriteEntry(const ExternalMonitor& entry, std::uint32_t percent) {
  PhysicalMonitorHandle handle = entry.physical.handle;
  std::uint32_t value = MonitorPercentToValue(entry, percent);
  bool byCapabilities = (entry.flags & kMonitorFlagCapsBrightness) != 0;
  if (!byCapabilities && (entry.flags & kMonitorFlagVcpBrightness) == 0) return false;
  Status status = byCapabilities
                      ? retry_.Run(MonitorCall::SetMonitorBrightness,
                                   [&] { return monitors_.SetMonitorBrightness(handle, value); })
                      : retry_.Run(MonitorCall::SetVCPFeature,
                                   [&] { return monitors_.SetVCPFeature(handle, kVcpBrightness, value); });
  if (status != kSuccess) return false;
  retry_.Pause();
  status = byCapabilities ? retry_.Run(MonitorCall::SaveCurrentMonitorSettings,
                                       [&] { return monitors_.SaveCurrentMonitorSettings(handle); })
                          : retry_.Run(MonitorCall::SaveCurrentSettings,
                                       [&] { return monitors_.SaveCurrentSettings(handle); });
  return status == kSuccess;
}

bool ExternalMonitors::WriteBrightness(std::uint32_t percent) {
  bool result = false;
  for (const ExternalMonitor& entry : table_) {
    // A monitor that never told its range is not written: any value would be a guess.
    if (entry.maximum == 0) {
      result = false;
      continue;
    }
    result = WriteEntry(entry, percent);
    if (!result) present_ = false;
  }
  return result;
}

bool ExternalMonitors::WriteMonitorRecord(std::uint32_t levelIndex, bool enabled) {
  std::array<RecordSlot, 2> slots;
  std::size_t next = 0;
  for (std::size_t i = 0; i < slots.size(); ++i) {
    std::u16string_view model = i < table_.size() ? std::u16string_view(table_[i].model) : std::u16string_view();
    if (std::optional<std::u16string> info = SupportedMonitorInfo(registry_, model)) {
      slots[next++] = RecordSlot{*info, enabled ? levelIndex : kMonitorControlOff};
    }
  }
  RegKey key;
  if (RegKey::Create(registry_, kHkeyLocalMachine, kPowerSettingsSubkey, kKeyWrite, key) != kSuccess) return false;
  bool first = WriteSlot(key, slots[0], u'1') == kSuccess;
  bool second = WriteSlot(key, slots[1], u'2') == kSuccess;
  return first && second;
}

bool MoreThanOneActiveDisplay(MonitorConfiguration& monitors) {
  int active = 0;
  DisplayDevice adapter;
  for (std::uint32_t a = 0; monitors.EnumDisplayDevices(u"", a, adapter) == kSuccess; ++a) {
    DisplayDevice monitor;
    for (std::uint32_t m = 0; monitors.EnumDisplayDevices(adapter.deviceName, m, monitor) == kSuccess; ++m) {
      if ((monitor.stateFlags & kDisplayDeviceActive) != 0) ++active;
    }
  }
  return active >= 2;
}

}  // namespace kestrel
