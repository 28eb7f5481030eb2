// The files beside Kestrel's program that the installer imports (the plan
// definitions and the registry file): each is tested by opening it, never by
// reading it, and one beyond a sane size is left alone and logged, since the
// profile functions and the registry editor read it whole.
#pragma once
#include <cstdint>
#include <string_view>

#include "base/error_reporter.h"
#include "platform/file_system.h"

namespace kestrel {

inline constexpr std::uint64_t kMaxImportFileBytes = 8u * 1024u * 1024u;

// True when the file opens for reading and holds at most kMaxImportFileBytes;
// a larger one is reported (`tooLargeId`, with its size) and not imported.
bool ImportableFile(FileSystem& files, ErrorReporter& reporter, std::u16string_view path, std::uint32_t tooLargeId);

}  // namespace kestrel
