// External monitors on a scripted DDC/CI bus: the retries and their log,
// discovery, brightness in percent and the monitor record.
#include <gtest/gtest.h>

#include <algorithm>

#include "display/external_monitors.h"
#include "display/supported_monitors.h"
#include "support/test_machine.h"
#include "support/log_reader.h"
#include "unit/display/fake_monitors.h"

namespace kestrel::testing {
namespace {

constexpr Status kTransient = kErrorGraphicsI2cErrorTransmittingData;
const std::string kAbc = "(prot(monitor)type(lcd)model(ABC123)vcp(02 04 10 12 14(05 08 0B) 16))";

class ExternalMonitorsTest : public ::testing::Test {
 protected:
  ExternalMonitorsTest() { Support(u"ABC123", u"ABC"); }

  void Support(std::u16string_view model, std::u16string_view info = u"") {
    RegKey key;
    RegKey::Create(test.registry, kHkeyLocalMachine, std::u16string(kSupportMonitorKey) + u"\\" + std::u16string(model),
                   kKeyAllAccess, key);
    if (!info.empty()) key.WriteString(u"MonitorInfo", info);
  }
  std::vector<std::u16string> LoggedTexts() {
    std::vector<std::u16string> texts;
    for (const auto& line : LogLines(test.files)) texts.push_back(WithoutStamp(line));
    return texts;
  }
  static std::u16string Line(std::u16string_view text, std::int64_t code) {
    return std::u16string(text) + u"(" + ErrorReporter::CodeDetail(code) + u")";
  }
  std::size_t CallsOf(const std::string& call) {
    return static_cast<std::size_t>(std::ranges::count_if(bus.calls, [&](const std::string& c) { return c.starts_with(call + " "); }));
  }
  std::uint32_t PowerSettingsDword(std::u16string_view name) {
    RegKey key;
    std::uint32_t value = 0;
    RegKey::Open(test.registry, kHkeyLocalMachine, u"Software\\Vexa\\Kestrel\\PowerSettings", kKeyRead, key);
    key.ReadDword(name, value);
    return value;
  }
  std::u16string PowerSettingsString(std::u16string_view name) {
    RegKey key;
    std::u16string value;
    RegKey::Open(test.registry, kHkeyLocalMachine, u"Software\\Vexa\\Kestrel\\PowerSettings", kKeyRead, key);
    key.ReadString(name, value);
    return value;
  }

