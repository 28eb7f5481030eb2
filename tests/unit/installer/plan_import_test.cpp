#include "installer/plan_import.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "platform/emulated/ini_profile.h"
#include "support/test_machine.h"
#include "unit/installer/plan_checks.h"

namespace kestrel {
namespace {

constexpr std::u16string_view kFile = u"C:\\Vexa\\Kestrel.exe.ini";
constexpr const char* kEco = "f08db22f-d293-456a-b170-fab23d90fbac";
constexpr const char* kPerformance = "f3faa8e8-79ea-4723-8ad5-cfbc1d74bd1c";
constexpr const char* kStandard = "32833106-536e-45df-80b2-d002cc92d33d";

constexpr const char* kDisplayDefinition =
    "[DISPLAY]\nSUBGROUP_GUID=7516b95f-f776-4464-8c53-06167f40cc99\n"
    "SETTING_GUID=3c0bc021-c8a8-4e07-a973-6b14cbcb2b7e\n";

class PlanImportTest : public ::testing::Test {
 protected:
  void File(std::string text) { test.files.PutFile(kFile, text); }
  void ImportFile() { ImportPlanFile(profile, test.power, kFile); }
  std::uint32_t ReplaceCount() {
    RegKey key;
    std::uint32_t count = 0;
    if (RegKey::Open(test.registry, kHkeyLocalMachine, kEmulatorKey, kKeyRead, key) == kSuccess) {
      key.ReadDword(u"DefaultPlansReplaced", count);
    }
    return count;
  }

