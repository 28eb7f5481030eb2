#include "support/test_machine.h"

#include <cstdio>
#include <cstdlib>

#include "platform/emulated/maker_devices.h"

namespace kestrel {

TestMachine::TestMachine() : machine_{registry, power, devices, clock, sync, messaging, boxes, strings, files} {
  power.SetFileReader(
      [this](std::u16string_view path, std::vector<std::uint8_t>& bytes) { return files.ReadAll(path, bytes); });
  // Every Windows machine describes its processor here; the name matches the
  // emulated clock of EmulatedMachineState.
  RegKey processor;
  RegKey::Create(registry, kHkeyLocalMachine, kProcessorDescriptionKey, kKeyAllAccess, processor);
  processor.WriteString(u"ProcessorNameString", kProcessorName);
  processor.WriteDword(u"~MHz", state.ProcessorMaxMhz());
  InstallEmulatedDevices(devices);
  InstallEmulatedBatteries(devices, registry);
  // Every test depends on the installed plans; a machine without them is broken.
  if (Status status = power.EnsureInstalled(); status != kSuccess) {
    std::fprintf(stderr, "TestMachine: installing the power plans failed with %u\n", status);
    std::abort();
  }
}

}  // namespace kestrel
