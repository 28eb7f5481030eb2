// Writing a factory backup: the plan's values in the backup's fixed order,
// each failed write reported with its own message, and BackupComplete last.
#include <vector>

#include "base/string_ids.h"
#include "platform/text.h"
#include "power/factory_backup.h"

namespace kestrel {
namespace {

constexpr std::uint32_t kShown = kReportLog | kReportBox;

// One value of the backup with the message its failed write reports.
struct BackupValue {
  std::u16string_view name;
  std::uint32_t messageId;
  std::uint32_t value;
};

class BackupWriter {
 public:
  BackupWriter(const RegKey& key, ErrorReporter& reporter) : key_(key), reporter_(reporter) {}

  void Text(std::u16string_view name, std::uint32_t messageId, std::u16string_view text) {
    // Stored without a terminator: the byte count is twice the characters.
    std::vector<std::uint8_t> bytes = Utf16ToBytes(text, false);
    Check(messageId, key_.registry().SetValue(key_.get(), name, RegType::Sz, bytes.data(),
                                              static_cast<std::uint32_t>(bytes.size())));
  }
  void Dwords(std::initializer_list<BackupValue> values) {
    for (const BackupValue& v : values) Check(v.messageId, key_.WriteDword(v.name, v.value));
  }
  void Binary(std::u16string_view name, std::uint32_t messageId, const Alsbc& alsbc) {
    Check(messageId, key_.WriteBinary(name, alsbc.bytes.data(), static_cast<std::uint32_t>(alsbc.bytes.size())));
  }
  bool allWritten() const { return allWritten_; }

 private:
  void Check(std::uint32_t messageId, Status status) {
    if (status == kSuccess) return;
    allWritten_ = false;
    reporter_.ReportCode(messageId, status, kShown);
  }

  const RegKey& key_;
  ErrorReporter& reporter_;
  bool allWritten_ = true;
};

// Level 256 stands for "the brightness could not be read"; the backup keeps 0.
std::uint32_t StoredLevel(std::uint32_t level) { return level == kNoBrightnessLevel ? 0 : level; }

// Removes BackupComplete first, then every other value, so that a rewrite
// leaves nothing of an earlier backup behind.
void ClearBackupKey(const RegKey& key) {
  Registry& registry = key.registry();
  registry.DeleteValue(key.get(), kBackupCompleteValue);
  std::vector<std::u16string> names;
  std::u16string name;
  for (std::uint32_t index = 0; registry.EnumValue(key.get(), index, name) == kSuccess; ++index) names.push_back(name);
  for (const std::u16string& stale : names) registry.DeleteValue(key.get(), stale);
}

}  // namespace

void FactoryBackups::WriteFactoryBackup(const PlanRecord& r, const RegKey& key) {
  ClearBackupKey(key);
  PlanSettings s;
  settings_.ReadPlanSettings(r.guid, s);  // a failed read leaves the rest 0, which is kept

  BackupWriter w(key, parts_.reporter);
  w.Text(u"FriendlyName", 507, r.name);
  w.Text(u"Description", 508, r.description);
  w.Dwords({{u"IconNo", 509, r.iconNo}, {u"Flags", 511, r.flags},
            {u"MonitorTimeoutAC", 512, s.monitorAc}, {u"MonitorTimeoutDC", 513, s.monitorDc},
            {u"HDDTimeoutAC", 525, s.diskAc}, {u"HDDTimeoutDC", 526, s.diskDc},
            {u"SystemStandbyAC", 516, s.standbyAc}, {u"SystemStandbyDC", 517, s.standbyDc},
            {u"HibernateAC", 518, s.hibernateAc}, {u"HibernateDC", 519, s.hibernateDc},
            {u"BrightnessAC", 520, StoredLevel(r.brightnessLevelAc)},
            {u"BrightnessDC", 521, StoredLevel(r.brightnessLevelDc)},
            {u"MaxThrottleAC", 527, s.maxProcessorAc}, {u"MinThrottleAC", 528, s.minProcessorAc},
            {u"MaxThrottleDC", 529, s.maxProcessorDc}, {u"MinThrottleDC", 530, s.minProcessorDc}});
  w.Binary(u"ALSBC", 524, r.alsbc);
  if (s.videoSettingPresent != 0) {
    w.Dwords({{u"VideoSettingAC", 184, s.videoSettingAc}, {u"VideoSettingDC", 185, s.videoSettingDc}});
  }
  w.Dwords({{u"WLANSettingAC", 186, s.wlanAc}, {u"WLANSettingDC", 187, s.wlanDc}});
  if (options_.deviceSaving) w.Dwords({{u"NpdCPU", 544, r.npdCpu}});
  if (options_.externalMonitors) {
    w.Dwords({{u"BrightnessMonitor", 272, r.brightnessMonitor},
              {u"BrightnessMonitorEnable", 273, r.brightnessMonitorEnable}});
  }
  if (options_.catalogue.dimmingRows) {
    w.Dwords({{u"DIMTimeoutAC", 299, s.dimTimeoutAc}, {u"DIMTimeoutDC", 300, s.dimTimeoutDc},
              {u"DIMBrightnessAC", 301, StoredLevel(s.dimBrightnessLevelAc)},
              {u"DIMBrightnessDC", 302, StoredLevel(s.dimBrightnessLevelDc)}});
  }
  // The values reach the store before the mark that vouches for them.
  key.Flush();
  if (!w.allWritten()) return;
  if (Status status = key.WriteDword(kBackupCompleteValue, 1); status != kSuccess) {
    parts_.reporter.ReportCode(kStringExtensionWriteFailed, status);
    return;
  }
  key.Flush();
}

}  // namespace kestrel
