#include "power/plan_reader.h"

#include <algorithm>
#include <vector>

#include "base/string_ids.h"
#include "platform/text.h"
#include "power/alsbc.h"
#include "power/extension_read.h"
#include "power/plan_ids.h"

namespace kestrel {
namespace {

constexpr std::uint32_t kNameBufferBytes = 516;
constexpr std::uint32_t kDescriptionBufferBytes = 2052;

using TextReader = Status (PowerManager::*)(const Guid&, const Guid*, const Guid*, std::uint8_t*, std::uint32_t&);

// Reads a plan's text into a buffer of `bufferBytes`. A longer text is read
// again into a buffer of twice the size the platform asked for and, like any
// text, cut at `maxUnits`.
Status ReadPlanText(PowerManager& power, TextReader reader, const Guid& plan, std::uint32_t bufferBytes,
                    std::size_t maxUnits, std::u16string& text) {
  std::vector<std::uint8_t> buffer(bufferBytes);
  std::uint32_t size = bufferBytes;
  Status status = (power.*reader)(plan, nullptr, nullptr, buffer.data(), size);
  if (status == kErrorMoreData && size != 0) {
    buffer.assign(std::size_t{size} * 2, 0);
    size = static_cast<std::uint32_t>(buffer.size());
    status = (power.*reader)(plan, nullptr, nullptr, buffer.data(), size);
  }
  if (status == kSuccess) text = Truncate(Utf16FromBytes(buffer.data(), std::min<std::size_t>(size, buffer.size())), maxUnits);
  return status;
}

}  // namespace

Status PlanReader::ReadName(const Guid& plan, std::u16string& name) {
  return ReadPlanText(power_, &PowerManager::ReadFriendlyName, plan, kNameBufferBytes, kPlanNameUnits, name);
}

// A description longer than the buffer is cut rather than taken for a read
// failure, which would drop a sound plan from every list.
Status PlanReader::ReadDescription(const Guid& plan, std::u16string& description) {
  return ReadPlanText(power_, &PowerManager::ReadDescription, plan, kDescriptionBufferBytes, kPlanDescriptionUnits,
                      description);
}

void PlanReader::ReadBrightnessLevels(PlanRecord& record) {
  // Without a level table the conversion answers kNoBrightnessValue, which is
  // also kKeepBrightnessLevel: a save then leaves the plan's percentage alone.
  std::uint32_t percent = 0;
  Status status = power_.ReadAcValueIndex(record.guid, kVideoSubgroup, kVideoBrightnessSetting, percent);
  record.brightnessLevelAc = status == kSuccess ? brightness_.PercentToIndex(percent) : kNoBrightnessLevel;
  status = power_.ReadDcValueIndex(record.guid, kVideoSubgroup, kVideoBrightnessSetting, percent);
  record.brightnessLevelDc = status == kSuccess ? brightness_.PercentToIndex(percent) : kNoBrightnessLevel;
}

void PlanReader::ReportReadFailure(Status status) {
  if (status != kErrorFileNotFound) reporter_.ReportCode(kStringPlanReadFailed, status);
}

void PlanReader::Read(PlanRecord& record) {
  if (record.guid.IsNull()) return;
  RegKey extension;
  OpenExtensionForRead(registry_, record.guid, extension);
  record.name.clear();
  record.description.clear();
  record.reserved = 0;
  ReadName(record.guid, record.name);
  Status description = ReadDescription(record.guid, record.description);
  ReadBrightnessLevels(record);
  if (description != kSuccess) {
    ReportReadFailure(description);
    record.guid = kNullGuid;
    return;
  }
  ReadExtensionValues(extension, HighestPanelLevel(brightness_), record);
}

void PlanReader::Load(PlanRecord& record) {
  if (record.guid.IsNull()) return;
  PlanRecord scratch;
  scratch.guid = record.guid;
  Read(scratch);
  if (!scratch.guid.IsNull()) {
    record = std::move(scratch);
    return;
  }
  LoadFallback(record);
}

void PlanReader::LoadFallback(PlanRecord& record) {
  record.name.clear();
  record.description.clear();
  record.reserved = 0;
  Status name = ReadName(record.guid, record.name);
  Status description = ReadDescription(record.guid, record.description);
  if (name != kSuccess || description != kSuccess) {
    ReportReadFailure(name != kSuccess ? name : description);
    record.guid = kNullGuid;
    return;
  }
  record.iconNo = kDefaultIconNo;
  record.flags = 0;
  record.alsbc = DefaultAlsbc(HighestPanelLevel(brightness_));
  record.npdCpu = 0;
  record.saveDisplay = 0;
  record.brightnessMonitor = 0;
  record.brightnessMonitorEnable = 0;
}

}  // namespace kestrel
