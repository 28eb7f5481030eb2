#include "app/settings_store.h"

#include "app/processor_name.h"
#include "base/registry_paths.h"
#include "base/string_ids.h"
#include "platform/text.h"

namespace kestrel {
namespace {

constexpr std::uint32_t kSchemeListMaxBytes = 384;
constexpr std::size_t kClockTextMaxUnits = 259;
constexpr std::size_t kGuidTextMaxUnits = 36;

}  // namespace

std::uint32_t SettingsStore::ReadDebugLogFlag(Registry& registry) {
  RegKey key;
  std::uint32_t value = 0;
  if (RegKey::Open(registry, kHkeyLocalMachine, kKestrelKey, kKeyRead, key) != kSuccess) return 0;
  if (key.ReadDword(u"DebugLogFlag", value) != kSuccess) return 0;
  return value;
}

void SettingsStore::ReadDword(const RegKey& key, std::u16string_view name, std::uint32_t& value,
                              std::uint32_t failureId) {
  std::uint32_t read = 0;
  Status status = key.ReadDword(name, read);
  if (status == kSuccess) {
    value = read;
  } else if (status != kErrorFileNotFound && failureId != 0) {
    reporter_.ReportCode(failureId, status);
  }
}

void SettingsStore::Load(const Rect& workArea, std::uint32_t osModelOfWindows) {
  config_.osModel = osModelOfWindows;
  subsystems_.LoadAutoSwitchRecord();
  bool loaded = LoadUserRecord();
  record_.flags &= ~SettingsFlag::Computed;
  LoadLowerLimit();
  if (!loaded) {
    record_ = DefaultSettingsRecord(workArea);
    Save();
  }
  LoadProcessorClock();
  LoadMachineValues();
  ProbeHardware();
  LoadTwoModePair();
  subsystems_.LoadEcoLevelLibrary();
  ProbeExternalMonitors();
  subsystems_.LoadPanelColors();
  subsystems_.InitializePanelBrightness();
  subsystems_.EnsureFactoryBackups();
  subsystems_.BuildPlanList();
}

bool SettingsStore::LoadUserRecord() {
  RegKey key;
  Status status = RegKey::Open(machine_.registry, kHkeyCurrentUser, kKestrelKey, kKeyRead, key);
  if (status != kSuccess) {
    if (status != kErrorFileNotFound) reporter_.ReportCode(kStringKestrelKeyOpenFailed, status);
    return false;
  }
  bool loaded = false;
  std::vector<std::uint8_t> bytes(kSettingsRecordSize);
  std::uint32_t size = kSettingsRecordSize;
  RegType type = RegType::None;
  status = machine_.registry.QueryValue(key.get(), u"Settings", &type, bytes.data(), size);
  if (status == kSuccess) {
    bytes.resize(size);
    std::optional<SettingsRecord> record = DecodeSettingsRecord(bytes);
    if (record) {
      record_ = *record;
      loaded = true;
    } else {
      reporter_.ReportCode(kStringBadValue, size);
    }
  } else if (status != kErrorFileNotFound) {
    reporter_.ReportCode(kStringSettingsReadFailed, status);
  }
  std::uint32_t saveColor = saveColor_;
  status = key.ReadDword(u"SaveColor", saveColor);
  if (status == kSuccess) {
    saveColor_ = saveColor;
  } else if (status != kErrorFileNotFound) {
    reporter_.ReportCode(kStringSaveColorReadFailed, status);
  }
  return loaded;
}

void SettingsStore::LoadLowerLimit() {
  RegKey key;
  Status status = RegKey::Open(machine_.registry, kHkeyLocalMachine, kKestrelKey, kKeyRead, key);
  if (status != kSuccess) {
    if (status != kErrorFileNotFound) reporter_.ReportCode(kStringKestrelKeyOpenFailed, status);
    return;
  }
  // A LowerLimit that cannot be read is logged as an invalid setting value.
  ReadDword(key, u"LowerLimit", config_.lowerLimit, 16);
}

void SettingsStore::LoadProcessorClock() {
  RegKey key;
  Status status = RegKey::Open(machine_.registry, kHkeyLocalMachine, kProcessorKey, kKeyRead, key);
  if (status != kSuccess) {
    reporter_.ReportCode(kStringProcessorKeyOpenFailed, status);
    return;
  }
  std::u16string name;
  status = key.ReadString(u"ProcessorNameString", name, kClockTextMaxUnits);
  if (status != kSuccess || name.empty()) {
    reporter_.ReportCode(kStringProcessorNameReadFailed, status);
    return;
  }
  config_.athlon = name.find(u"Athlon") != std::u16string::npos;
  ProcessorClock clock = ParseProcessorClock(name);
  config_.processorMhz = clock.mhz;
  config_.processorClockText = clock.text;
}

void SettingsStore::LoadMachineValues() {
  RegKey key;
  if (RegKey::Open(machine_.registry, kHkeyLocalMachine, kKestrelKey, kKeyRead | kKeySetValue, key) != kSuccess &&
      RegKey::Open(machine_.registry, kHkeyLocalMachine, kKestrelKey, kKeyRead, key) != kSuccess) {
    config_.pinnedPlans = DefaultPinnedPlans(2);
    return;
  }
  std::uint32_t osModel = 0;
  if (key.ReadDword(u"OSModel", osModel) == kSuccess && (osModel == 1 || osModel == 2)) config_.osModel = osModel;
  ReadDword(key, u"EcoMode", config_.ecoModeValue);
  record_.Set(SettingsFlag::EcoMode, config_.ecoModeValue != 0);
  record_.Set(SettingsFlag::ThreeModes, config_.ecoModeValue == 2);
  ReadDword(key, u"TimerLED", config_.ledCheckPeriodMs);
  config_.pinnedPlans = DefaultPinnedPlans(record_.Has(SettingsFlag::ThreeModes) ? 3 : 2);
  ReadDword(key, u"ModelNumber", config_.modelNumber);
  LoadCachedClock(key);
  LoadSchemeList(key);
  ReadDword(key, u"NumDefScheme", config_.numDefaultPlans);
  std::uint32_t flag = 0;
  ReadDword(key, u"AllowConstant", flag);
  config_.allowConstant = flag != 0;
  ReadDword(key, u"Roamer", config_.roamer);
  flag = 0;
  ReadDword(key, u"Meter", flag);
  config_.meter = flag != 0;
  record_.Set(SettingsFlag::MeterPanel, config_.meter);
  ReadDword(key, u"PwrDlgActivate", config_.playbackWarning);
  subsystems_.LoadBatteryEstimationParameters();
  subsystems_.LoadPlanSheetItems();
  subsystems_.LoadAmbientLightSupport();
}

void SettingsStore::LoadCachedClock(const RegKey& key) {
  std::u16string text;
  if (key.ReadString(u"~MHz", text, kClockTextMaxUnits) == kSuccess) {
    config_.processorClockText = text;
    if (std::uint32_t mhz = LeadingInteger(text); mhz != 0) config_.processorMhz = mhz;
    return;
  }
  if (!config_.athlon && config_.modelNumber == 0) return;
  std::uint32_t measured = subsystems_.MeasureProcessorMhz();
  if (measured == 0) return;
  config_.processorMhz = measured;
  config_.processorClockText = Utf8ToUtf16(std::to_string(measured) + "MHz");
  key.WriteString(u"~MHz", config_.processorClockText);  // a failing write is silent
}

void SettingsStore::LoadSchemeList(const RegKey& key) {
  std::vector<std::uint8_t> bytes(kSchemeListMaxBytes);
  std::uint32_t size = kSchemeListMaxBytes;
  RegType type = RegType::None;
  Status status = machine_.registry.QueryValue(key.get(), u"SchemeList", &type, bytes.data(), size);
  if (status == kErrorFileNotFound) return;
  if (status == kSuccess) {
    bytes.resize(size);
    auto count = static_cast<std::uint32_t>(config_.pinnedPlans.size());
    if (std::optional<std::vector<Guid>> plans = ParseSchemeList(bytes, count); plans && type == RegType::MultiSz) {
      config_.pinnedPlans = *plans;
      return;
    }
  }
  // A SchemeList that cannot be used leaves the default pinned plans.
  reporter_.ReportCode(kStringBadValue, status == kSuccess ? size : status);
}

void SettingsStore::ProbeHardware() {
  std::uint32_t capabilities = 0;
  if (subsystems_.ProbeBatteryDevice()) capabilities |= SettingsFlag::BatteryPresent;
  if (subsystems_.ProbeWirelessAdapter()) capabilities |= SettingsFlag::WirelessLan;
  if (subsystems_.ProbePowerSavingDevice()) capabilities |= SettingsFlag::DeviceSaving;
  record_.flags = (record_.flags & ~(SettingsFlag::BatteryPresent | SettingsFlag::WirelessLan |
                                     SettingsFlag::DeviceSaving)) |
                  capabilities;
}

void SettingsStore::LoadTwoModePair() {
  if (!record_.Has(SettingsFlag::EcoMode) || record_.Has(SettingsFlag::ThreeModes)) return;
  RegKey key;
  if (RegKey::Open(machine_.registry, kHkeyLocalMachine, kKestrelKey, kKeyRead, key) != kSuccess) return;
  auto readGuid = [&key](std::u16string_view name, Guid& out) {
    std::u16string text;
    if (key.ReadString(name, text, kGuidTextMaxUnits) != kSuccess) return;
    if (std::optional<Guid> guid = ParseGuid(text)) out = *guid;
  };
  readGuid(u"GUID_L", config_.twoModeLow);
  readGuid(u"GUID_H", config_.twoModeHigh);
}

void SettingsStore::ProbeExternalMonitors() {
  bool supported = subsystems_.ProbeExternalMonitors();
  record_.Set(SettingsFlag::ExternalMonitors, supported);
  if (!supported) return;
  RegKey key;
  if (RegKey::Open(machine_.registry, kHkeyLocalMachine, kKestrelKey, kKeyRead, key) != kSuccess) return;
  static constexpr std::u16string_view kNames[] = {u"ExternalMonitorRetryCount", u"ExternalMonitorRetryTime",
                                                   u"ExternalMonitorCheckCount", u"ExternalMonitorSleepTime",
                                                   u"ExternalMonitorDevChgTime", u"ExternalMonitorLuiChkTime"};
  for (std::size_t i = 0; i < config_.externalMonitorTiming.size(); ++i) {
    ReadDword(key, kNames[i], config_.externalMonitorTiming[i]);
  }
}

void SettingsStore::Save() {
  RegKey key;
  Status status = RegKey::Create(machine_.registry, kHkeyCurrentUser, kKestrelKey, kKeyWrite, key);
  if (status != kSuccess) {
    reporter_.ReportCode(kStringKestrelKeyCreateFailed, status);
    return;
  }
  if (record_.version > 0) {
    auto bytes = EncodeSettingsRecord(record_);
    status = key.WriteBinary(u"Settings", bytes.data(), kSettingsRecordSize);
    if (status != kSuccess) reporter_.ReportCode(kStringSettingsWriteFailed, status);
  }
  saveColor_ = FoldColorIndex(saveColor_, record_);
  status = key.WriteDword(u"SaveColor", saveColor_);
  if (status != kSuccess) reporter_.ReportCode(kStringSaveColorWriteFailed, status);
}

}  // namespace kestrel
