// KestrelEmu.exe: the emulated machine's control tool (a console program;
// its output is UTF-8 so scripts can read Japanese plan names).
#include <memory>
#include <string>
#include <vector>

#include "platform/emulated/machine_state.h"
#include "platform/text.h"
#include "platform/win32/program_machine.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"
#include "programs/emuctl/commands/control_tool.h"

namespace {

// A console gets the text as UTF-16 (it shows Japanese whatever its code page);
// a pipe or file gets UTF-8 bytes.
void WriteText(DWORD stream, const std::string& utf8) {
  if (utf8.empty()) return;
  HANDLE handle = GetStdHandle(stream);
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return;
  DWORD mode = 0;
  DWORD written = 0;
  if (GetConsoleMode(handle, &mode)) {
    std::wstring wide = kestrel::ToWide(kestrel::Utf8ToUtf16(utf8));
    WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    return;
  }
  WriteFile(handle, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::vector<std::u16string> args;
  for (int i = 1; i < argc; ++i) args.push_back(kestrel::FromWide(argv[i]));

  std::unique_ptr<kestrel::ProgramMachine> program = kestrel::CreateProgramMachine();
  std::unique_ptr<kestrel::EmulatedMachineState> state;
  if (program->emulated()) state = std::make_unique<kestrel::EmulatedMachineState>(program->machine().registry);
  kestrel::ControlTool tool{program->machine(), program->emulatedPower(), program->emulatedDevices(), state.get()};

  kestrel::ControlResult result = kestrel::RunControlCommand(tool, args);
  WriteText(STD_OUTPUT_HANDLE, result.out);
  WriteText(STD_ERROR_HANDLE, result.err);
  return result.exitCode;
}
