#include "base/error_reporter.h"

#include <gtest/gtest.h>

#include "support/log_reader.h"
#include "support/test_machine.h"

namespace kestrel {
namespace {

using testing::LogLines;

class ErrorReporterTest : public ::testing::Test {
 protected:
  ErrorReporterTest() { test.clock.SetLocalBase(LocalTime{2010, 4, 1, 9, 5, 7, 0}); }
  TestMachine test;
  ErrorReporter reporter{test.machine()};
};

TEST_F(ErrorReporterTest, WritesUtf16LinesWithoutByteOrderMarkIntoAHiddenFile) {
  reporter.ReportCode(28, 5);
  reporter.ReportCode(28, -1);
  reporter.ReportPlan(162, kBalancedPlan);
  reporter.ReportCode(9999, 2);  // no such text: the stamp is followed by the code

  auto bytes = test.files.Contents(kErrorLogPath);
  ASSERT_TRUE(bytes);
  EXPECT_EQ((*bytes)[0], '[');
  EXPECT_EQ((*bytes)[1], 0);
  EXPECT_TRUE(test.files.IsHidden(kErrorLogPath));
  EXPECT_EQ(LogLines(test.files),
            (std::vector<std::u16string>{u"[2010/04/01 09:05:07] fail : SetActivePwrScheme(0x5)",
                                         u"[2010/04/01 09:05:07] fail : SetActivePwrScheme(0xffffffffffffffff)",
                                         u"[2010/04/01 09:05:07] 指定されたGUIDの電源プランが存在しません"
                                         u"(381b4222-f694-41f0-9685-ff5bb260df2e)",
                                         u"[2010/04/01 09:05:07] (0x2)"}));
  EXPECT_TRUE(test.boxes.shown().empty());
}

TEST_F(ErrorReporterTest, BoxOnlyReportsLeaveTheLogAloneAndUseTheCaption) {
  reporter.SetCaption(u"ケストレル");
  reporter.ReportCode(1, 1, kReportBox);
  EXPECT_FALSE(test.files.Contents(kErrorLogPath));
  ASSERT_EQ(test.boxes.shown().size(), 1u);
  EXPECT_EQ(test.boxes.shown()[0].text,
            u"プログラムの初期化に失敗しました。\rプログラムを終了します。\rパソコンを再起動してください。(0x1)");
  EXPECT_EQ(test.boxes.shown()[0].caption, u"ケストレル");
  EXPECT_EQ(test.boxes.shown()[0].style, kMbIconHand);
}

TEST_F(ErrorReporterTest, AnOverlongTextKeepsTheCodeAndTheLineEnd) {
  LocalTime time{2026, 12, 7, 23, 59, 59, 0};
  std::u16string line = ErrorReporter::FormatLogLine(time, std::u16string(400, u'x'), u"0x5");
  EXPECT_EQ(line.size(), 299u);
  EXPECT_EQ(line.substr(line.size() - 7), u"(0x5)\r\n");
  EXPECT_EQ(line.substr(0, 22), u"[2026/12/07 23:59:59] ");
}

TEST_F(ErrorReporterTest, ALogHeldOpenElsewhereDropsTheEntryAndLaterEntriesStillAppend) {
  reporter.ReportCode(28, 1);
  test.files.FailNextOpen(kErrorSharingViolation);
  reporter.ReportCode(28, 2);
  reporter.ReportCode(28, 3);
  auto lines = LogLines(test.files);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_NE(lines[0].find(u"(0x1)"), std::u16string::npos);
  EXPECT_NE(lines[1].find(u"(0x3)"), std::u16string::npos);
  EXPECT_EQ(test.files.OpenHandleCount(), 0u);
}

}  // namespace
}  // namespace kestrel
