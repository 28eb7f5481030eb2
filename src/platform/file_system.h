// File port: what the program does with files (the error log's exclusive
// append, existence checks, deleting installer files).
#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace kestrel {

using FileHandle = std::uintptr_t;

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // CreateFileW(GENERIC_READ|GENERIC_WRITE, no sharing, OPEN_ALWAYS), hidden
  // when the file is created. A file held open elsewhere gives kErrorSharingViolation.
  virtual Status OpenExclusive(std::u16string_view path, bool hiddenWhenCreated, FileHandle& handle) = 0;
  virtual Status AppendToEnd(FileHandle handle, const std::vector<std::uint8_t>& bytes) = 0;
  virtual Status Close(FileHandle handle) = 0;

  virtual Status ReadAll(std::u16string_view path, std::vector<std::uint8_t>& bytes) = 0;
  // CreateFileW(GENERIC_READ, shared read, OPEN_EXISTING), GetFileSizeEx and
  // CloseHandle: whether the file opens for reading, and how large it is.
  virtual Status SizeOfReadable(std::u16string_view path, std::uint64_t& size) = 0;
  // GetFileAttributesW: kSuccess when the path exists (file or folder).
  virtual Status Exists(std::u16string_view path) = 0;
  virtual Status Delete(std::u16string_view path) = 0;
};

}  // namespace kestrel
