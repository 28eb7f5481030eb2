// The maker's CMOS library of the emulated machine: what its five exports do,
// over the registry. quillapi.dll (src/programs/quill) runs this under Wine,
// and EmulatedLibraries serves it in-process to native tests. State and log
// under HKLM\Software\KestrelEmulator\Devices\Quill:
//   Supported  DWORD, default 1: what QUILLIF_QuerySupported answers
//   Failing    DWORD, default 0: non-zero makes the write and reads answer 0
//   PmcInfo    REG_BINARY, the 5-byte record written last
//   Log        one line per call:
//                QUILLIF_QuerySupported -> <result>
//                QUILL_WRITE_PMCINFO <5 bytes in hex> -> <result>
//                QUILL_READ_BrightMode -> <result> mode=<mode>
//                QUILL_READ_BrightValue -> <result> value=<brightness>
//                QUILL_READ_INFO -> <result> <5 bytes in hex>
// The brightness mode is 1 (automatic brightness active) while byte 0 of the
// record written last is 1; the brightness value is the panel's current one.
#pragma once
#include <cstdint>
#include <mutex>
#include <set>
#include <span>
#include <vector>

#include "platform/libraries.h"
#include "platform/registry.h"

namespace kestrel {

inline constexpr std::u16string_view kEmulatedQuillName = u"Quill";

class EmulatedQuill {
 public:
  explicit EmulatedQuill(Registry& registry) : registry_(registry) {}

  std::uint32_t QuerySupported();
  std::uint32_t WritePmcInfo(std::span<const std::uint8_t> record);
  std::uint32_t ReadBrightMode(std::uint32_t& mode);
  std::uint32_t ReadBrightValue(std::uint32_t& value);
  std::uint32_t ReadInfo(std::span<std::uint8_t> record);

  Status SetSupported(bool supported);
  Status SetFailing(bool failing);

 private:
  std::uint32_t Flag(std::u16string_view name, std::uint32_t fallback);
  std::vector<std::uint8_t> StoredRecord();
  void Log(std::u16string_view line);

  Registry& registry_;
};

// Libraries of the native tests' machine: a path whose file name is
// "quillapi.dll" (in any letter case) loads the emulated CMOS library; every
// other path is missing (126). An export called with the wrong form (a
// buffer export without its buffer, or a buffer shorter than its record)
// answers 0 without acting.
class EmulatedLibraries : public Libraries {
 public:
  explicit EmulatedLibraries(Registry& registry) : quill_(registry) {}

  Status Load(std::u16string_view path, LibraryHandle& library) override;
  Status Free(LibraryHandle library) override;
  bool HasExport(LibraryHandle library, std::string_view name) override;
  std::optional<std::uint32_t> Call(LibraryHandle library, std::string_view name) override;
  std::optional<std::uint32_t> CallWithBuffer(LibraryHandle library, std::string_view name,
                                              std::span<std::uint8_t> buffer) override;

  std::size_t LoadedCount() const;

 private:
  bool Loaded(LibraryHandle library) const;

  EmulatedQuill quill_;
  mutable std::mutex mutex_;
  std::set<LibraryHandle> loaded_;
  LibraryHandle next_ = 0x7000;
};

inline constexpr Status kErrorModNotFound = 126;

}  // namespace kestrel
