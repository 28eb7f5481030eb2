#include "support/fake_messaging.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

class FakeMessagingTest : public ::testing::Test {
 protected:
  SimulatedClock clock;
  FakeMessaging messaging{&clock};
};

TEST_F(FakeMessagingTest, MessagesAreRecordedForWindowsThatExist) {
  WindowHandle kestrel = messaging.AddWindow(u"Kestrel");
  EXPECT_EQ(messaging.FindWindowByClass(u"kestrel"), kestrel);
  EXPECT_EQ(messaging.FindWindowByClass(u"EcoOSDWndProc"), 0u);
  ASSERT_EQ(messaging.Post(kestrel, 1340, 0, 0), kSuccess);
  ASSERT_EQ(messaging.Post(0x4242, 1027, 1, 0), kSuccess);  // made by another fake
  ASSERT_EQ(messaging.Post(kestrel, 1027, 0, -1), kSuccess);
  EXPECT_EQ(messaging.PostedTo(kestrel), (std::vector<WindowMessage>{{kestrel, 1340, 0, 0}, {kestrel, 1027, 0, -1}}));
  EXPECT_EQ(messaging.PopPosted(), (WindowMessage{kestrel, 1340, 0, 0}));
  EXPECT_EQ(messaging.posted().size(), 2u);

  messaging.SetSendHandler([](const WindowMessage& m) { return m.message == 2048 ? 1 : 0; });
  EXPECT_EQ(messaging.Send(kestrel, 2048, 0, 0), 1);
  messaging.FailNextPost(kErrorNotEnoughMemory);
  EXPECT_EQ(messaging.Post(kestrel, 1, 0, 0), kErrorNotEnoughMemory);

  messaging.RemoveWindow(kestrel);
  EXPECT_EQ(messaging.Post(kestrel, 1340, 0, 0), kErrorInvalidWindowHandle);
  EXPECT_EQ(messaging.Send(kestrel, 2048, 0, 0), 0);
  EXPECT_EQ(messaging.FindWindowByClass(u"Kestrel"), 0u);
  EXPECT_FALSE(messaging.BringToForeground(kestrel));
  EXPECT_EQ(messaging.sent().size(), 1u);
  EXPECT_EQ(messaging.posted().size(), 2u);

  std::uint32_t taskbar = messaging.RegisterMessage(u"TaskbarCreated");
  EXPECT_EQ(taskbar, kFirstRegisteredMessage);
  EXPECT_EQ(messaging.RegisterMessage(u"Other"), kFirstRegisteredMessage + 1);
  EXPECT_EQ(messaging.RegisterMessage(u"TASKBARCREATED"), taskbar);
}

TEST_F(FakeMessagingTest, TimersFireInTimeOrderOnSimulatedTime) {
  WindowHandle window = messaging.AddWindow(u"Kestrel");
  ASSERT_EQ(messaging.SetTimer(window, 10101, 1000), kSuccess);
  ASSERT_EQ(messaging.SetTimer(window, 10110, 300), kSuccess);
  ASSERT_EQ(messaging.SetTimer(window, 5, 0), kSuccess);  // clamped to the 10 ms minimum
  EXPECT_EQ(messaging.TimerPeriod(window, 5), 10u);
  ASSERT_EQ(messaging.KillTimer(window, 5), kSuccess);
  EXPECT_EQ(messaging.KillTimer(window, 5), kErrorInvalidParameter);

  std::vector<std::pair<std::uintptr_t, std::uint64_t>> fired;
  const std::uint64_t start = clock.NowMs();
  std::size_t count = messaging.FireTimersUntil(clock, start + 1000, [&](const WindowMessage& m) {
    EXPECT_EQ(m.message, kWmTimer);
    fired.emplace_back(m.wParam, clock.NowMs() - start);
    if (m.wParam == 10101) messaging.KillTimer(window, 10101);  // a one-shot timer
  });
  EXPECT_EQ(count, 4u);
  EXPECT_EQ(fired, (std::vector<std::pair<std::uintptr_t, std::uint64_t>>{
                       {10110, 300}, {10110, 600}, {10110, 900}, {10101, 1000}}));
  EXPECT_EQ(clock.NowMs(), start + 1000);
  EXPECT_FALSE(messaging.TimerPeriod(window, 10101));

  // A late dispatcher sees one delivery, not one per missed period.
  clock.Advance(1000);
  EXPECT_EQ(messaging.DueTimers(), (std::vector<WindowMessage>{{window, kWmTimer, 10110, 0}}));
  count = messaging.FireTimersUntil(clock, clock.NowMs(), [](const WindowMessage&) {});
  EXPECT_EQ(count, 1u);
  messaging.RemoveWindow(window);
  EXPECT_FALSE(messaging.TimerPeriod(window, 10110));
  EXPECT_EQ(messaging.SetTimer(window, 1, 100), kErrorInvalidWindowHandle);
}

}  // namespace
}  // namespace kestrel
