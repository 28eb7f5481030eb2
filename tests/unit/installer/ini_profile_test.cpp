#include "platform/emulated/ini_profile.h"

#include <gtest/gtest.h>

#include "platform/text.h"
#include "support/memory_file_system.h"

namespace kestrel {
namespace {

std::vector<std::uint8_t> Utf16File(std::u16string_view text) {
  std::vector<std::uint8_t> bytes = {0xFF, 0xFE};
  std::vector<std::uint8_t> units = Utf16ToBytes(text, false);
  bytes.insert(bytes.end(), units.begin(), units.end());
  return bytes;
}

class IniProfileTest : public ::testing::Test {
 protected:
  std::u16string Read(std::u16string_view section, std::u16string_view key, std::u16string_view fallback = u"-",
                      std::uint32_t units = 260) {
    return profile.ReadString(kPath, section, key, fallback, units);
  }

  static constexpr std::u16string_view kPath = u"C:\\Vexa\\Kestrel.exe.ini";
  InMemoryFileSystem files;
  IniProfile profile{files};
};

TEST_F(IniProfileTest, SectionsAndKeysMatchWithoutCaseAndMissingOnesReadAsDefault) {
  files.PutFile(kPath,
                "[Plans_Info]\r\n"
                "Count = 3 \r\n"
                "  name=  spaced out  \n"
                "quoted=\"  kept inside  \"\r"
                "single='x'\n"
                "half=\"open\n"
                "empty=\n"
                "bare\n"
                "; comment=ignored\n"
                "[other]\n"
                "count=9\n"
                "[PLANS_INFO]\n"
                "later=only in the second section of that name\n");
  EXPECT_EQ(Read(u"PLANS_INFO", u"COUNT"), u"3");
  EXPECT_EQ(Read(u"plans_info", u"count"), u"3");
  EXPECT_EQ(Read(u"OTHER", u"Count"), u"9");
  EXPECT_EQ(Read(u"plans_info", u"name"), u"spaced out");
  EXPECT_EQ(Read(u"plans_info", u"quoted"), u"  kept inside  ");
  EXPECT_EQ(Read(u"plans_info", u"single"), u"x");
  EXPECT_EQ(Read(u"plans_info", u"half"), u"\"open");
  // Present but empty is not the default.
  EXPECT_EQ(Read(u"plans_info", u"empty"), u"");
  EXPECT_EQ(Read(u"plans_info", u"bare"), u"");
  EXPECT_EQ(Read(u"plans_info", u"; comment"), u"-");
  EXPECT_EQ(Read(u"plans_info", u"missing", u"fallback"), u"fallback");
  EXPECT_EQ(Read(u"no such section", u"count", u"fallback"), u"fallback");
  // Only the first section of a name is read.
  EXPECT_EQ(Read(u"plans_info", u"later", u"fallback"), u"fallback");
  EXPECT_EQ(profile.ReadString(u"C:\\missing.ini", u"PLANS_INFO", u"COUNT", u"dflt", 260), u"dflt");
  // Values and defaults are cut to the buffer less its terminator.
  EXPECT_EQ(Read(u"plans_info", u"name", u"", 7), u"spaced");
  EXPECT_EQ(Read(u"plans_info", u"name", u"", 1), u"");
  EXPECT_EQ(Read(u"plans_info", u"missing", u"default", 4), u"def");
}

TEST_F(IniProfileTest, ReadsUnicodeFilesWithTheirByteOrderMark) {
  files.PutFile(kPath, Utf16File(u"[PLAN_0]\r\nNAME=エコ\r\n"));
  EXPECT_EQ(Read(u"plan_0", u"name"), u"エコ");
  files.PutFile(kPath, "\xEF\xBB\xBF[PLAN_0]\nNAME=\xE3\x82\xA8\xE3\x82\xB3\n");
  EXPECT_EQ(Read(u"PLAN_0", u"NAME"), u"エコ");
}

TEST_F(IniProfileTest, IntegersReadAsDecimalPrefixes) {
  files.PutFile(kPath,
                "[s]\n"
                "plain=42\nsigned=-1\nplus=+7\ntrailing=12abc\nhex=0x10\nword=abc\nempty=\n"
                "wrap=4294967297\nquoted=\"5\"\n");
  auto read = [&](std::u16string_view key) { return profile.ReadInt(kPath, u"S", key, 77); };
  EXPECT_EQ(read(u"plain"), 42u);
  EXPECT_EQ(read(u"signed"), 0xFFFFFFFFu);
  EXPECT_EQ(read(u"plus"), 7u);
  EXPECT_EQ(read(u"trailing"), 12u);
  EXPECT_EQ(read(u"hex"), 0u);
  EXPECT_EQ(read(u"word"), 0u);
  EXPECT_EQ(read(u"empty"), 77u);
  EXPECT_EQ(read(u"missing"), 77u);
  EXPECT_EQ(read(u"wrap"), 1u);
  EXPECT_EQ(read(u"quoted"), 5u);
  EXPECT_EQ(profile.ReadInt(kPath, u"S", u"missing", -3), 0xFFFFFFFDu);
}

}  // namespace
}  // namespace kestrel
