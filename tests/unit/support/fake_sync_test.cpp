#include "support/fake_sync.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

class FakeSyncTest : public ::testing::Test {
 protected:
  SimulatedClock clock;
  FakeSync sync{clock};
};

TEST_F(FakeSyncTest, NamedMutexesAreSharedByNameAndHeldPerOwner) {
  SyncHandle first = 0, second = 0;
  bool existed = true;
  ASSERT_EQ(sync.CreateMutex(u"kESTRELmUTEX", first, existed), kSuccess);
  EXPECT_FALSE(existed);
  ASSERT_EQ(sync.CreateMutex(u"kESTRELmUTEX", second, existed), kSuccess);
  EXPECT_TRUE(existed);
  SyncHandle other = 0;
  ASSERT_EQ(sync.CreateMutex(u"KESTRELMUTEX", other, existed), kSuccess);
  EXPECT_FALSE(existed) << "object names are case-sensitive";

  EXPECT_EQ(sync.Wait(first, 1000), WaitResult::Signaled);
  EXPECT_EQ(sync.Wait(second, 1000), WaitResult::Signaled) << "the owner may take it again";
  std::uint64_t before = clock.NowMs();
  sync.SetCurrentOwner(2);
  EXPECT_EQ(sync.Wait(second, 6000), WaitResult::Timeout);
  EXPECT_EQ(clock.NowMs(), before + 6000);
  EXPECT_EQ(sync.ReleaseMutex(first), kErrorNotOwner);
  sync.SetCurrentOwner(FakeSync::kTestOwner);
  EXPECT_EQ(sync.ReleaseMutex(first), kSuccess);
  EXPECT_EQ(sync.MutexOwner(u"kESTRELmUTEX"), FakeSync::kTestOwner) << "taken twice, released once";
  EXPECT_EQ(sync.ReleaseMutex(second), kSuccess);
  EXPECT_EQ(sync.MutexOwner(u"kESTRELmUTEX"), std::nullopt);
  ASSERT_EQ(sync.waits().size(), 3u);
  EXPECT_EQ(sync.waits()[2].timeoutMs, 6000u);
  EXPECT_EQ(sync.waits()[2].result, WaitResult::Timeout);

  // The name disappears with its last handle.
  sync.Close(first);
  SyncHandle opened = 0;
  EXPECT_EQ(sync.OpenMutex(u"kESTRELmUTEX", opened), kSuccess);
  sync.Close(second);
  sync.Close(opened);
  EXPECT_EQ(sync.OpenMutex(u"kESTRELmUTEX", opened), kErrorFileNotFound);
  EXPECT_EQ(sync.Close(opened), kErrorInvalidHandle);
}

TEST_F(FakeSyncTest, ALockHeldElsewhereTimesOutUntilItsOwnerDies) {
  sync.HoldMutex(u"kESTRELmUTEXps");
  SyncHandle lock = 0;
  bool existed = false;
  ASSERT_EQ(sync.CreateMutex(u"kESTRELmUTEXps", lock, existed), kSuccess);
  EXPECT_TRUE(existed);
  EXPECT_EQ(sync.Wait(lock, 1000), WaitResult::Timeout);
  sync.AbandonMutexesOf(2);
  EXPECT_EQ(sync.Wait(lock, 1000), WaitResult::Abandoned);
  EXPECT_EQ(sync.Wait(lock, 1000), WaitResult::Signaled);
  EXPECT_EQ(sync.MutexOwner(u"kESTRELmUTEXps"), FakeSync::kTestOwner);
  // An endless wait could never end in a single-threaded test: it fails at once.
  sync.SetCurrentOwner(3);
  std::uint64_t before = clock.NowMs();
  EXPECT_EQ(sync.Wait(lock, kInfinite), WaitResult::Failed);
  EXPECT_EQ(clock.NowMs(), before);
}

