#include <gtest/gtest.h>

#include "platform/text.h"

namespace kestrel {
namespace {

TEST(TextCaseTest, NamesCompareByTheSimpleUpperCaseOfEachUnit) {
  EXPECT_TRUE(EqualsFolded(u"Software\\Kestrel", u"SOFTWARE\\kestrel"));
  EXPECT_TRUE(EqualsFolded(u"\\\\.\\vexaecfilter", u"\\\\.\\VEXAECFILTER"));
  EXPECT_TRUE(EqualsFolded(u"", u""));
  EXPECT_FALSE(EqualsFolded(u"Kestrel", u"Kestrel "));
  EXPECT_FALSE(EqualsFolded(u"a", u"b"));
  // Letters outside ASCII: Latin-1 and y with diaeresis (whose capital lies in
  // Latin Extended-A), runs where capital and small letter alternate, Greek
  // with its final sigma, Cyrillic, full-width Latin.
  EXPECT_TRUE(EqualsFolded(u"\u00E9t\u00E9", u"\u00C9T\u00C9"));
  EXPECT_TRUE(EqualsFolded(u"\u00FF", u"\u0178"));
  EXPECT_TRUE(EqualsFolded(u"\u0101\u0107", u"\u0100\u0106"));
  EXPECT_FALSE(EqualsFolded(u"\u0100", u"\u0102"));
  EXPECT_TRUE(EqualsFolded(u"\u03C3\u03C2", u"\u03A3\u03A3"));
  EXPECT_TRUE(EqualsFolded(u"\u0451\u0436", u"\u0401\u0416"));
  EXPECT_TRUE(EqualsFolded(u"\uFF4B\uFF45", u"\uFF2B\uFF25"));
  // Japanese has no case; the multiplication sign is no small letter.
  EXPECT_TRUE(EqualsFolded(u"\u30AD\u30B9\u30C8", u"\u30AD\u30B9\u30C8"));
  EXPECT_FALSE(EqualsFolded(u"\u00F7", u"\u00D7"));
  // No letter outside ASCII matches an ASCII one, and one unit never becomes two.
  EXPECT_FALSE(EqualsFolded(u"\u0131", u"I"));
  EXPECT_FALSE(EqualsFolded(u"\u017F", u"S"));
  EXPECT_FALSE(EqualsFolded(u"\u00DF", u"SS"));
  EXPECT_EQ(FoldCase(u'\u00DF'), u'\u00DF');
  EXPECT_EQ(FoldCase(u"Kestrel-\u00E9\uFFFF"), u"KESTREL-\u00C9\uFFFF");
}

}  // namespace
}  // namespace kestrel
