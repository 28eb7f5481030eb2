// Plinth.exe / PlinthW.exe entry point: the installer/configurator. One source
// built twice; PlinthW (PLINTH_W_BUILD) also fixes the per-plan keys' access
// when no switch is given. The exit code is always 0 and nothing is shown.
#include "platform/win32/windows_api.h"

#include "installer/installer.h"
#include "platform/win32/program_machine.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_process.h"
#include "platform/win32/win32_profile.h"

namespace {

#if defined(PLINTH_W_BUILD) && PLINTH_W_BUILD
constexpr kestrel::InstallerBuild kBuild = kestrel::InstallerBuild::PlinthW;
#else
constexpr kestrel::InstallerBuild kBuild = kestrel::InstallerBuild::Plinth;
#endif

}  // namespace

// The switches are looked for in the arguments only, so a folder name in the
// program's own path can never be taken for one.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR arguments, int) {
  std::unique_ptr<kestrel::ProgramMachine> program = kestrel::CreateProgramMachine();
  kestrel::Win32Profile profile;
  kestrel::Win32Process processes;
  kestrel::InstallerPorts ports{program->machine(), profile, processes};
  kestrel::RunInstaller(ports, arguments != nullptr ? kestrel::FromWide(arguments) : std::u16string(), kBuild);
  return 0;
}
