#include "support/memory_file_system.h"

#include "platform/text.h"

namespace kestrel {
namespace {

std::u16string Normalise(std::u16string_view path) {
  std::u16string key = FoldCase(path);
  for (char16_t& c : key) {
    if (c == u'/') c = u'\\';
  }
  while (key.size() > 1 && key.back() == u'\\') key.pop_back();
  return key;
}

}  // namespace

InMemoryFileSystem::File* InMemoryFileSystem::Find(std::u16string_view path) {
  auto found = files_.find(Normalise(path));
  return found == files_.end() ? nullptr : &found->second;
}

const InMemoryFileSystem::File* InMemoryFileSystem::Find(std::u16string_view path) const {
  auto found = files_.find(Normalise(path));
  return found == files_.end() ? nullptr : &found->second;
}

Status InMemoryFileSystem::OpenExclusive(std::u16string_view path, bool hiddenWhenCreated, FileHandle& handle) {
  handle = 0;
  if (openFailure_) {
    Status status = *openFailure_;
    openFailure_.reset();
    return status;
  }
  std::u16string key = Normalise(path);
  if (folders_.count(key) != 0) return kErrorAccessDenied;
  File& file = files_[key];
  if (file.path.empty()) {
    file.path = std::u16string(path);
    file.hidden = hiddenWhenCreated;
  }
  if (file.open) return kErrorSharingViolation;
  file.open = true;
  handle = nextHandle_;
  nextHandle_ += 4;
  handles_[handle] = key;
  return kSuccess;
}

Status InMemoryFileSystem::AppendToEnd(FileHandle handle, const std::vector<std::uint8_t>& bytes) {
  auto found = handles_.find(handle);
  if (found == handles_.end()) return kErrorInvalidHandle;
  std::vector<std::uint8_t>& contents = files_.at(found->second).bytes;
  contents.insert(contents.end(), bytes.begin(), bytes.end());
  return kSuccess;
}

Status InMemoryFileSystem::Close(FileHandle handle) {
  auto found = handles_.find(handle);
  if (found == handles_.end()) return kErrorInvalidHandle;
  files_.at(found->second).open = false;
  handles_.erase(found);
  return kSuccess;
}

Status InMemoryFileSystem::ReadAll(std::u16string_view path, std::vector<std::uint8_t>& bytes) {
  ++wholeReads_;
  const File* file = Find(path);
  if (file == nullptr) return kErrorFileNotFound;
  if (file->open) return kErrorSharingViolation;
  if (file->claimedSize) return kErrorNotEnoughMemory;
  bytes = file->bytes;
  return kSuccess;
}

Status InMemoryFileSystem::SizeOfReadable(std::u16string_view path, std::uint64_t& size) {
  const File* file = Find(path);
  if (file == nullptr) return kErrorFileNotFound;
  if (file->open) return kErrorSharingViolation;
  size = file->claimedSize.value_or(file->bytes.size());
  return kSuccess;
}

void InMemoryFileSystem::PutHugeFile(std::u16string_view path, std::uint64_t size) {
  PutFile(path, std::vector<std::uint8_t>{});
  Find(path)->claimedSize = size;
}

Status InMemoryFileSystem::Exists(std::u16string_view path) {
  std::u16string key = Normalise(path);
  if (files_.count(key) != 0 || folders_.count(key) != 0) return kSuccess;
  std::u16string prefix = key + u'\\';
  auto below = files_.lower_bound(prefix);
  bool hasFileBelow = below != files_.end() && below->first.compare(0, prefix.size(), prefix) == 0;
  return hasFileBelow ? kSuccess : kErrorFileNotFound;
}

Status InMemoryFileSystem::Delete(std::u16string_view path) {
  auto found = files_.find(Normalise(path));
  if (found == files_.end()) return kErrorFileNotFound;
  if (found->second.open) return kErrorSharingViolation;
  files_.erase(found);
  return kSuccess;
}

void InMemoryFileSystem::PutFile(std::u16string_view path, std::vector<std::uint8_t> bytes, bool hidden) {
  File& file = files_[Normalise(path)];
  file.path = std::u16string(path);
  file.bytes = std::move(bytes);
  file.hidden = hidden;
  file.claimedSize.reset();
}

void InMemoryFileSystem::PutFile(std::u16string_view path, std::string_view utf8Text, bool hidden) {
  PutFile(path, std::vector<std::uint8_t>(utf8Text.begin(), utf8Text.end()), hidden);
}

void InMemoryFileSystem::AddFolder(std::u16string_view path) { folders_[Normalise(path)] = std::u16string(path); }

bool InMemoryFileSystem::IsHidden(std::u16string_view path) const {
  const File* file = Find(path);
  return file != nullptr && file->hidden;
}

std::optional<std::vector<std::uint8_t>> InMemoryFileSystem::Contents(std::u16string_view path) const {
  const File* file = Find(path);
  if (file == nullptr) return std::nullopt;
  return file->bytes;
}

}  // namespace kestrel