TEST_F(FakeSyncTest, EventsResetAsCreated) {
  SyncHandle manual = 0, automatic = 0;
  ASSERT_EQ(sync.CreateEvent(true, false, manual), kSuccess);
  ASSERT_EQ(sync.CreateEvent(false, true, automatic), kSuccess);
  EXPECT_EQ(sync.Wait(manual, 500), WaitResult::Timeout);
  sync.SetEvent(manual);
  EXPECT_EQ(sync.Wait(manual, 500), WaitResult::Signaled);
  EXPECT_EQ(sync.Wait(manual, 500), WaitResult::Signaled);
  sync.ResetEvent(manual);
  EXPECT_FALSE(sync.IsEventSet(manual));
  EXPECT_EQ(sync.Wait(automatic, 500), WaitResult::Signaled);
  EXPECT_EQ(sync.Wait(automatic, 500), WaitResult::Timeout);
  EXPECT_EQ(clock.NowMs(), SimulatedClock::kStartMs + 1000);
  EXPECT_EQ(sync.SetEvent(0x1), kErrorInvalidHandle);
}

TEST_F(FakeSyncTest, ThreadsRunOnlyWhenTheTestSaysAndAsTheirOwnOwner) {
  SyncHandle lock = 0;
  bool existed = false;
  sync.CreateMutex(u"lamp", lock, existed);
  sync.Wait(lock, 1000);  // held by the test

  std::vector<WaitResult> seenByWorker;
  SyncHandle worker = 0;
  ASSERT_EQ(sync.StartThread(
                [&] {
                  seenByWorker.push_back(sync.Wait(lock, 3000));
                  sync.ReleaseMutex(lock);
                },
                worker),
            kSuccess);
  EXPECT_TRUE(seenByWorker.empty());
  EXPECT_EQ(sync.PendingThreads(), std::vector<SyncHandle>{worker});
  EXPECT_EQ(sync.Wait(worker, 500), WaitResult::Timeout);

  sync.ReleaseMutex(lock);
  ASSERT_TRUE(sync.RunThread(worker));
  EXPECT_EQ(seenByWorker, std::vector<WaitResult>{WaitResult::Signaled});
  EXPECT_EQ(sync.Wait(worker, 500), WaitResult::Signaled);
  EXPECT_FALSE(sync.RunThread(worker));

  // A thread that ends holding a mutex leaves it abandoned.
  SyncHandle holder = 0;
  sync.StartThread([&] { sync.Wait(lock, 0); }, holder);
  SyncHandle hung = 0;
  sync.StartThread([] { FAIL() << "a hung thread never runs"; }, hung);
  sync.Hang(hung);
  sync.Close(holder);  // closing the handle does not stop the thread
  sync.RunPendingThreads();
  EXPECT_EQ(sync.Wait(lock, 0), WaitResult::Abandoned);
  std::uint64_t before = clock.NowMs();
  EXPECT_EQ(sync.Wait(hung, 5000), WaitResult::Timeout);
  EXPECT_EQ(clock.NowMs(), before + 5000);
}

TEST_F(FakeSyncTest, InjectedFailuresHitOnlyTheNextCall) {
  sync.FailNext(SyncOperation::CreateEvent, 1450);
  sync.FailNext(SyncOperation::StartThread);
  SyncHandle handle = 0;
  EXPECT_EQ(sync.CreateEvent(true, false, handle), 1450u);
  EXPECT_EQ(handle, 0u);
  EXPECT_EQ(sync.CreateEvent(true, false, handle), kSuccess);
  bool existed = false;
  EXPECT_EQ(sync.CreateMutex(u"m", handle, existed), kSuccess);
  EXPECT_EQ(sync.StartThread([] {}, handle), kErrorNotEnoughMemory);
  EXPECT_EQ(sync.StartThread([] {}, handle), kSuccess);
  EXPECT_EQ(sync.OpenHandleCount(), 3u);
}

}  // namespace
}  // namespace kestrel
