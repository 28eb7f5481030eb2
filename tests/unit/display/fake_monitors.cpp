#include "unit/display/fake_monitors.h"

#include <algorithm>

namespace kestrel::testing {

PhysicalMonitorHandle FakeMonitors::AddDisplay(std::vector<FakeMonitor> physicals) {
  DisplayMonitorHandle display = 0x10 + displays_.size();
  PhysicalMonitorHandle first = nextHandle_;
  for (FakeMonitor& monitor : physicals) {
    displays_[display].push_back(nextHandle_);
    monitors_[nextHandle_++] = std::move(monitor);
  }
  return first;
}

void FakeMonitors::Fail(const std::string& call, std::vector<Status> codes) {
  failures_[call].insert(failures_[call].end(), codes.begin(), codes.end());
}

void FakeMonitors::AddActiveDisplays(std::uint32_t active, std::uint32_t inactive) {
  std::u16string adapter = u"\\\\.\\DISPLAY" + std::u16string(1, static_cast<char16_t>(u'1' + adapters_.size()));
  adapters_.push_back(DisplayDevice{adapter, u"Adapter", kDisplayDeviceActive});
  for (std::uint32_t i = 0; i < active + inactive; ++i) {
    adapterMonitors_[adapter].push_back(DisplayDevice{adapter + u"\\Monitor", u"Monitor",
                                                      i < active ? kDisplayDeviceActive : 0u});
  }
}

Status FakeMonitors::Enter(const std::string& call, std::uintptr_t handle) {
  calls.push_back(call + " " + std::to_string(handle));
  auto found = failures_.find(call);
  if (found == failures_.end() || found->second.empty()) return kSuccess;
  Status status = found->second.front();
  found->second.pop_front();
  return status;
}

Status FakeMonitors::EnumDisplayMonitors(std::vector<DisplayMonitorHandle>& monitors) {
  if (enumerationFails) return kErrorInvalidParameter;
  monitors.clear();
  for (const auto& [display, physicals] : displays_) monitors.push_back(display);
  return kSuccess;
}

Status FakeMonitors::EnumDisplayDevices(std::u16string_view device, std::uint32_t index, DisplayDevice& result) {
  const std::vector<DisplayDevice>* list = &adapters_;
  if (!device.empty()) {
    auto found = adapterMonitors_.find(std::u16string(device));
    if (found == adapterMonitors_.end()) return kErrorNoMoreItems;
    list = &found->second;
  }
  if (index >= list->size()) return kErrorNoMoreItems;
  result = (*list)[index];
  return kSuccess;
}

Status FakeMonitors::GetNumberOfPhysicalMonitorsFromHMONITOR(DisplayMonitorHandle monitor, std::uint32_t& count) {
  if (Status status = Enter("GetNumberOfPhysicalMonitorsFromHMONITOR", monitor); status != kSuccess) return status;
  count = static_cast<std::uint32_t>(displays_.at(monitor).size());
  return kSuccess;
}

Status FakeMonitors::GetPhysicalMonitorsFromHMONITOR(DisplayMonitorHandle monitor, std::uint32_t count,
                                                     std::vector<PhysicalMonitor>& monitors) {
  if (Status status = Enter("GetPhysicalMonitorsFromHMONITOR", monitor); status != kSuccess) return status;
  monitors.clear();
  for (PhysicalMonitorHandle handle : displays_.at(monitor)) {
    if (monitors.size() < count) monitors.push_back(PhysicalMonitor{handle, u"Generic PnP Monitor"});
  }
  return kSuccess;
}

Status FakeMonitors::DestroyPhysicalMonitor(PhysicalMonitorHandle monitor) {
  destroyed.push_back(monitor);
  return kSuccess;
}

Status FakeMonitors::DestroyPhysicalMonitors(const std::vector<PhysicalMonitor>& monitors) {
  for (const PhysicalMonitor& monitor : monitors) destroyed.push_back(monitor.handle);
  return kSuccess;
}

Status FakeMonitors::GetCapabilitiesStringLength(PhysicalMonitorHandle monitor, std::uint32_t& length) {
  if (Status status = Enter("GetCapabilitiesStringLength", monitor); status != kSuccess) return status;
  length = static_cast<std::uint32_t>(monitors_.at(monitor).capabilities.size() + 1);
  return kSuccess;
}

Status FakeMonitors::CapabilitiesRequestAndCapabilitiesReply(PhysicalMonitorHandle monitor, std::string& buffer) {
  if (Status status = Enter("CapabilitiesRequestAndCapabilitiesReply", monitor); status != kSuccess) return status;
  const std::string& text = monitors_.at(monitor).capabilities;
  std::size_t room = buffer.size();
  std::copy_n(text.begin(), std::min(room, text.size()), buffer.begin());
  if (text.size() < room) buffer[text.size()] = '\0';
  return kSuccess;
}

Status FakeMonitors::GetMonitorCapabilities(PhysicalMonitorHandle monitor, std::uint32_t& capabilities,
                                            std::uint32_t& temperatures) {
  if (Status status = Enter("GetMonitorCapabilities", monitor); status != kSuccess) return status;
  capabilities = monitors_.at(monitor).caps;
  temperatures = 0;
  return kSuccess;
}

Status FakeMonitors::GetMonitorBrightness(PhysicalMonitorHandle monitor, std::uint32_t& minimum,
                                          std::uint32_t& current, std::uint32_t& maximum) {
  if (Status status = Enter("GetMonitorBrightness", monitor); status != kSuccess) return status;
  const FakeMonitor& state = monitors_.at(monitor);
  minimum = state.minimum, current = state.current, maximum = state.maximum;
  return kSuccess;
}

Status FakeMonitors::SetMonitorBrightness(PhysicalMonitorHandle monitor, std::uint32_t brightness) {
  if (Status status = Enter("SetMonitorBrightness", monitor); status != kSuccess) return status;
  monitors_.at(monitor).current = brightness;
  return kSuccess;
}

Status FakeMonitors::GetVCPFeatureAndVCPFeatureReply(PhysicalMonitorHandle monitor, std::uint8_t code,
                                                     VcpCodeType& type, std::uint32_t& current,
                                                     std::uint32_t& maximum) {
  if (Status status = Enter("GetVCPFeatureAndVCPFeatureReply", monitor); status != kSuccess) return status;
  if (code != kVcpBrightness) return kErrorInvalidParameter;
  type = VcpCodeType::SetParameter;
  current = monitors_.at(monitor).current, maximum = monitors_.at(monitor).maximum;
  return kSuccess;
}

Status FakeMonitors::SetVCPFeature(PhysicalMonitorHandle monitor, std::uint8_t code, std::uint32_t value) {
  if (Status status = Enter("SetVCPFeature", monitor); status != kSuccess) return status;
  if (code != kVcpBrightness) return kErrorInvalidParameter;
  monitors_.at(monitor).current = value;
  return kSuccess;
}

Status FakeMonitors::SaveCurrentMonitorSettings(PhysicalMonitorHandle monitor) {
  if (Status status = Enter("SaveCurrentMonitorSettings", monitor); status != kSuccess) return status;
  monitors_.at(monitor).saved = true;
  return kSuccess;
}

Status FakeMonitors::SaveCurrentSettings(PhysicalMonitorHandle monitor) {
  if (Status status = Enter("SaveCurrentSettings", monitor); status != kSuccess) return status;
  monitors_.at(monitor).saved = true;
  return kSuccess;
}

}  // namespace kestrel::testing
