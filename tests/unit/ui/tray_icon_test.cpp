// The tray icon's operations against a shell that times out or refuses, the
// icon a plan shows, and the texts of the tooltip and the balloon.
#include <gtest/gtest.h>

#include "support/test_machine.h"
#include "ui/model/plan_icons.h"
#include "ui/model/tray_icon.h"
#include "ui/model/tray_texts.h"
#include "support/log_reader.h"
#include "unit/ui/tray_rig.h"

namespace kestrel::testing {
namespace {

class TrayIconOps : public ::testing::Test {
 protected:
  std::vector<std::u16string> Logged() {
    std::vector<std::u16string> texts;
    for (const auto& line : LogLines(test.files)) texts.push_back(WithoutStamp(line));
    return texts;
  }
  TrayIconRequest Request() {
    TrayIconRequest request;
    request.window = 0x77;
    request.iconResource = 398;
    request.tip = u"電源プラン：バランス";
    return request;
  }

  TestMachine test;
  ErrorReporter reporter{test.machine()};
  RecordingNotificationArea area;
  TrayIcon icon{area, test.clock, reporter};
};

TEST_F(TrayIconOps, ModifyRetriesOnlyWhileTheShellTimesOut) {
  area.Answer("modify", {false, kErrorTimeout});
  area.Answer("modify", {false, kErrorTimeout});
  EXPECT_TRUE(icon.Modify(Request()));
  EXPECT_EQ(area.calls.size(), 3u);
  EXPECT_EQ(test.clock.sleeps(), (std::vector<std::uint32_t>{500, 500}));
  EXPECT_EQ(Logged(), (std::vector<std::u16string>(2, u"fail : TrayMessage/NIM_MODIFY(0x5b4)")));

  // Any other error ends at once; a failure without error is not logged.
  area.calls.clear();
  area.Answer("modify", {false, kErrorAccessDenied});
  EXPECT_FALSE(icon.Modify(Request()));
  area.Answer("modify", {false, kSuccess});
  EXPECT_FALSE(icon.Modify(Request()));
  EXPECT_EQ(area.calls.size(), 2u);
  EXPECT_EQ(Logged().size(), 3u);
  EXPECT_EQ(Logged().back(), u"fail : TrayMessage/NIM_MODIFY(0x5)");

  // A shell that never answers in time gets ten attempts.
  area.calls.clear();
  for (int i = 0; i < 12; ++i) area.Answer("modify", {false, kErrorTimeout});
  EXPECT_FALSE(icon.Modify(Request()));
  EXPECT_EQ(area.calls.size(), 10u);
}

TEST_F(TrayIconOps, AddThatTimedOutIsCheckedWithAModify) {
  // Refused outright: logged, no retry.
  area.Answer("add", {false, kErrorAccessDenied});
  EXPECT_FALSE(icon.Add(0x77, 656));
  EXPECT_EQ(area.Ops(), std::vector<std::string>{"add"});
  EXPECT_EQ(Logged(), std::vector<std::u16string>{u"fail : TrayMessage/NIM_ADD(0x5)"});

  // Timed out, but the shell has the icon: the modify with "Running" succeeds.
  area.calls.clear();
  area.Answer("add", {false, kErrorTimeout});
  EXPECT_TRUE(icon.Add(0x77, 656));
  ASSERT_EQ(area.Ops(), (std::vector<std::string>{"add", "modify"}));
  EXPECT_EQ(area.calls[0].request.iconResource, 0u) << "the icon is added without image";
  EXPECT_TRUE(area.calls[0].request.tip.empty());
  EXPECT_EQ(area.calls[1].request.tip, u"Running");
  EXPECT_EQ(area.calls[1].request.iconResource, 656u);
  EXPECT_EQ(test.clock.sleeps(), std::vector<std::uint32_t>{500});

  // The modify succeeded with an error left behind: logged, and the icon
  // counts as added (it is in the notification area).
  area.calls.clear();
  area.Answer("add", {false, kErrorTimeout});
  area.Answer("modify", {true, kErrorTimeout});
  EXPECT_TRUE(icon.Add(0x77, 656));
  EXPECT_EQ(Logged().back(), u"fail : TrayMessage/NIM_ADD - MODIFY OK(0x5b4)");

  // The icon never appears: every pass adds again, at most ten passes.
  area.calls.clear();
  for (int i = 0; i < 10; ++i) {
    area.Answer("add", {false, kErrorTimeout});
    area.Answer("modify", {false, kErrorInvalidParameter});
  }
  EXPECT_FALSE(icon.Add(0x77, 656));
  EXPECT_EQ(area.calls.size(), 20u);
}

TEST_F(TrayIconOps, DeleteFailureIsLogged) {
  EXPECT_TRUE(icon.Delete(0x77));
  area.Answer("delete", {false, kErrorInvalidParameter});
  EXPECT_FALSE(icon.Delete(0x77));
  EXPECT_EQ(area.calls[1].request.id, kTrayIconId);
  EXPECT_EQ(Logged(), std::vector<std::u16string>{u"fail : TrayMessage/NIM_DELETE(0x57)"});
}

TEST(PlanIcon, UnknownNumbersShowTheFallbackAndEcoIconsShowTheMode) {
  for (std::uint32_t iconNo : {5u, 6u, 12u, 0xFFFFFFFFu, 10u}) {
    EXPECT_EQ(PlanSmallIcon(iconNo, 0, IconSet::Standard), 398u) << iconNo;
    EXPECT_EQ(PlanSmallIcon(iconNo, 1, IconSet::Eco), 675u) << iconNo;
  }
  EXPECT_EQ(PlanSmallIcon(1, 2, IconSet::Eco), 656u);
  EXPECT_EQ(PlanSmallIcon(1, 2, IconSet::Standard), 389u);
  EXPECT_EQ(PlanSmallIcon(4, 3, IconSet::Eco), 685u);
  EXPECT_EQ(PlanLargeIcon(8, 1, IconSet::Eco), 637u);
  // A mode number out of range must not pick the next row's icon.
  EXPECT_EQ(PlanSmallIcon(0, 4, IconSet::Eco), 650u);
}

TEST(TrayTexts, TooltipAndBalloonAreCutToTheirRoom) {
  BuiltinStringTable strings;
  EXPECT_EQ(TrayTip(strings, u"バランス"), u"電源プラン：バランス");
  std::u16string longName(300, u'名');
  std::u16string tip = TrayTip(strings, longName);
  EXPECT_EQ(tip.size(), 127u);
  EXPECT_EQ(tip.substr(0, 6), u"電源プラン：");

  EXPECT_EQ(BalloonText(strings, 30, u"省電力"),
            u"バッテリ残量が30%以下になりましたので、電源プランを「省電力」に切り替えました。");
  std::u16string balloon = BalloonText(strings, 100, longName);
  EXPECT_EQ(balloon.size(), 255u);
  const std::u16string tail = u"...」に切り替えました。";
  EXPECT_EQ(balloon.substr(balloon.size() - tail.size()), tail);
  EXPECT_EQ(balloon.substr(0, 10), u"バッテリ残量が100");

  EXPECT_EQ(BalloonTitle(std::u16string(70, u'x')).size(), 63u);
  // A cut never splits a surrogate pair.
  std::u16string pairs;
  for (int i = 0; i < 100; ++i) pairs += u"\U0001F50B";
  std::u16string cut = TrayTip(strings, pairs);
  EXPECT_EQ(cut.size(), 126u);
  EXPECT_TRUE(cut.back() >= 0xDC00 && cut.back() <= 0xDFFF);
}

}  // namespace
}  // namespace kestrel::testing
