// Brightness as the program holds it: set up by the settings load, used, and
// released at shutdown with nothing left open.
#include <gtest/gtest.h>

#include "display/brightness_subsystem.h"
#include "platform/emulated/monitor_store.h"
#include "platform/emulated/panel.h"
#include "support/test_machine.h"

namespace kestrel::testing {
namespace {

TEST(BrightnessSubsystemTest, SettingsLoadToShutdownLeavesNothingOpen) {
  TestMachine test;
  ErrorReporter reporter{test.machine()};
  CBrightnessCtrl levels;
  RegKey machineKey;
  RegKey::Create(test.registry, kHkeyLocalMachine, u"Software\\Vexa\\Kestrel", kKeyAllAccess, machineKey);
  machineKey.WriteDword(u"ASLSupported", 1);
  RegKey model;
  RegKey::Create(test.registry, kHkeyLocalMachine, u"Software\\Vexa\\Kestrel\\SupportMonitor\\ABC123", kKeyAllAccess,
                 model);
  std::uint32_t id = 0;
  EmulatedMonitorSetup setup;
  setup.capabilities = "model(ABC123)vcp(10)";
  MonitorStore(test.registry).Add(setup, id);
  bool gateOpen = true;

  {
    BrightnessSubsystem display({test.machine(), test.wmi, test.monitors, test.libraries}, reporter, levels,
                              [&] { return gateOpen; });
    display.LoadAmbientLightSupport();
    EXPECT_TRUE(display.ProbeExternalMonitors());
    EXPECT_GT(display.MeasureProcessorMhz(), 0u);
    MachineConfig config;
    config.externalMonitorTiming[0] = 1;
    display.InitializePanelBrightness(config);
    EXPECT_TRUE(display.command().available());
    EXPECT_EQ(display.Run(kBrightnessSetBase + 40), 40u);
    EXPECT_EQ(levels.levelCount(), 11u);
    EXPECT_TRUE(display.PanelBrightnessAvailable());
    EXPECT_TRUE(display.command().available());
    EXPECT_EQ(test.libraries.LoadedCount(), 1u);
    EXPECT_EQ(test.wmi.OpenSessionCount(), 1u);

    display.Run(kBrightnessSetBase + 30);
    EXPECT_EQ(EmulatedPanel(test.registry).CurrentBrightness(), 30u);
    display.Release();
    EXPECT_EQ(test.libraries.LoadedCount(), 0u);
    EXPECT_EQ(test.wmi.OpenSessionCount(), 0u);
    EXPECT_FALSE(display.PanelBrightnessAvailable());
  }
  EXPECT_EQ(test.wmi.OpenSessionCount(), 0u);

  // Without supported monitors there is no external monitor support.
  test.registry.DeleteKey(machineKey.get(), u"SupportMonitor\\ABC123");
  BrightnessSubsystem bare({test.machine(), test.wmi, test.monitors, test.libraries}, reporter, levels,
                         [&] { return gateOpen; });
  EXPECT_FALSE(bare.ProbeExternalMonitors());
}

}  // namespace
}  // namespace kestrel::testing
