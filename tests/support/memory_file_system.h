// Files in memory with the behaviour the program depends on: the exclusive
// open (a second open, a read or a delete while a handle is open gives
// kErrorSharingViolation), the hidden attribute given at creation, and
// case-insensitive paths ('/' and '\' alike). Folders are implied by the files
// below them, or added explicitly.
#pragma once
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace kestrel {

class InMemoryFileSystem : public FileSystem {
 public:
  Status OpenExclusive(std::u16string_view path, bool hiddenWhenCreated, FileHandle& handle) override;
  Status AppendToEnd(FileHandle handle, const std::vector<std::uint8_t>& bytes) override;
  Status Close(FileHandle handle) override;
  Status ReadAll(std::u16string_view path, std::vector<std::uint8_t>& bytes) override;
  Status SizeOfReadable(std::u16string_view path, std::uint64_t& size) override;
  Status Exists(std::u16string_view path) override;
  Status Delete(std::u16string_view path) override;

  void PutFile(std::u16string_view path, std::vector<std::uint8_t> bytes, bool hidden = false);
  void PutFile(std::u16string_view path, std::string_view utf8Text, bool hidden = false);
  void AddFolder(std::u16string_view path);
  // A file that claims `size` bytes without holding them: reading it whole
  // fails as the allocation would (kErrorNotEnoughMemory).
  void PutHugeFile(std::u16string_view path, std::uint64_t size);
  // How many times files were read whole.
  std::size_t wholeReads() const { return wholeReads_; }
  bool IsHidden(std::u16string_view path) const;
  // The file's bytes, or nullopt when there is no such file.
  std::optional<std::vector<std::uint8_t>> Contents(std::u16string_view path) const;
  // The next OpenExclusive fails with `status`.
  void FailNextOpen(Status status) { openFailure_ = status; }
  std::size_t OpenHandleCount() const { return handles_.size(); }

 private:
  struct File {
    std::u16string path;
    std::vector<std::uint8_t> bytes;
    bool hidden = false;
    bool open = false;
    std::optional<std::uint64_t> claimedSize;
  };

  File* Find(std::u16string_view path);
  const File* Find(std::u16string_view path) const;

  std::map<std::u16string, File> files_;  // by normalised path
  std::map<std::u16string, std::u16string> folders_;
  std::map<FileHandle, std::u16string> handles_;  // handle -> normalised path
  FileHandle nextHandle_ = 0x200;
  std::optional<Status> openFailure_;
  std::size_t wholeReads_ = 0;
};

}  // namespace kestrel
