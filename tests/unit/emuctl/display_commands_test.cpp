// The control tool's display commands on a simulated machine: what they change
// in the emulated panel, WMI, monitors and CMOS library, what they tell
// Kestrel, and how they refuse bad input.
#include <gtest/gtest.h>

#include <array>

#include "platform/text.h"
#include "programs/emuctl/commands/control_tool.h"
#include "support/test_machine.h"

namespace kestrel {
namespace {

class DisplayCommandsTest : public ::testing::Test {
 protected:
  ControlResult Run(std::initializer_list<std::u16string> args) { return RunControlCommand(tool, args); }

  TestMachine test;
  ControlTool tool{test.machine(), &test.power, &test.devices, &test.state};
};

TEST_F(DisplayCommandsTest, PanelLevelsAndBrightnessReachTheDisplayDeviceAndWmi) {
  ControlResult shown = Run({u"panel"});
  ASSERT_EQ(shown.exitCode, kExitSuccess) << shown.err;
  EXPECT_EQ(shown.out, "levels 0 10 20 30 40 50 60 70 80 90 100\nac 100 dc 70 policy 3\ncurrent 100 level 10\n");

  ControlResult set = Run({u"panel", u"levels", u"3", u"20", u"45", u"70", u"100"});
  ASSERT_EQ(set.exitCode, kExitSuccess) << set.err;
  EXPECT_EQ(Run({u"panel", u"brightness", u"45"}).out,
            "levels 3 20 45 70 100\nac 45 dc 70 policy 1\ncurrent 45 level 2\n");
  EXPECT_NE(Run({u"panel", u"brightness", u"44"}).out.find("current 44 level none\n"), std::string::npos);

  WmiSession session = 0;
  ASSERT_EQ(test.wmi.Connect(kWmiNamespace, session), kSuccess);
  std::vector<std::u16string_view> names = {kWmiLevel, kWmiCurrentBrightness};
  std::vector<WmiObject> objects;
  ASSERT_EQ(test.wmi.Query(session, kWmiMonitorBrightness, names, objects), kSuccess);
  EXPECT_EQ(*objects.at(0).Find(kWmiLevel), WmiValue(std::vector<std::uint32_t>{3, 20, 45, 70, 100}));
  EXPECT_EQ(*objects.at(0).Find(kWmiCurrentBrightness), WmiValue(std::uint32_t{44}));

  EXPECT_EQ(Run({u"panel", u"levels", u"none"}).out.substr(0, 12), "levels none\n");
  EXPECT_EQ(Run({u"panel", u"levels", u"50", u"101"}).exitCode, kExitBadInput);
  EXPECT_EQ(Run({u"panel", u"levels"}).exitCode, kExitBadInput);
  EXPECT_EQ(Run({u"panel", u"brightness", u"-1"}).exitCode, kExitBadInput);
  EXPECT_EQ(Run({u"panel", u"dim"}).exitCode, kExitBadInput);

  // WMI off makes the brightness classes fail with the chosen code.
  EXPECT_EQ(Run({u"wmi", u"off", u"0x80041001"}).out, "WMI absent, fails with 0x80041001\n");
  EXPECT_EQ(test.wmi.Query(session, kWmiMonitorBrightness, names, objects), 0x80041001u);
  EXPECT_EQ(Run({u"wmi", u"off"}).out, "WMI absent, fails with 0x8004100c\n");
  EXPECT_EQ(Run({u"wmi", u"on"}).out, "WMI present\n");
  EXPECT_EQ(test.wmi.Query(session, kWmiMonitorBrightness, names, objects), kSuccess);
  EXPECT_EQ(Run({u"wmi", u"off", u"0x0"}).exitCode, kExitBadInput);
  EXPECT_EQ(Run({u"wmi", u"on", u"5"}).exitCode, kExitBadInput);
  EXPECT_EQ(Run({u"wmi", u"maybe"}).exitCode, kExitBadInput);
}

TEST_F(DisplayCommandsTest, MonitorsArePluggedScriptedAndUnpluggedWithKestrelTold) {
  WindowHandle kestrel = test.messaging.AddWindow(u"Kestrel");
  const std::uint32_t deviceChange = test.messaging.RegisterMessage(u"KestrelEmulatedDeviceChange");

  ControlResult added = Run({u"monitor-add", u"Vexa View 24", u"(model(ABC123)vcp(10))", u"0", u"30", u"255", u"0x2"});
  ASSERT_EQ(added.exitCode, kExitSuccess) << added.err;
  EXPECT_EQ(added.out, "1\n");
  EXPECT_EQ(Run({u"monitor-add", u"Plain", u"(model(P)vcp(10))"}).out, "2\n");
  std::optional<EmulatedMonitorState> first = test.monitors.store().Find(1);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->setup.maximum, 255u);
  EXPECT_EQ(first->setup.capabilities, "(model(ABC123)vcp(10))");

