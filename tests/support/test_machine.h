// A whole simulated machine for unit tests: the emulated power management and
// devices over an in-memory registry (the three Windows plans installed), and
// fakes for time, locks, messages, message boxes and files. machine() hands
// the code under test the same ports the programs get. The registry also holds
// what every Windows machine has that the program reads (the processor's
// description).
#pragma once
#include "platform/builtin_strings.h"
#include "platform/emulated/devices.h"
#include "platform/emulated/emulated_batteries.h"
#include "platform/emulated/emulated_monitors.h"
#include "platform/emulated/emulated_network_adapters.h"
#include "platform/emulated/emulated_quill.h"
#include "platform/emulated/emulated_wmi.h"
#include "platform/emulated/machine_state.h"
#include "platform/emulated/power_store.h"
#include "platform/machine.h"
#include "support/fake_messaging.h"
#include "support/fake_sync.h"
#include "support/memory_file_system.h"
#include "support/memory_registry.h"
#include "support/recording_message_boxes.h"
#include "support/simulated_clock.h"

namespace kestrel {

inline constexpr std::u16string_view kProcessorDescriptionKey = u"HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";
inline constexpr std::u16string_view kProcessorName = u"Intel(R) Core(TM) i7-2670QM CPU @ 2.20GHz";

class TestMachine {
 public:
  TestMachine();
  TestMachine(const TestMachine&) = delete;
  TestMachine& operator=(const TestMachine&) = delete;

  Machine& machine() { return machine_; }

  InMemoryRegistry registry;
  SimulatedClock clock;
  FakeSync sync{clock};
  FakeMessaging messaging{&clock};
  // Imports plan files from `files`.
  EmulatedPowerManager power{registry, messaging};
  EmulatedMachineState state{registry};
  EmulatedDevices devices{registry};
  // Panel brightness through WMI, external monitors and the CMOS library.
  EmulatedWmi wmi{registry};
  EmulatedMonitors monitors{registry};
  EmulatedLibraries libraries{registry};
  // The battery devices (none present until a test puts one in) and the
  // system battery state.
  EmulatedBatteryPort batteries{registry};
  EmulatedNetworkAdapters networkAdapters{registry};
  RecordingMessageBoxes boxes;
  BuiltinStringTable strings;
  InMemoryFileSystem files;

 private:
  Machine machine_;
};

}  // namespace kestrel
