// The automatic switch in the running program: the record's load order and
// size rule, and the worker's cycles on simulated battery states.
#include <gtest/gtest.h>

#include "base/messages.h"
#include "eco/auto_switch.h"
#include "support/program_rig.h"

namespace kestrel::testing {
namespace {

const Guid kLowPlan = ModePlanGuid(7);
const Guid kUserPlan = ModePlanGuid(8);

class AutoSwitchTest : public ProgramRig {
 protected:
  void WriteRecord(const AutoSwitchRecord& record) {
    RegKey key;
    RegKey::Create(test.registry, kHkeyCurrentUser, kKestrelKey, kKeyAllAccess, key);
    auto bytes = EncodeAutoSwitchRecord(record);
    key.WriteBinary(u"Auto", bytes.data(), kAutoSwitchRecordBytes);
  }
  AutoSwitchRecord StoredRecord() {
    RegKey key;
    RegKey::Open(test.registry, kHkeyCurrentUser, kKestrelKey, kKeyRead, key);
    std::vector<std::uint8_t> bytes;
    key.ReadBinary(u"Auto", bytes);
    return DecodeAutoSwitchRecord(bytes).value_or(AutoSwitchRecord{});
  }
  void Start(std::uint64_t limit = 30, const Guid& target = kLowPlan) {
    AddPlan(kLowPlan, u"省電力", 0);
    AddPlan(kUserPlan, u"いつもの", 0);
    Activate(kUserPlan);
    AutoSwitchRecord record;
    record.enabled = 1;
    record.limit = limit;
    record.target = target;
    WriteRecord(record);
    StartProgram(0);
  }
  // The battery at `percent` of 44000 mWh, on mains or on battery.
  void Battery(std::uint32_t percent, bool onAc) {
    EmulatedBattery battery = DefaultBattery(0);
    battery.present = true;
    battery.remainingCapacity = battery.fullCapacity * percent / 100;
    BatteryStore(test.registry).Write(0, battery);
    EmulatedPowerSource source = test.state.ReadPowerSource();
    source.onAc = onAc;
    test.state.WritePowerSource(source);
    program.RefreshBatteryState();
  }
  bool Cycle() { return program.autoSwitch().RunCycle(app.workers().autoSwitchLock()); }
  std::vector<WParam> PlanChangedArguments() {
    std::vector<WParam> found;
    for (const WindowMessage& message : PostedToMain(kMsgPlanChanged)) found.push_back(message.wParam);
    return found;
  }
};

TEST_F(AutoSwitchTest, RecordComesFromTheUserThenTheMachineThenTheDefaults) {
  AutoSwitchRecord record;
  record.enabled = 1;
  record.limit = 12;
  record.target = kLowPlan;
  record.saved = kBalancedPlan;
  WriteRecord(record);
  EXPECT_EQ(LoadAutoSwitchRecord(test.registry, app.reporter()), record);

  // 47 bytes: logged as a bad value; the machine's target with defaults.
  RegKey user;
  RegKey::Create(test.registry, kHkeyCurrentUser, kKestrelKey, kKeyAllAccess, user);
  std::vector<std::uint8_t> short47(47, 1);
  user.WriteBinary(u"Auto", short47.data(), 47);
  MachineKey().WriteString(u"Auto", ToString(kLowPlan));
  AutoSwitchRecord machine = LoadAutoSwitchRecord(test.registry, app.reporter());
  EXPECT_EQ(machine.enabled, 0u);
  EXPECT_EQ(machine.limit, 30u);
  EXPECT_EQ(machine.target, kLowPlan);
  EXPECT_TRUE(machine.saved.IsNull());
  EXPECT_EQ(LoggedTexts().back(), u"初期設定値が不正です(0x0)");

  // 49 bytes do not fit the record's buffer (234); a machine text that names
  // no plan leaves the defaults instead of a switch to GUID_NULL.
  std::vector<std::uint8_t> long49(49, 1);
  user.WriteBinary(u"Auto", long49.data(), 49);
  MachineKey().WriteString(u"Auto", u"00000000-0000-0000-0000-000000000000");
  EXPECT_EQ(LoadAutoSwitchRecord(test.registry, app.reporter()), AutoSwitchRecord{});
  std::vector<std::u16string> logged = LoggedTexts();
  EXPECT_NE(std::find(logged.begin(), logged.end(), u"fail : RegQueryValueEx/HKCU...Settings(0xea)"), logged.end());
}

TEST_F(AutoSwitchTest, SwitchesAtTheLimitOnBatteryAndBackAboveItOnMains) {
  Start();
  EXPECT_TRUE(program.AutoSwitchEnabled());
  Battery(31, false);
  ASSERT_TRUE(Cycle());
  EXPECT_EQ(Active(), kUserPlan);
  EXPECT_TRUE(PlanChangedArguments().empty());

  Battery(30, false);  // at the limit: the switch happens
  ASSERT_TRUE(Cycle());
  EXPECT_EQ(Active(), kLowPlan);
  EXPECT_EQ(StoredRecord().saved, kUserPlan) << "the plan left is saved before the switch";
  EXPECT_EQ(program.plans().currentPlan()->guid, kLowPlan);
  EXPECT_EQ(PlanChangedArguments(), std::vector<WParam>{1});

  // Repeated cycles on battery change nothing more.
  ASSERT_TRUE(Cycle());
  ASSERT_TRUE(Cycle());
  EXPECT_EQ(PlanChangedArguments().size(), 1u);

  Battery(30, true);  // on mains at the limit: not yet
  ASSERT_TRUE(Cycle());
  EXPECT_EQ(Active(), kLowPlan);
  Battery(31, true);
  ASSERT_TRUE(Cycle());
  EXPECT_EQ(Active(), kUserPlan);
  EXPECT_TRUE(StoredRecord().saved.IsNull());
  EXPECT_EQ(PlanChangedArguments(), (std::vector<WParam>{1, 0}));
  ASSERT_TRUE(Cycle());
  EXPECT_EQ(PlanChangedArguments().size(), 2u);

  // A second drop switches again, from the plan active then.
  Activate(kBalancedPlan);
  Battery(10, false);
  ASSERT_TRUE(Cycle());
  EXPECT_EQ(Active(), kLowPlan);
  EXPECT_EQ(StoredRecord().saved, kBalancedPlan);
}

TEST_F(AutoSwitchTest, APlanChosenMeanwhileAndMissingBatteryDataLeaveThePlansAlone) {
  Start();
  Battery(20, false);
  ASSERT_TRUE(Cycle());
  ASSERT_EQ(Active(), kLowPlan);
  // The user picks the saved plan by hand on mains above the limit: the
  // cycle finds it active, and saved stays recorded.
  Battery(80, true);
  Activate(kUserPlan);
  test.messaging.ClearPosted();
  ASSERT_TRUE(Cycle());
  EXPECT_EQ(Active(), kUserPlan);
  EXPECT_EQ(StoredRecord().saved, kUserPlan);
  EXPECT_TRUE(PlanChangedArguments().empty());

  // No battery: no switching at all.
  BatteryStore(test.registry).Write(0, DefaultBattery(0));
  EmulatedPowerSource source = test.state.ReadPowerSource();
  source.onAc = false;
  test.state.WritePowerSource(source);
  program.RefreshBatteryState();
  ASSERT_TRUE(Cycle());
  EXPECT_EQ(Active(), kUserPlan);
  EXPECT_TRUE(PlanChangedArguments().empty());
}

TEST_F(AutoSwitchTest, ANullTargetIsNeverActivatedAndAPausedWorkerTakesNoLock) {
  Start(30, kNullGuid);
  Battery(5, false);
  ASSERT_TRUE(Cycle());
  ASSERT_TRUE(Cycle());
  EXPECT_EQ(Active(), kUserPlan);
  EXPECT_TRUE(ActivatedPlans().empty());
  std::vector<std::u16string> logged = LoggedTexts();
  EXPECT_EQ(std::count(logged.begin(), logged.end(), u"fail : AutoSwitch/no plan(0x0)"), 1)
      << "logged once, not at every cycle";

  // Disconnected from the console: paused; the lock stays free for the dialog.
  WriteRecord(AutoSwitchRecord{1, 0, 30, kLowPlan, kNullGuid});
  program.LoadAutoSwitchRecord();
  controller.Handle(shell.mainWindow, kWmWtsSessionChange, kWtsConsoleDisconnect, 1);
  std::size_t waits = test.sync.waits().size();
  ASSERT_TRUE(Cycle());
  EXPECT_EQ(test.sync.waits().size(), waits);
  EXPECT_EQ(Active(), kUserPlan);
  controller.Handle(shell.mainWindow, kWmWtsSessionChange, kWtsConsoleConnect, 1);
  ASSERT_TRUE(Cycle());
  EXPECT_EQ(Active(), kLowPlan);
}

TEST(AutoSwitchDecision, ComparesThePercentageInDoublePrecision) {
  AutoSwitchRecord record;
  SystemBatteryState battery;
  battery.maxCapacity = 3;
  battery.remainingCapacity = 1;  // 33.33 %
  battery.discharging = true;
  record.limit = 33;
  EXPECT_EQ(DecideAutoSwitch(record, battery), AutoSwitchStep::Nothing);
  record.limit = 34;
  EXPECT_EQ(DecideAutoSwitch(record, battery), AutoSwitchStep::SwitchToTarget);
  battery.discharging = false;
  record.limit = 33;
  EXPECT_EQ(DecideAutoSwitch(record, battery), AutoSwitchStep::Nothing) << "nothing saved";
  record.saved = kBalancedPlan;
  EXPECT_EQ(DecideAutoSwitch(record, battery), AutoSwitchStep::SwitchBack);
  battery.maxCapacity = 0;
  EXPECT_EQ(DecideAutoSwitch(record, battery), AutoSwitchStep::Nothing);
}

}  // namespace
}  // namespace kestrel::testing
