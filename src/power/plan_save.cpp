#include "power/plan_save.h"

#include "base/string_ids.h"
#include "power/extension_write.h"

namespace kestrel {
namespace {

constexpr std::uint32_t kWritePlanFailed = 53;             // "fail : WritePwrScheme"
constexpr std::uint32_t kReadProcessorStatesFailed = 54;   // "fail : ReadProcessorPwrScheme"
constexpr std::uint32_t kWriteProcessorStatesFailed = 55;  // "fail : WriteProcessorPwrScheme"
constexpr std::uint32_t kWriteFailedForGuid = 163;         // "指定されたGUIDへ書き込みに失敗しました"
constexpr std::uint32_t kShown = kReportLog | kReportBox;

}  // namespace

bool PlanSaver::SavePlan(const PlanRecord& record, PlanSettings& settings, const ProcessorStateRecord* processor) {
  PlanLock::Hold hold = lock_.Acquire(kPlanLockWaitMs);
  if (!hold) {
    reporter_.ReportCode(kStringPlanLockTimeout, kLockCodePlanSave);
    return false;
  }
  Status written = settings_.WritePlanSettings(record.guid, record.name, record.description, settings);
  bool ok = written == kSuccess;
  WriteDisplayBrightness(record);

  ExtensionSaveOptions options{flags_.deviceSaving, flags_.externalMonitors, std::nullopt};
  if (settings_.options().dimmingRows) options.dimTimeouts = std::pair{settings.dimTimeoutAc, settings.dimTimeoutDc};
  if (SaveExtensionValues(registry_, reporter_, record, options) == ExtensionSaveResult::KeyNotCreated) return false;

  if (ok) ok = WriteProcessorStates(record, settings, processor);
  if (written != kSuccess) reporter_.ReportCode(kWritePlanFailed, written, kShown);
  return ok;
}

void PlanSaver::WriteDisplayBrightness(const PlanRecord& record) {
  std::uint32_t ac = settings_.PercentForLevel(record.guid, PowerSetting::DisplayBrightness, PowerSource::Ac,
                                               record.brightnessLevelAc, 0);
  if (WriteSettingValue(settings_.power(), record.guid, PowerSetting::DisplayBrightness, PowerSource::Ac, ac) !=
      kSuccess) {
    reporter_.ReportPlan(kWriteFailedForGuid, kVideoBrightnessSetting);
  }
  std::uint32_t dc = settings_.PercentForLevel(record.guid, PowerSetting::DisplayBrightness, PowerSource::Dc,
                                               record.brightnessLevelDc, ac);
  if (WriteSettingValue(settings_.power(), record.guid, PowerSetting::DisplayBrightness, PowerSource::Dc, dc) !=
      kSuccess) {
    reporter_.ReportPlan(kWriteFailedForGuid, kVideoBrightnessSetting);
  }
}

bool PlanSaver::WriteProcessorStates(const PlanRecord& record, const PlanSettings& settings,
                                     const ProcessorStateRecord* processor) {
  ProcessorStateRecord states;
  if (processor != nullptr) {
    states = *processor;
  } else {
    if (Status status = settings_.ReadProcessorStates(record.guid, states); status != kSuccess) {
      reporter_.ReportCode(kReadProcessorStatesFailed, status, kShown);
      return false;
    }
    states.processorModeAc = settings.processorModeAc;
    states.processorModeDc = settings.processorModeDc;
  }
  if (Status status = settings_.WriteProcessorStates(record.guid, states); status != kSuccess) {
    reporter_.ReportCode(kWriteProcessorStatesFailed, status, kShown);
    return false;
  }
  return true;
}

}  // namespace kestrel
