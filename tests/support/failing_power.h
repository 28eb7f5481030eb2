// The emulated power management with failures a test switches on: the
// enumeration failing from some index on, the next description reads
// failing with a given error, or the processor information failing.
#pragma once
#include <optional>

#include "platform/power.h"

namespace kestrel::testing {

class FailingPower : public PowerManager {
 public:
  explicit FailingPower(PowerManager& inner) : inner_(inner) {}

  void FailEnumerationFrom(std::uint32_t index, Status status) { enumerationFailure_ = {index, status}; }
  void FailDescriptionReads(std::uint32_t count, Status status) { descriptionFailures_ = {count, status}; }
  // Every processor information read fails with this code while it is set.
  Status failProcessorInformation = kSuccess;

  Status EnumeratePlans(std::uint32_t index, Guid& plan) override {
    if (enumerationFailure_ && index >= enumerationFailure_->first) return enumerationFailure_->second;
    return inner_.EnumeratePlans(index, plan);
  }
  Status ReadDescription(const Guid& plan, const Guid* subgroup, const Guid* setting, std::uint8_t* buffer,
                         std::uint32_t& size) override {
    if (descriptionFailures_.first > 0) {
      --descriptionFailures_.first;
      return descriptionFailures_.second;
    }
    return inner_.ReadDescription(plan, subgroup, setting, buffer, size);
  }

  Status EnumerateSubgroups(const Guid& plan, std::uint32_t index, Guid& subgroup) override {
    return inner_.EnumerateSubgroups(plan, index, subgroup);
  }
  Status EnumerateSettings(const Guid& plan, const Guid& subgroup, std::uint32_t index, Guid& setting) override {
    return inner_.EnumerateSettings(plan, subgroup, index, setting);
  }
  Status GetActivePlan(Guid& plan) override { return inner_.GetActivePlan(plan); }
  Status SetActivePlan(const Guid& plan) override { return inner_.SetActivePlan(plan); }
  Status ReadFriendlyName(const Guid& plan, const Guid* subgroup, const Guid* setting, std::uint8_t* buffer,
                          std::uint32_t& size) override {
    return inner_.ReadFriendlyName(plan, subgroup, setting, buffer, size);
  }
  Status WriteFriendlyName(const Guid& plan, const Guid* subgroup, const Guid* setting, const std::uint8_t* buffer,
                           std::uint32_t size) override {
    return inner_.WriteFriendlyName(plan, subgroup, setting, buffer, size);
  }
  Status WriteDescription(const Guid& plan, const Guid* subgroup, const Guid* setting, const std::uint8_t* buffer,
                          std::uint32_t size) override {
    return inner_.WriteDescription(plan, subgroup, setting, buffer, size);
  }
  Status ReadAcValueIndex(const Guid& plan, const Guid& subgroup, const Guid& setting, std::uint32_t& value) override {
    return inner_.ReadAcValueIndex(plan, subgroup, setting, value);
  }
  Status ReadDcValueIndex(const Guid& plan, const Guid& subgroup, const Guid& setting, std::uint32_t& value) override {
    return inner_.ReadDcValueIndex(plan, subgroup, setting, value);
  }
  Status WriteAcValueIndex(const Guid& plan, const Guid& subgroup, const Guid& setting, std::uint32_t value) override {
    return inner_.WriteAcValueIndex(plan, subgroup, setting, value);
  }
  Status WriteDcValueIndex(const Guid& plan, const Guid& subgroup, const Guid& setting, std::uint32_t value) override {
    return inner_.WriteDcValueIndex(plan, subgroup, setting, value);
  }
  Status DuplicatePlan(const Guid& source, const Guid* chosen, Guid& created) override {
    return inner_.DuplicatePlan(source, chosen, created);
  }
  Status DeletePlan(const Guid& plan) override { return inner_.DeletePlan(plan); }
  Status ImportPlan(std::u16string_view path, const Guid* chosen, Guid& created) override {
    return inner_.ImportPlan(path, chosen, created);
  }
  Status ReplaceDefaultPlans() override { return inner_.ReplaceDefaultPlans(); }
  Status ReadProcessorInformation(std::vector<ProcessorPowerInfo>& processors) override {
    if (failProcessorInformation != kSuccess) return failProcessorInformation;
    return inner_.ReadProcessorInformation(processors);
  }
  Status GetSystemPowerStatus(SystemPowerStatus& status) override { return inner_.GetSystemPowerStatus(status); }
  Status RegisterSettingNotification(WindowHandle window, const Guid& setting, PowerNotifyHandle& handle) override {
    return inner_.RegisterSettingNotification(window, setting, handle);
  }
  Status UnregisterSettingNotification(PowerNotifyHandle handle) override {
    return inner_.UnregisterSettingNotification(handle);
  }

 private:
  PowerManager& inner_;
  std::optional<std::pair<std::uint32_t, Status>> enumerationFailure_;
  std::pair<std::uint32_t, Status> descriptionFailures_{0, kSuccess};
};

}  // namespace kestrel::testing
