#include "platform/emulated/devices.h"

#include <gtest/gtest.h>

#include "support/memory_registry.h"

namespace kestrel {
namespace {

constexpr std::u16string_view kLampPath = u"\\\\.\\VEXAECFILTER";

// Keeps a press counter in its state key and answers with the lines of its
// log it can already see, so a test can tell the log was written first.
class CountingDevice : public EmulatedDevice {
 public:
  std::u16string Name() const override { return u"Counter"; }
  Status Control(RegKey& state, std::uint32_t code, const std::vector<std::uint8_t>& input,
                 std::vector<std::uint8_t>& output) override {
    std::uint32_t count = 0;
    state.ReadDword(u"Count", count);
    state.WriteDword(u"Count", count + 1);
    std::vector<std::u16string> log;
    state.ReadMultiString(u"Log", log);
    output.assign(input.size() + 1, static_cast<std::uint8_t>(log.size()));
    return code == 0xBAD ? kErrorInvalidParameter : kSuccess;
  }
};

class DevicesTest : public ::testing::Test {
 protected:
  InMemoryRegistry registry;
  EmulatedDevices devices{registry};
};

TEST_F(DevicesTest, EveryCommandIsLoggedInAParseableLineAndTheRecordingDeviceAnswersEmpty) {
  DeviceHandle handle = 0;
  EXPECT_EQ(devices.Open(kLampPath, handle), kErrorFileNotFound);
  devices.Install(std::u16string(kLampPath), std::make_unique<RecordingDevice>(u"Lamp"));
  EXPECT_EQ(devices.Open(u"\\\\.\\NOSUCHDEVICE", handle), kErrorFileNotFound);
  ASSERT_EQ(devices.Open(u"\\\\.\\vexaecfilter", handle), kSuccess);

  std::vector<std::uint8_t> output(4, 0xAA);
  EXPECT_EQ(devices.Control(handle, 0x00222004, {0x01, 0x02}, output), kSuccess);
  EXPECT_TRUE(output.empty());
  output.clear();
  EXPECT_EQ(devices.Control(handle, 0x9C402410, {}, output), kSuccess);
  EXPECT_EQ(devices.Write(handle, {0xFF, 0x0A}), kSuccess);
  std::vector<std::uint8_t> read(8);
  EXPECT_EQ(devices.Read(handle, read), kSuccess);
  EXPECT_TRUE(read.empty());

  EXPECT_EQ(devices.ReadLog(u"Lamp"),
            (std::vector<std::u16string>{u"control 0x00222004 in=01 02 out=4", u"control 0x9c402410 in= out=0",
                                         u"write ff 0a", u"read 8"}));
  // Another process reading the machine sees the same log.
  EmulatedDevices elsewhere(registry);
  EXPECT_EQ(elsewhere.ReadLog(u"lamp").size(), 4u);
  EXPECT_TRUE(elsewhere.ReadLog(u"Counter").empty());

  EXPECT_EQ(devices.OpenHandleCount(), 1u);
  ASSERT_EQ(devices.Close(handle), kSuccess);
  EXPECT_EQ(devices.Close(handle), kErrorInvalidHandle);
  EXPECT_EQ(devices.Control(handle, 0x00222004, {}, output), kErrorInvalidHandle);
  EXPECT_EQ(devices.ReadLog(u"Lamp").size(), 4u) << "a refused command reaches no device";
  ASSERT_EQ(devices.ClearLog(u"Lamp"), kSuccess);
  EXPECT_TRUE(devices.ReadLog(u"Lamp").empty());
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST_F(DevicesTest, DevicesKeepStateBesideTheirLogAndCannotOverrunTheCallersBuffer) {
  devices.Install(u"\\\\.\\COUNTER", std::make_unique<CountingDevice>());
  DeviceHandle handle = 0;
  ASSERT_EQ(devices.Open(u"\\\\.\\COUNTER", handle), kSuccess);

  std::vector<std::uint8_t> output(4);
  ASSERT_EQ(devices.Control(handle, 1, {7}, output), kSuccess);
  // The device already saw its own command in the log when it answered.
  EXPECT_EQ(output, (std::vector<std::uint8_t>{1, 1}));
  output.resize(4);
  EXPECT_EQ(devices.Control(handle, 0xBAD, {}, output), kErrorInvalidParameter);
  output.resize(1);
  EXPECT_EQ(devices.Control(handle, 2, {1, 2, 3}, output), kErrorInsufficientBuffer);
  EXPECT_TRUE(output.empty());

  RegKey state;
  ASSERT_EQ(RegKey::Open(registry, kHkeyLocalMachine, u"Software\\KestrelEmulator\\Devices\\Counter", kKeyRead, state),
            kSuccess);
  std::uint32_t count = 0;
  ASSERT_EQ(state.ReadDword(u"Count", count), kSuccess);
  EXPECT_EQ(count, 3u);
  EXPECT_EQ(devices.Write(handle, {1}), kErrorNotSupported);  // not a device that takes writes
  EXPECT_EQ(devices.ReadLog(u"Counter").size(), 4u);
}

TEST_F(DevicesTest, TheLogKeepsOnlyTheLatestLines) {
  devices.Install(std::u16string(kLampPath), std::make_unique<RecordingDevice>(u"Lamp"));
  DeviceHandle handle = 0;
  ASSERT_EQ(devices.Open(kLampPath, handle), kSuccess);
  for (std::uint32_t i = 0; i < kDeviceLogLines + 5; ++i) {
    std::vector<std::uint8_t> output;
    devices.Control(handle, i, {}, output);
  }
  std::vector<std::u16string> log = devices.ReadLog(u"Lamp");
  ASSERT_EQ(log.size(), kDeviceLogLines);
  EXPECT_EQ(log.front(), u"control 0x00000005 in= out=0");
  EXPECT_EQ(log.back(), u"control 0x000003ec in= out=0");
}

}  // namespace
}  // namespace kestrel
