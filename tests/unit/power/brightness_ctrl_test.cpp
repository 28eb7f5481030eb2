#include "power/brightness_ctrl.h"

#include <gtest/gtest.h>

#include <vector>

#include "power/alsbc.h"

namespace kestrel {
namespace {

TEST(BrightnessCtrlTest, TableModeConvertsAtTheMidpointsBetweenLevels) {
  CBrightnessCtrl ctrl;
  const std::vector<std::uint16_t> levels{0, 10, 20, 40, 70, 100};
  ctrl.SetLevels(CBrightnessCtrl::kTableMode, levels);

  std::vector<int> thresholds;
  for (std::uint32_t k = 0; k < ctrl.levelCount(); ++k) thresholds.push_back(ctrl.threshold(k));
  EXPECT_EQ(thresholds, (std::vector<int>{0, 5, 15, 30, 55, 85}));
  EXPECT_EQ(ctrl.PercentToIndex(0), 0u);
  EXPECT_EQ(ctrl.PercentToIndex(4), 0u);
  EXPECT_EQ(ctrl.PercentToIndex(5), 1u);
  EXPECT_EQ(ctrl.PercentToIndex(54), 3u);
  EXPECT_EQ(ctrl.PercentToIndex(55), 4u);
  EXPECT_EQ(ctrl.PercentToIndex(100), 5u);
  EXPECT_EQ(ctrl.PercentToIndex(250), 5u);
  EXPECT_EQ(ctrl.IndexToPercent(3), 40u);
  EXPECT_EQ(ctrl.IndexToPercent(6), kNoBrightnessValue);
  // Every level converts back to itself.
  for (std::uint32_t k = 0; k < ctrl.levelCount(); ++k) EXPECT_EQ(ctrl.PercentToIndex(ctrl.IndexToPercent(k)), k);
}

TEST(BrightnessCtrlTest, LinearModeSharesOutThePercentages) {
  CBrightnessCtrl ctrl;
  const std::vector<std::uint16_t> eight(8, 0);
  ctrl.SetLevels(CBrightnessCtrl::kLinearMode, eight);
  EXPECT_EQ(ctrl.PercentToIndex(50), 3u);   // 7 * 50 / 100 = 3.5, truncated
  EXPECT_EQ(ctrl.PercentToIndex(100), 7u);
  EXPECT_EQ(ctrl.PercentToIndex(180), 7u);  // never past the last level
  EXPECT_EQ(ctrl.IndexToPercent(1), 15u);   // 100 / 7 = 14.3, rounded up
  EXPECT_EQ(ctrl.IndexToPercent(7), 100u);
  EXPECT_EQ(ctrl.IndexToPercent(8), kNoBrightnessValue);

  const std::vector<std::uint16_t> one{50};
  ctrl.SetLevels(CBrightnessCtrl::kLinearMode, one);
  EXPECT_EQ(ctrl.IndexToPercent(0), kNoBrightnessValue);  // no share of zero steps
}

TEST(BrightnessCtrlTest, WithoutATableNothingConvertsAndLongTablesAreCut) {
  CBrightnessCtrl ctrl;
  EXPECT_EQ(ctrl.PercentToIndex(50), kNoBrightnessValue);
  EXPECT_EQ(ctrl.IndexToPercent(0), kNoBrightnessValue);
  ctrl.SetLevels(CBrightnessCtrl::kTableMode, {});
  EXPECT_EQ(ctrl.PercentToIndex(50), kNoBrightnessValue);

  std::vector<std::uint16_t> many(300);
  for (std::size_t i = 0; i < many.size(); ++i) many[i] = static_cast<std::uint16_t>(0x100 + i);
  ctrl.SetLevels(CBrightnessCtrl::kTableMode, many);
  EXPECT_EQ(ctrl.levelCount(), 256u);
  EXPECT_EQ(ctrl.level(5), 5u);  // the low byte of each value
}

TEST(AlsbcTest, StoredValuesAreRepairedAgainstTheHighestLevel) {
  EXPECT_EQ(ValidateAlsbc(Alsbc{{2, 3, 5, 9, 1}}, 7), (Alsbc{{0, 7, 0, 9, 1}}));
  EXPECT_EQ(ValidateAlsbc(Alsbc{{0, 0, 0, 0, 0}}, 7), DefaultAlsbc(7));
  EXPECT_EQ(ValidateAlsbc(Alsbc{{1, 7, 6, 5, 7}}, 7), (Alsbc{{1, 7, 6, 7, 0}}));  // low 7 is above M - 1
  EXPECT_EQ(ValidateAlsbc(Alsbc{{1, 4, 4, 3, 2}}, 7), (Alsbc{{1, 7, 0, 3, 2}}));  // low equal to high

  CBrightnessCtrl ctrl;
  EXPECT_EQ(HighestPanelLevel(ctrl), 7u);
  const std::vector<std::uint16_t> eleven(11, 0);
  ctrl.SetLevels(CBrightnessCtrl::kTableMode, eleven);
  EXPECT_EQ(HighestPanelLevel(ctrl), 10u);
}

}  // namespace
}  // namespace kestrel
