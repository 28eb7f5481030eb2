// The display adapters against Wine: dxva2 answering its error instead of
// aborting, WMI through COM (Wine's wbemprox has Win32_Processor and the
// registry provider), the emulated machine's CMOS library loaded as a real
// DLL, and the emulated WMI and monitors the programs get under Wine.
#include <gtest/gtest.h>

#include <array>

#include "platform/emulated/emulated_monitors.h"
#include "platform/emulated/emulated_quill.h"
#include "platform/emulated/emulated_wmi.h"
#include "platform/win32/program_machine.h"
#include "platform/win32/win32_libraries.h"
#include "platform/win32/win32_monitor_configuration.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_wmi.h"
#include "platform/win32/windows_api.h"

#include <objbase.h>

namespace kestrel {
namespace {

TEST(MonitorAdapter, DesktopMonitorsAreListedAndDdcCallsAnswerAnErrorCode) {
  Win32MonitorConfiguration monitors;
  std::vector<DisplayMonitorHandle> displays;
  ASSERT_EQ(monitors.EnumDisplayMonitors(displays), kSuccess);
  ASSERT_FALSE(displays.empty());
  DisplayDevice adapter;
  ASSERT_EQ(monitors.EnumDisplayDevices(u"", 0, adapter), kSuccess);
  EXPECT_TRUE(adapter.deviceName.starts_with(u"\\\\.\\DISPLAY"));
  EXPECT_EQ(monitors.EnumDisplayDevices(u"", 64, adapter), kErrorNoMoreItems);

  std::uint32_t count = 0;
  Status status = monitors.GetNumberOfPhysicalMonitorsFromHMONITOR(displays[0], count);
  // Wine's dxva2 is a stub: the call must come back with its code, not abort.
  EXPECT_EQ(status, kErrorCallNotImplemented);
  std::uint32_t length = 0;
  EXPECT_NE(monitors.GetCapabilitiesStringLength(0, length), kSuccess);
}

class ComApartment {
 public:
  ComApartment() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  ~ComApartment() { CoUninitialize(); }
};

TEST(WmiAdapter, QueriesAndMethodsPassThroughCom) {
  ComApartment com;
  CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr,
                       EOAC_NONE, nullptr);
  Win32Wmi wmi;
  WmiSession session = 0;
  ASSERT_EQ(wmi.Connect(kCimNamespace, session), kSuccess);
  std::vector<std::u16string_view> clock = {kMaxClockSpeed};
  std::vector<WmiObject> objects;
  ASSERT_EQ(wmi.Query(session, kWin32Processor, clock, objects), kSuccess);
  ASSERT_FALSE(objects.empty());
  const auto* mhz = std::get_if<std::uint32_t>(objects[0].Find(kMaxClockSpeed));
  ASSERT_NE(mhz, nullptr);
  EXPECT_GT(*mhz, 0u);
  // Windows refuses an unknown class; Wine answers no instances.
  Status unknown = wmi.Query(session, u"NoSuchClassAnywhere", clock, objects);
  EXPECT_TRUE(unknown != kSuccess || objects.empty());
  EXPECT_EQ(wmi.Release(session), kSuccess);

  // A method with typed inputs and outputs: the registry provider reads a value.
  ASSERT_EQ(wmi.Connect(u"ROOT\\DEFAULT", session), kSuccess);
  Win32Registry registry;
  RegKey key;
  ASSERT_EQ(RegKey::Create(registry, kHkeyLocalMachine, u"Software\\KestrelAdapterTest", kKeyAllAccess, key),
            kSuccess);
  ASSERT_EQ(key.WriteString(u"Answer", u"forty-two"), kSuccess);
  std::vector<WmiProperty> outputs;
  ASSERT_EQ(wmi.CallMethod(session, u"StdRegProv", u"StdRegProv", u"GetStringValue",
                           {{u"hDefKey", std::uint32_t{0x80000002}},
                            {u"sSubKeyName", std::u16string(u"Software\\KestrelAdapterTest")},
                            {u"sValueName", std::u16string(u"Answer")}},
                           outputs),
            kSuccess);
  WmiObject answer{outputs};
  EXPECT_EQ(*answer.Find(u"sValue"), WmiValue(std::u16string(u"forty-two")));
  EXPECT_EQ(*answer.Find(u"ReturnValue"), WmiValue(std::uint32_t{0}));
  EXPECT_EQ(wmi.Release(session), kSuccess);
}

TEST(LibrariesAdapter, EmulatedCmosLibraryIsCalledThroughItsExports) {
  Win32Registry registry;
  EmulatedQuill state(registry);
  ASSERT_EQ(state.SetSupported(true), kSuccess);
  ASSERT_EQ(state.SetFailing(false), kSuccess);

  Win32Libraries libraries;
  LibraryHandle library = 0;
  EXPECT_EQ(libraries.Load(u"no-such-library.dll", library), kErrorModNotFound);
  ASSERT_EQ(libraries.Load(kQuillDefaultPath, library), kSuccess);
  EXPECT_TRUE(libraries.HasExport(library, kQuillReadBrightValue));
  EXPECT_FALSE(libraries.HasExport(library, "QUILL_NOTHING"));
  EXPECT_EQ(libraries.Call(library, kQuillQuerySupported), 1u);
  std::array<std::uint8_t, 5> record = {1, 9, 0, 9, 0};
  EXPECT_EQ(libraries.CallWithBuffer(library, kQuillWritePmcInfo, record), 1u);
  std::array<std::uint8_t, 4> mode{};
  EXPECT_EQ(libraries.CallWithBuffer(library, kQuillReadBrightMode, mode), 1u);
  EXPECT_EQ(mode[0], 1);
  std::array<std::uint8_t, 5> info{};
  EXPECT_EQ(libraries.CallWithBuffer(library, kQuillReadInfo, info), 1u);
  EXPECT_EQ(info, record);
  EXPECT_EQ(libraries.Free(library), kSuccess);
}

TEST(ProgramMachine, UnderWineWmiAndMonitorsAreTheEmulatedMachines) {
  std::unique_ptr<ProgramMachine> program = CreateProgramMachine();
  ASSERT_TRUE(program->emulated());
  EXPECT_NE(dynamic_cast<EmulatedWmi*>(&program->wmi()), nullptr);
  EXPECT_NE(dynamic_cast<EmulatedMonitors*>(&program->monitors()), nullptr);
  WmiSession session = 0;
  ASSERT_EQ(program->wmi().Connect(kWmiNamespace, session), kSuccess);
  std::vector<std::u16string_view> levels = {kWmiLevels};
  std::vector<WmiObject> objects;
  WriteWmiAvailability(program->machine().registry, {true, kWbemNotSupported});
  EXPECT_EQ(program->wmi().Query(session, kWmiMonitorBrightness, levels, objects), kSuccess);
  program->wmi().Release(session);
}

}  // namespace
}  // namespace kestrel
