#include "app/processor_name.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

TEST(ProcessorClock, TakesTheLastNumericWordOfTheName) {
  ProcessorClock ghz = ParseProcessorClock(u"Intel(R) Core(TM)2 Duo CPU     T7500  @ 2.20GHz");
  EXPECT_EQ(ghz.mhz, 2200u);
  EXPECT_EQ(ghz.text, u"2.20GHz");

  ProcessorClock mhz = ParseProcessorClock(u"Mobile AMD Athlon 1600MHz processor");
  EXPECT_EQ(mhz.mhz, 1600u);
  EXPECT_EQ(mhz.text, u"1600MHz");

  // 1.995 GHz is truncated, not rounded.
  EXPECT_EQ(ParseProcessorClock(u"Some CPU @ 1.995GHz").mhz, 1995u);
  EXPECT_EQ(ParseProcessorClock(u"Some CPU @ 1.9999GHz").mhz, 1999u);

  ProcessorClock none = ParseProcessorClock(u"Genuine Processor");
  EXPECT_EQ(none.mhz, 0u);
  EXPECT_TRUE(none.text.empty());
  // A digit that does not start a word after a space does not count.
  EXPECT_EQ(ParseProcessorClock(u"Core2Duo").mhz, 0u);
}

}  // namespace
}  // namespace kestrel
