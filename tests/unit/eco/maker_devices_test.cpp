// The emulated lamp and processor-mode drivers answer their codes as the
// program expects and refuse what a driver would refuse.
#include "platform/emulated/maker_devices.h"

#include <gtest/gtest.h>

#include "eco/processor_mode.h"
#include "support/test_machine.h"

namespace kestrel {
namespace {

class MakerDevicesTest : public ::testing::Test {
 protected:
  DeviceHandle OpenPath(std::u16string_view path) {
    DeviceHandle handle = 0;
    EXPECT_EQ(test.devices.Open(path, handle), kSuccess);
    return handle;
  }
  std::optional<std::uint32_t> Ask(DeviceHandle handle, std::uint32_t code, std::vector<std::uint8_t> input,
                                   Status expected = kSuccess) {
    std::vector<std::uint8_t> output(4);
    EXPECT_EQ(test.devices.Control(handle, code, input, output), expected);
    if (output.size() != 4) return std::nullopt;
    return static_cast<std::uint32_t>(output[0] | (output[1] << 8) | (output[2] << 16) | (output[3] << 24));
  }
  std::u16string Colour() {
    RegKey key;
    std::u16string colour;
    RegKey::Open(test.registry, kHkeyLocalMachine, u"Software\\KestrelEmulator\\Devices\\VEXAECFILTER", kKeyRead, key);
    if (key.valid()) key.ReadString(u"Colour", colour);
    return colour;
  }

  TestMachine test;
};

TEST_F(MakerDevicesTest, TheLampTakesAColourAndRefusesWhatADriverWouldRefuse) {
  DeviceHandle lamp = OpenPath(u"\\\\.\\VEXAECFILTER");
  EXPECT_EQ(Ask(lamp, 0x9C40E088, {}), 0x00u) << "a fresh lamp is dark";
  Ask(lamp, 0x9C40E08C, {0x84, 0x00, 0xE7, 0x00});
  EXPECT_EQ(Ask(lamp, 0x9C40E084, {0, 0, 0, 0}), 0x74u);
  EXPECT_EQ(Colour(), u"light blue");
  Ask(lamp, 0x9C40E08C, {0x82, 0x00, 0xE7, 0x00});
  // What a driver refuses changes nothing.
  Ask(lamp, 0x9C40E08C, {0x83, 0x00, 0xE7, 0x00}, kErrorInvalidParameter);
  Ask(lamp, 0x9C40E08C, {0x81, 0x00, 0xE6, 0x00}, kErrorInvalidParameter);
  Ask(lamp, 0x9C40E08C, {0x81, 0x00, 0xE7}, kErrorInvalidParameter);
  Ask(lamp, 0x9C40E084, {1, 0, 0, 0}, kErrorInvalidParameter);
  Ask(lamp, 0x00222004, {}, kErrorInvalidFunction);
  EXPECT_EQ(Colour(), u"green");
  EXPECT_EQ(Ask(lamp, 0x9C40E094, {}), 0u);
  std::vector<std::uint8_t> tooSmall(2);
  EXPECT_EQ(test.devices.Control(lamp, 0x9C40E088, {}, tooSmall), kErrorInsufficientBuffer);
  test.devices.Close(lamp);
}

TEST_F(MakerDevicesTest, TheProcessorModeDriverReportsSupportAndKeepsTheLastMode) {
  ErrorReporter reporter{test.machine()};
  EXPECT_TRUE(ProcessorModeSupported(test.devices, reporter));
  SendProcessorMode(test.devices, reporter, 3);
  RegKey key;
  ASSERT_EQ(RegKey::Open(test.registry, kHkeyLocalMachine, u"Software\\KestrelEmulator\\Devices\\VEXAPSRD",
                         kKeyAllAccess, key),
            kSuccess);
  std::uint32_t mode = 0;
  EXPECT_EQ(key.ReadDword(u"CpuMode", mode), kSuccess);
  EXPECT_EQ(mode, 3u);
  EXPECT_EQ(test.devices.OpenHandleCount(), 0u) << "each request opens and closes the driver";

  key.WriteDword(u"Features", 0x6);  // bit 0 clear
  EXPECT_FALSE(ProcessorModeSupported(test.devices, reporter));
  DeviceHandle driver = OpenPath(u"\\\\.\\VEXAPSRD");
  Ask(driver, 0x9C40E10C, {1, 2}, kErrorInvalidParameter);
  Ask(driver, 0x9C40E100, {}, kErrorInvalidFunction);
  test.devices.Close(driver);

  // Without the driver the device is simply absent.
  EmulatedDevices none{test.registry};
  EXPECT_FALSE(ProcessorModeSupported(none, reporter));
  SendProcessorMode(none, reporter, 1);
  EXPECT_FALSE(test.files.Contents(kErrorLogPath).has_value()) << "nothing was logged";
}

}  // namespace
}  // namespace kestrel
