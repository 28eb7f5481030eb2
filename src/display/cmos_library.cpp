#include "display/cmos_library.h"

#include <array>

namespace kestrel {
namespace {

constexpr std::uint32_t kLoadLibraryFailed = 216;  // "fail : Load Library"

}  // namespace

void CmosLibrary::Load(std::u16string_view path) {
  Unload();
  if (path.empty()) return;
  if (libraries_.Load(path, library_) != kSuccess) {
    library_ = 0;
    reporter_.ReportCode(kLoadLibraryFailed, 0);
    return;
  }
  present_ = Answers();
}

bool CmosLibrary::Answers() {
  for (std::string_view name : {kQuillWritePmcInfo, kQuillReadBrightMode, kQuillReadBrightValue, kQuillReadInfo}) {
    if (!libraries_.HasExport(library_, name)) return false;
  }
  std::optional<std::uint32_t> supported = libraries_.Call(library_, kQuillQuerySupported);
  return supported && *supported != 0;
}

void CmosLibrary::Unload() {
  present_ = false;
  if (library_ == 0) return;
  libraries_.Free(library_);
  library_ = 0;
}

bool CmosLibrary::WritePmcInfo(const Alsbc& record) {
  if (!present_) return false;
  std::array<std::uint8_t, kPmcRecordBytes> bytes{};
  std::copy(record.bytes.begin(), record.bytes.end(), bytes.begin());
  std::optional<std::uint32_t> result = libraries_.CallWithBuffer(library_, kQuillWritePmcInfo, bytes);
  return result && *result != 0;
}

bool CmosLibrary::ReadBrightMode(std::uint32_t& mode) {
  if (!present_) return false;
  std::array<std::uint8_t, 4> bytes{};
  std::optional<std::uint32_t> result = libraries_.CallWithBuffer(library_, kQuillReadBrightMode, bytes);
  if (!result || *result == 0) return false;
  mode = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (std::uint32_t{bytes[3]} << 24);
  return true;
}

}  // namespace kestrel
