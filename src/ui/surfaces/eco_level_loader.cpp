#include "ui/surfaces/eco_level_loader.h"

#include <string>
#include <vector>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_status.h"

namespace kestrel {
namespace {

using Procedure = void(__cdecl*)();
using RecordQuery = std::uint32_t(__cdecl*)(void* record);

// The export's address, to be cast to its own type.
void* Export(LibraryHandle library, std::string_view name) {
  return reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(library), std::string(name).c_str()));
}

}  // namespace

Status Win32LibraryLoader::Load(std::u16string_view path, LibraryHandle& library) {
  std::wstring file = ToWide(path);
  HMODULE module = LoadLibraryW(file.c_str());
  if (module == nullptr) return LastError();
  library = reinterpret_cast<LibraryHandle>(module);
  return kSuccess;
}

void Win32LibraryLoader::Unload(LibraryHandle library) { FreeLibrary(reinterpret_cast<HMODULE>(library)); }

bool Win32LibraryLoader::CallProcedure(LibraryHandle library, std::string_view name) {
  auto procedure = reinterpret_cast<Procedure>(Export(library, name));
  if (procedure == nullptr) return false;
  procedure();
  return true;
}

std::optional<std::uint32_t> Win32LibraryLoader::CallWithRecord(LibraryHandle library, std::string_view name,
                                                                std::span<const std::uint8_t> record) {
  auto query = reinterpret_cast<RecordQuery>(Export(library, name));
  if (query == nullptr) return std::nullopt;
  // The library gets its own copy: it may write into the record.
  std::vector<std::uint8_t> copy(record.begin(), record.end());
  return query(copy.data());
}

}  // namespace kestrel
