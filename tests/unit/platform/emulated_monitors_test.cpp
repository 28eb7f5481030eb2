// The emulated desktop's monitors: discovery as dxva2 answers it, brightness
// through the high-level and the VCP calls within each monitor's range, and
// failures scripted by error code, all seen alike by every process.
#include "platform/emulated/emulated_monitors.h"

#include <gtest/gtest.h>

#include "support/test_machine.h"

namespace kestrel {
namespace {

constexpr char kCapabilities[] = "(prot(monitor)type(lcd)model(ABC123)vcp(02 04 10 12 14(05 08 0B) 16))";

class EmulatedMonitorsTest : public ::testing::Test {
 protected:
  std::uint32_t Add(EmulatedMonitorSetup setup) {
    std::uint32_t id = 0;
    EXPECT_EQ(test.monitors.store().Add(setup, id), kSuccess);
    return id;
  }

  // The physical monitor of the display monitor at `index` of the desktop.
  PhysicalMonitor Physical(std::size_t index) {
    std::vector<DisplayMonitorHandle> displays;
    EXPECT_EQ(test.monitors.EnumDisplayMonitors(displays), kSuccess);
    std::uint32_t count = 0;
    EXPECT_EQ(test.monitors.GetNumberOfPhysicalMonitorsFromHMONITOR(displays.at(index), count), kSuccess);
    EXPECT_EQ(count, 1u);
    std::vector<PhysicalMonitor> physical;
    EXPECT_EQ(test.monitors.GetPhysicalMonitorsFromHMONITOR(displays.at(index), count, physical), kSuccess);
    return physical.at(0);
  }

