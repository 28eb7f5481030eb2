// Pass-through Registry and PowerManager ports that count the calls made of
// each operation, so a benchmark can report the work the code under test asks
// of the machine beside the time it takes.
#pragma once
#include <cstdint>
#include <map>
#include <string_view>

#include "platform/machine.h"

namespace kestrel {

// Calls per operation ("Registry.OpenKey", ...), by port.
class CallCounts {
 public:
  template <typename Call>
  Status Count(std::string_view operation, Call call) {
    ++calls_[operation];
    return call();
  }
  const std::map<std::string_view, std::uint64_t>& calls() const { return calls_; }
  std::uint64_t Total(std::string_view port) const {
    std::uint64_t total = 0;
    for (const auto& [operation, count] : calls_) {
      if (operation.starts_with(port)) total += count;
    }
    return total;
  }

 private:
  std::map<std::string_view, std::uint64_t> calls_;
};

class CountingRegistry : public Registry {
 public:
  CountingRegistry(Registry& inner, CallCounts& counts) : inner_(inner), counts_(counts) {}

  Status OpenKey(KeyHandle parent, std::u16string_view subKey, std::uint32_t access, KeyHandle& out) override {
    return counts_.Count("Registry.OpenKey", [&] { return inner_.OpenKey(parent, subKey, access, out); });
  }
  Status CreateKey(KeyHandle parent, std::u16string_view subKey, std::uint32_t access, KeyHandle& out,
                   bool* created) override {
    return counts_.Count("Registry.CreateKey", [&] { return inner_.CreateKey(parent, subKey, access, out, created); });
  }
  Status CloseKey(KeyHandle key) override {
    return counts_.Count("Registry.CloseKey", [&] { return inner_.CloseKey(key); });
  }
  Status QueryValue(KeyHandle key, std::u16string_view name, RegType* type, std::uint8_t* data,
                    std::uint32_t& size) override {
    return counts_.Count("Registry.QueryValue", [&] { return inner_.QueryValue(key, name, type, data, size); });
  }
  Status SetValue(KeyHandle key, std::u16string_view name, RegType type, const std::uint8_t* data,
                  std::uint32_t size) override {
    return counts_.Count("Registry.SetValue", [&] { return inner_.SetValue(key, name, type, data, size); });
  }
  Status DeleteValue(KeyHandle key, std::u16string_view name) override {
    return counts_.Count("Registry.DeleteValue", [&] { return inner_.DeleteValue(key, name); });
  }
  Status Flush(KeyHandle key) override {
    return counts_.Count("Registry.Flush", [&] { return inner_.Flush(key); });
  }
  Status EnumKey(KeyHandle key, std::uint32_t index, std::u16string& name) override {
    return counts_.Count("Registry.EnumKey", [&] { return inner_.EnumKey(key, index, name); });
  }
  Status EnumValue(KeyHandle key, std::uint32_t index, std::u16string& name) override {
    return counts_.Count("Registry.EnumValue", [&] { return inner_.EnumValue(key, index, name); });
  }
  Status DeleteKey(KeyHandle parent, std::u16string_view subKey) override {
    return counts_.Count("Registry.DeleteKey", [&] { return inner_.DeleteKey(parent, subKey); });
  }
  Status GetKeyAccess(KeyHandle key, std::vector<AccessEntry>& entries) override {
    return counts_.Count("Registry.GetKeyAccess", [&] { return inner_.GetKeyAccess(key, entries); });
  }
  Status SetKeyAccess(KeyHandle key, const std::vector<AccessEntry>& entries) override {
    return counts_.Count("Registry.SetKeyAccess", [&] { return inner_.SetKeyAccess(key, entries); });
  }

 private:
  Registry& inner_;
  CallCounts& counts_;
};

class CountingPowerManager : public PowerManager {
 public:
  CountingPowerManager(PowerManager& inner, CallCounts& counts) : inner_(inner), counts_(counts) {}

