// File port over CreateFileW and friends.
#pragma once
#include "platform/file_system.h"

namespace kestrel {

class Win32FileSystem : public FileSystem {
 public:
  Status OpenExclusive(std::u16string_view path, bool hiddenWhenCreated, FileHandle& handle) override;
  Status AppendToEnd(FileHandle handle, const std::vector<std::uint8_t>& bytes) override;
  Status Close(FileHandle handle) override;
  Status ReadAll(std::u16string_view path, std::vector<std::uint8_t>& bytes) override;
  Status SizeOfReadable(std::u16string_view path, std::uint64_t& size) override;
  Status Exists(std::u16string_view path) override;
  Status Delete(std::u16string_view path) override;
};

}  // namespace kestrel
