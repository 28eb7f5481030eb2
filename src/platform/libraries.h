// Libraries port: loading a library by path and calling its exports by name
// (LoadLibraryW, GetProcAddress, FreeLibrary). The exports the program calls
// take no argument or one pointer to a buffer of the caller, and answer a
// 32-bit value.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "platform/status.h"

namespace kestrel {

using LibraryHandle = std::uintptr_t;

class Libraries {
 public:
  virtual ~Libraries() = default;

  // LoadLibraryW; the error is GetLastError() (126 when the file is missing).
  virtual Status Load(std::u16string_view path, LibraryHandle& library) = 0;
  virtual Status Free(LibraryHandle library) = 0;

  // Whether GetProcAddress finds the export.
  virtual bool HasExport(LibraryHandle library, std::string_view name) = 0;
  // Calls an export that takes no argument; nothing when there is no such export.
  virtual std::optional<std::uint32_t> Call(LibraryHandle library, std::string_view name) = 0;
  // Calls an export that takes a pointer to `buffer`, which it may read and
  // write in place; nothing when there is no such export.
  virtual std::optional<std::uint32_t> CallWithBuffer(LibraryHandle library, std::string_view name,
                                                      std::span<std::uint8_t> buffer) = 0;
};

// The maker's CMOS library: where its path is configured, its default name and
// its exports.
inline constexpr std::u16string_view kQuillPathValue = u"QuillDll";
inline constexpr std::u16string_view kQuillDefaultPath = u"quillapi.dll";
inline constexpr std::string_view kQuillQuerySupported = "QUILLIF_QuerySupported";  // () -> non-zero supported
inline constexpr std::string_view kQuillWritePmcInfo = "QUILL_WRITE_PMCINFO";  // (5-byte record) -> non-zero ok
inline constexpr std::string_view kQuillReadBrightMode = "QUILL_READ_BrightMode";  // (u32 mode out) -> non-zero ok
inline constexpr std::string_view kQuillReadBrightValue = "QUILL_READ_BrightValue";  // (u32 value out)
inline constexpr std::string_view kQuillReadInfo = "QUILL_READ_INFO";                // (5-byte record out)
inline constexpr std::size_t kPmcRecordBytes = 5;

}  // namespace kestrel
