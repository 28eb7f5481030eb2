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
//
// As on Windows, a registration is answered at once with the setting's current
// value, and activating a plan or switching between AC and DC applies the
// plan's values: a registered plan setting (the processor states, say) whose
// effective value differs from the one applied before is raised. The value
// last applied for each registered setting is kept under
// HKLM\Software\KestrelEmulator\AppliedSettings (DWORD named by the setting GUID).
//
// powrprof semantics kept: an unknown plan gives kErrorFileNotFound; so does a
// setting that is not described under PowerSettings, and, on reads only, a
// described setting for which the plan has no value of its own. A null
// subgroup with a setting stands for the no-subgroup group. The active plan
// cannot be deleted (kErrorAccessDenied). Value indexes are stored as given,
// without a range check.
//
// A fault to inject: while HKLM\Software\KestrelEmulator holds the DWORD
// RefuseActivation (not 0), every activation of an existing plan fails with
// that code and changes nothing.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "platform/emulated/machine_state.h"
#include "platform/emulated/windows_power_defaults.h"
#include "platform/messaging.h"
#include "platform/power.h"
#include "platform/registry.h"

namespace kestrel {

inline constexpr std::u16string_view kPowerSchemesKey =
    u"SYSTEM\\CurrentControlSet\\Control\\Power\\User\\PowerSchemes";
inline constexpr std::u16string_view kPowerSettingsKey = u"SYSTEM\\CurrentControlSet\\Control\\Power\\PowerSettings";
inline constexpr std::u16string_view kEmulatedPowerSettingMessage = u"KestrelEmulatedPowerSetting";
inline constexpr std::u16string_view kRefuseActivationValue = u"RefuseActivation";

// Reads a file for ImportPlan (the bytes of the whole file).
using PlanFileReader = std::function<Status(std::u16string_view path, std::vector<std::uint8_t>& bytes)>;

class EmulatedPowerManager : public PowerManager {
 public:
  EmulatedPowerManager(Registry& registry, Messaging& messaging);

  // ImportPlan reads its files through `reader` (format: plan_file.h). Without
  // one every file is missing (kErrorFileNotFound).
  void SetFileReader(PlanFileReader reader) { readFile_ = std::move(reader); }
  // Chooses the GUIDs of plans duplicated or imported without a chosen GUID
  // (default: random version-4 GUIDs). A GUID already in use is asked again.
  void SetGuidGenerator(std::function<Guid()> generator) { newGuid_ = std::move(generator); }
  // The plan in the import format.
  Status ExportPlan(const Guid& plan, std::string& text);
  // Changes power source and battery as the hardware would, raising the AC/DC
  // and battery notifications and applying the active plan's other values.
  Status SetPowerSource(const EmulatedPowerSource& source);

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
  Status CreatePlanFrom(const Guid* chosen, Guid& target);
  void PostToRegistered(const Guid& setting, std::uint32_t value);
  void ApplyActivePlanValues();

  Registry& registry_;
  Messaging& messaging_;
  EmulatedMachineState machine_;
  PlanFileReader readFile_;
  std::function<Guid()> newGuid_;
};

}  // namespace kestrel
