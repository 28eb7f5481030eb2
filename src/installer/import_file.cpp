#include "installer/import_file.h"

namespace kestrel {

bool ImportableFile(FileSystem& files, ErrorReporter& reporter, std::u16string_view path, std::uint32_t tooLargeId) {
  std::uint64_t size = 0;
  if (files.SizeOfReadable(path, size) != kSuccess) return false;
  if (size <= kMaxImportFileBytes) return true;
  reporter.ReportCode(tooLargeId, static_cast<std::int64_t>(size));
  return false;
}

}  // namespace kestrel
