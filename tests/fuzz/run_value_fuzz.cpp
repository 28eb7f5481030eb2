// Fuzz target: the installer's program path, from the machine's Run value
// "Kestrel" of any type and size and from its own path of any text. A path is
// taken only from a string that fits the installer's 520-byte buffer, without
// its quotation marks; the files it imports are that path with ".ini" and
// ".reg"; the own-folder path ends in "\Kestrel.exe".
#include <cstdlib>

#include "fuzz/fuzz_input.h"
#include "installer/kestrel_paths.h"
#include "platform/text.h"
#include "support/memory_file_system.h"
#include "support/memory_registry.h"
#include "support/simulated_clock.h"
#include "unit/installer/fake_process.h"

using namespace kestrel;

namespace {

void CheckRunValue(RegType type, const std::vector<std::uint8_t>& bytes) {
  InMemoryRegistry registry;
  RegKey run;
  if (RegKey::Create(registry, kHkeyLocalMachine, kRunKey, kKeyAllAccess, run) != kSuccess) std::abort();
  registry.SetValue(run.get(), kRunValueName, type, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
  std::u16string path = ProgramPathFromRunValue(registry);
  bool readable = (type == RegType::Sz || type == RegType::ExpandSz) && bytes.size() <= kRunValueBytes;
  std::u16string stored = Utf16FromBytes(bytes.data(), bytes.size());
  if (!readable && !path.empty()) std::abort();
  if (readable && path != stored) {
    // Only quotation marks around the path may have been dropped.
    if (stored.size() < 2 || stored.front() != u'"' || stored.substr(1, path.size()) != path) std::abort();
    if (stored[path.size() + 1] != u'"') std::abort();
  }
  if (PlanFilePath(path) != path + u".ini" || RegistryFilePath(path) != path + u".reg") std::abort();

  InMemoryFileSystem files;
  if (ProgramFileExists(files, path)) std::abort();
  if (!path.empty()) {
    files.PutFile(path, std::string_view("MZ"));
    if (!ProgramFileExists(files, path)) std::abort();
  }
}

void CheckOwnFolder(const std::u16string& own, Status status) {
  SimulatedClock clock;
  FakeProcess processes(clock);
  processes.SetOwnProgramPath(own, status);
  std::u16string path = ProgramPathFromOwnFolder(processes);
  std::size_t slash = own.rfind(u'\\');
  if (status != kSuccess || slash == std::u16string::npos) {
    if (!path.empty()) std::abort();
    return;
  }
  if (path != own.substr(0, slash + 1) + u"Kestrel.exe") std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput input(data, size);
  auto type = static_cast<RegType>(input.Byte() % 12);
  std::u16string own = input.Text();
  Status status = input.Byte() % 4 == 0 ? kErrorInsufficientBuffer : kSuccess;
  // Run values beyond the buffer (up to 2 KB) are as likely as short ones.
  std::vector<std::uint8_t> bytes = input.Rest();
  CheckRunValue(type, bytes);
  CheckOwnFolder(own, status);
  return 0;
}
