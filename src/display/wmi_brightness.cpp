#include "display/wmi_brightness.h"

#include <algorithm>
#include <array>
#include <variant>

#include "platform/text.h"

namespace kestrel {
namespace {

constexpr std::size_t kMaxLevels = 256;

const std::uint32_t* Number(const WmiObject& object, std::u16string_view name) {
  const WmiValue* value = object.Find(name);
  return value != nullptr ? std::get_if<std::uint32_t>(value) : nullptr;
}

}  // namespace

Status WmiBrightness::Open() {
  if (session_ != 0) return kSuccess;
  if (Status status = wmi_.Connect(kWmiNamespace, session_); status != kSuccess) {
    session_ = 0;
    return status;
  }
  return RefreshInstanceName();
}

void WmiBrightness::Close() {
  if (session_ == 0) return;
  wmi_.Release(session_);
  session_ = 0;
}

Status WmiBrightness::QueryPanel(std::span<const std::u16string_view> properties, WmiObject& panel) {
  if (Status status = Open(); status != kSuccess) return status;
  std::vector<WmiObject> objects;
  if (Status status = wmi_.Query(session_, kWmiMonitorBrightness, properties, objects); status != kSuccess)
    return status;
  if (objects.empty()) return kWbemNotFound;
  panel = std::move(objects.front());
  return kSuccess;
}

Status WmiBrightness::RefreshInstanceName() {
  constexpr std::array<std::u16string_view, 1> kProperties{kWmiInstanceName};
  WmiObject panel;
  if (Status status = QueryPanel(kProperties, panel); status != kSuccess) return status;
  const WmiValue* name = panel.Find(kWmiInstanceName);
  const std::u16string* text = name != nullptr ? std::get_if<std::u16string>(name) : nullptr;
  if (text != nullptr) instanceName_ = Truncate(*text, kMonitorInstanceNameUnits);
  return kSuccess;
}

Status WmiBrightness::ReadLevels(std::vector<std::uint16_t>& levels) {
  constexpr std::array<std::u16string_view, 2> kProperties{kWmiLevel, kWmiLevels};
  WmiObject panel;
  if (Status status = QueryPanel(kProperties, panel); status != kSuccess) return status;
  const WmiValue* level = panel.Find(kWmiLevel);
  const auto* values = level != nullptr ? std::get_if<std::vector<std::uint32_t>>(level) : nullptr;
  const std::uint32_t* count = Number(panel, kWmiLevels);
  if (values == nullptr || count == nullptr) return kWbemNotFound;
  std::size_t taken = std::min({std::size_t{*count}, values->size(), kMaxLevels});
  levels.clear();
  for (std::size_t k = 0; k < taken; ++k) levels.push_back(static_cast<std::uint16_t>((*values)[k] & 0xFF));
  return kSuccess;
}

Status WmiBrightness::ReadCurrent(std::uint32_t& percent) {
  constexpr std::array<std::u16string_view, 2> kProperties{kWmiCurrentBrightness, kWmiInstanceName};
  WmiObject panel;
  if (Status status = QueryPanel(kProperties, panel); status != kSuccess) return status;
  if (const WmiValue* name = panel.Find(kWmiInstanceName)) {
    if (const auto* text = std::get_if<std::u16string>(name)) instanceName_ = Truncate(*text, kMonitorInstanceNameUnits);
  }
  const std::uint32_t* current = Number(panel, kWmiCurrentBrightness);
  if (current == nullptr) return kWbemNotFound;
  percent = *current;
  return kSuccess;
}

Status WmiBrightness::SetBrightness(std::uint8_t percent) {
  if (Status status = Open(); status != kSuccess) return status;
  if (instanceName_.empty()) {
    if (Status status = RefreshInstanceName(); status != kSuccess) return status;
  }
  std::u16string path = std::u16string(kWmiMonitorBrightnessMethods) + u".InstanceName='" + instanceName_ + u"'";
  std::vector<WmiProperty> inputs{{std::u16string(kWmiBrightness), std::uint32_t{percent}},
                                  {std::u16string(kWmiTimeout), std::uint32_t{0}}};
  std::vector<WmiProperty> outputs;
  return wmi_.CallMethod(session_, kWmiMonitorBrightnessMethods, path, kWmiSetBrightness, inputs, outputs);
}

std::uint32_t MeasureProcessorMhz(Wmi& wmi) {
  WmiSession session = 0;
  if (wmi.Connect(kCimNamespace, session) != kSuccess) return 0;
  constexpr std::array<std::u16string_view, 2> kProperties{kMaxClockSpeed, kCurrentClockSpeed};
  std::vector<WmiObject> processors;
  std::uint32_t mhz = 0;
  if (wmi.Query(session, kWin32Processor, kProperties, processors) == kSuccess && !processors.empty()) {
    const std::uint32_t* maximum = Number(processors.front(), kMaxClockSpeed);
    const std::uint32_t* current = Number(processors.front(), kCurrentClockSpeed);
    mhz = maximum != nullptr && *maximum != 0 ? *maximum : current != nullptr ? *current : 0;
  }
  wmi.Release(session);
  return mhz;
}

}  // namespace kestrel
