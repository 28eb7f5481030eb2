// Win32 libraries adapter. The exports are called with the platform's one
// x64 calling convention; their 32-bit results are BOOL-like values.
#include "platform/win32/win32_libraries.h"

#include "platform/win32/windows_api.h"

#include <string>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_status.h"

namespace kestrel {

namespace {

using NoArgumentExport = std::uint32_t(__cdecl*)();
using BufferExport = std::uint32_t(__cdecl*)(void* buffer);

void* Export(LibraryHandle library, std::string_view name) {
  return reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(library), std::string(name).c_str()));
}

}  // namespace

Status Win32Libraries::Load(std::u16string_view path, LibraryHandle& library) {
  std::wstring file = ToWide(path);
  HMODULE module = LoadLibraryW(file.c_str());
  library = reinterpret_cast<LibraryHandle>(module);
  return module != nullptr ? kSuccess : LastError();
}

Status Win32Libraries::Free(LibraryHandle library) {
  return FreeLibrary(reinterpret_cast<HMODULE>(library)) ? kSuccess : LastError();
}

bool Win32Libraries::HasExport(LibraryHandle library, std::string_view name) { return Export(library, name) != nullptr; }

std::optional<std::uint32_t> Win32Libraries::Call(LibraryHandle library, std::string_view name) {
  auto function = reinterpret_cast<NoArgumentExport>(Export(library, name));
  if (function == nullptr) return std::nullopt;
  return function();
}

std::optional<std::uint32_t> Win32Libraries::CallWithBuffer(LibraryHandle library, std::string_view name,
                                                            std::span<std::uint8_t> buffer) {
  auto function = reinterpret_cast<BufferExport>(Export(library, name));
  if (function == nullptr) return std::nullopt;
  return function(buffer.data());
}

}  // namespace kestrel