  TestMachine test;
  ErrorReporter reporter{test.machine()};
  FakeMonitors bus;
  MonitorRetry retry{test.clock, reporter, MonitorTiming{3, 200, 10}, false};
  ExternalMonitors monitors{bus, test.registry, retry};
};

TEST_F(ExternalMonitorsTest, RetriesPauseOnSimulatedTimeAndAreLoggedWithTheirCount) {
  std::uint64_t start = test.clock.NowMs();
  int calls = 0;
  Status last = retry.Run(MonitorCall::GetMonitorBrightness, [&] { return ++calls < 3 ? kTransient : kSuccess; });
  EXPECT_EQ(last, kSuccess);
  EXPECT_EQ(calls, 3);
  EXPECT_EQ(test.clock.NowMs() - start, 400u);
  EXPECT_EQ(LoggedTexts(), (std::vector<std::u16string>{Line(u"fail : GetMonitorBrightness()", kTransient),
                                                        Line(u"Monitor Retry Count", 2)}));

  // Every attempt failing: three calls, three pauses, three retries counted.
  calls = 0;
  start = test.clock.NowMs();
  EXPECT_EQ(retry.Run(MonitorCall::SetVCPFeature, [&] { return ++calls, kTransient; }), kTransient);
  EXPECT_EQ(calls, 3);
  EXPECT_EQ(test.clock.NowMs() - start, 600u);
  EXPECT_EQ(LoggedTexts().back(), Line(u"Monitor Retry Count", 3));

  // A monitor that is gone stops the attempts at once, and nothing is logged.
  calls = 0;
  std::size_t lines = LoggedTexts().size();
  EXPECT_EQ(retry.Run(MonitorCall::SetVCPFeature, [&] { return ++calls, kErrorGraphicsMonitorNoLongerExists; }),
            kErrorGraphicsMonitorNoLongerExists);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(retry.Run(MonitorCall::GetMonitorCapabilities, [&] { return ++calls, Status{0xC02625DB}; }),
            Status{0xC02625DB});
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(LoggedTexts().size(), lines);

  // The length query has its own count and is logged only under DebugLogFlag bit 0.
  calls = 0;
  retry.Run(MonitorCall::GetCapabilitiesStringLength, [&] { return ++calls, kTransient; });
  EXPECT_EQ(calls, 10);
  EXPECT_EQ(LoggedTexts().size(), lines);
  MonitorRetry debug(test.clock, reporter, MonitorTiming{3, 0, 2}, true);
  debug.Run(MonitorCall::GetCapabilitiesStringLength, [&] { return kTransient; });
  EXPECT_EQ(LoggedTexts().back(), Line(u"Monitor Retry Count", 2));
}

TEST_F(ExternalMonitorsTest, WithoutARetryCountNoMonitorCallIsMade) {
  bus.AddDisplay({FakeMonitor{kAbc}});
  MonitorRetry none(test.clock, reporter, MonitorTiming{0, 0, 10}, false);
  ExternalMonitors unconfigured(bus, test.registry, none);
  ASSERT_TRUE(unconfigured.LoadSupportedList());
  EXPECT_TRUE(unconfigured.Discover());
  EXPECT_FALSE(unconfigured.present());
  EXPECT_TRUE(bus.calls.empty());
}

TEST_F(ExternalMonitorsTest, DiscoveryTakesSupportedModelsWithBrightnessUpToFour) {
  Support(u"XYZ");
  FakeMonitor vcpOnly{"model(XYZ)vcp(10)", 0};
  PhysicalMonitorHandle first = bus.AddDisplay({FakeMonitor{"model(abc123)vcp(10)"}, FakeMonitor{"model(ABC123)vcp(12)"},
                                               vcpOnly, FakeMonitor{kAbc}});
  bus.AddDisplay({FakeMonitor{kAbc}, FakeMonitor{kAbc}, FakeMonitor{kAbc}});
  ASSERT_TRUE(monitors.LoadSupportedList());
  bus.Fail("GetCapabilitiesStringLength", {kTransient});
  ASSERT_TRUE(monitors.Discover());

  ASSERT_TRUE(monitors.present());
  ASSERT_EQ(monitors.table().size(), 4u);
  EXPECT_EQ(monitors.table()[0].physical.handle, first + 2);
  EXPECT_EQ(monitors.table()[0].flags, kMonitorFlagVcpBrightness);
  EXPECT_EQ(monitors.table()[0].model, u"XYZ");
  EXPECT_EQ(monitors.table()[1].flags, kMonitorFlagVcpBrightness | kMonitorFlagCapsBrightness);
  EXPECT_EQ(monitors.table()[3].physical.handle, first + 5);
  EXPECT_EQ(monitors.table()[1].current, 50u);
  // The lower-case model, the one without brightness and the fifth give their handles back.
  EXPECT_EQ(bus.destroyed, (std::vector<PhysicalMonitorHandle>{first, first + 1, first + 6}));

  // A new discovery gives the old handles back first.
  bus.destroyed.clear();
  ASSERT_TRUE(monitors.Discover());
  EXPECT_EQ(bus.destroyed.size(), 7u);

  bus.enumerationFails = true;
  EXPECT_FALSE(monitors.Discover());
  EXPECT_TRUE(monitors.table().empty());
}

TEST_F(ExternalMonitorsTest, BrightnessPercentConvertsAndClampsIntoTheMonitorsRange) {
  FakeMonitor wide{kAbc};
  wide.maximum = 255;
  FakeMonitor narrow{"model(ABC123)vcp(10)", kMcCapsBrightness, 20, 30, 40};
  PhysicalMonitorHandle first = bus.AddDisplay({wide, narrow});
  monitors.LoadSupportedList();
  ASSERT_TRUE(monitors.Discover());

  EXPECT_TRUE(monitors.WriteBrightness(50));
  EXPECT_EQ(bus.monitor(first).current, 128u);  // 127.5 rounded up
  EXPECT_EQ(bus.monitor(first + 1).current, 20u);  // 20 of 40 lies below the minimum
  EXPECT_TRUE(bus.monitor(first).saved);
  EXPECT_EQ(monitors.ReadBrightness(), 50u);  // 1280 / 10
  monitors.WriteBrightness(250);
  EXPECT_EQ(bus.monitor(first).current, 255u);

  ExternalMonitor unknown;
  unknown.current = 7;
  EXPECT_EQ(MonitorValueToPercent(unknown), std::nullopt);
  unknown.maximum = 10;
  unknown.current = 12;
  EXPECT_EQ(MonitorValueToPercent(unknown), 100u);

  // A monitor that stops answering is no longer present, and reads go on to the next.
  bus.Fail("GetMonitorBrightness", {kErrorGraphicsMonitorNoLongerExists});
  EXPECT_EQ(monitors.ReadBrightness(), 100u);  // the second: 40 of 40
  EXPECT_FALSE(monitors.present());
}

TEST_F(ExternalMonitorsTest, MonitorsWithoutARangeAreNeitherReadAsPercentNorWritten) {
  FakeMonitor blank{kAbc};
  blank.maximum = 0;
  PhysicalMonitorHandle handle = bus.AddDisplay({blank});
  monitors.LoadSupportedList();
  ASSERT_TRUE(monitors.Discover());
  EXPECT_EQ(monitors.ReadBrightness(), kUnknownMonitorPercent);
  EXPECT_FALSE(monitors.WriteBrightness(60));
  EXPECT_EQ(CallsOf("SetMonitorBrightness"), 0u);
  EXPECT_EQ(bus.monitor(handle).current, 50u);
}

TEST_F(ExternalMonitorsTest, MonitorRecordNamesTheFirstTwoSupportedMonitors) {
  bus.AddDisplay({FakeMonitor{kAbc}});
  monitors.LoadSupportedList();
  ASSERT_TRUE(monitors.Discover());

  EXPECT_TRUE(monitors.WriteMonitorRecord(7, true));
  EXPECT_EQ(PowerSettingsString(u"MonitorName1"), u"ABC");
  EXPECT_EQ(PowerSettingsDword(u"MonitorBLevel1"), 7u);
  EXPECT_EQ(PowerSettingsString(u"MonitorName2"), u"");
  EXPECT_EQ(PowerSettingsDword(u"MonitorBLevel2"), kMonitorSlotEmpty);
  EXPECT_TRUE(monitors.WriteMonitorRecord(7, false));
  EXPECT_EQ(PowerSettingsDword(u"MonitorBLevel1"), kMonitorControlOff);

  // Without monitors both slots are empty.
  monitors.Release();
  EXPECT_TRUE(monitors.WriteMonitorRecord(7, true));
  EXPECT_EQ(PowerSettingsString(u"MonitorName1"), u"");
  EXPECT_EQ(PowerSettingsDword(u"MonitorBLevel1"), kMonitorSlotEmpty);
}

TEST_F(ExternalMonitorsTest, ActiveDisplaysAreCountedOverEveryAdapter) {
  bus.AddActiveDisplays(1, 2);
  EXPECT_FALSE(monitors.MoreThanOneActiveDisplay());
  bus.AddActiveDisplays(1, 0);
  EXPECT_TRUE(monitors.MoreThanOneActiveDisplay());
}

}  // namespace
}  // namespace kestrel::testing
