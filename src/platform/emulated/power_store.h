// The emulated power management of Windows, kept in the registry in Windows'
// own layout under HKLM\SYSTEM\CurrentControlSet\Control\Power\User\PowerSchemes:
// value ActivePowerScheme (REG_SZ, lower-case GUID), one subkey per plan named by
// its GUID with FriendlyName and Description, and <subgroup>\<setting> subkeys
// holding ACSettingIndex and DCSettingIndex. The settings that exist on the
// machine are described under ...\Control\Power\PowerSettings\<subgroup>\<setting>.
// A fresh machine gets the three Windows plans with Windows' default values.
//
// Windows that register for a power-setting notification get the registered
// message "KestrelEmulatedPowerSetting" posted when that setting changes:
// wParam = the setting GUID's data1, lParam = the new value (0 for the active
// plan; the receiver reads the active plan itself).
#pragma once
#include "platform/messaging.h"
#include "platform/power.h"
#include "platform/registry.h"

namespace kestrel {

inline constexpr std::u16string_view kPowerSchemesKey = u"SYSTEM\\CurrentControlSet\\Control\\Power\\User\\PowerSchemes";
inline constexpr std::u16string_view kPowerSettingsKey = u"SYSTEM\\CurrentControlSet\\Control\\Power\\PowerSettings";
inline constexpr std::u16string_view kEmulatedPowerSettingMessage = u"KestrelEmulatedPowerSetting";

class EmulatedPowerManager : public PowerManager {
 public:
  EmulatedPowerManager(Registry& registry, Messaging& messaging);

  // Creates the three Windows plans, the setting descriptions and the active
  // plan when the machine has none yet; leaves an existing machine alone.
  Status EnsureInstalled();

  // Raises a change of a power setting to the windows registered for it, as
  // Windows would (AC/DC source, battery, monitor, lid, active plan).
  void RaiseSettingChange(const Guid& setting, std::uint32_t value);

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
  Registry& registry_;
  Messaging& messaging_;
};

}  // namespace kestrel