  Status EnumeratePlans(std::uint32_t index, Guid& plan) override {
    return counts_.Count("Power.EnumeratePlans", [&] { return inner_.EnumeratePlans(index, plan); });
  }
  Status EnumerateSubgroups(const Guid& plan, std::uint32_t index, Guid& subgroup) override {
    return counts_.Count("Power.EnumerateSubgroups", [&] { return inner_.EnumerateSubgroups(plan, index, subgroup); });
  }
  Status EnumerateSettings(const Guid& plan, const Guid& subgroup, std::uint32_t index, Guid& setting) override {
    return counts_.Count("Power.EnumerateSettings",
                         [&] { return inner_.EnumerateSettings(plan, subgroup, index, setting); });
  }
  Status GetActivePlan(Guid& plan) override {
    return counts_.Count("Power.GetActivePlan", [&] { return inner_.GetActivePlan(plan); });
  }
  Status SetActivePlan(const Guid& plan) override {
    return counts_.Count("Power.SetActivePlan", [&] { return inner_.SetActivePlan(plan); });
  }
  Status ReadFriendlyName(const Guid& plan, const Guid* subgroup, const Guid* setting, std::uint8_t* buffer,
                          std::uint32_t& size) override {
    return counts_.Count("Power.ReadFriendlyName",
                         [&] { return inner_.ReadFriendlyName(plan, subgroup, setting, buffer, size); });
  }
  Status ReadDescription(const Guid& plan, const Guid* subgroup, const Guid* setting, std::uint8_t* buffer,
                         std::uint32_t& size) override {
    return counts_.Count("Power.ReadDescription",
                         [&] { return inner_.ReadDescription(plan, subgroup, setting, buffer, size); });
  }
  Status WriteFriendlyName(const Guid& plan, const Guid* subgroup, const Guid* setting, const std::uint8_t* buffer,
                           std::uint32_t size) override {
    return counts_.Count("Power.WriteFriendlyName",
                         [&] { return inner_.WriteFriendlyName(plan, subgroup, setting, buffer, size); });
  }
  Status WriteDescription(const Guid& plan, const Guid* subgroup, const Guid* setting, const std::uint8_t* buffer,
                          std::uint32_t size) override {
    return counts_.Count("Power.WriteDescription",
                         [&] { return inner_.WriteDescription(plan, subgroup, setting, buffer, size); });
  }
  Status ReadAcValueIndex(const Guid& plan, const Guid& subgroup, const Guid& setting, std::uint32_t& value) override {
    return counts_.Count("Power.ReadAcValueIndex",
                         [&] { return inner_.ReadAcValueIndex(plan, subgroup, setting, value); });
  }
  Status ReadDcValueIndex(const Guid& plan, const Guid& subgroup, const Guid& setting, std::uint32_t& value) override {
    return counts_.Count("Power.ReadDcValueIndex",
                         [&] { return inner_.ReadDcValueIndex(plan, subgroup, setting, value); });
  }
  Status WriteAcValueIndex(const Guid& plan, const Guid& subgroup, const Guid& setting, std::uint32_t value) override {
    return counts_.Count("Power.WriteAcValueIndex",
                         [&] { return inner_.WriteAcValueIndex(plan, subgroup, setting, value); });
  }
  Status WriteDcValueIndex(const Guid& plan, const Guid& subgroup, const Guid& setting, std::uint32_t value) override {
    return counts_.Count("Power.WriteDcValueIndex",
                         [&] { return inner_.WriteDcValueIndex(plan, subgroup, setting, value); });
  }
  Status DuplicatePlan(const Guid& source, const Guid* chosen, Guid& created) override {
    return counts_.Count("Power.DuplicatePlan", [&] { return inner_.DuplicatePlan(source, chosen, created); });
  }
  Status DeletePlan(const Guid& plan) override {
    return counts_.Count("Power.DeletePlan", [&] { return inner_.DeletePlan(plan); });
  }
  Status ImportPlan(std::u16string_view path, const Guid* chosen, Guid& created) override {
    return counts_.Count("Power.ImportPlan", [&] { return inner_.ImportPlan(path, chosen, created); });
  }
  Status ReplaceDefaultPlans() override {
    return counts_.Count("Power.ReplaceDefaultPlans", [&] { return inner_.ReplaceDefaultPlans(); });
  }
  Status ReadProcessorInformation(std::vector<ProcessorPowerInfo>& processors) override {
    return counts_.Count("Power.ReadProcessorInformation", [&] { return inner_.ReadProcessorInformation(processors); });
  }
  Status GetSystemPowerStatus(SystemPowerStatus& status) override {
    return counts_.Count("Power.GetSystemPowerStatus", [&] { return inner_.GetSystemPowerStatus(status); });
  }
  Status RegisterSettingNotification(WindowHandle window, const Guid& setting, PowerNotifyHandle& handle) override {
    return counts_.Count("Power.RegisterSettingNotification",
                         [&] { return inner_.RegisterSettingNotification(window, setting, handle); });
  }
  Status UnregisterSettingNotification(PowerNotifyHandle handle) override {
    return counts_.Count("Power.UnregisterSettingNotification",
                         [&] { return inner_.UnregisterSettingNotification(handle); });
  }

 private:
  PowerManager& inner_;
  CallCounts& counts_;
};

}  // namespace kestrel
