// Win32 file adapter.
#include "platform/win32/win32_file_system.h"

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_status.h"

namespace kestrel {

namespace {


// Closes a file handle when the function that opened it returns.
class ScopedFile {
 public:
  explicit ScopedFile(HANDLE handle) : handle_(handle) {}
  ScopedFile(const ScopedFile&) = delete;
  ScopedFile& operator=(const ScopedFile&) = delete;
  ~ScopedFile() {
    if (valid()) CloseHandle(handle_);
  }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

}  // namespace

// OPEN_ALWAYS applies the attributes only to a file it creates, so an existing
// log keeps whatever attributes it has.
Status Win32FileSystem::OpenExclusive(std::u16string_view path, bool hiddenWhenCreated, FileHandle& handle) {
  DWORD attributes = hiddenWhenCreated ? FILE_ATTRIBUTE_HIDDEN : FILE_ATTRIBUTE_NORMAL;
  HANDLE file = CreateFileW(ToWide(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, attributes,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) return LastError();
  handle = FromHandle(file);
  return kSuccess;
}

Status Win32FileSystem::AppendToEnd(FileHandle handle, const std::vector<std::uint8_t>& bytes) {
  LARGE_INTEGER zero{};
  if (!SetFilePointerEx(ToHandle(handle), zero, nullptr, FILE_END)) return LastError();
  DWORD written = 0;
  if (!WriteFile(ToHandle(handle), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
    return LastError();
  }
  return written == bytes.size() ? kSuccess : kErrorInvalidData;
}

Status Win32FileSystem::Close(FileHandle handle) { return CloseHandle(ToHandle(handle)) ? kSuccess : LastError(); }

Status Win32FileSystem::ReadAll(std::u16string_view path, std::vector<std::uint8_t>& bytes) {
  ScopedFile file(CreateFileW(ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return LastError();
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) return LastError();
  if (size.QuadPart > 0x7fffffff) return kErrorNotEnoughMemory;
  std::vector<std::uint8_t> read(static_cast<std::size_t>(size.QuadPart));
  std::size_t done = 0;
  while (done < read.size()) {
    DWORD chunk = 0;
    if (!ReadFile(file.get(), read.data() + done, static_cast<DWORD>(read.size() - done), &chunk, nullptr)) {
      return LastError();
    }
    if (chunk == 0) break;  // the file shrank while it was read
    done += chunk;
  }
  read.resize(done);
  bytes = std::move(read);
  return kSuccess;
}

Status Win32FileSystem::SizeOfReadable(std::u16string_view path, std::uint64_t& size) {
  ScopedFile file(CreateFileW(ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return LastError();
  LARGE_INTEGER length{};
  if (!GetFileSizeEx(file.get(), &length)) return LastError();
  size = static_cast<std::uint64_t>(length.QuadPart);
  return kSuccess;
}

Status Win32FileSystem::Exists(std::u16string_view path) {
  return GetFileAttributesW(ToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES ? kSuccess : LastError();
}

Status Win32FileSystem::Delete(std::u16string_view path) {
  return DeleteFileW(ToWide(path).c_str()) ? kSuccess : LastError();
}

}  // namespace kestrel