  TestMachine test;
};

TEST_F(EmulatedMonitorsTest, DiscoveryFindsThePanelWithoutDdcAndEachMonitorWithItsCapabilityString) {
  std::vector<DisplayMonitorHandle> displays;
  ASSERT_EQ(test.monitors.EnumDisplayMonitors(displays), kSuccess);
  EXPECT_EQ(displays.size(), 1u) << "a fresh machine shows only its panel";
  PhysicalMonitor panel = Physical(0);
  EXPECT_EQ(panel.description, kEmulatedPanelDescription);
  std::uint32_t length = 99;
  EXPECT_EQ(test.monitors.GetCapabilitiesStringLength(panel.handle, length), kErrorGraphicsI2cErrorTransmittingData);

  Add({u"Vexa View 24", kCapabilities, 0, 30, 255, kMcCapsBrightness, true});
  Add({std::u16string(200, u'x'), "(model(OTHER)vcp(10))", 0, 10, 100, 0, true});
  Add({u"Asleep", "(model(ABC123)vcp(10))", 0, 10, 100, kMcCapsBrightness, false});
  ASSERT_EQ(test.monitors.EnumDisplayMonitors(displays), kSuccess);
  ASSERT_EQ(displays.size(), 3u) << "an inactive monitor is not on the desktop";

  PhysicalMonitor first = Physical(1);
  EXPECT_EQ(first.description, u"Vexa View 24");
  ASSERT_EQ(test.monitors.GetCapabilitiesStringLength(first.handle, length), kSuccess);
  EXPECT_EQ(length, sizeof kCapabilities);
  std::string shortBuffer(length - 1, '?');
  EXPECT_EQ(test.monitors.CapabilitiesRequestAndCapabilitiesReply(first.handle, shortBuffer), kErrorInvalidParameter);
  std::string buffer(length + 3, '?');
  ASSERT_EQ(test.monitors.CapabilitiesRequestAndCapabilitiesReply(first.handle, buffer), kSuccess);
  EXPECT_EQ(buffer, std::string(kCapabilities) + std::string(4, '\0'));
  std::uint32_t caps = 0, temperatures = 0;
  ASSERT_EQ(test.monitors.GetMonitorCapabilities(first.handle, caps, temperatures), kSuccess);
  EXPECT_EQ(caps, kMcCapsBrightness);
  EXPECT_EQ(Physical(2).description.size(), kPhysicalMonitorDescriptionUnits - 1);

  // One adapter per active display, each with its one active monitor.
  std::uint32_t activeMonitors = 0;
  DisplayDevice adapter, monitor;
  for (std::uint32_t a = 0; test.monitors.EnumDisplayDevices(u"", a, adapter) == kSuccess; ++a) {
    for (std::uint32_t m = 0; test.monitors.EnumDisplayDevices(adapter.deviceName, m, monitor) == kSuccess; ++m) {
      if (monitor.stateFlags & kDisplayDeviceActive) ++activeMonitors;
    }
  }
  EXPECT_EQ(activeMonitors, 3u);

  EXPECT_EQ(test.monitors.OpenPhysicalMonitorCount(), 3u);
  EXPECT_EQ(test.monitors.DestroyPhysicalMonitors({panel, first}), kSuccess);
  EXPECT_EQ(test.monitors.DestroyPhysicalMonitor(first.handle), kErrorGraphicsInvalidPhysicalMonitorHandle);
  EXPECT_EQ(test.monitors.GetMonitorCapabilities(first.handle, caps, temperatures),
            kErrorGraphicsInvalidPhysicalMonitorHandle);
  EXPECT_EQ(test.monitors.OpenPhysicalMonitorCount(), 1u);
}

TEST_F(EmulatedMonitorsTest, BrightnessStaysWithinTheMonitorsRangeAndIsSavedOnRequest) {
  std::uint32_t id = Add({u"Vexa View 24", kCapabilities, 10, 30, 255, kMcCapsBrightness, true});
  PhysicalMonitor monitor = Physical(1);
  std::uint32_t minimum = 0, current = 0, maximum = 0;
  ASSERT_EQ(test.monitors.GetMonitorBrightness(monitor.handle, minimum, current, maximum), kSuccess);
  EXPECT_EQ((std::vector<std::uint32_t>{minimum, current, maximum}), (std::vector<std::uint32_t>{10, 30, 255}));

  EXPECT_EQ(test.monitors.SetMonitorBrightness(monitor.handle, 128), kSuccess);
  EXPECT_EQ(test.monitors.SetMonitorBrightness(monitor.handle, 9), kErrorInvalidParameter);
  EXPECT_EQ(test.monitors.SetMonitorBrightness(monitor.handle, 256), kErrorInvalidParameter);
  VcpCodeType type = VcpCodeType::Momentary;
  ASSERT_EQ(test.monitors.GetVCPFeatureAndVCPFeatureReply(monitor.handle, kVcpBrightness, type, current, maximum),
            kSuccess);
  EXPECT_EQ(type, VcpCodeType::SetParameter);
  EXPECT_EQ(current, 128u);
  EXPECT_EQ(maximum, 255u);
  EXPECT_EQ(test.monitors.SetVCPFeature(monitor.handle, kVcpBrightness, 200), kSuccess);
  EXPECT_EQ(test.monitors.SetVCPFeature(monitor.handle, kVcpBrightness, 300), kErrorInvalidParameter);
  EXPECT_EQ(test.monitors.SetVCPFeature(monitor.handle, 0x12, 50), kErrorGraphicsDdcciVcpNotSupported);
  EXPECT_EQ(test.monitors.GetVCPFeatureAndVCPFeatureReply(monitor.handle, 0x12, type, current, maximum),
            kErrorGraphicsDdcciVcpNotSupported);
  EXPECT_EQ(test.monitors.SaveCurrentSettings(monitor.handle), kSuccess);

  // Another process reads the same monitor.
  EmulatedMonitors elsewhere(test.registry);
  std::optional<EmulatedMonitorState> state = elsewhere.store().Find(id);
  ASSERT_TRUE(state);
  EXPECT_EQ(state->setup.current, 200u);
  EXPECT_EQ(state->saves, 1u);
  EXPECT_EQ(state->savedBrightness, 200u);

  // Without the brightness capability only the VCP path works.
  Add({u"Plain", "(model(P1)vcp(10))", 0, 5, 100, 0, true});
  PhysicalMonitor plain = Physical(2);
  EXPECT_EQ(test.monitors.GetMonitorBrightness(plain.handle, minimum, current, maximum), kErrorNotSupported);
  EXPECT_EQ(test.monitors.SetVCPFeature(plain.handle, kVcpBrightness, 40), kSuccess);

  std::vector<std::u16string> log = test.devices.ReadLog(u"Monitors");
  EXPECT_NE(std::find(log.begin(), log.end(), u"SetVCPFeature monitor=1 code=0x10 value=200 -> 0x00000000"),
            log.end());
  EXPECT_NE(std::find(log.begin(), log.end(), u"SetMonitorBrightness monitor=1 brightness=9 -> 0x00000057"),
            log.end());
}

TEST_F(EmulatedMonitorsTest, ScriptedFailuresAnswerTheirCodeForTheNextCallsOnly) {
  std::uint32_t id = Add({u"Vexa View 24", kCapabilities, 0, 30, 100, kMcCapsBrightness, true});
  PhysicalMonitor monitor = Physical(1);
  MonitorStore& store = test.monitors.store();
  EXPECT_EQ(store.ScriptFailure(id, u"SetVCPFeature", 2, 0xC0262582), kSuccess);
  EXPECT_EQ(store.ScriptFailure(id, u"GetMonitorBrightness", 1, kErrorGraphicsMonitorNoLongerExists), kSuccess);
  EXPECT_EQ(store.ScriptFailure(id, u"FormatDisk", 1, 5), kErrorInvalidParameter);
  EXPECT_EQ(store.ScriptFailure(id, u"SetVCPFeature", 1, kSuccess), kErrorInvalidParameter);
  EXPECT_EQ(store.ScriptFailure(id + 1, u"SetVCPFeature", 1, 5), kErrorFileNotFound);

  EXPECT_EQ(test.monitors.SetVCPFeature(monitor.handle, kVcpBrightness, 60), 0xC0262582u);
  EXPECT_EQ(store.Find(id)->failures.at(0).count, 1u);
  EXPECT_EQ(test.monitors.SetVCPFeature(monitor.handle, kVcpBrightness, 60), 0xC0262582u);
  EXPECT_EQ(test.monitors.SetVCPFeature(monitor.handle, kVcpBrightness, 60), kSuccess);
  std::uint32_t minimum = 0, current = 0, maximum = 0;
  EXPECT_EQ(test.monitors.GetMonitorBrightness(monitor.handle, minimum, current, maximum),
            kErrorGraphicsMonitorNoLongerExists);
  EXPECT_EQ(test.monitors.GetMonitorBrightness(monitor.handle, minimum, current, maximum), kSuccess);
  EXPECT_EQ(current, 60u);
  EXPECT_TRUE(store.Find(id)->failures.empty());

  // Failures of the display monitor's calls, and a script cleared before use.
  EXPECT_EQ(store.ScriptFailure(id, u"getphysicalmonitorsfromhmonitor", 1, 120), kSuccess);
  EXPECT_EQ(store.ScriptFailure(id, u"SaveCurrentSettings", 3, 31), kSuccess);
  EXPECT_EQ(store.ScriptFailure(id, u"SaveCurrentSettings", 0, 0), kSuccess);
  std::vector<DisplayMonitorHandle> displays;
  ASSERT_EQ(test.monitors.EnumDisplayMonitors(displays), kSuccess);
  std::vector<PhysicalMonitor> physical;
  EXPECT_EQ(test.monitors.GetPhysicalMonitorsFromHMONITOR(displays[1], 1, physical), 120u);
  EXPECT_TRUE(physical.empty());
  EXPECT_EQ(test.monitors.SaveCurrentSettings(monitor.handle), kSuccess);

  // A monitor unplugged under an open handle no longer exists.
  ASSERT_EQ(store.Remove(id), kSuccess);
  EXPECT_EQ(store.Remove(id), kErrorFileNotFound);
  EXPECT_EQ(test.monitors.SetVCPFeature(monitor.handle, kVcpBrightness, 60), kErrorGraphicsMonitorNoLongerExists);
  std::uint32_t count = 0;
  EXPECT_EQ(test.monitors.GetNumberOfPhysicalMonitorsFromHMONITOR(displays[1], count),
            kErrorGraphicsMonitorNoLongerExists);
  ASSERT_EQ(test.monitors.EnumDisplayMonitors(displays), kSuccess);
  EXPECT_EQ(displays.size(), 1u);
}

}  // namespace
}  // namespace kestrel
