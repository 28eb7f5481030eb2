// Libraries port over LoadLibraryW, GetProcAddress and FreeLibrary.
#pragma once
#include "platform/libraries.h"

namespace kestrel {

class Win32Libraries : public Libraries {
 public:
  Status Load(std::u16string_view path, LibraryHandle& library) override;
  Status Free(LibraryHandle library) override;
  bool HasExport(LibraryHandle library, std::string_view name) override;
  std::optional<std::uint32_t> Call(LibraryHandle library, std::string_view name) override;
  std::optional<std::uint32_t> CallWithBuffer(LibraryHandle library, std::string_view name,
                                              std::span<std::uint8_t> buffer) override;
};

}  // namespace kestrel
