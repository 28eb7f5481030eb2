#include "installer/registry_file.h"

#include "platform/format.h"
#include "platform/owned_handle.h"

namespace kestrel {

std::u16string RegistryEditorPath(Process& processes) {
  std::u16string windows;
  if (processes.WindowsFolder(windows) != kSuccess || windows.empty()) return std::u16string();
  if (windows.back() != u'\\') windows.push_back(u'\\');
  return windows + u"regedit.exe";
}

RegistryImport ImportRegistryFile(InstallerPorts& ports, std::u16string_view registryFilePath) {
  // The editor is started by its full path: a bare "regedit" would be looked
  // for in the installer's own folder first.
  std::u16string editor = RegistryEditorPath(ports.processes);
  if (editor.empty()) return RegistryImport::NotStarted;
  ProcessHandle handle = 0;
  if (ports.processes.Start(editor, FormatText(u"/s \"%s\"", {registryFilePath}), handle) != kSuccess) {
    return RegistryImport::NotStarted;
  }
  OwnedProcess editorProcess(ports.processes, handle);
  return ports.processes.Wait(handle, kRegistryImportTimeoutMs) == WaitResult::Signaled ? RegistryImport::Finished
                                                                                       : RegistryImport::TimedOut;
}

}  // namespace kestrel
