// Builds the program's machine from the Win32 adapters, choosing the emulated
// power management, devices, WMI and monitors under Wine.
#include "platform/win32/program_machine.h"

#include "platform/emulated/devices.h"
#include "platform/emulated/emulated_batteries.h"
#include "platform/emulated/emulated_monitors.h"
#include "platform/emulated/emulated_network_adapters.h"
#include "platform/emulated/emulated_wmi.h"
#include "platform/emulated/maker_devices.h"
#include "platform/emulated/power_store.h"
#include "platform/win32/win32_battery.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_device_io.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_libraries.h"
#include "platform/win32/win32_messaging.h"
#include "platform/win32/win32_monitor_configuration.h"
#include "platform/win32/win32_network_adapters.h"
#include "platform/win32/win32_power.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_sync.h"
#include "platform/win32/win32_user_interface.h"
#include "platform/win32/win32_wmi.h"
#include "platform/win32/wine_detect.h"

namespace kestrel {

namespace {

// The adapters that are the platform's own on Windows and under Wine alike.
struct CommonPorts {
  Win32Registry registry;
  Win32Clock clock;
  Win32Sync sync;
  Win32Messaging messaging;
  Win32MessageBoxes boxes;
  Win32StringTable strings;
  Win32FileSystem files;
  Win32Libraries libraries;
};

class WindowsMachine : public ProgramMachine {
 public:
  WindowsMachine()
      : machine_{common_.registry, power_,         devices_,       common_.clock, common_.sync,
                 common_.messaging, common_.boxes, common_.strings, common_.files} {}
  Machine& machine() override { return machine_; }
  bool emulated() const override { return false; }
  EmulatedPowerManager* emulatedPower() override { return nullptr; }
  EmulatedDevices* emulatedDevices() override { return nullptr; }
  Wmi& wmi() override { return wmi_; }
  MonitorConfiguration& monitors() override { return monitors_; }
  Libraries& libraries() override { return common_.libraries; }
  BatteryPort& batteries() override { return batteries_; }
  NetworkAdapters& networkAdapters() override { return adapters_; }

 private:
  CommonPorts common_;
  Win32BatteryPort batteries_;
  Win32NetworkAdapters adapters_;
  Win32PowerManager power_;
  Win32DeviceIo devices_;
  Win32Wmi wmi_;
  Win32MonitorConfiguration monitors_;
  Machine machine_;
};

class WineMachine : public ProgramMachine {
 public:
  WineMachine()
      : power_(common_.registry, common_.messaging),
        devices_(common_.registry),
        wmi_(common_.registry),
        monitors_(common_.registry),
        batteries_(common_.registry),
        adapters_(common_.registry),
        machine_{common_.registry, power_,         devices_,       common_.clock, common_.sync,
                 common_.messaging, common_.boxes, common_.strings, common_.files} {
    // A fresh prefix gets the Windows plans; an installed machine is left alone.
    power_.EnsureInstalled();
    // Plan files (the factory plans' export files) are read from the prefix's drives.
    power_.SetFileReader([this](std::u16string_view path, std::vector<std::uint8_t>& bytes) {
      return common_.files.ReadAll(path, bytes);
    });
    InstallEmulatedDevices(devices_);
    InstallEmulatedBatteries(devices_, common_.registry);
  }
  Machine& machine() override { return machine_; }
  bool emulated() const override { return true; }
  EmulatedPowerManager* emulatedPower() override { return &power_; }
  EmulatedDevices* emulatedDevices() override { return &devices_; }
  Wmi& wmi() override { return wmi_; }
  MonitorConfiguration& monitors() override { return monitors_; }
  Libraries& libraries() override { return common_.libraries; }
  BatteryPort& batteries() override { return batteries_; }
  NetworkAdapters& networkAdapters() override { return adapters_; }

 private:
  CommonPorts common_;
  EmulatedPowerManager power_;
  EmulatedDevices devices_;
  EmulatedWmi wmi_;
  EmulatedMonitors monitors_;
  EmulatedBatteryPort batteries_;
  EmulatedNetworkAdapters adapters_;
  Machine machine_;
};

}  // namespace

std::unique_ptr<ProgramMachine> CreateProgramMachine() {
  if (RunningUnderWine()) return std::make_unique<WineMachine>();
  return std::make_unique<WindowsMachine>();
}

}  // namespace kestrel
