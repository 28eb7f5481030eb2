// Power management port over powrprof, user32 and kernel32. The powrprof
// functions are bound at first use: Wine exports only some of them, and an
// exe that imports a missing one aborts when it calls it. A missing function
// answers kErrorCallNotImplemented (120), as Wine's stubs do.
#pragma once
#include <memory>

#include "platform/power.h"

namespace kestrel {

class Win32PowerManager : public PowerManager {
 public:
  Win32PowerManager();
  ~Win32PowerManager() override;

  Status EnumeratePlans(std::uint32_t index, Guid& plan) override;
  Status EnumerateSubgroups(const Guid& plan, std::uint32_t index, Guid& subgroup) override;
  Status EnumerateSettings(const Guid& plan, const Guid& subgroup, std::uint32_t index, Guid& setting) override;
  Status GetActivePlan(Guid& plan) override;
  Status SetActivePlan(const Guid& plan) override;
  Status ReadFriendlyName(const Guid& plan, const Guid* subgroup, const Guid* setting, std::uint8_t* buffer,
                          std::uint32_t& size) override;
  Status ReadDescription(const Guid& plan, const Guid* subgroup, const Guid* setting, std::uint8_t* buffer,
                         std::uint32_t& size) override;
  Status WriteFriendlyName(const Guid& plan, const Guid* subgroup, const Guid* setting, const std::uint8_t* buffer,
                           std::uint32_t size) override;
  Status WriteDescription(const Guid& plan, const Guid* subgroup, const Guid* setting, const std::uint8_t* buffer,
                          std::uint32_t size) override;
  Status ReadAcValueIndex(const Guid& plan, const Guid& subgroup, const Guid& setting, std::uint32_t& value) override;
  Status ReadDcValueIndex(const Guid& plan, const Guid& subgroup, const Guid& setting, std::uint32_t& value) override;
  Status WriteAcValueIndex(const Guid& plan, const Guid& subgroup, const Guid& setting, std::uint32_t value) override;
  Status WriteDcValueIndex(const Guid& plan, const Guid& subgroup, const Guid& setting, std::uint32_t value) override;
  Status DuplicatePlan(const Guid& source, const Guid* chosen, Guid& created) override;
  Status DeletePlan(const Guid& plan) override;
  Status ImportPlan(std::u16string_view path, const Guid* chosen, Guid& created) override;
  Status ReplaceDefaultPlans() override;
  Status ReadProcessorInformation(std::vector<ProcessorPowerInfo>& processors) override;
  Status GetSystemPowerStatus(SystemPowerStatus& status) override;
  Status RegisterSettingNotification(WindowHandle window, const Guid& setting, PowerNotifyHandle& handle) override;
  Status UnregisterSettingNotification(PowerNotifyHandle handle) override;

 private:
  struct Library;
  std::unique_ptr<Library> library_;
};

}  // namespace kestrel
