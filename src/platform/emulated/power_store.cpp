#include "platform/emulated/power_store.h"

#include <algorithm>
#include <optional>
#include <random>

#include "platform/emulated/plan_file.h"
#include "platform/emulated/power_notify.h"
#include "platform/emulated/registry_tree.h"
#include "platform/text.h"

namespace kestrel {
namespace {

constexpr std::u16string_view kActiveValue = u"ActivePowerScheme";
constexpr std::u16string_view kNameValue = u"FriendlyName";
constexpr std::u16string_view kDescriptionValue = u"Description";
constexpr std::u16string_view kAcValue = u"ACSettingIndex";
constexpr std::u16string_view kDcValue = u"DCSettingIndex";
constexpr std::u16string_view kAppliedKey = u"Software\\KestrelEmulator\\AppliedSettings";
constexpr Status kErrorInvalidWindowHandle = 1400;
constexpr int kFreshGuidAttempts = 64;

constexpr Guid kMaxProcessorState{0xbc5038f7, 0x23e0, 0x4960, {0x96, 0xda, 0x33, 0xab, 0xaf, 0x59, 0x35, 0xec}};

std::u16string Join(std::u16string_view a, std::u16string_view b) {
  return std::u16string(a) + u"\\" + std::u16string(b);
}

std::u16string PlanPath(const Guid& plan) { return Join(kPowerSchemesKey, ToString(plan)); }
std::u16string SettingPart(const Guid& subgroup, const Guid& setting) {
  return Join(ToString(subgroup), ToString(setting));
}
std::u16string DescriptionPath(const Guid& subgroup, const Guid& setting) {
  return Join(kPowerSettingsKey, SettingPart(subgroup, setting));
}

bool KeyExists(Registry& registry, std::u16string_view path) {
  RegKey key;
  return RegKey::Open(registry, kHkeyLocalMachine, path, kKeyQueryValue, key) == kSuccess;
}

bool PlanExists(Registry& registry, const Guid& plan) { return KeyExists(registry, PlanPath(plan)); }

// The error every activation fails with while KestrelEmu refuse-activation is on
// (kSuccess while it is off).
Status ActivationRefusal(Registry& registry) {
  RegKey key;
  std::uint32_t code = kSuccess;
  if (RegKey::Open(registry, kHkeyLocalMachine, kEmulatorKey, kKeyRead, key) != kSuccess) return kSuccess;
  if (key.ReadDword(kRefuseActivationValue, code) != kSuccess) return kSuccess;
  return code;
}

bool SettingExists(Registry& registry, const Guid& subgroup, const Guid& setting) {
  return KeyExists(registry, DescriptionPath(subgroup, setting));
}

std::vector<Guid> GuidSubkeys(Registry& registry, std::u16string_view path) {
  std::vector<Guid> guids;
  RegKey key;
  std::vector<std::u16string> names;
  if (RegKey::Open(registry, kHkeyLocalMachine, path, kKeyRead, key) != kSuccess) return guids;
  if (ListSubkeys(registry, key.get(), names) != kSuccess) return guids;
  for (const std::u16string& name : names) {
    if (std::optional<Guid> guid = ParseGuid(name)) guids.push_back(*guid);
  }
  return guids;
}

std::vector<Guid> ListPlans(Registry& registry) { return GuidSubkeys(registry, kPowerSchemesKey); }

Status ReadActive(Registry& registry, Guid& plan) {
  RegKey key;
  std::u16string text;
  if (Status status = RegKey::Open(registry, kHkeyLocalMachine, kPowerSchemesKey, kKeyQueryValue, key);
      status != kSuccess) {
    return status;
  }
  if (Status status = key.ReadString(kActiveValue, text); status != kSuccess) return status;
  std::optional<Guid> parsed = ParseGuid(text);
  if (!parsed) return kErrorFileNotFound;
  plan = *parsed;
  return kSuccess;
}

Status WriteActive(Registry& registry, const Guid& plan) {
  RegKey key;
  if (Status status = RegKey::Create(registry, kHkeyLocalMachine, kPowerSchemesKey, kKeySetValue, key);
      status != kSuccess) {
    return status;
  }
  return key.WriteString(kActiveValue, ToString(plan));
}

Status ReadIndex(Registry& registry, const Guid& plan, const Guid& subgroup, const Guid& setting,
                 std::u16string_view name, std::uint32_t& value) {
  // A missing plan fails the open below just as its own check would.
  if (!SettingExists(registry, subgroup, setting)) return kErrorFileNotFound;
  RegKey key;
  Status status =
      RegKey::Open(registry, kHkeyLocalMachine, Join(PlanPath(plan), SettingPart(subgroup, setting)), kKeyRead, key);
  return status == kSuccess ? key.ReadDword(name, value) : status;
}

Status WriteIndex(Registry& registry, const Guid& plan, const Guid& subgroup, const Guid& setting,
                  std::u16string_view name, std::uint32_t value) {
  if (!PlanExists(registry, plan) || !SettingExists(registry, subgroup, setting)) return kErrorFileNotFound;
  RegKey key;
  Status status = RegKey::Create(registry, kHkeyLocalMachine, Join(PlanPath(plan), SettingPart(subgroup, setting)),
                                 kKeyRead | kKeyWrite, key);
  return status == kSuccess ? key.WriteDword(name, value) : status;
}

// Where a name or description lives: the plan's key, or the description of a
// subgroup or setting under PowerSettings.
std::u16string TextPath(const Guid& plan, const Guid* subgroup, const Guid* setting) {
  if (subgroup == nullptr && setting == nullptr) return PlanPath(plan);
  Guid group = subgroup != nullptr ? *subgroup : kNoSubgroup;
  if (setting == nullptr) return Join(kPowerSettingsKey, ToString(group));
  return DescriptionPath(group, *setting);
}

Status ReadText(Registry& registry, const Guid& plan, const Guid* subgroup, const Guid* setting,
                std::u16string_view valueName, std::uint8_t* buffer, std::uint32_t& size) {
  // The plan's own texts live in its key, whose open tells whether the plan exists.
  bool ownText = subgroup == nullptr && setting == nullptr;
  if (!ownText && !PlanExists(registry, plan)) return kErrorFileNotFound;
  RegKey key;
  if (Status status = RegKey::Open(registry, kHkeyLocalMachine, TextPath(plan, subgroup, setting), kKeyQueryValue, key);
      status != kSuccess) {
    return status;
  }
  RegType type = RegType::None;
  return registry.QueryValue(key.get(), valueName, &type, buffer, size);
}

Status WriteText(Registry& registry, const Guid& plan, const Guid* subgroup, const Guid* setting,
                 std::u16string_view valueName, const std::uint8_t* buffer, std::uint32_t size) {
  if ((buffer == nullptr && size != 0) || size % 2 != 0) return kErrorInvalidParameter;
  if (!PlanExists(registry, plan)) return kErrorFileNotFound;
  RegKey key;
  if (Status status = RegKey::Open(registry, kHkeyLocalMachine, TextPath(plan, subgroup, setting), kKeySetValue, key);
      status != kSuccess) {
    return status;
  }
  return registry.SetValue(key.get(), valueName, RegType::Sz, buffer, size);
}

std::optional<Guid> SubgroupOf(Registry& registry, const Guid& setting) {
  for (const Guid& subgroup : GuidSubkeys(registry, kPowerSettingsKey)) {
    if (SettingExists(registry, subgroup, setting)) return subgroup;
  }
  return std::nullopt;
}

// The value a plan setting has in effect under the given power source.
std::optional<std::uint32_t> EffectiveValue(Registry& registry, const Guid& plan, const Guid& setting, bool onAc) {
  std::optional<Guid> subgroup = SubgroupOf(registry, setting);
  std::uint32_t value = 0;
  if (!subgroup || ReadIndex(registry, plan, *subgroup, setting, onAc ? kAcValue : kDcValue, value) != kSuccess) {
    return std::nullopt;
  }
  return value;
}

std::optional<std::uint32_t> ReadApplied(Registry& registry, const Guid& setting) {
  RegKey key;
  std::uint32_t value = 0;
  if (RegKey::Open(registry, kHkeyLocalMachine, kAppliedKey, kKeyQueryValue, key) != kSuccess) return std::nullopt;
  if (key.ReadDword(ToString(setting), value) != kSuccess) return std::nullopt;
  return value;
}

void WriteApplied(Registry& registry, const Guid& setting, std::uint32_t value) {
  RegKey key;
  if (RegKey::Create(registry, kHkeyLocalMachine, kAppliedKey, kKeySetValue, key) == kSuccess) {
    key.WriteDword(ToString(setting), value);
  }
}

Guid RandomGuid() {
  static std::mt19937_64 generator{std::random_device{}()};
  std::uint64_t high = generator();
  std::uint64_t low = generator();
  Guid guid;
  guid.data1 = static_cast<std::uint32_t>(high >> 32);
  guid.data2 = static_cast<std::uint16_t>(high >> 16);
  guid.data3 = static_cast<std::uint16_t>((high & 0x0FFF) | 0x4000);  // version 4
  for (int i = 0; i < 8; ++i) guid.data4[i] = static_cast<std::uint8_t>(low >> (56 - 8 * i));
  guid.data4[0] = static_cast<std::uint8_t>((guid.data4[0] & 0x3F) | 0x80);  // RFC 4122 variant
  return guid;
}

Status InstallSettingDescriptions(Registry& registry) {
  for (const WindowsSubgroupDefault& group : WindowsSubgroups()) {
    RegKey key;
    if (Status status = RegKey::Create(registry, kHkeyLocalMachine, Join(kPowerSettingsKey, ToString(group.guid)),
                                       kKeyAllAccess, key);
        status != kSuccess) {
      return status;
    }
    key.WriteString(kNameValue, group.name);
    key.WriteString(kDescriptionValue, group.description);
  }
  for (const WindowsSettingDefault& setting : WindowsSettings()) {
    RegKey key;
    if (Status status = RegKey::Create(registry, kHkeyLocalMachine, DescriptionPath(setting.subgroup, setting.setting),
                                       kKeyAllAccess, key);
        status != kSuccess) {
      return status;
    }
    key.WriteString(kNameValue, setting.name);
    key.WriteString(kDescriptionValue, setting.description);
  }
  return kSuccess;
}

Status InstallWindowsPlans(Registry& registry) {
  std::span<const WindowsPlanDefault> plans = WindowsPlans();
  for (std::size_t column = 0; column < plans.size(); ++column) {
    RegKey key;
    if (Status status = RegKey::Create(registry, kHkeyLocalMachine, PlanPath(plans[column].guid), kKeyAllAccess, key);
        status != kSuccess) {
      return status;
    }
    key.WriteString(kNameValue, plans[column].name);
    key.WriteString(kDescriptionValue, plans[column].description);
    for (const WindowsSettingDefault& setting : WindowsSettings()) {
      RegKey values;
      if (Status status = RegKey::Create(registry, key.get(), SettingPart(setting.subgroup, setting.setting),
                                         kKeyAllAccess, values);
          status != kSuccess) {
        return status;
      }
      values.WriteDword(kAcValue, setting.values[column][0]);
      values.WriteDword(kDcValue, setting.values[column][1]);
    }
  }
  return kSuccess;
}

}  // namespace

EmulatedPowerManager::EmulatedPowerManager(Registry& registry, Messaging& messaging)
    : registry_(registry),
      messaging_(messaging),
      machine_(registry),
      readFile_([](std::u16string_view, std::vector<std::uint8_t>&) { return kErrorFileNotFound; }),
      newGuid_(RandomGuid) {}

Status EmulatedPowerManager::EnsureInstalled() {
  if (!KeyExists(registry_, kPowerSettingsKey)) {
    if (Status status = InstallSettingDescriptions(registry_); status != kSuccess) return status;
  }
  std::vector<Guid> plans = ListPlans(registry_);
  if (plans.empty()) {
    if (Status status = InstallWindowsPlans(registry_); status != kSuccess) return status;
    plans = ListPlans(registry_);
  }
  Guid active;
  if (ReadActive(registry_, active) == kSuccess && PlanExists(registry_, active)) return kSuccess;
  bool haveBalanced = PlanExists(registry_, kBalancedPlan);
  return WriteActive(registry_, haveBalanced ? kBalancedPlan : plans.front());
}

void EmulatedPowerManager::PostToRegistered(const Guid& setting, std::uint32_t value) {
  PowerNotifyStore store(registry_);
  std::uint32_t message = messaging_.RegisterMessage(kEmulatedPowerSettingMessage);
  for (const PowerRegistration& registration : store.List()) {
    if (registration.setting != setting) continue;
    Status status = messaging_.Post(registration.window, message, setting.data1, static_cast<LParam>(value));
    // The window is gone (its process ended without unregistering): forget it.
    if (status == kErrorInvalidWindowHandle) store.Remove(registration.handle);
  }
}

void EmulatedPowerManager::RaiseSettingChange(const Guid& setting, std::uint32_t value) {
  PostToRegistered(setting, value);
}

void EmulatedPowerManager::ApplyActivePlanValues() {
  Guid active;
  if (ReadActive(registry_, active) != kSuccess) return;
  bool onAc = machine_.ReadPowerSource().onAc;
  std::vector<Guid> done;
  for (const PowerRegistration& registration : PowerNotifyStore(registry_).List()) {
    const Guid& setting = registration.setting;
    if (std::find(done.begin(), done.end(), setting) != done.end()) continue;
    done.push_back(setting);
    std::optional<std::uint32_t> value = EffectiveValue(registry_, active, setting, onAc);
    if (!value || ReadApplied(registry_, setting) == value) continue;
    WriteApplied(registry_, setting, *value);
    PostToRegistered(setting, *value);
  }
}

Status EmulatedPowerManager::EnumeratePlans(std::uint32_t index, Guid& plan) {
  // Plan keys are all named by their GUID, so the index is the subkey's, as in
  // the platform's own enumeration; that keeps a walk over n plans linear.
  RegKey schemes;
  std::u16string name;
  if (RegKey::Open(registry_, kHkeyLocalMachine, kPowerSchemesKey, kKeyRead, schemes) != kSuccess ||
      registry_.EnumKey(schemes.get(), index, name) != kSuccess) {
    return kErrorNoMoreItems;
  }
  if (std::optional<Guid> parsed = ParseGuid(name)) {
    plan = *parsed;
    return kSuccess;
  }
  // A stray key that is no plan: count only the plan keys.
  std::vector<Guid> plans = ListPlans(registry_);
  if (index >= plans.size()) return kErrorNoMoreItems;
  plan = plans[index];
  return kSuccess;
}

Status EmulatedPowerManager::EnumerateSubgroups(const Guid& plan, std::uint32_t index, Guid& subgroup) {
  if (!PlanExists(registry_, plan)) return kErrorFileNotFound;
  std::vector<Guid> subgroups = GuidSubkeys(registry_, kPowerSettingsKey);
  if (index >= subgroups.size()) return kErrorNoMoreItems;
  subgroup = subgroups[index];
  return kSuccess;
}

Status EmulatedPowerManager::EnumerateSettings(const Guid& plan, const Guid& subgroup, std::uint32_t index,
                                               Guid& setting) {
  std::u16string groupPath = Join(kPowerSettingsKey, ToString(subgroup));
  if (!PlanExists(registry_, plan) || !KeyExists(registry_, groupPath)) return kErrorFileNotFound;
  std::vector<Guid> settings = GuidSubkeys(registry_, groupPath);
  if (index >= settings.size()) return kErrorNoMoreItems;
  setting = settings[index];
  return kSuccess;
}

Status EmulatedPowerManager::GetActivePlan(Guid& plan) { return ReadActive(registry_, plan); }

Status EmulatedPowerManager::SetActivePlan(const Guid& plan) {
  if (!PlanExists(registry_, plan)) return kErrorFileNotFound;
  if (Status refused = ActivationRefusal(registry_); refused != kSuccess) return refused;
  Guid previous;
  bool hadActive = ReadActive(registry_, previous) == kSuccess;
  if (Status status = WriteActive(registry_, plan); status != kSuccess) return status;
  if (!hadActive || previous != plan) PostToRegistered(kActivePowerScheme, 0);
  ApplyActivePlanValues();
  return kSuccess;
}

Status EmulatedPowerManager::ReadFriendlyName(const Guid& plan, const Guid* subgroup, const Guid* setting,
                                              std::uint8_t* buffer, std::uint32_t& size) {
  return ReadText(registry_, plan, subgroup, setting, kNameValue, buffer, size);
}

Status EmulatedPowerManager::ReadDescription(const Guid& plan, const Guid* subgroup, const Guid* setting,
                                             std::uint8_t* buffer, std::uint32_t& size) {
  return ReadText(registry_, plan, subgroup, setting, kDescriptionValue, buffer, size);
}

Status EmulatedPowerManager::WriteFriendlyName(const Guid& plan, const Guid* subgroup, const Guid* setting,
                                               const std::uint8_t* buffer, std::uint32_t size) {
  return WriteText(registry_, plan, subgroup, setting, kNameValue, buffer, size);
}

Status EmulatedPowerManager::WriteDescription(const Guid& plan, const Guid* subgroup, const Guid* setting,
                                              const std::uint8_t* buffer, std::uint32_t size) {
  return WriteText(registry_, plan, subgroup, setting, kDescriptionValue, buffer, size);
}

Status EmulatedPowerManager::ReadAcValueIndex(const Guid& plan, const Guid& subgroup, const Guid& setting,
                                              std::uint32_t& value) {
  return ReadIndex(registry_, plan, subgroup, setting, kAcValue, value);
}

Status EmulatedPowerManager::ReadDcValueIndex(const Guid& plan, const Guid& subgroup, const Guid& setting,
                                              std::uint32_t& value) {
  return ReadIndex(registry_, plan, subgroup, setting, kDcValue, value);
}

Status EmulatedPowerManager::WriteAcValueIndex(const Guid& plan, const Guid& subgroup, const Guid& setting,
                                               std::uint32_t value) {
  return WriteIndex(registry_, plan, subgroup, setting, kAcValue, value);
}

Status EmulatedPowerManager::WriteDcValueIndex(const Guid& plan, const Guid& subgroup, const Guid& setting,
                                               std::uint32_t value) {
  return WriteIndex(registry_, plan, subgroup, setting, kDcValue, value);
}

// Picks the new plan's GUID (the chosen one, or a fresh one) and creates its key.
Status EmulatedPowerManager::CreatePlanFrom(const Guid* chosen, Guid& target) {
  if (chosen != nullptr) {
    if (chosen->IsNull()) return kErrorInvalidParameter;
    if (PlanExists(registry_, *chosen)) return kErrorAlreadyExists;
    target = *chosen;
  } else {
    int attempts = 0;
    do {
      if (++attempts > kFreshGuidAttempts) return kErrorAlreadyExists;
      target = newGuid_();
    } while (target.IsNull() || PlanExists(registry_, target));
  }
  RegKey key;
  return RegKey::Create(registry_, kHkeyLocalMachine, PlanPath(target), kKeyAllAccess, key);
}

Status EmulatedPowerManager::DuplicatePlan(const Guid& source, const Guid* chosen, Guid& created) {
  if (!PlanExists(registry_, source)) return kErrorFileNotFound;
  Guid target;
  if (Status status = CreatePlanFrom(chosen, target); status != kSuccess) return status;
  RegKey from;
  RegKey to;
  Status status = RegKey::Open(registry_, kHkeyLocalMachine, PlanPath(source), kKeyRead, from);
  if (status == kSuccess) status = RegKey::Open(registry_, kHkeyLocalMachine, PlanPath(target), kKeyAllAccess, to);
  if (status == kSuccess) status = CopyKeyTree(registry_, from.get(), to.get());
  if (status != kSuccess) {
    to.Reset();
    DeleteKeyTree(registry_, kHkeyLocalMachine, PlanPath(target));
    return status;
  }
  created = target;
  return kSuccess;
}

Status EmulatedPowerManager::DeletePlan(const Guid& plan) {
  if (!PlanExists(registry_, plan)) return kErrorFileNotFound;
  Guid active;
  if (ReadActive(registry_, active) == kSuccess && active == plan) return kErrorAccessDenied;
  return DeleteKeyTree(registry_, kHkeyLocalMachine, PlanPath(plan));
}

Status EmulatedPowerManager::ImportPlan(std::u16string_view path, const Guid* chosen, Guid& created) {
  std::vector<std::uint8_t> bytes;
  if (Status status = readFile_(path, bytes); status != kSuccess) return status;
  std::optional<PlanFile> file = ParsePlanFile(bytes);
  if (!file) return kErrorInvalidData;
  Guid target;
  if (Status status = CreatePlanFrom(chosen, target); status != kSuccess) return status;
  RegKey key;
  Status status = RegKey::Open(registry_, kHkeyLocalMachine, PlanPath(target), kKeyAllAccess, key);
  if (status == kSuccess) status = key.WriteString(kNameValue, file->name);
  if (status == kSuccess) status = key.WriteString(kDescriptionValue, file->description);
  key.Reset();
  for (const PlanFileValue& value : file->values) {
    // A setting this machine does not have is left out, as Windows hides it.
    if (status != kSuccess || !SettingExists(registry_, value.subgroup, value.setting)) continue;
    status = WriteIndex(registry_, target, value.subgroup, value.setting, kAcValue, value.ac);
    if (status == kSuccess) status = WriteIndex(registry_, target, value.subgroup, value.setting, kDcValue, value.dc);
  }
  if (status != kSuccess) {
    DeleteKeyTree(registry_, kHkeyLocalMachine, PlanPath(target));
    return status;
  }
  created = target;
  return kSuccess;
}

Status EmulatedPowerManager::ExportPlan(const Guid& plan, std::string& text) {
  RegKey key;
  if (Status status = RegKey::Open(registry_, kHkeyLocalMachine, PlanPath(plan), kKeyRead, key); status != kSuccess) {
    return status;
  }
  PlanFile file;
  key.ReadString(kNameValue, file.name);
  key.ReadString(kDescriptionValue, file.description);
  for (const Guid& subgroup : GuidSubkeys(registry_, PlanPath(plan))) {
    for (const Guid& setting : GuidSubkeys(registry_, Join(PlanPath(plan), ToString(subgroup)))) {
      PlanFileValue value{subgroup, setting};
      if (ReadIndex(registry_, plan, subgroup, setting, kAcValue, value.ac) == kSuccess &&
          ReadIndex(registry_, plan, subgroup, setting, kDcValue, value.dc) == kSuccess) {
        file.values.push_back(value);
      }
    }
  }
  text = FormatPlanFile(file);
  return kSuccess;
}

Status EmulatedPowerManager::ReplaceDefaultPlans() {
  RegKey key;
  if (Status status = RegKey::Create(registry_, kHkeyLocalMachine, kEmulatorKey, kKeyRead | kKeyWrite, key);
      status != kSuccess) {
    return status;
  }
  std::uint32_t count = 0;
  key.ReadDword(u"DefaultPlansReplaced", count);
  return key.WriteDword(u"DefaultPlansReplaced", count + 1);
}

Status EmulatedPowerManager::ReadProcessorInformation(std::vector<ProcessorPowerInfo>& processors) {
  std::uint32_t maxMhz = machine_.ProcessorMaxMhz();
  std::uint32_t limit = maxMhz;
  Guid active;
  if (ReadActive(registry_, active) == kSuccess) {
    // The clock follows the active plan's maximum processor state.
    std::optional<std::uint32_t> percent =
        EffectiveValue(registry_, active, kMaxProcessorState, machine_.ReadPowerSource().onAc);
    if (percent && *percent <= 100) limit = static_cast<std::uint32_t>(std::uint64_t{maxMhz} * *percent / 100);
  }
  std::uint32_t current = machine_.ProcessorCurrentMhz();
  if (current == 0) current = limit;
  processors.clear();
  std::uint32_t count = machine_.ProcessorCount();
  for (std::uint32_t number = 0; number < count; ++number) {
    processors.push_back(ProcessorPowerInfo{number, maxMhz, current, limit, 1, 0});
  }
  return kSuccess;
}

Status EmulatedPowerManager::GetSystemPowerStatus(SystemPowerStatus& status) {
  EmulatedPowerSource source = machine_.ReadPowerSource();
  status = SystemPowerStatus{};
  status.acLineStatus = source.onAc ? 1 : 0;
  if (!source.batteryPresent) return kSuccess;
  std::uint8_t flag = 0;
  if (source.batteryPercent > 66) flag |= 1;                  // high
  if (source.batteryPercent < 33) flag |= 2;                  // low
  if (source.batteryPercent < 5) flag |= 4;                   // critical
  if (source.onAc && source.batteryPercent < 100) flag |= 8;  // charging
  status.batteryFlag = flag;
  status.batteryLifePercent = static_cast<std::uint8_t>(source.batteryPercent);
  return kSuccess;
}

Status EmulatedPowerManager::SetPowerSource(const EmulatedPowerSource& source) {
  EmulatedPowerSource previous = machine_.ReadPowerSource();
  if (Status status = machine_.WritePowerSource(source); status != kSuccess) return status;
  if (previous.onAc != source.onAc) PostToRegistered(kAcDcPowerSource, source.onAc ? 0 : 1);
  if (source.batteryPresent &&
      (previous.batteryPercent != source.batteryPercent || previous.batteryPresent != source.batteryPresent)) {
    PostToRegistered(kBatteryPercentageRemaining, source.batteryPercent);
  }
  ApplyActivePlanValues();
  return kSuccess;
}

Status EmulatedPowerManager::RegisterSettingNotification(WindowHandle window, const Guid& setting,
                                                         PowerNotifyHandle& handle) {
  if (window == 0) return kErrorInvalidParameter;
  if (Status status = PowerNotifyStore(registry_).Add(window, setting, handle); status != kSuccess) return status;

  // Windows answers a registration at once with the setting's current value.
  EmulatedPowerSource source = machine_.ReadPowerSource();
  std::optional<std::uint32_t> current;
  if (setting == kActivePowerScheme || setting == kPowerSchemePersonality) {
    current = 0;
  } else if (setting == kAcDcPowerSource) {
    current = source.onAc ? 0 : 1;
  } else if (setting == kBatteryPercentageRemaining) {
    if (source.batteryPresent) current = source.batteryPercent;
  } else if (setting == kMonitorPowerOn || setting == kLidSwitchStateChange) {
    current = 1;  // monitor on, lid open
  } else if (Guid active; ReadActive(registry_, active) == kSuccess) {
    current = EffectiveValue(registry_, active, setting, source.onAc);
    if (current) WriteApplied(registry_, setting, *current);
  }
  if (current) {
    messaging_.Post(window, messaging_.RegisterMessage(kEmulatedPowerSettingMessage), setting.data1,
                    static_cast<LParam>(*current));
  }
  return kSuccess;
}

Status EmulatedPowerManager::UnregisterSettingNotification(PowerNotifyHandle handle) {
  return PowerNotifyStore(registry_).Remove(handle);
}

}  // namespace kestrel
