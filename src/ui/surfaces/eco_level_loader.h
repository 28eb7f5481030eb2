// Libraries through LoadLibraryW and GetProcAddress, for the eco-level
// library's three exports.
#pragma once
#include <windows.h>

#include "ui/model/eco_level_library.h"

namespace kestrel {

class Win32LibraryLoader : public LibraryLoader {
 public:
  Status Load(std::u16string_view path, LibraryHandle& library) override;
  void Unload(LibraryHandle library) override;
  bool CallProcedure(LibraryHandle library, std::string_view name) override;
  std::optional<std::uint32_t> CallWithRecord(LibraryHandle library, std::string_view name,
                                              std::span<const std::uint8_t> record) override;
};

}  // namespace kestrel
