// The model and brightness checks over capability strings as monitors send
// them, and over broken ones.
#include <gtest/gtest.h>

#include "display/capability_string.h"

namespace kestrel::testing {
namespace {

TEST(CapabilityStringTest, ModelIsTheTextOfItsParentheses) {
  EXPECT_EQ(CapabilityModel(u"prot(monitor)type(lcd)model(ABC123)vcp(10)"), u"ABC123");
  EXPECT_EQ(CapabilityModel(u"model(XY 7"), u"XY 7");  // no ")": the rest
  EXPECT_EQ(CapabilityModel(u"model(" + std::u16string(80, u'M') + u")"), std::u16string(63, u'M'));
  EXPECT_EQ(CapabilityModel(u"model()"), u"");
  EXPECT_EQ(CapabilityModel(u"prot(monitor)type(lcd)"), std::nullopt);
  EXPECT_EQ(CapabilityModel(u"model"), std::nullopt);
}

TEST(CapabilityStringTest, BrightnessIsFoundAmongCodesAndValueLists) {
  EXPECT_TRUE(CapabilityListsBrightness(u"(prot(monitor)type(lcd)model(ABC123)vcp(02 04 10 12 14(05 08 0B) 16))"));
  EXPECT_TRUE(CapabilityListsBrightness(u"vcp(14(05 08 0B) 10)"));  // after a value list
  EXPECT_TRUE(CapabilityListsBrightness(u"vcp(0210)"));             // codes without separators
  EXPECT_TRUE(CapabilityListsBrightness(u"vcp(02  \t10)"));
  EXPECT_FALSE(CapabilityListsBrightness(u"vcp(14(05 08) 12)"));
  EXPECT_FALSE(CapabilityListsBrightness(u"vcp()"));
  EXPECT_FALSE(CapabilityListsBrightness(u"vcpname(10(Brightness))"));
  EXPECT_FALSE(CapabilityListsBrightness(u"model(ABC123)"));
  // "vcp(" inside a value list is not the list itself.
  EXPECT_FALSE(CapabilityListsBrightness(u"vcp(12 14(0 vcp(10"));
}

TEST(CapabilityStringTest, MalformedListsEndTheWalkWithoutBrightness) {
  EXPECT_FALSE(CapabilityListsBrightness(u"vcp("));        // cut right after the tag
  EXPECT_FALSE(CapabilityListsBrightness(u"vcp(02 1"));    // cut inside a code
  EXPECT_FALSE(CapabilityListsBrightness(u"vcp(02"));      // cut after a code
  EXPECT_FALSE(CapabilityListsBrightness(u"vcp(0G 10)"));  // not a hex code
  EXPECT_FALSE(CapabilityListsBrightness(u"vcp(14(05 08 10"));  // unbalanced value list
  EXPECT_FALSE(CapabilityListsBrightness(u"vcp(-1 10)"));
  // A view that ends before the text does is never read past.
  std::u16string text = u"vcp(02 10)";
  EXPECT_FALSE(CapabilityListsBrightness(std::u16string_view(text).substr(0, 8)));
}

TEST(CapabilityStringTest, ReplyTextEndsAtItsTerminatorOrItsBuffer) {
  using namespace std::string_literals;
  EXPECT_EQ(CapabilityText("model(A)\0garbage"s), u"model(A)");
  EXPECT_EQ(CapabilityText("vcp(10"s), u"vcp(10");  // the monitor filled the buffer
  EXPECT_EQ(CapabilityText(""s), u"");
}

}  // namespace
}  // namespace kestrel::testing
