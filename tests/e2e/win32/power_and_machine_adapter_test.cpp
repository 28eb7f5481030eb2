// The power adapter against Wine's partial powrprof, the string table over the
// module's resources, and the machine the programs get under Wine.
#include <gtest/gtest.h>

#include "platform/builtin_strings.h"
#include "platform/emulated/devices.h"
#include "platform/emulated/power_store.h"
#include "platform/win32/program_machine.h"
#include "platform/win32/win32_power.h"
#include "platform/win32/win32_user_interface.h"
#include "platform/win32/windows_api.h"
#include "platform/win32/wine_detect.h"

namespace kestrel {
namespace {

TEST(PowerAdapter, MissingPowrprofFunctionsAnswerNotImplementedInsteadOfAborting) {
  ASSERT_TRUE(RunningUnderWine());
  Win32PowerManager power;
  Guid created;
  // Wine does not export these; a static import would abort the process here.
  EXPECT_EQ(power.DuplicatePlan(kBalancedPlan, nullptr, created), kErrorCallNotImplemented);
  EXPECT_EQ(power.DeletePlan(kPowerSaverPlan), kErrorCallNotImplemented);
  std::uint32_t value = 0;
  EXPECT_EQ(power.ReadAcValueIndex(kBalancedPlan, kBalancedPlan, kBalancedPlan, value), kErrorCallNotImplemented);
  Guid active;
  EXPECT_EQ(power.GetActivePlan(active), kErrorCallNotImplemented);
}

TEST(PowerAdapter, ProcessorAndBatteryInformationComeFromTheSystem) {
  Win32PowerManager power;
  std::vector<ProcessorPowerInfo> processors;
  ASSERT_EQ(power.ReadProcessorInformation(processors), kSuccess);
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  EXPECT_EQ(processors.size(), info.dwNumberOfProcessors);
  SystemPowerStatus status;
  EXPECT_EQ(power.GetSystemPowerStatus(status), kSuccess);
}

TEST(StringTableAdapter, LoadsTheJapaneseTableCompiledIntoTheModule) {
  Win32StringTable resources;
  BuiltinStringTable builtin;
  for (std::uint32_t id : {1u, 2u, 15u, 16u, 17u, 141u}) {
    EXPECT_EQ(resources.Load(id), builtin.Load(id)) << "string " << id;
  }
  EXPECT_FALSE(resources.Load(1).empty());
  EXPECT_TRUE(resources.Load(65000).empty());
}

TEST(ProgramMachineUnderWine, PlansComeFromTheEmulatedMachineInTheRegistry) {
  std::unique_ptr<ProgramMachine> program = CreateProgramMachine();
  ASSERT_TRUE(program->emulated());
  ASSERT_NE(program->emulatedPower(), nullptr);
  ASSERT_NE(program->emulatedDevices(), nullptr);
  Guid active;
  ASSERT_EQ(program->machine().power.GetActivePlan(active), kSuccess);
  EXPECT_FALSE(active.IsNull());
  bool balancedListed = false;
  Guid plan;
  for (std::uint32_t index = 0; program->machine().power.EnumeratePlans(index, plan) == kSuccess; ++index) {
    balancedListed = balancedListed || plan == kBalancedPlan;
  }
  EXPECT_TRUE(balancedListed);
}

TEST(ProgramMachineUnderWine, TheMakersDevicesAnswerAndLogWhatTheyWereSent) {
  std::unique_ptr<ProgramMachine> program = CreateProgramMachine();
  EmulatedDevices& emulated = *program->emulatedDevices();
  ASSERT_EQ(emulated.ClearLog(u"VEXAECFILTER"), kSuccess);
  DeviceIo& devices = program->machine().devices;
  DeviceHandle lamp = 0;
  ASSERT_EQ(devices.Open(u"\\\\.\\VEXAECFILTER", lamp), kSuccess);
  std::vector<std::uint8_t> output(4);
  // The lamp's restore request: a code the lamp driver answers.
  EXPECT_EQ(devices.Control(lamp, 0x9C40E094, {}, output), kSuccess);
  EXPECT_EQ(devices.Close(lamp), kSuccess);
  EXPECT_EQ(emulated.ReadLog(u"VEXAECFILTER"), std::vector<std::u16string>{u"control 0x9c40e094 in= out=4"});
  DeviceHandle unknown = 0;
  EXPECT_EQ(devices.Open(u"\\\\.\\NOSUCHDEVICE", unknown), kErrorFileNotFound);
  for (const char16_t* path : {u"\\\\.\\VEXAPSRD", u"\\\\.\\LCD"}) {
    DeviceHandle handle = 0;
    EXPECT_EQ(devices.Open(path, handle), kSuccess);
    devices.Close(handle);
  }
}

}  // namespace
}  // namespace kestrel