  EXPECT_EQ(Run({u"monitor-fail", u"1", u"SetVCPFeature", u"2", u"0xC026258D"}).exitCode, kExitSuccess);
  EXPECT_EQ(test.monitors.store().Find(1)->failures.at(0).code, kErrorGraphicsMonitorNoLongerExists);
  EXPECT_EQ(Run({u"monitor-fail", u"1", u"Explode", u"1", u"5"}).exitCode, kExitBadInput);
  EXPECT_EQ(Run({u"monitor-fail", u"1", u"SetVCPFeature", u"1", u"0"}).exitCode, kExitBadInput);
  EXPECT_EQ(Run({u"monitor-fail", u"9", u"SetVCPFeature", u"1", u"5"}).exitCode, kExitFailed);

  ControlResult devices = Run({u"devices"});
  ASSERT_EQ(devices.exitCode, kExitSuccess) << devices.err;
  EXPECT_NE(devices.out.find("monitor 1 \"Vexa View 24\" brightness 0/30/255 caps 0x00000002 active saves 0 saved 0\n"
                             "  capabilities (model(ABC123)vcp(10))\n"
                             "  fails SetVCPFeature next 2 with 0xc026258d\n"),
            std::string::npos)
      << devices.out;
  EXPECT_NE(devices.out.find("LCD levels 0 10 20 30 40 50 60 70 80 90 100; ac 100"), std::string::npos);
  EXPECT_NE(devices.out.find("WMI present\nQuill supported working pmcinfo none\n"), std::string::npos);

  EXPECT_EQ(Run({u"monitor-remove", u"1"}).exitCode, kExitSuccess);
  EXPECT_EQ(Run({u"monitor-remove", u"1"}).exitCode, kExitFailed);
  EXPECT_FALSE(test.monitors.store().Find(1));
  EXPECT_EQ(test.messaging.PostedTo(kestrel), (std::vector<WindowMessage>{
                                                  {kestrel, deviceChange, 0x8000, 0xE6F07B5F},
                                                  {kestrel, deviceChange, 0x8000, 0xE6F07B5F},
                                                  {kestrel, deviceChange, 0x8004, 0xE6F07B5F},
                                              }));

  // Without Kestrel the machine still changes; nothing is posted.
  test.messaging.RemoveWindow(kestrel);
  test.messaging.ClearPosted();
  EXPECT_EQ(Run({u"monitor-add", u"Later", u"(vcp(10))"}).out, "3\n");
  EXPECT_TRUE(test.messaging.posted().empty());
  EXPECT_EQ(Run({u"monitor-add", u"Half", u"(vcp(10))", u"0", u"30"}).exitCode, kExitBadInput);
  EXPECT_EQ(Run({u"monitor-add", u"Bad", u"(vcp(10))", u"0", u"x", u"100"}).exitCode, kExitBadInput);
}

TEST_F(DisplayCommandsTest, CmosLibraryAnswersAsToldAndCommandsRefuseOnWindows) {
  EXPECT_EQ(Run({u"quill", u"unsupported"}).out, "Quill unsupported working pmcinfo none\n");
  LibraryHandle library = 0;
  ASSERT_EQ(test.libraries.Load(u"quillapi.dll", library), kSuccess);
  EXPECT_EQ(test.libraries.Call(library, kQuillQuerySupported), 0u);
  EXPECT_EQ(Run({u"quill", u"failing"}).out, "Quill unsupported failing pmcinfo none\n");
  std::array<std::uint8_t, 5> record = {0, 4, 0, 4, 0};
  EXPECT_EQ(test.libraries.CallWithBuffer(library, kQuillWritePmcInfo, record), 0u);
  EXPECT_EQ(Run({u"quill", u"broken"}).exitCode, kExitBadInput);

  ControlTool onWindows{test.machine()};
  for (auto command : {u"panel", u"devices"}) {
    EXPECT_EQ(RunControlCommand(onWindows, {command}).exitCode, kExitFailed) << Utf16ToUtf8(command);
  }
  EXPECT_EQ(RunControlCommand(onWindows, {u"wmi", u"off"}).exitCode, kExitFailed);
  EXPECT_EQ(ReadWmiAvailability(test.registry).present, true);
}

}  // namespace
}  // namespace kestrel
