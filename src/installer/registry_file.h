// Importing Kestrel's registry file with the system's registry editor
// ("regedit /s" with the file name in quotation marks), waiting, bounded, until
// the editor has finished with the file. The caller has made sure the file
// opens for reading.
#pragma once
#include <string_view>

#include "installer/installer_ports.h"

namespace kestrel {

inline constexpr std::uint32_t kRegistryImportTimeoutMs = 30000;

enum class RegistryImport {
  NotStarted,  // the registry editor could not be started
  TimedOut,    // the editor was still running when the wait ended
  Finished,    // the editor has ended (and no longer reads the file)
};

RegistryImport ImportRegistryFile(InstallerPorts& ports, std::u16string_view registryFilePath);

// The registry editor in the Windows folder; empty when that folder is not known.
std::u16string RegistryEditorPath(Process& processes);

}  // namespace kestrel
