// The machine a Windows program runs on. On Windows every port is the real
// API. Under Wine, power management and device I/O come from the emulated
// machine (kept in Wine's registry, so separate processes share it), because
// Wine has neither a power-plan API nor the maker's devices; the registry,
// windows, messages, timers, mutexes, message boxes and files stay Wine's own.
#pragma once
#include <memory>

#include "platform/machine.h"

namespace kestrel {

class EmulatedPowerManager;
class EmulatedDevices;
class Wmi;
class MonitorConfiguration;
class Libraries;
class BatteryPort;
class NetworkAdapters;

class ProgramMachine {
 public:
  virtual ~ProgramMachine() = default;
  virtual Machine& machine() = 0;
  virtual bool emulated() const = 0;
  // The emulated machine's parts; null on Windows.
  virtual EmulatedPowerManager* emulatedPower() = 0;
  virtual EmulatedDevices* emulatedDevices() = 0;
  // Panel brightness through WMI and the external monitors: the emulated
  // machine's under Wine. Libraries are always the platform's (under Wine the
  // emulated machine's CMOS library is a real DLL).
  virtual Wmi& wmi() = 0;
  virtual MonitorConfiguration& monitors() = 0;
  virtual Libraries& libraries() = 0;
  // The battery devices and the system battery state: the emulated
  // machine's batteries under Wine.
  virtual BatteryPort& batteries() = 0;
  // The network adapter list: the emulated machine's under Wine, so a test
  // can put a wireless adapter in or take it out.
  virtual NetworkAdapters& networkAdapters() = 0;
};

std::unique_ptr<ProgramMachine> CreateProgramMachine();

}  // namespace kestrel
