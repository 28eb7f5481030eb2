// Where the installer finds Kestrel's program file: the path recorded in the
// machine's Run key, or Kestrel.exe in the installer's own folder. The files it
// imports lie beside that program: "<path>.ini" and "<path>.reg".
#pragma once
#include <string>

#include "platform/file_system.h"
#include "platform/process.h"
#include "platform/registry.h"

namespace kestrel {

inline constexpr std::u16string_view kRunKey = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr std::u16string_view kRunValueName = u"Kestrel";
// Room for the Run value, in bytes with the terminator.
inline constexpr std::uint32_t kRunValueBytes = 520;

// The program path of HKLM ...\Run value "Kestrel"; empty when the key or value
// is missing, is not a string or does not fit. A path written in quotation
// marks (as Run values usually are) is taken without them.
std::u16string ProgramPathFromRunValue(Registry& registry);

// "<own folder>\Kestrel.exe"; empty when the installer's own path is not known.
std::u16string ProgramPathFromOwnFolder(Process& processes);

// Whether the program file is there (always false for an empty path).
bool ProgramFileExists(FileSystem& files, std::u16string_view programPath);

std::u16string PlanFilePath(std::u16string_view programPath);
std::u16string RegistryFilePath(std::u16string_view programPath);

}  // namespace kestrel
