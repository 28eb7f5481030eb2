#include "platform/emulated/emulated_quill.h"

#include <algorithm>
#include <array>
#include <string>

#include "platform/emulated/devices.h"
#include "platform/emulated/panel.h"
#include "platform/text.h"

namespace kestrel {
namespace {

std::u16string Ascii(const std::string& text) { return std::u16string(text.begin(), text.end()); }
std::u16string Decimal(std::uint32_t value) { return Ascii(std::to_string(value)); }

std::u16string_view FileName(std::u16string_view path) {
  std::size_t slash = path.find_last_of(u"\\/");
  return slash == std::u16string_view::npos ? path : path.substr(slash + 1);
}

void StoreWord(std::span<std::uint8_t> buffer, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) buffer[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

constexpr std::array<std::string_view, 5> kExports = {kQuillQuerySupported, kQuillWritePmcInfo, kQuillReadBrightMode,
                                                      kQuillReadBrightValue, kQuillReadInfo};

}  // namespace

std::uint32_t EmulatedQuill::Flag(std::u16string_view name, std::uint32_t fallback) {
  RegKey key;
  std::uint32_t value = fallback;
  if (OpenDeviceState(registry_, kEmulatedQuillName, key) != kSuccess || key.ReadDword(name, value) != kSuccess) {
    return fallback;
  }
  return value;
}

std::vector<std::uint8_t> EmulatedQuill::StoredRecord() {
  std::vector<std::uint8_t> record(kPmcRecordBytes, 0);
  RegKey key;
  if (OpenDeviceState(registry_, kEmulatedQuillName, key) == kSuccess) {
    key.ReadExactBinary(u"PmcInfo", record.data(), static_cast<std::uint32_t>(record.size()));
  }
  return record;
}

void EmulatedQuill::Log(std::u16string_view line) {
  RegKey key;
  if (OpenDeviceState(registry_, kEmulatedQuillName, key) == kSuccess) AppendDeviceLog(key, line);
}

std::uint32_t EmulatedQuill::QuerySupported() {
  std::uint32_t supported = Flag(u"Supported", 1) != 0 ? 1 : 0;
  Log(u"QUILLIF_QuerySupported -> " + Decimal(supported));
  return supported;
}

std::uint32_t EmulatedQuill::WritePmcInfo(std::span<const std::uint8_t> record) {
  std::vector<std::uint8_t> bytes(record.begin(), record.end());
  std::uint32_t result = 0;
  RegKey key;
  if (record.size() == kPmcRecordBytes && Flag(u"Failing", 0) == 0 &&
      OpenDeviceState(registry_, kEmulatedQuillName, key) == kSuccess &&
      key.WriteBinary(u"PmcInfo", bytes.data(), static_cast<std::uint32_t>(bytes.size())) == kSuccess) {
    result = 1;
  }
  Log(u"QUILL_WRITE_PMCINFO " + Ascii(HexBytes(bytes)) + u" -> " + Decimal(result));
  return result;
}

std::uint32_t EmulatedQuill::ReadBrightMode(std::uint32_t& mode) {
  std::uint32_t result = Flag(u"Failing", 0) == 0 ? 1 : 0;
  mode = result != 0 && StoredRecord()[0] == 1 ? 1 : 0;
  Log(u"QUILL_READ_BrightMode -> " + Decimal(result) + u" mode=" + Decimal(mode));
  return result;
}

std::uint32_t EmulatedQuill::ReadBrightValue(std::uint32_t& value) {
  std::uint32_t result = Flag(u"Failing", 0) == 0 ? 1 : 0;
  value = result != 0 ? EmulatedPanel(registry_).CurrentBrightness() : 0;
  Log(u"QUILL_READ_BrightValue -> " + Decimal(result) + u" value=" + Decimal(value));
  return result;
}

std::uint32_t EmulatedQuill::ReadInfo(std::span<std::uint8_t> record) {
  std::uint32_t result = Flag(u"Failing", 0) == 0 && record.size() >= kPmcRecordBytes ? 1 : 0;
  std::vector<std::uint8_t> stored = StoredRecord();
  if (result != 0) std::copy(stored.begin(), stored.end(), record.begin());
  std::u16string line = u"QUILL_READ_INFO -> " + Decimal(result);
  if (result != 0) {
    line += u' ';
    line += Ascii(HexBytes(stored));
  }
  Log(line);
  return result;
}

Status EmulatedQuill::SetSupported(bool supported) {
  RegKey key;
  if (Status status = OpenDeviceState(registry_, kEmulatedQuillName, key); status != kSuccess) return status;
  return key.WriteDword(u"Supported", supported ? 1 : 0);
}

Status EmulatedQuill::SetFailing(bool failing) {
  RegKey key;
  if (Status status = OpenDeviceState(registry_, kEmulatedQuillName, key); status != kSuccess) return status;
  return key.WriteDword(u"Failing", failing ? 1 : 0);
}

Status EmulatedLibraries::Load(std::u16string_view path, LibraryHandle& library) {
  library = 0;
  if (!EqualsFolded(FileName(path), kQuillDefaultPath)) return kErrorModNotFound;
  std::lock_guard lock(mutex_);
  library = next_;
  next_ += 0x1000;
  loaded_.insert(library);
  return kSuccess;
}

Status EmulatedLibraries::Free(LibraryHandle library) {
  std::lock_guard lock(mutex_);
  return loaded_.erase(library) == 1 ? kSuccess : kErrorInvalidHandle;
}

std::size_t EmulatedLibraries::LoadedCount() const {
  std::lock_guard lock(mutex_);
  return loaded_.size();
}

bool EmulatedLibraries::Loaded(LibraryHandle library) const {
  std::lock_guard lock(mutex_);
  return loaded_.contains(library);
}

bool EmulatedLibraries::HasExport(LibraryHandle library, std::string_view name) {
  return Loaded(library) && std::find(kExports.begin(), kExports.end(), name) != kExports.end();
}

std::optional<std::uint32_t> EmulatedLibraries::Call(LibraryHandle library, std::string_view name) {
  if (!HasExport(library, name)) return std::nullopt;
  if (name == kQuillQuerySupported) return quill_.QuerySupported();
  // The export expects a pointer the caller did not pass.
  return std::uint32_t{0};
}

std::optional<std::uint32_t> EmulatedLibraries::CallWithBuffer(LibraryHandle library, std::string_view name,
                                                               std::span<std::uint8_t> buffer) {
  if (!HasExport(library, name)) return std::nullopt;
  if (name == kQuillWritePmcInfo) {
    if (buffer.size() < kPmcRecordBytes) return std::uint32_t{0};
    return quill_.WritePmcInfo(buffer.first(kPmcRecordBytes));
  }
  if (name == kQuillReadInfo) return quill_.ReadInfo(buffer);
  if (buffer.size() < 4 || name == kQuillQuerySupported) return std::uint32_t{0};
  std::uint32_t value = 0;
  std::uint32_t result = name == kQuillReadBrightMode ? quill_.ReadBrightMode(value) : quill_.ReadBrightValue(value);
  if (result != 0) StoreWord(buffer, value);
  return result;
}

}  // namespace kestrel
