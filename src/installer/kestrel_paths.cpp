#include "installer/kestrel_paths.h"

#include "platform/format.h"
#include "platform/text.h"

namespace kestrel {
namespace {

std::u16string WithoutQuotes(std::u16string_view path) {
  if (path.size() >= 2 && path.front() == u'"') {
    std::size_t close = path.find(u'"', 1);
    if (close != std::u16string_view::npos) return std::u16string(path.substr(1, close - 1));
  }
  return std::u16string(path);
}

}  // namespace

std::u16string ProgramPathFromRunValue(Registry& registry) {
  RegKey run;
  if (RegKey::Open(registry, kHkeyLocalMachine, kRunKey, kKeyRead, run) != kSuccess) return std::u16string();
  std::uint8_t bytes[kRunValueBytes];
  std::uint32_t size = sizeof bytes;
  RegType type = RegType::None;
  if (registry.QueryValue(run.get(), kRunValueName, &type, bytes, size) != kSuccess) return std::u16string();
  if (type != RegType::Sz && type != RegType::ExpandSz) return std::u16string();
  return WithoutQuotes(Utf16FromBytes(bytes, size));
}

std::u16string ProgramPathFromOwnFolder(Process& processes) {
  std::u16string own;
  if (processes.OwnProgramPath(own) != kSuccess) return std::u16string();
  std::size_t slash = own.rfind(u'\\');
  if (slash == std::u16string::npos) return std::u16string();
  return FormatText(u"%s%s.exe", {std::u16string_view(own).substr(0, slash + 1), u"Kestrel"});
}

bool ProgramFileExists(FileSystem& files, std::u16string_view programPath) {
  return !programPath.empty() && files.Exists(programPath) == kSuccess;
}

std::u16string PlanFilePath(std::u16string_view programPath) { return FormatText(u"%s.ini", {programPath}); }

std::u16string RegistryFilePath(std::u16string_view programPath) { return FormatText(u"%s.reg", {programPath}); }

}  // namespace kestrel
