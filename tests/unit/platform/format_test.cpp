#include "platform/format.h"

#include <gtest/gtest.h>

#include "platform/guid.h"

namespace kestrel {
namespace {

TEST(FormatText, RendersTheConversionsTheProgramUses) {
  EXPECT_EQ(FormatText(u"[%d/%02d/%02d %02d:%02d:%02d] %s(0x%I64x)",
                       {2010, 4, 1, 9, 5, 7, u"fail : SetActivePwrScheme", std::int64_t{5}}),
            u"[2010/04/01 09:05:07] fail : SetActivePwrScheme(0x5)");
  EXPECT_EQ(FormatText(u"(0x%I64x)", {std::int64_t{-1}}), u"(0xffffffffffffffff)");
  EXPECT_EQ(FormatText(u"%d%%", {-42}), u"-42%");
  EXPECT_EQ(FormatText(u"%X-%u", {255u, 7u}), u"FF-7");
}

TEST(FormatText, MissingOrMismatchedArgumentsRenderAsNothing) {
  EXPECT_EQ(FormatText(u"a%sb%dc", {}), u"abc");
  EXPECT_EQ(FormatText(u"%s|%d", {5, u"x"}), u"|");
}

TEST(FormatText, AFieldWidthIsCutSoThatNoPatternCanExhaustMemory) {
  // Found by the formatter's fuzz target: a width of twenty digits made the
  // padding throw (std::length_error) and ended the program.
  std::u16string out = FormatText(u"%99999999999999999999999d|%5000s|%01025x", {7, u"ab", 0xFu});
  EXPECT_EQ(out, std::u16string(1023, u' ') + u"7|" + std::u16string(1022, u' ') + u"ab|" +
                     std::u16string(1023, u'0') + u"f");
}

TEST(Guid, RoundTripsThroughTextAndRejectsMalformedForms) {
  Guid balanced = *ParseGuid(u"381B4222-F694-41F0-9685-FF5BB260DF2E");
  EXPECT_EQ(ToString(balanced), u"381b4222-f694-41f0-9685-ff5bb260df2e");
  EXPECT_EQ(GuidFromBytes(ToBytes(balanced).data()), balanced);
  EXPECT_FALSE(ParseGuid(u"{381b4222-f694-41f0-9685-ff5bb260df2e}"));
  EXPECT_FALSE(ParseGuid(u"381b4222-f694-41f0-9685-ff5bb260df2"));
  EXPECT_FALSE(ParseGuid(u"381b4222xf694-41f0-9685-ff5bb260df2e"));
  EXPECT_FALSE(ParseGuid(u"381b4222-f694-41f0-9685-ff5bb260dfzz"));
}

}  // namespace
}  // namespace kestrel