  TestMachine test;
  IniProfile profile{test.files};
};

TEST_F(PlanImportTest, GuidInBracesSkipsThatPlanButNotTheNextOne) {
  File(std::string("[PLANS_INFO]\nCOUNT=2\n"
                   "[PLAN_0]\nGUID={f08db22f-d293-456a-b170-fab23d90fbac}\n"
                   "BASE_GUID=381b4222-f694-41f0-9685-ff5bb260df2e\nNAME=braces\n"
                   "[PLAN_1]\nGUID=f3faa8e8-79ea-4723-8ad5-cfbc1d74bd1c\n"
                   "BASE_GUID=381b4222-f694-41f0-9685-ff5bb260df2e\nNAME=fine\n"));
  EXPECT_FALSE(ImportPlan(profile, test.power, kFile, 0));
  std::size_t before = Plans(test.power).size();
  ImportFile();
  std::vector<Guid> plans = Plans(test.power);
  EXPECT_EQ(plans.size(), before + 1);
  EXPECT_EQ(std::count(plans.begin(), plans.end(), G(kEco)), 0);
  EXPECT_EQ(PlanName(test.power, G(kPerformance)), u"fine");
}

TEST_F(PlanImportTest, AliasesResolveThroughTheAliasesSectionOnly) {
  File(std::string("[PLAN_0]\nGUID=@eco\nBASE_GUID=@Balanced\n"
                   "[PLAN_1]\nGUID=f3faa8e8-79ea-4723-8ad5-cfbc1d74bd1c\nBASE_GUID=@MISSING\n"
                   "[PLAN_2]\nGUID=f3faa8e8-79ea-4723-8ad5-cfbc1d74bd1c\nBASE_GUID=@NESTED\n"
                   "[PLAN_3]\nGUID=f3faa8e8-79ea-4723-8ad5-cfbc1d74bd1c\nBASE_GUID=@EMPTY\n"
                   "[PLAN_4]\nGUID=f3faa8e8-79ea-4723-8ad5-cfbc1d74bd1c\nBASE_GUID=@\n"
                   "[PLAN_5]\nGUID=f3faa8e8-79ea-4723-8ad5-cfbc1d74bd1c\n"
                   "[aliases]\nBALANCED=381b4222-f694-41f0-9685-ff5bb260df2e\n"
                   "ECO=f08db22f-d293-456a-b170-fab23d90fbac\nNESTED=@BALANCED\nEMPTY=\n"));
  ASSERT_TRUE(ImportPlan(profile, test.power, kFile, 0));
  // Without NAME or DESC the copy keeps the Balanced plan's name and values.
  EXPECT_EQ(PlanName(test.power, G(kEco)), PlanName(test.power, kBalancedPlan));
  EXPECT_EQ(PlanDescription(test.power, G(kEco)), PlanDescription(test.power, kBalancedPlan));
  for (SettingRef setting : {kDisplayOff, kDiskOff, kSleepAfter, kProcessorMin, kBrightness}) {
    EXPECT_EQ(AcValue(test.power, G(kEco), setting), AcValue(test.power, kBalancedPlan, setting));
    EXPECT_EQ(DcValue(test.power, G(kEco), setting), DcValue(test.power, kBalancedPlan, setting));
  }
  EXPECT_NE(AcValue(test.power, G(kEco), kProcessorMin), AcValue(test.power, kHighPerformancePlan, kProcessorMin));

  for (std::uint32_t broken : {1u, 2u, 3u, 4u, 5u}) {
    EXPECT_FALSE(ImportPlan(profile, test.power, kFile, broken)) << "PLAN_" << broken;
  }
  std::vector<Guid> plans = Plans(test.power);
  EXPECT_EQ(std::count(plans.begin(), plans.end(), G(kPerformance)), 0);
}

TEST_F(PlanImportTest, ImportingTwiceLeavesOnePlanPerGuidWithTheFilesNamesAndValues) {
  File(std::string("[PLANS_INFO]\nCOUNT=2\n"
                   "[PLAN_0]\nGUID=f08db22f-d293-456a-b170-fab23d90fbac\n"
                   "BASE_GUID=a1841308-3541-4fab-bc81-f71556f20b4a\nNAME=エコ\nDESC=省電力です\n"
                   "SETTING=1\nSETTING_0=ECO_DISPLAY\n"
                   "[PLAN_1]\nGUID=f3faa8e8-79ea-4723-8ad5-cfbc1d74bd1c\n"
                   "BASE_GUID=8c5e7fda-e8bf-4a96-9a85-a6e23a8c635c\nNAME=パフォーマンス\n"
                   "SETTING=1\nSETTING_0=FAST_DISPLAY\n"
                   "[ECO_DISPLAY]\nSETTING=DISPLAY\nACINDEX=300\nDCINDEX=120\n"
                   "[FAST_DISPLAY]\nSETTING=display\nACINDEX=1800\nDCINDEX=900\n") +
       kDisplayDefinition);
  std::size_t before = Plans(test.power).size();
  ImportFile();
  // Someone renames a factory plan and changes a value; the next run restores both.
  std::vector<std::uint8_t> renamed = {'x', 0, 0, 0};
  test.power.WriteFriendlyName(G(kEco), nullptr, nullptr, renamed.data(), 4);
  test.power.WriteAcValueIndex(G(kEco), G(kDisplayOff.subgroup), G(kDisplayOff.setting), 5);
  ImportFile();

  std::vector<Guid> plans = Plans(test.power);
  EXPECT_EQ(plans.size(), before + 2);
  EXPECT_EQ(std::count(plans.begin(), plans.end(), G(kEco)), 1);
  EXPECT_EQ(std::count(plans.begin(), plans.end(), G(kPerformance)), 1);
  EXPECT_EQ(PlanName(test.power, G(kEco)), u"エコ");
  EXPECT_EQ(PlanDescription(test.power, G(kEco)), u"省電力です");
  EXPECT_EQ(PlanName(test.power, G(kPerformance)), u"パフォーマンス");
  EXPECT_EQ(AcValue(test.power, G(kEco), kDisplayOff), 300);
  EXPECT_EQ(DcValue(test.power, G(kEco), kDisplayOff), 120);
  EXPECT_EQ(AcValue(test.power, G(kPerformance), kDisplayOff), 1800);
  EXPECT_EQ(DcValue(test.power, G(kPerformance), kDisplayOff), 900);
}

TEST_F(PlanImportTest, EmptyAcIndexWritesNothingWhileDcIndexZeroWritesZero) {
  File(std::string("[PLAN_0]\nGUID=f08db22f-d293-456a-b170-fab23d90fbac\n"
                   "BASE_GUID=381b4222-f694-41f0-9685-ff5bb260df2e\nSETTING=1\nSETTING_0=VALUES\n"
                   "[VALUES]\nSETTING=DISPLAY\nACINDEX=\nDCINDEX=0\n") +
       kDisplayDefinition);
  long long balancedAc = AcValue(test.power, kBalancedPlan, kDisplayOff);
  ASSERT_GT(balancedAc, 0);
  ASSERT_GT(DcValue(test.power, kBalancedPlan, kDisplayOff), 0);
  ASSERT_TRUE(ImportPlan(profile, test.power, kFile, 0));
  EXPECT_EQ(AcValue(test.power, G(kEco), kDisplayOff), balancedAc);
  EXPECT_EQ(DcValue(test.power, G(kEco), kDisplayOff), 0);
}

TEST_F(PlanImportTest, BrokenSettingReferencesAreSkippedAndTheRestApplied) {
  File(std::string("[PLAN_0]\nGUID=f08db22f-d293-456a-b170-fab23d90fbac\n"
                   "BASE_GUID=381b4222-f694-41f0-9685-ff5bb260df2e\nSETTING=5\n"
                   "SETTING_0=NO_SUCH_SECTION\nSETTING_1=NO_DEFINITION\nSETTING_2=BAD_GUIDS\n"
                   "SETTING_4=GOOD\n"
                   "[NO_DEFINITION]\nACINDEX=1\n"
                   "[BAD_GUIDS]\nSETTING=BROKEN\nACINDEX=7\nDCINDEX=7\n"
                   "[BROKEN]\nSUBGROUP_GUID={7516b95f-f776-4464-8c53-06167f40cc99}\n"
                   "SETTING_GUID=3c0bc021-c8a8-4e07-a973-6b14cbcb2b7e\n"
                   "[GOOD]\nSETTING=DISPLAY\nACINDEX=42\nDCINDEX=43\n") +
       kDisplayDefinition);
  ASSERT_TRUE(ImportPlan(profile, test.power, kFile, 0));
  const std::u16string section = u"PLAN_0";
  EXPECT_FALSE(ImportSetting(profile, test.power, kFile, section, G(kEco), 0));
  EXPECT_FALSE(ImportSetting(profile, test.power, kFile, section, G(kEco), 1));
  EXPECT_TRUE(ImportSetting(profile, test.power, kFile, section, G(kEco), 2));  // its writes fail, ignored
  EXPECT_FALSE(ImportSetting(profile, test.power, kFile, section, G(kEco), 3));
  EXPECT_NE(AcValue(test.power, G(kEco), kDisplayOff), 7);
  EXPECT_EQ(AcValue(test.power, G(kEco), kDisplayOff), 42);
  EXPECT_EQ(DcValue(test.power, G(kEco), kDisplayOff), 43);
}

TEST_F(PlanImportTest, ReplaceRunsAfterTheImportEvenWithNoPlans) {
  File("[PLANS_INFO]\nCOUNT=0\nREPLACE=1\n");
  ImportFile();
  EXPECT_EQ(ReplaceCount(), 1u);
  File("[PLANS_INFO]\nCOUNT=0\nREPLACE=0\n");
  ImportFile();
  File("[PLANS_INFO]\nCOUNT=0\n");
  ImportFile();
  EXPECT_EQ(ReplaceCount(), 1u);
}

TEST_F(PlanImportTest, GarbledCountsCannotRunAwayAndNegativeOnesMeanNone) {
  const std::string plan =
      "[PLAN_0]\nGUID=f08db22f-d293-456a-b170-fab23d90fbac\n"
      "BASE_GUID=381b4222-f694-41f0-9685-ff5bb260df2e\nSETTING=-1\nSETTING_0=V\n"
      "[V]\nSETTING=DISPLAY\nACINDEX=11\n";
  std::size_t before = Plans(test.power).size();
  File("[PLANS_INFO]\nCOUNT=-1\n" + plan + kDisplayDefinition);
  ImportFile();
  EXPECT_EQ(Plans(test.power).size(), before);

  // A huge count is cut to the limit; the plans that are there are imported.
  File("[PLANS_INFO]\nCOUNT=2000000000\n" + plan + kDisplayDefinition);
  ImportFile();
  EXPECT_EQ(Plans(test.power).size(), before + 1);
  EXPECT_NE(AcValue(test.power, G(kEco), kDisplayOff), 11);  // SETTING=-1 applies nothing
}

std::vector<std::uint8_t> ShippedFile(const std::string& relative) {
  std::ifstream in(std::string(KESTREL_SOURCE_DIR) + "/resources/factory/" + relative, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void ExpectDistinctFactoryPlans(PowerManager& power, const std::vector<Guid>& factory) {
  for (SettingRef setting : {kDisplayOff, kDiskOff, kSleepAfter, kBrightness}) {
    for (std::size_t a = 0; a < factory.size(); ++a) {
      for (std::size_t b = a + 1; b < factory.size(); ++b) {
        EXPECT_TRUE(AcValue(power, factory[a], setting) != AcValue(power, factory[b], setting) &&
                    DcValue(power, factory[a], setting) != DcValue(power, factory[b], setting))
            << setting.setting << " of plans " << a << " and " << b;
      }
    }
  }
  auto processor = [&](const Guid& plan, bool ac) {
    return ac ? std::pair(AcValue(power, plan, kProcessorMin), AcValue(power, plan, kProcessorMax))
              : std::pair(DcValue(power, plan, kProcessorMin), DcValue(power, plan, kProcessorMax));
  };
  for (std::size_t a = 0; a < factory.size(); ++a) {
    for (std::size_t b = a + 1; b < factory.size(); ++b) {
      EXPECT_NE(processor(factory[a], true), processor(factory[b], true));
      EXPECT_NE(processor(factory[a], false), processor(factory[b], false));
    }
  }
}

TEST_F(PlanImportTest, ShippedFilesCreateTheFactoryPlansOfTheModeBinding) {
  struct Shipped {
    std::string file;
    std::vector<std::pair<const char*, std::u16string>> plans;
  };
  const Shipped models[] = {
      {"Kestrel.exe.ini", {{kPerformance, u"パフォーマンス"}, {kStandard, u"スタンダード"}, {kEco, u"エコ"}}},
      {"twomode/Kestrel.exe.ini", {{kEco, u"ECOモード"}, {kPerformance, u"通常モード"}}},
  };
  for (const Shipped& model : models) {
    SCOPED_TRACE(model.file);
    TestMachine machine;
    IniProfile files{machine.files};
    std::vector<std::uint8_t> shipped = ShippedFile(model.file);
    ASSERT_GT(shipped.size(), 2u);
    ASSERT_EQ(shipped[0], 0xFF);  // UTF-16LE with its mark, for the Japanese names
    machine.files.PutFile(kFile, shipped);
    ImportPlanFile(files, machine.power, kFile);

    std::vector<Guid> factory;
    for (const auto& [plan, name] : model.plans) {
      factory.push_back(G(plan));
      EXPECT_EQ(PlanName(machine.power, G(plan)), name);
      std::u16string description = PlanDescription(machine.power, G(plan));
      EXPECT_TRUE(std::any_of(description.begin(), description.end(), [](char16_t c) { return c >= u'\u3000'; }))
          << "a Japanese description";
    }
    EXPECT_EQ(Plans(machine.power).size(), 3 + factory.size());
    ExpectDistinctFactoryPlans(machine.power, factory);
    EXPECT_EQ(AcValue(machine.power, G(kEco), kDisplayOff), 300);
  }
}

}  // namespace
}  // namespace kestrel
