#include "power/extension_write.h"

#include "base/string_ids.h"
#include "power/extension_read.h"

namespace kestrel {
namespace {

void WriteReported(ErrorReporter& reporter, std::uint32_t messageId, Status status) {
  if (status != kSuccess) reporter.ReportCode(messageId, status);
}

Status WriteAlsbc(const RegKey& key, const PlanRecord& record) {
  return key.WriteBinary(u"ALSBC", record.alsbc.bytes.data(), static_cast<std::uint32_t>(record.alsbc.bytes.size()));
}

// Open for writing, creating the key first when it does not exist.
ExtensionSaveResult OpenForSave(Registry& registry, ErrorReporter& reporter, const Guid& plan, RegKey& key) {
  std::u16string path = ExtensionKeyPath(plan);
  Status status = RegKey::Open(registry, kHkeyLocalMachine, path, kKeyWrite, key);
  if (status == kSuccess) return ExtensionSaveResult::Written;
  if (status != kErrorFileNotFound) {
    reporter.ReportCode(kStringPlanReadFailed, status);
    return ExtensionSaveResult::Skipped;
  }
  RegKey created;
  status = RegKey::Create(registry, kHkeyLocalMachine, path, kKeyCreateSubKey, created);
  if (status != kSuccess) {
    reporter.ReportCode(kStringExtensionWriteFailed, status);
    return ExtensionSaveResult::KeyNotCreated;
  }
  created.Reset();
  status = RegKey::Open(registry, kHkeyLocalMachine, path, kKeyWrite, key);
  if (status != kSuccess) {
    reporter.ReportCode(kStringExtensionWriteFailed, status);
    return ExtensionSaveResult::Skipped;
  }
  return ExtensionSaveResult::Written;
}

}  // namespace

ExtensionSaveResult SaveExtensionValues(Registry& registry, ErrorReporter& reporter, const PlanRecord& record,
                                        const ExtensionSaveOptions& options) {
  RegKey key;
  ExtensionSaveResult result = OpenForSave(registry, reporter, record.guid, key);
  if (result != ExtensionSaveResult::Written) return result;

  constexpr std::uint32_t kFailed = kStringExtensionWriteFailed;
  WriteReported(reporter, kFailed, key.WriteDword(u"IconNo", record.iconNo));
  // A negative indicator means "none" and leaves a stored one alone.
  if (record.indicator >= 0) {
    WriteReported(reporter, kFailed, key.WriteDword(u"Indicator", static_cast<std::uint32_t>(record.indicator)));
  }
  WriteReported(reporter, kFailed, WriteAlsbc(key, record));
  if (options.deviceSaving) WriteReported(reporter, kFailed, key.WriteDword(u"NpdCPU", record.npdCpu));
  if (options.dimTimeouts) {
    WriteReported(reporter, kStringDimTimeoutAcWriteFailed,
                  key.WriteDword(u"DIMTimeoutAC", options.dimTimeouts->first));
    WriteReported(reporter, kStringDimTimeoutDcWriteFailed,
                  key.WriteDword(u"DIMTimeoutDC", options.dimTimeouts->second));
  }
  if (options.externalMonitors) {
    WriteReported(reporter, kFailed, key.WriteDword(u"BrightnessMonitor", record.brightnessMonitor));
    WriteReported(reporter, kFailed, key.WriteDword(u"BrightnessMonitorEnable", record.brightnessMonitorEnable));
  }
  key.Flush();
  return ExtensionSaveResult::Written;
}

void WriteLedNo(Registry& registry, ErrorReporter& reporter, const Guid& plan, std::uint32_t ledNo) {
  RegKey key;
  if (RegKey::Create(registry, kHkeyLocalMachine, ExtensionKeyPath(plan), kKeyWrite, key) != kSuccess) return;
  WriteReported(reporter, kStringExtensionWriteFailed, key.WriteDword(u"LedNo", ledNo));
}

void CopyExtensionValues(const RegKey& target, ErrorReporter& reporter, const PlanRecord& record,
                         bool deviceSaving, bool externalMonitors) {
  WriteReported(reporter, kStringCopyAlsbcFailed, WriteAlsbc(target, record));
  WriteReported(reporter, kStringCopyFlagsFailed, target.WriteDword(u"Flags", record.flags));
  WriteReported(reporter, kStringCopyIconNoFailed, target.WriteDword(u"IconNo", record.iconNo));
  WriteReported(reporter, kStringCopyIndicatorFailed,
                target.WriteDword(u"Indicator", static_cast<std::uint32_t>(record.indicator)));
  WriteReported(reporter, kStringCopyLedNoFailed, target.WriteDword(u"LedNo", record.ledNo));
  if (deviceSaving) WriteReported(reporter, kStringCopyNpdCpuFailed, target.WriteDword(u"NpdCPU", record.npdCpu));
  if (externalMonitors) {
    WriteReported(reporter, kStringCopyBrightnessMonitorFailed,
                  target.WriteDword(u"BrightnessMonitor", record.brightnessMonitor));
    WriteReported(reporter, kStringCopyBrightnessMonitorEnableFailed,
                  target.WriteDword(u"BrightnessMonitorEnable", record.brightnessMonitorEnable));
  }
}

}  // namespace kestrel
