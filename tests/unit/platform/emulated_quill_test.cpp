// The emulated CMOS library as the program loads and calls it by export name.
#include "platform/emulated/emulated_quill.h"

#include <gtest/gtest.h>

#include <array>

#include "platform/emulated/panel.h"
#include "support/test_machine.h"

namespace kestrel {
namespace {

TEST(EmulatedQuillTest, RecordWrittenIsWhatTheModeAndInfoReadBack) {
  TestMachine test;
  Libraries& libraries = test.libraries;
  LibraryHandle library = 0;
  EXPECT_EQ(libraries.Load(u"C:\\Vexa\\other.dll", library), kErrorModNotFound);
  ASSERT_EQ(libraries.Load(u"C:\\Program Files\\Vexa\\QuillAPI.DLL", library), kSuccess);
  EXPECT_TRUE(libraries.HasExport(library, kQuillReadInfo));
  EXPECT_FALSE(libraries.HasExport(library, "QUILL_WRITE_EVERYTHING"));
  EXPECT_EQ(libraries.Call(library, kQuillQuerySupported), 1u);

  std::array<std::uint8_t, 5> record = {1, 7, 0, 7, 0};
  EXPECT_EQ(libraries.CallWithBuffer(library, kQuillWritePmcInfo, record), 1u);
  std::array<std::uint8_t, 4> mode = {9, 9, 9, 9};
  EXPECT_EQ(libraries.CallWithBuffer(library, kQuillReadBrightMode, mode), 1u);
  EXPECT_EQ(mode, (std::array<std::uint8_t, 4>{1, 0, 0, 0})) << "automatic brightness is on";
  std::array<std::uint8_t, 5> info{};
  EXPECT_EQ(libraries.CallWithBuffer(library, kQuillReadInfo, info), 1u);
  EXPECT_EQ(info, record);
  ASSERT_EQ(EmulatedPanel(test.registry).ApplyBrightness({3, 40, 40}), kSuccess);
  std::array<std::uint8_t, 4> value{};
  EXPECT_EQ(libraries.CallWithBuffer(library, kQuillReadBrightValue, value), 1u);
  EXPECT_EQ(value[0], 40);

  // Wrong call forms do nothing; a failing library keeps its record.
  std::array<std::uint8_t, 3> shortRecord = {0, 0, 0};
  EXPECT_EQ(libraries.CallWithBuffer(library, kQuillWritePmcInfo, shortRecord), 0u);
  EXPECT_EQ(libraries.Call(library, kQuillWritePmcInfo), 0u);
  EmulatedQuill quill(test.registry);
  ASSERT_EQ(quill.SetFailing(true), kSuccess);
  std::array<std::uint8_t, 5> off = {0, 7, 0, 7, 0};
  EXPECT_EQ(libraries.CallWithBuffer(library, kQuillWritePmcInfo, off), 0u);
  ASSERT_EQ(quill.SetFailing(false), kSuccess);
  EXPECT_EQ(libraries.CallWithBuffer(library, kQuillReadBrightMode, mode), 1u);
  EXPECT_EQ(mode[0], 1);
  ASSERT_EQ(quill.SetSupported(false), kSuccess);
  EXPECT_EQ(libraries.Call(library, kQuillQuerySupported), 0u);

  EXPECT_EQ(test.devices.ReadLog(u"Quill"),
            (std::vector<std::u16string>{
                u"QUILLIF_QuerySupported -> 1", u"QUILL_WRITE_PMCINFO 01 07 00 07 00 -> 1",
                u"QUILL_READ_BrightMode -> 1 mode=1", u"QUILL_READ_INFO -> 1 01 07 00 07 00",
                u"QUILL_READ_BrightValue -> 1 value=40", u"QUILL_WRITE_PMCINFO 00 07 00 07 00 -> 0",
                u"QUILL_READ_BrightMode -> 1 mode=1", u"QUILLIF_QuerySupported -> 0"}));
  EXPECT_EQ(libraries.Free(library), kSuccess);
  EXPECT_EQ(libraries.Free(library), kErrorInvalidHandle);
  EXPECT_EQ(libraries.HasExport(library, kQuillReadInfo), false);
}

}  // namespace
}  // namespace kestrel
