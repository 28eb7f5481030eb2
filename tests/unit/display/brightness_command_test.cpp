// The brightness command on the emulated machine: where the level table comes
// from, what the panel, WMI and the CMOS library are sent for a plan switch,
// a preview, a read and the re-send after resume.
#include <gtest/gtest.h>

#include <thread>

#include "display/brightness_command.h"
#include "platform/emulated/emulated_wmi.h"
#include "platform/emulated/monitor_store.h"
#include "platform/emulated/panel.h"
#include "power/setting_catalogue.h"
#include "support/log_reader.h"
#include "support/test_machine.h"

namespace kestrel::testing {
namespace {

// Runs a hook at every sleep, on the sleeping thread.
class HookedClock : public Clock {
 public:
  explicit HookedClock(Clock& inner) : inner_(inner) {}
  std::uint64_t NowMs() override { return inner_.NowMs(); }
  LocalTime Local() override { return inner_.Local(); }
  void Sleep(std::uint32_t ms) override {
    if (onSleep) onSleep();
    inner_.Sleep(ms);
  }
  std::function<void()> onSleep;

 private:
  Clock& inner_;
};

class BrightnessCommandTest : public ::testing::Test {
 protected:
  BrightnessCommandTest() {
    MachineKey().WriteDword(u"ASLSupported", 1);
    test.power.GetActivePlan(active);
  }

  RegKey MachineKey() {
    RegKey key;
    RegKey::Create(test.registry, kHkeyLocalMachine, u"Software\\Vexa\\Kestrel", kKeyAllAccess, key);
    return key;
  }
  RegKey Extension() {
    RegKey key;
    RegKey::Create(test.registry, kHkeyLocalMachine, u"Software\\Vexa\\Kestrel\\PowerSettings\\" + ToString(active),
                   kKeyAllAccess, key);
    return key;
  }
  void SetPlanBrightness(std::uint32_t ac, std::uint32_t dc) {
    WriteSettingValue(test.power, active, PowerSetting::DisplayBrightness, PowerSource::Ac, ac);
    WriteSettingValue(test.power, active, PowerSetting::DisplayBrightness, PowerSource::Dc, dc);
  }
  void SetAutomaticBrightness(bool on) {
    std::uint8_t alsbc[5] = {static_cast<std::uint8_t>(on ? 1 : 0), 10, 0, 10, 0};
    Extension().WriteBinary(u"ALSBC", alsbc, 5);
  }
  void SetWmiPresent(bool present) { WriteWmiAvailability(test.registry, WmiAvailability{present, kWbemNotSupported}); }

  BrightnessCommand& Command(bool brightnessSupported = true, ExternalMonitors* monitors = nullptr) {
    command_.emplace(BrightnessPorts{test.power, test.registry, test.devices, clock, reporter}, wmi, cmos, levels,
                     BrightnessOptions{brightnessSupported, monitors, [this] { return gateOpen; }});
    return *command_;
  }

  // Brightness values in the order each door received them.
  std::vector<std::uint32_t> WmiSets() {
    std::vector<std::uint32_t> values;
    for (const std::u16string& line : test.devices.ReadLog(kEmulatedWmiName)) {
      std::size_t at = line.find(u"Brightness=");
      if (line.starts_with(u"method ") && at != std::u16string::npos) values.push_back(std::stoul(Narrow(line.substr(at + 11))));
    }
    return values;
  }
  std::vector<std::u16string> LcdRequests() { return test.devices.ReadLog(kEmulatedPanelName); }
  std::vector<std::u16string> PmcWrites() {
    std::vector<std::u16string> writes;
    for (const std::u16string& line : test.devices.ReadLog(u"Quill")) {
      if (line.starts_with(u"QUILL_WRITE_PMCINFO")) writes.push_back(line);
    }
    return writes;
  }
  std::vector<std::u16string> LoggedTexts() {
    std::vector<std::u16string> texts;
    for (const auto& line : LogLines(test.files)) texts.push_back(WithoutStamp(line));
    return texts;
  }
  static std::string Narrow(std::u16string_view text) { return std::string(text.begin(), text.end()); }
  void ClearLogs() {
    for (std::u16string_view name : {kEmulatedWmiName, kEmulatedPanelName, std::u16string_view(u"Quill")})
      test.devices.ClearLog(name);
  }

  TestMachine test;
  HookedClock clock{test.clock};
  ErrorReporter reporter{test.machine()};
  WmiBrightness wmi{test.wmi};
  CmosLibrary cmos{test.libraries, reporter};
  CBrightnessCtrl levels;
  Guid active;
  bool gateOpen = true;

