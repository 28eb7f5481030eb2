// The emulated panel through its two doors: the display device's brightness
// IOCTLs and WMI's brightness classes, which must always tell the same story.
#include <gtest/gtest.h>

#include "platform/emulated/emulated_wmi.h"
#include "platform/emulated/panel.h"
#include "support/test_machine.h"

namespace kestrel {
namespace {

class PanelBrightnessTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(test.devices.Open(u"\\\\.\\LCD", lcd), kSuccess); }
  void TearDown() override { test.devices.Close(lcd); }

  Status Control(std::uint32_t code, std::vector<std::uint8_t> input, std::vector<std::uint8_t>& output) {
    return test.devices.Control(lcd, code, input, output);
  }

  std::vector<std::uint8_t> QueryDisplay() {
    std::vector<std::uint8_t> output(3);
    EXPECT_EQ(Control(kIoctlVideoQueryDisplayBrightness, {}, output), kSuccess);
    return output;
  }

  WmiObject QueryWmi(std::initializer_list<std::u16string_view> names) {
    std::vector<std::u16string_view> properties(names);
    std::vector<WmiObject> objects;
    EXPECT_EQ(test.wmi.Query(session, kWmiMonitorBrightness, properties, objects), kSuccess);
    return objects.size() == 1 ? objects[0] : WmiObject{};
  }

  Status WmiSet(std::u16string_view path, std::uint32_t brightness) {
    std::vector<WmiProperty> outputs;
    return test.wmi.CallMethod(session, kWmiMonitorBrightnessMethods, path, kWmiSetBrightness,
                               {{u"Brightness", brightness}, {u"Timeout", std::uint32_t{0}}}, outputs);
  }

  TestMachine test;
  DeviceHandle lcd = 0;
  WmiSession session = 0;
};

