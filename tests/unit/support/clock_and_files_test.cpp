#include <gtest/gtest.h>

#include "support/memory_file_system.h"
#include "support/recording_message_boxes.h"
#include "support/simulated_clock.h"

namespace kestrel {
namespace {

TEST(SimulatedClockTest, LocalTimeMovesWithTheClockAcrossDaysMonthsAndLeapDays) {
  SimulatedClock clock;
  clock.SetLocalBase(LocalTime{2024, 2, 28, 23, 59, 59, 500});
  clock.Advance(1000);
  LocalTime t = clock.Local();
  EXPECT_EQ(std::tie(t.year, t.month, t.day, t.hour, t.minute, t.second, t.milliseconds),
            std::make_tuple(2024, 2, 29, 0, 0, 0, 500));
  clock.Sleep(86'400'000);
  t = clock.Local();
  EXPECT_EQ(std::tie(t.month, t.day), std::make_tuple(3, 1));
  clock.SetLocalBase(LocalTime{2026, 12, 31, 23, 59, 59, 999});
  clock.Advance(1);
  t = clock.Local();
  EXPECT_EQ(std::tie(t.year, t.month, t.day, t.hour), std::make_tuple(2027, 1, 1, 0));
  EXPECT_EQ(clock.sleeps(), std::vector<std::uint32_t>{86'400'000});
  clock.AdvanceTo(0);
  EXPECT_EQ(clock.NowMs(), SimulatedClock::kStartMs + 86'401'001) << "never backwards";
}

TEST(InMemoryFileSystemTest, AnOpenFileIsExclusiveAndKeepsTheAttributeItWasCreatedWith) {
  InMemoryFileSystem files;
  FileHandle log = 0, second = 0;
  ASSERT_EQ(files.OpenExclusive(u".\\error.log", true, log), kSuccess);
  EXPECT_TRUE(files.IsHidden(u".\\ERROR.LOG"));
  EXPECT_EQ(files.OpenExclusive(u".\\error.log", false, second), kErrorSharingViolation);
  std::vector<std::uint8_t> bytes;
  EXPECT_EQ(files.ReadAll(u".\\error.log", bytes), kErrorSharingViolation);
  EXPECT_EQ(files.Delete(u".\\error.log"), kErrorSharingViolation);
  ASSERT_EQ(files.AppendToEnd(log, {'a', 0}), kSuccess);
  ASSERT_EQ(files.Close(log), kSuccess);
  EXPECT_EQ(files.AppendToEnd(log, {'b', 0}), kErrorInvalidHandle);

  ASSERT_EQ(files.OpenExclusive(u"./error.log", false, second), kSuccess);
  files.AppendToEnd(second, {'b', 0});
  files.Close(second);
  EXPECT_TRUE(files.IsHidden(u".\\error.log")) << "reopening does not change the attribute";
  ASSERT_EQ(files.ReadAll(u".\\error.log", bytes), kSuccess);
  EXPECT_EQ(bytes, (std::vector<std::uint8_t>{'a', 0, 'b', 0}));

  files.PutFile(u"C:\\Program Files\\Kestrel\\Kestrel.exe.ini", "[PLANS_INFO]");
  EXPECT_EQ(files.Exists(u"c:\\program files\\kestrel"), kSuccess);
  EXPECT_EQ(files.Exists(u"C:\\Program Files\\Kes"), kErrorFileNotFound);
  EXPECT_EQ(files.Delete(u"C:\\Program Files\\Kestrel\\Kestrel.exe.ini"), kSuccess);
  EXPECT_EQ(files.Delete(u"C:\\Program Files\\Kestrel\\Kestrel.exe.ini"), kErrorFileNotFound);
  EXPECT_EQ(files.Exists(u"C:\\Program Files\\Kestrel"), kErrorFileNotFound);
  files.FailNextOpen(kErrorAccessDenied);
  EXPECT_EQ(files.OpenExclusive(u"x", false, log), kErrorAccessDenied);
  EXPECT_EQ(files.OpenHandleCount(), 0u);
}

TEST(RecordingMessageBoxesTest, AnswersFollowTheScriptThenTheDefault) {
  RecordingMessageBoxes boxes;
  boxes.ScriptAnswers({kIdNo, kIdYes});
  EXPECT_EQ(boxes.Show(7, u"電源設定を変更しますか？", u"ケストレル", kMbYesNo | kMbIconQuestion), kIdNo);
  EXPECT_EQ(boxes.Show(7, u"b", u"c", kMbYesNo), kIdYes);
  EXPECT_EQ(boxes.Show(7, u"c", u"c", kMbOk), kIdOk);
  ASSERT_EQ(boxes.shown().size(), 3u);
  EXPECT_EQ(boxes.shown()[0].text, u"電源設定を変更しますか？");
  EXPECT_EQ(boxes.shown()[0].style, kMbYesNo | kMbIconQuestion);
}

}  // namespace
}  // namespace kestrel