 private:
  std::optional<BrightnessCommand> command_;
};

TEST_F(BrightnessCommandTest, LevelTableComesFromWmiThenTheDisplayDeviceThenTheMachinesOwn) {
  EmulatedPanel(test.registry).WriteLevels({0, 10, 20, 40, 70, 100});
  Command().Run(kBrightnessInitialise);
  EXPECT_TRUE(Command().panelLevelsPresent() == false);  // a fresh command knows nothing yet
  BrightnessCommand& command = Command();
  command.Run(kBrightnessInitialise);
  EXPECT_TRUE(command.panelLevelsPresent());
  EXPECT_TRUE(command.available());
  EXPECT_EQ(levels.levelCount(), 6u);
  EXPECT_EQ(levels.PercentToIndex(54), 3u);
  EXPECT_TRUE(LcdRequests().empty());

  SetWmiPresent(false);
  EmulatedPanel(test.registry).WriteLevels({5, 50, 100});
  Command().Run(kBrightnessInitialise);
  EXPECT_EQ(levels.levelCount(), 3u);
  EXPECT_EQ(LcdRequests(), std::vector<std::u16string>{u"control 0x00230494 in= out=256"});

  // BLevel/BValue over the system's table; a BLevel beyond BValue keeps what BValue holds.
  std::uint8_t values[] = {1, 0, 60, 0, 99, 0};
  MachineKey().WriteBinary(u"BValue", values, sizeof values);
  MachineKey().WriteDword(u"BLevel", 300);
  MachineKey().WriteDword(u"ECWait0", 250);
  BrightnessCommand& overridden = Command();
  overridden.Run(kBrightnessInitialise);
  EXPECT_EQ(levels.levelCount(), 3u);
  EXPECT_EQ(levels.IndexToPercent(1), 60u);
  EXPECT_EQ(overridden.ecWait0(), 250u);

  // Without ASLSupported only the machine's own table remains; a missing BValue drops it.
  MachineKey().WriteDword(u"BLevel", 2);
  Command(false).Run(kBrightnessInitialise);
  EXPECT_EQ(levels.levelCount(), 2u);
  MachineKey().registry().DeleteValue(MachineKey().get(), u"BValue");
  BrightnessCommand& dropped = Command(false);
  dropped.Run(kBrightnessInitialise);
  EXPECT_EQ(levels.levelCount(), 0u);
  EXPECT_FALSE(dropped.available());
  EXPECT_EQ(dropped.Run(kBrightnessApplyPlan), kBrightnessDone);
}

TEST_F(BrightnessCommandTest, PlanSwitchSendsTheRecordThenANudgeThenThePlansBrightness) {
  SetPlanBrightness(40, 30);
  BrightnessCommand& command = Command();
  command.Run(kBrightnessInitialise);
  ClearLogs();
  std::uint64_t start = test.clock.NowMs();

  EXPECT_EQ(command.Run(kBrightnessApplyPlan), kBrightnessDone);
  EXPECT_EQ(test.clock.NowMs() - start, 100u);  // ECWait0
  EXPECT_EQ(PmcWrites(), std::vector<std::u16string>{u"QUILL_WRITE_PMCINFO 00 0a 00 0a 00 -> 1"});
  EXPECT_EQ(WmiSets(), (std::vector<std::uint32_t>{39, 40}));
  EXPECT_EQ(EmulatedPanel(test.registry).CurrentBrightness(), 40u);

  // On battery, with automatic brightness: only the nudge; the controller does the rest.
  test.power.SetPowerSource(EmulatedPowerSource{false, true, 80});
  SetAutomaticBrightness(true);
  ClearLogs();
  command.Run(kBrightnessApplyPlan);
  EXPECT_EQ(WmiSets(), std::vector<std::uint32_t>{29});
  EXPECT_EQ(PmcWrites(), std::vector<std::u16string>{u"QUILL_WRITE_PMCINFO 01 0a 00 0a 00 -> 1"});

  // A plan at 0: 1 first, then 0.
  SetAutomaticBrightness(false);
  SetPlanBrightness(0, 0);
  ClearLogs();
  command.Run(kBrightnessApplyPlan);
  EXPECT_EQ(WmiSets(), (std::vector<std::uint32_t>{1, 0}));
}

TEST_F(BrightnessCommandTest, WmiFailingFallsBackToTheDisplayDevice) {
  SetPlanBrightness(70, 70);
  BrightnessCommand& command = Command();
  command.Run(kBrightnessInitialise);
  SetWmiPresent(false);
  ClearLogs();
  command.Run(kBrightnessApplyPlan);
  EXPECT_EQ(LcdRequests(), (std::vector<std::u16string>{u"control 0x0023049c in=03 45 45 out=0",
                                                        u"control 0x0023049c in=03 46 46 out=0"}));
  std::u16string failure = u"fail : Set Value to Driver(" + ErrorReporter::CodeDetail(kWbemNotSupported) + u")";
  EXPECT_EQ(LoggedTexts(), (std::vector<std::u16string>{failure, failure}));
  EXPECT_EQ(EmulatedPanel(test.registry).CurrentBrightness(), 70u);
}

TEST_F(BrightnessCommandTest, UnknownPlanBrightnessLeavesThePanelAlone) {
  BrightnessCommand& command = Command();
  command.Run(kBrightnessInitialise);
  EmulatedPanel(test.registry).SetCurrentBrightness(60);
  // The plan's brightness cannot be read: its level is 256.
  RegKey plan;
  RegKey::Open(test.registry, kHkeyLocalMachine,
               u"SYSTEM\\CurrentControlSet\\Control\\Power\\User\\PowerSchemes\\" + ToString(active), kKeyAllAccess, plan);
  const CatalogueRow& row = CatalogueEntry(PowerSetting::DisplayBrightness);
  ASSERT_EQ(test.registry.DeleteKey(plan.get(), ToString(row.subgroup) + u"\\" + ToString(row.setting)), kSuccess);
  ClearLogs();
  command.Run(kBrightnessApplyPlan);
  EXPECT_TRUE(WmiSets().empty());
  EXPECT_EQ(EmulatedPanel(test.registry).CurrentBrightness(), 60u);

  // The re-send after resume takes 100 % when the plan says nothing.
  std::uint64_t start = test.clock.NowMs();
  command.Run(kBrightnessResend);
  EXPECT_EQ(test.clock.NowMs() - start, 700u);  // 100 + 100 + ECWait1
  EXPECT_EQ(WmiSets(), (std::vector<std::uint32_t>{99, 100}));
}

TEST_F(BrightnessCommandTest, ReadAndPreview) {
  BrightnessCommand& command = Command();
  command.Run(kBrightnessInitialise);
  EmulatedPanel(test.registry).SetCurrentBrightness(70);
  EXPECT_EQ(command.Run(kBrightnessRead), 7u);
  EmulatedPanel(test.registry).SetCurrentBrightness(75);  // between levels
  EXPECT_EQ(command.Run(kBrightnessRead), kBrightnessDone);

  SetAutomaticBrightness(true);
  command.Run(kBrightnessApplyPlan);
  EXPECT_EQ(command.Run(kBrightnessRead), kBrightnessAutomatic);

  // A preview turns automatic brightness off for the controller and writes the value twice.
  ClearLogs();
  EXPECT_EQ(command.Run(kBrightnessSetBase + 30), 30u);
  EXPECT_EQ(PmcWrites(), std::vector<std::u16string>{u"QUILL_WRITE_PMCINFO 00 0a 00 0a 00 -> 1"});
  EXPECT_EQ(WmiSets(), (std::vector<std::uint32_t>{30, 30}));

  // Without the CMOS library the re-send does nothing.
  MachineKey().WriteString(u"QuillDll", u"");
  BrightnessCommand& plain = Command();
  plain.Run(kBrightnessInitialise);
  EXPECT_FALSE(cmos.present());
  ClearLogs();
  EXPECT_EQ(plain.Run(kBrightnessResend), kBrightnessDone);
  EXPECT_TRUE(WmiSets().empty());
}

TEST_F(BrightnessCommandTest, CallsFromTwoThreadsRunOneAtATime) {
  BrightnessCommand& command = Command();
  command.Run(kBrightnessInitialise);
  std::optional<bool> busyDuringApply;
  clock.onSleep = [&] {
    std::thread other([&] { busyDuringApply = command.Busy(); });
    other.join();
  };
  command.Run(kBrightnessApplyPlan);
  ASSERT_TRUE(busyDuringApply.has_value());
  EXPECT_TRUE(*busyDuringApply);
  EXPECT_FALSE(command.Busy());
}

TEST_F(BrightnessCommandTest, WithoutPanelLevelsThePlansMonitorValuesGoToTheExternalMonitor) {
  RegKey model;
  RegKey::Create(test.registry, kHkeyLocalMachine, u"Software\\Vexa\\Kestrel\\SupportMonitor\\ABC123", kKeyAllAccess,
                 model);
  model.WriteString(u"MonitorInfo", u"ABC");
  std::uint8_t values[] = {0, 0, 25, 0, 50, 0, 100, 0};
  MachineKey().WriteBinary(u"BValue", values, sizeof values);
  MachineKey().WriteDword(u"BLevel", 4);
  MonitorStore store(test.registry);
  std::uint32_t id = 0;
  EmulatedMonitorSetup setup;
  setup.capabilities = "model(ABC123)vcp(10)";
  setup.maximum = 200;
  ASSERT_EQ(store.Add(setup, id), kSuccess);
  Extension().WriteDword(u"BrightnessMonitor", 2);
  Extension().WriteDword(u"BrightnessMonitorEnable", 1);

  MonitorRetry retry(clock, reporter, MonitorTiming{2, 0, 10}, false);
  ExternalMonitors monitors(test.monitors, test.registry, retry);
  ASSERT_TRUE(monitors.LoadSupportedList());
  gateOpen = false;  // start-up while another session holds the display
  BrightnessCommand& command = Command(false, &monitors);
  command.Run(kBrightnessInitialise);
  EXPECT_FALSE(command.available());
  gateOpen = true;
  command.Run(kBrightnessApplyPlan);  // finds the monitor first
  EXPECT_TRUE(command.available());
  EXPECT_EQ(store.Find(id)->setup.current, 100u);  // 50 % of 200
  RegKey settings;
  RegKey::Open(test.registry, kHkeyLocalMachine, u"Software\\Vexa\\Kestrel\\PowerSettings", kKeyRead, settings);
  std::uint32_t level = 0;
  settings.ReadDword(u"MonitorBLevel1", level);
  EXPECT_EQ(level, 2u);
  EXPECT_EQ(command.Run(kBrightnessRead), 2u);

  Extension().WriteDword(u"BrightnessMonitorEnable", 0);
  store.WriteBrightness(id, 20);
  command.Run(kBrightnessApplyPlan);
  EXPECT_EQ(store.Find(id)->setup.current, 20u);
  settings.ReadDword(u"MonitorBLevel1", level);
  EXPECT_EQ(level, kMonitorControlOff);
}

// A monitor plugged in later is found by the rescan and takes the current
// plan's monitor brightness, as the monitors known at the plan's apply did;
// with the plan's monitor control off it keeps its own.
TEST_F(BrightnessCommandTest, RescanGivesAnArrivingMonitorTheCurrentPlansMonitorBrightness) {
  RegKey model;
  RegKey::Create(test.registry, kHkeyLocalMachine, u"Software\\Vexa\\Kestrel\\SupportMonitor\\ABC123", kKeyAllAccess,
                 model);
  model.WriteString(u"MonitorInfo", u"ABC");
  std::uint8_t values[] = {0, 0, 25, 0, 50, 0, 100, 0};
  MachineKey().WriteBinary(u"BValue", values, sizeof values);
  MachineKey().WriteDword(u"BLevel", 4);
  MonitorRetry retry(clock, reporter, MonitorTiming{2, 0, 10}, false);
  ExternalMonitors monitors(test.monitors, test.registry, retry);
  ASSERT_TRUE(monitors.LoadSupportedList());
  BrightnessCommand& command = Command(false, &monitors);
  command.Run(kBrightnessInitialise);
  EXPECT_FALSE(command.available());

  MonitorStore store(test.registry);
  std::uint32_t id = 0;
  EmulatedMonitorSetup setup;
  setup.capabilities = "model(ABC123)vcp(10)";
  setup.maximum = 200;
  setup.current = 30;
  ASSERT_EQ(store.Add(setup, id), kSuccess);
  PlanRecord current;
  current.guid = active;
  current.brightnessMonitor = 1;
  current.brightnessMonitorEnable = 1;
  command.RescanMonitors(current);
  EXPECT_TRUE(command.available());
  EXPECT_EQ(store.Find(id)->setup.current, 50u);  // 25 % of 200

  store.WriteBrightness(id, 30);
  current.brightnessMonitorEnable = 0;
  command.RescanMonitors(current);
  EXPECT_EQ(store.Find(id)->setup.current, 30u);
  RegKey settings;
  RegKey::Open(test.registry, kHkeyLocalMachine, u"Software\\Vexa\\Kestrel\\PowerSettings", kKeyRead, settings);
  std::uint32_t level = 0;
  settings.ReadDword(u"MonitorBLevel1", level);
  EXPECT_EQ(level, kMonitorControlOff);
}

}  // namespace
}  // namespace kestrel::testing
