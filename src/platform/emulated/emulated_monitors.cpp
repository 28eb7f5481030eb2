#include "platform/emulated/emulated_monitors.h"

#include <algorithm>

#include "platform/emulated/devices.h"
#include "platform/text.h"

namespace kestrel {
namespace {

constexpr DisplayMonitorHandle kFirstDisplayMonitor = 0x10000;
constexpr std::uint32_t kPanelId = 0;
constexpr std::uint32_t kMonitorAttached = 0x2;  // DISPLAY_DEVICE_ATTACHED of a monitor
constexpr std::u16string_view kAdapterDescription = u"Kestrel Emulated Display Adapter";

std::u16string Ascii(const std::string& text) { return std::u16string(text.begin(), text.end()); }
std::u16string Decimal(std::uint32_t value) { return Ascii(std::to_string(value)); }

std::u16string AdapterName(std::size_t adapter) { return u"\\\\.\\DISPLAY" + Decimal(static_cast<std::uint32_t>(adapter + 1)); }

// The active displays, one per adapter: the panel, then the active external monitors.
std::vector<std::pair<std::uint32_t, std::u16string>> ActiveDisplays(MonitorStore& store) {
  std::vector<std::pair<std::uint32_t, std::u16string>> displays = {{kPanelId, std::u16string(kEmulatedPanelDescription)}};
  for (const EmulatedMonitorState& monitor : store.List()) {
    if (monitor.setup.active) displays.emplace_back(monitor.id, monitor.setup.description);
  }
  return displays;
}

}  // namespace

std::size_t EmulatedMonitors::OpenPhysicalMonitorCount() const {
  std::lock_guard lock(mutex_);
  return physical_.size();
}

Status EmulatedMonitors::Logged(std::u16string_view operation, std::uint32_t id, std::u16string_view arguments,
                                Status status) {
  std::u16string line = std::u16string(operation) + u" monitor=" + Decimal(id);
  if (!arguments.empty()) {
    line += u' ';
    line += arguments;
  }
  store_.Log(line + u" -> " + Ascii(HexCode(status)));
  return status;
}

std::uint32_t EmulatedMonitors::IdOf(PhysicalMonitorHandle handle) const {
  std::lock_guard lock(mutex_);
  auto found = physical_.find(handle);
  return found == physical_.end() ? kPanelId : found->second;
}

Status EmulatedMonitors::ResolveDisplay(DisplayMonitorHandle handle, std::u16string_view operation, std::uint32_t& id) {
  if (handle < kFirstDisplayMonitor || handle - kFirstDisplayMonitor > 0xFFFFFFFFu) return kErrorInvalidHandle;
  id = static_cast<std::uint32_t>(handle - kFirstDisplayMonitor);
  if (id == kPanelId) return kSuccess;
  if (!store_.Find(id)) return kErrorGraphicsMonitorNoLongerExists;
  if (std::optional<Status> failure = store_.TakeFailure(id, operation)) return *failure;
  return kSuccess;
}

Status EmulatedMonitors::Resolve(PhysicalMonitorHandle handle, std::u16string_view operation,
                                 EmulatedMonitorState& state) {
  std::uint32_t id = 0;
  {
    std::lock_guard lock(mutex_);
    auto found = physical_.find(handle);
    if (found == physical_.end()) return kErrorGraphicsInvalidPhysicalMonitorHandle;
    id = found->second;
  }
  if (id == kPanelId) return kErrorGraphicsI2cErrorTransmittingData;
  std::optional<EmulatedMonitorState> monitor = store_.Find(id);
  if (!monitor) return kErrorGraphicsMonitorNoLongerExists;
  if (std::optional<Status> failure = store_.TakeFailure(id, operation)) return *failure;
  // A monitor without a capability string does not answer DDC/CI at all.
  if (monitor->setup.capabilities.empty()) return kErrorGraphicsI2cErrorTransmittingData;
  state = std::move(*monitor);
  return kSuccess;
}

Status EmulatedMonitors::EnumDisplayMonitors(std::vector<DisplayMonitorHandle>& monitors) {
  monitors.clear();
  for (const auto& [id, description] : ActiveDisplays(store_)) monitors.push_back(kFirstDisplayMonitor + id);
  store_.Log(u"EnumDisplayMonitors count=" + Decimal(static_cast<std::uint32_t>(monitors.size())) + u" -> " +
             Ascii(HexCode(kSuccess)));
  return kSuccess;
}

Status EmulatedMonitors::EnumDisplayDevices(std::u16string_view device, std::uint32_t index, DisplayDevice& result) {
  auto displays = ActiveDisplays(store_);
  if (device.empty()) {
    if (index >= displays.size()) return kErrorNoMoreItems;
    result = {AdapterName(index), std::u16string(kAdapterDescription),
              kDisplayDeviceActive | (index == 0 ? kDisplayDevicePrimary : 0)};
    return kSuccess;
  }
  for (std::size_t adapter = 0; adapter < displays.size(); ++adapter) {
    if (!EqualsFolded(device, AdapterName(adapter))) continue;
    if (index != 0) return kErrorNoMoreItems;
    result = {AdapterName(adapter) + u"\\Monitor0", displays[adapter].second, kDisplayDeviceActive | kMonitorAttached};
    return kSuccess;
  }
  return kErrorNoMoreItems;
}

Status EmulatedMonitors::GetNumberOfPhysicalMonitorsFromHMONITOR(DisplayMonitorHandle monitor, std::uint32_t& count) {
  constexpr std::u16string_view operation = u"GetNumberOfPhysicalMonitorsFromHMONITOR";
  std::uint32_t id = 0;
  Status status = ResolveDisplay(monitor, operation, id);
  count = status == kSuccess ? 1 : 0;
  return Logged(operation, id, u"count=" + Decimal(count), status);
}

Status EmulatedMonitors::GetPhysicalMonitorsFromHMONITOR(DisplayMonitorHandle monitor, std::uint32_t count,
                                                         std::vector<PhysicalMonitor>& monitors) {
  constexpr std::u16string_view operation = u"GetPhysicalMonitorsFromHMONITOR";
  monitors.clear();
  std::uint32_t id = 0;
  Status status = count == 0 ? kErrorInvalidParameter : ResolveDisplay(monitor, operation, id);
  if (status == kSuccess) {
    std::u16string description(kEmulatedPanelDescription);
    if (id != kPanelId) description = store_.Find(id).value_or(EmulatedMonitorState{}).setup.description;
    if (description.size() >= kPhysicalMonitorDescriptionUnits) description.resize(kPhysicalMonitorDescriptionUnits - 1);
    std::lock_guard lock(mutex_);
    PhysicalMonitorHandle handle = nextPhysical_;
    nextPhysical_ += 4;
    physical_[handle] = id;
    monitors.push_back({handle, std::move(description)});
  }
  return Logged(operation, id, u"count=" + Decimal(count), status);
}

Status EmulatedMonitors::DestroyPhysicalMonitor(PhysicalMonitorHandle monitor) {
  std::uint32_t id = IdOf(monitor);
  Status status = kSuccess;
  {
    std::lock_guard lock(mutex_);
    if (physical_.erase(monitor) == 0) status = kErrorGraphicsInvalidPhysicalMonitorHandle;
  }
  return Logged(u"DestroyPhysicalMonitor", id, u"", status);
}

Status EmulatedMonitors::DestroyPhysicalMonitors(const std::vector<PhysicalMonitor>& monitors) {
  Status result = kSuccess;
  for (const PhysicalMonitor& monitor : monitors) {
    if (Status status = DestroyPhysicalMonitor(monitor.handle); status != kSuccess) result = status;
  }
  return result;
}

Status EmulatedMonitors::GetCapabilitiesStringLength(PhysicalMonitorHandle monitor, std::uint32_t& length) {
  constexpr std::u16string_view operation = u"GetCapabilitiesStringLength";
  EmulatedMonitorState state;
  Status status = Resolve(monitor, operation, state);
  length = status == kSuccess ? static_cast<std::uint32_t>(state.setup.capabilities.size() + 1) : 0;
  return Logged(operation, IdOf(monitor), u"length=" + Decimal(length), status);
}

Status EmulatedMonitors::CapabilitiesRequestAndCapabilitiesReply(PhysicalMonitorHandle monitor, std::string& buffer) {
  constexpr std::u16string_view operation = u"CapabilitiesRequestAndCapabilitiesReply";
  EmulatedMonitorState state;
  Status status = Resolve(monitor, operation, state);
  std::size_t length = buffer.size();
  if (status == kSuccess && length < state.setup.capabilities.size() + 1) status = kErrorInvalidParameter;
  if (status == kSuccess) {
    std::fill(buffer.begin(), buffer.end(), '\0');
    std::copy(state.setup.capabilities.begin(), state.setup.capabilities.end(), buffer.begin());
  }
  return Logged(operation, IdOf(monitor), u"length=" + Decimal(static_cast<std::uint32_t>(length)), status);
}

Status EmulatedMonitors::GetMonitorCapabilities(PhysicalMonitorHandle monitor, std::uint32_t& capabilities,
                                                std::uint32_t& supportedColorTemperatures) {
  constexpr std::u16string_view operation = u"GetMonitorCapabilities";
  EmulatedMonitorState state;
  Status status = Resolve(monitor, operation, state);
  capabilities = status == kSuccess ? state.setup.caps : 0;
  supportedColorTemperatures = 0;
  return Logged(operation, IdOf(monitor), u"caps=" + Ascii(HexCode(capabilities)), status);
}

Status EmulatedMonitors::GetMonitorBrightness(PhysicalMonitorHandle monitor, std::uint32_t& minimum,
                                              std::uint32_t& current, std::uint32_t& maximum) {
  constexpr std::u16string_view operation = u"GetMonitorBrightness";
  EmulatedMonitorState state;
  Status status = Resolve(monitor, operation, state);
  if (status == kSuccess && (state.setup.caps & kMcCapsBrightness) == 0) status = kErrorNotSupported;
  minimum = current = maximum = 0;
  if (status == kSuccess) {
    minimum = state.setup.minimum;
    current = state.setup.current;
    maximum = state.setup.maximum;
  }
  return Logged(operation, IdOf(monitor),
                u"minimum=" + Decimal(minimum) + u" current=" + Decimal(current) + u" maximum=" + Decimal(maximum),
                status);
}

Status EmulatedMonitors::SetMonitorBrightness(PhysicalMonitorHandle monitor, std::uint32_t brightness) {
  constexpr std::u16string_view operation = u"SetMonitorBrightness";
  EmulatedMonitorState state;
  Status status = Resolve(monitor, operation, state);
  if (status == kSuccess && (state.setup.caps & kMcCapsBrightness) == 0) status = kErrorNotSupported;
  if (status == kSuccess && (brightness < state.setup.minimum || brightness > state.setup.maximum)) {
    status = kErrorInvalidParameter;
  }
  if (status == kSuccess) status = store_.WriteBrightness(state.id, brightness);
  return Logged(operation, IdOf(monitor), u"brightness=" + Decimal(brightness), status);
}

Status EmulatedMonitors::GetVCPFeatureAndVCPFeatureReply(PhysicalMonitorHandle monitor, std::uint8_t code,
                                                         VcpCodeType& type, std::uint32_t& current,
                                                         std::uint32_t& maximum) {
  constexpr std::u16string_view operation = u"GetVCPFeatureAndVCPFeatureReply";
  EmulatedMonitorState state;
  Status status = Resolve(monitor, operation, state);
  if (status == kSuccess && code != kVcpBrightness) status = kErrorGraphicsDdcciVcpNotSupported;
  type = VcpCodeType::SetParameter;
  current = status == kSuccess ? state.setup.current : 0;
  maximum = status == kSuccess ? state.setup.maximum : 0;
  return Logged(operation, IdOf(monitor),
                u"code=0x" + Ascii(HexCode(code)).substr(8) + u" current=" + Decimal(current) + u" maximum=" +
                    Decimal(maximum),
                status);
}

Status EmulatedMonitors::SetVCPFeature(PhysicalMonitorHandle monitor, std::uint8_t code, std::uint32_t value) {
  constexpr std::u16string_view operation = u"SetVCPFeature";
  EmulatedMonitorState state;
  Status status = Resolve(monitor, operation, state);
  if (status == kSuccess && code != kVcpBrightness) status = kErrorGraphicsDdcciVcpNotSupported;
  if (status == kSuccess && value > state.setup.maximum) status = kErrorInvalidParameter;
  if (status == kSuccess) status = store_.WriteBrightness(state.id, value);
  return Logged(operation, IdOf(monitor), u"code=0x" + Ascii(HexCode(code)).substr(8) + u" value=" + Decimal(value),
                status);
}

Status EmulatedMonitors::SaveCurrentMonitorSettings(PhysicalMonitorHandle monitor) {
  constexpr std::u16string_view operation = u"SaveCurrentMonitorSettings";
  EmulatedMonitorState state;
  Status status = Resolve(monitor, operation, state);
  if (status == kSuccess) status = store_.RecordSave(state.id);
  return Logged(operation, IdOf(monitor), u"", status);
}

Status EmulatedMonitors::SaveCurrentSettings(PhysicalMonitorHandle monitor) {
  constexpr std::u16string_view operation = u"SaveCurrentSettings";
  EmulatedMonitorState state;
  Status status = Resolve(monitor, operation, state);
  if (status == kSuccess) status = store_.RecordSave(state.id);
  return Logged(operation, IdOf(monitor), u"", status);
}

}  // namespace kestrel