TEST_F(PanelBrightnessTest, DisplayDeviceAnswersTheLevelTableAndTheBrightnessItKeeps) {
  std::vector<std::uint8_t> levels(256);
  ASSERT_EQ(Control(kIoctlVideoQuerySupportedBrightness, {}, levels), kSuccess);
  EXPECT_EQ(levels, (std::vector<std::uint8_t>{0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));

  EmulatedPanel panel(test.registry);
  ASSERT_EQ(panel.WriteLevels({5, 40, 100}), kSuccess);
  levels.assign(256, 0);
  ASSERT_EQ(Control(kIoctlVideoQuerySupportedBrightness, {}, levels), kSuccess);
  EXPECT_EQ(levels, (std::vector<std::uint8_t>{5, 40, 100}));
  // A buffer shorter than the table gets nothing.
  levels.assign(2, 0);
  EXPECT_EQ(Control(kIoctlVideoQuerySupportedBrightness, {}, levels), kErrorInsufficientBuffer);
  EXPECT_TRUE(levels.empty());

  EXPECT_EQ(QueryDisplay(), (std::vector<std::uint8_t>{3, 100, 70}));
  std::vector<std::uint8_t> none;
  EXPECT_EQ(Control(kIoctlVideoSetDisplayBrightness, {3, 40, 40}, none), kSuccess);
  EXPECT_EQ(QueryDisplay(), (std::vector<std::uint8_t>{3, 40, 40}));
  // The policy chooses which power source's brightness changes.
  EXPECT_EQ(Control(kIoctlVideoSetDisplayBrightness, {2, 90, 15}, none), kSuccess);
  EXPECT_EQ(QueryDisplay(), (std::vector<std::uint8_t>{2, 40, 15}));
  EXPECT_EQ(Control(kIoctlVideoSetDisplayBrightness, {1, 60, 99}, none), kSuccess);
  EXPECT_EQ(QueryDisplay(), (std::vector<std::uint8_t>{1, 60, 15}));
  EXPECT_EQ(panel.CurrentBrightness(), 60);
  ASSERT_EQ(test.state.WritePowerSource({false, true, 50}), kSuccess);
  EXPECT_EQ(panel.CurrentBrightness(), 15);

  std::vector<std::u16string> log = test.devices.ReadLog(u"LCD");
  EXPECT_NE(std::find(log.begin(), log.end(), u"control 0x0023049c in=01 3c 63 out=0"), log.end());
}

TEST_F(PanelBrightnessTest, DisplayDeviceRefusesMalformedRequestsAndKeepsItsState) {
  std::vector<std::uint8_t> none;
  EXPECT_EQ(Control(kIoctlVideoSetDisplayBrightness, {3, 50}, none), kErrorInvalidParameter);
  EXPECT_EQ(Control(kIoctlVideoSetDisplayBrightness, {3, 50, 50, 0}, none), kErrorInvalidParameter);
  EXPECT_EQ(Control(kIoctlVideoSetDisplayBrightness, {0, 50, 50}, none), kErrorInvalidParameter);
  EXPECT_EQ(Control(kIoctlVideoSetDisplayBrightness, {4, 50, 50}, none), kErrorInvalidParameter);
  EXPECT_EQ(Control(kIoctlVideoSetDisplayBrightness, {3, 101, 50}, none), kErrorInvalidParameter);
  // Only the brightness the policy names must be in range.
  EXPECT_EQ(Control(kIoctlVideoSetDisplayBrightness, {2, 101, 20}, none), kSuccess);
  EXPECT_EQ(QueryDisplay(), (std::vector<std::uint8_t>{2, 100, 20}));

  std::vector<std::uint8_t> shortOutput(2);
  EXPECT_EQ(Control(kIoctlVideoQueryDisplayBrightness, {}, shortOutput), kErrorInsufficientBuffer);
  std::vector<std::uint8_t> output(16);
  EXPECT_EQ(Control(0x230490, {}, output), 1u) << "an unknown video request is an invalid function";

  EmulatedPanel panel(test.registry);
  EXPECT_EQ(panel.WriteLevels(std::vector<std::uint8_t>(257, 50)), kErrorInvalidParameter);
  EXPECT_EQ(panel.WriteLevels({0, 101}), kErrorInvalidParameter);
  ASSERT_EQ(panel.WriteLevels({}), kSuccess);
  output.assign(256, 0);
  EXPECT_EQ(Control(kIoctlVideoQuerySupportedBrightness, {}, output), kSuccess);
  EXPECT_TRUE(output.empty()) << "a panel without levels answers none";
}

TEST_F(PanelBrightnessTest, WmiAndTheDisplayDeviceShowTheSamePanel) {
  ASSERT_EQ(test.wmi.Connect(u"root\\wmi", session), kSuccess);
  ASSERT_EQ(EmulatedPanel(test.registry).WriteLevels({0, 25, 50, 75, 100}), kSuccess);

  WmiObject panel = QueryWmi({kWmiLevel, kWmiLevels, kWmiCurrentBrightness, kWmiInstanceName});
  EXPECT_EQ(*panel.Find(kWmiLevel), WmiValue(std::vector<std::uint32_t>{0, 25, 50, 75, 100}));
  EXPECT_EQ(*panel.Find(kWmiLevels), WmiValue(std::uint32_t{5}));
  EXPECT_EQ(*panel.Find(kWmiCurrentBrightness), WmiValue(std::uint32_t{100}));
  const auto* name = std::get_if<std::u16string>(panel.Find(kWmiInstanceName));
  ASSERT_NE(name, nullptr);

  // A WMI write changes what the display device reports, for the power source in use.
  EXPECT_EQ(WmiSet(u"WmiMonitorBrightnessMethods.InstanceName='" + *name + u"'", 75), kSuccess);
  EXPECT_EQ(QueryDisplay(), (std::vector<std::uint8_t>{1, 75, 70}));
  ASSERT_EQ(test.state.WritePowerSource({false, true, 40}), kSuccess);
  EXPECT_EQ(*QueryWmi({kWmiCurrentBrightness}).Find(kWmiCurrentBrightness), WmiValue(std::uint32_t{70}));
  std::vector<std::uint8_t> none;
  ASSERT_EQ(Control(kIoctlVideoSetDisplayBrightness, {3, 25, 25}, none), kSuccess);
  EXPECT_EQ(*QueryWmi({kWmiCurrentBrightness}).Find(kWmiCurrentBrightness), WmiValue(std::uint32_t{25}));

  // The instance must be the panel's, and the brightness a percentage.
  EXPECT_EQ(WmiSet(u"WmiMonitorBrightnessMethods.InstanceName='DISPLAY\\OTHER'", 50), kWbemNotFound);
  EXPECT_EQ(WmiSet(u"WmiMonitorBrightnessMethods.InstanceName='" + *name + u"'", 101), kWbemInvalidParameter);
  EXPECT_EQ(WmiSet(u"WmiMonitorBrightnessMethods", 50), kWbemInvalidParameter);
  EXPECT_EQ(QueryDisplay(), (std::vector<std::uint8_t>{3, 25, 25}));
  EXPECT_EQ(test.wmi.Release(session), kSuccess);
  EXPECT_EQ(test.wmi.OpenSessionCount(), 0u);
}

TEST_F(PanelBrightnessTest, WmiWithoutBrightnessFailsWhereTheDisplayDeviceStillAnswers) {
  ASSERT_EQ(test.wmi.Connect(kWmiNamespace, session), kSuccess);
  ASSERT_EQ(WriteWmiAvailability(test.registry, {false, kWbemNotSupported}), kSuccess);
  std::vector<std::u16string_view> level = {kWmiLevel};
  std::vector<WmiObject> objects;
  EXPECT_EQ(test.wmi.Query(session, kWmiMonitorBrightness, level, objects), kWbemNotSupported);
  EXPECT_TRUE(objects.empty());
  EXPECT_EQ(WmiSet(u"WmiMonitorBrightnessMethods.InstanceName='" + std::u16string(kEmulatedPanelInstanceName) + u"'",
                   50),
            kWbemNotSupported);
  std::vector<std::uint8_t> levels(256);
  EXPECT_EQ(Control(kIoctlVideoQuerySupportedBrightness, {}, levels), kSuccess);
  EXPECT_EQ(levels.size(), 11u);

  // A chosen failure code, then WMI back.
  ASSERT_EQ(WriteWmiAvailability(test.registry, {false, 0x80041001}), kSuccess);
  EXPECT_EQ(test.wmi.Query(session, kWmiMonitorBrightness, level, objects), 0x80041001u);
  ASSERT_EQ(WriteWmiAvailability(test.registry, {true, kWbemNotSupported}), kSuccess);
  EXPECT_EQ(test.wmi.Query(session, kWmiMonitorBrightness, level, objects), kSuccess);

  // The processor clock sits in another namespace, and brightness is not there.
  WmiSession cim = 0;
  ASSERT_EQ(test.wmi.Connect(kCimNamespace, cim), kSuccess);
  ASSERT_EQ(test.state.WriteProcessor(4, 2900), kSuccess);
  std::vector<std::u16string_view> clock = {kCurrentClockSpeed, kMaxClockSpeed};
  ASSERT_EQ(test.wmi.Query(cim, kWin32Processor, clock, objects), kSuccess);
  EXPECT_EQ(*objects.at(0).Find(kCurrentClockSpeed), WmiValue(std::uint32_t{2900}));
  EXPECT_EQ(test.wmi.Query(cim, kWmiMonitorBrightness, level, objects), kWbemInvalidClass);
  EXPECT_EQ(test.wmi.Query(session, kWin32Processor, clock, objects), kWbemInvalidClass);
  std::vector<std::u16string_view> unknown = {u"Brightest"};
  EXPECT_EQ(test.wmi.Query(session, kWmiMonitorBrightness, unknown, objects), kWbemInvalidQuery);
  WmiSession other = 0;
  EXPECT_EQ(test.wmi.Connect(u"ROOT\\NOWHERE", other), kWbemInvalidNamespace);
  test.wmi.Release(cim);
  EXPECT_NE(test.wmi.Query(cim, kWin32Processor, clock, objects), kSuccess) << "a released session is gone";

  std::vector<std::u16string> log = test.devices.ReadLog(u"WMI");
  EXPECT_EQ(log.front(), u"connect ROOT\\WMI -> 0x00000000");
  EXPECT_NE(std::find(log.begin(), log.end(), u"query WmiMonitorBrightness Level -> 0x8004100c 0"), log.end());
}

}  // namespace
}  // namespace kestrel
