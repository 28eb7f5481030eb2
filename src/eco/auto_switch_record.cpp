#include "eco/auto_switch_record.h"

#include <string>
#include <vector>

#include "base/registry_paths.h"
#include "base/string_ids.h"

namespace kestrel {
namespace {

// The machine's target is read with a 512-byte buffer.
constexpr std::size_t kMachineTargetUnits = 255;

std::optional<AutoSwitchRecord> LoadUserRecord(Registry& registry, ErrorReporter& reporter) {
  RegKey key;
  Status status = RegKey::Open(registry, kHkeyCurrentUser, kKestrelKey, kKeyRead, key);
  if (status != kSuccess) {
    if (status != kErrorFileNotFound) reporter.ReportCode(kStringKestrelKeyOpenFailed, status);
    return std::nullopt;
  }
  std::vector<std::uint8_t> bytes(kAutoSwitchRecordBytes);
  std::uint32_t size = kAutoSwitchRecordBytes;
  RegType type = RegType::None;
  status = registry.QueryValue(key.get(), u"Auto", &type, bytes.data(), size);
  if (status == kSuccess) {
    if (std::optional<AutoSwitchRecord> record = DecodeAutoSwitchRecord(std::span(bytes).first(size))) return record;
    reporter.ReportCode(kStringBadValue, 0);
  } else if (status != kErrorFileNotFound) {
    reporter.ReportCode(kStringSettingsReadFailed, status);
  }
  return std::nullopt;
}

std::optional<AutoSwitchRecord> LoadMachineTarget(Registry& registry, ErrorReporter& reporter) {
  RegKey key;
  Status status = RegKey::Open(registry, kHkeyLocalMachine, kKestrelKey, kKeyRead, key);
  if (status != kSuccess) {
    if (status != kErrorFileNotFound) reporter.ReportCode(kStringKestrelKeyOpenFailed, status);
    return std::nullopt;
  }
  std::u16string text;
  status = key.ReadString(u"Auto", text, kMachineTargetUnits);
  if (status != kSuccess) {
    if (status != kErrorFileNotFound) reporter.ReportCode(kStringSettingsReadFailed, status);
    return std::nullopt;
  }
  // A text that names no plan leaves the defaults rather than a switch to
  // GUID_NULL.
  std::optional<Guid> target = ParseGuid(text);
  if (!target || target->IsNull()) {
    reporter.ReportCode(kStringBadValue, 0);
    return std::nullopt;
  }
  AutoSwitchRecord record;
  record.target = *target;
  return record;
}

}  // namespace

AutoSwitchRecord LoadAutoSwitchRecord(Registry& registry, ErrorReporter& reporter) {
  if (std::optional<AutoSwitchRecord> record = LoadUserRecord(registry, reporter)) return *record;
  if (std::optional<AutoSwitchRecord> record = LoadMachineTarget(registry, reporter)) return *record;
  return AutoSwitchRecord{};
}

bool SaveAutoSwitchRecord(Registry& registry, ErrorReporter& reporter, const AutoSwitchRecord& record) {
  RegKey key;
  if (Status status = RegKey::Create(registry, kHkeyCurrentUser, kKestrelKey, kKeyWrite, key); status != kSuccess) {
    reporter.ReportCode(kStringKestrelKeyCreateFailed, status);
    return false;
  }
  std::array<std::uint8_t, kAutoSwitchRecordBytes> bytes = EncodeAutoSwitchRecord(record);
  if (Status status = key.WriteBinary(u"Auto", bytes.data(), kAutoSwitchRecordBytes); status != kSuccess) {
    reporter.ReportCode(kStringAutoRecordWriteFailed, status);
    return false;
  }
  return true;
}

}  // namespace kestrel
