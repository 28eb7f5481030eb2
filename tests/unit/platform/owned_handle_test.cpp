#include "platform/owned_handle.h"

#include <gtest/gtest.h>

#include "support/test_machine.h"

namespace kestrel {
namespace {

constexpr std::u16string_view kMutexName = u"owned_handle_test";

TEST(OwnedHandleTest, ClosesThroughItsPortOnceWhateverPathItLeavesBy) {
  TestMachine test;
  {
    OwnedSync outer;
    bool existed = true;
    ASSERT_EQ(CreateOwnedMutex(test.sync, kMutexName, outer, existed), kSuccess);
    EXPECT_FALSE(existed);
    OwnedSync moved(std::move(outer));
    EXPECT_FALSE(outer.valid());
    EXPECT_EQ(test.sync.OpenHandleCount(), 1u);

    OwnedSync assigned;
    ASSERT_EQ(OpenOwnedMutex(test.sync, kMutexName, assigned), kSuccess);
    EXPECT_EQ(test.sync.OpenHandleCount(), 2u);
    assigned = std::move(moved);  // closes the handle it held
    EXPECT_EQ(test.sync.OpenHandleCount(), 1u);
  }
  EXPECT_EQ(test.sync.OpenHandleCount(), 0u);
  EXPECT_FALSE(test.sync.MutexExists(kMutexName));

  // A failed open leaves the owner empty; a released handle stays open.
  OwnedSync missing;
  EXPECT_EQ(OpenOwnedMutex(test.sync, u"no such mutex", missing), kErrorFileNotFound);
  EXPECT_FALSE(missing);
  SyncHandle kept = 0;
  ASSERT_EQ(test.sync.CreateEvent(true, false, kept), kSuccess);
  {
    OwnedSync event(test.sync, kept);
    EXPECT_EQ(event.release(), kept);
  }
  EXPECT_EQ(test.sync.OpenHandleCount(), 1u);
  EXPECT_EQ(test.sync.Close(kept), kSuccess);

  OwnedDevice lamp;
  EXPECT_EQ(OpenOwnedDevice(test.devices, u"\\\\.\\NOSUCHDEVICE", lamp), kErrorFileNotFound);
  EXPECT_FALSE(lamp);
}

// Answers every OpenMutex with one status, as for a mutex the user may not open.
class AnsweringSync : public FakeSync {
 public:
  AnsweringSync(SimulatedClock& clock, Status answer) : FakeSync(clock), answer_(answer) {}
  Status OpenMutex(std::u16string_view, SyncHandle&) override { return answer_; }

 private:
  Status answer_;
};

TEST(OwnedHandleTest, NamedMutexExistsUnlessTheNameIsNotFound) {
  TestMachine test;
  EXPECT_FALSE(NamedMutexExists(test.sync, kMutexName));
  test.sync.HoldMutex(kMutexName);
  EXPECT_TRUE(NamedMutexExists(test.sync, kMutexName));
  EXPECT_EQ(test.sync.OpenHandleCount(), 0u);

  AnsweringSync denied(test.clock, kErrorAccessDenied);
  EXPECT_TRUE(NamedMutexExists(denied, kMutexName));
  AnsweringSync badPath(test.clock, kErrorPathNotFound);
  EXPECT_FALSE(NamedMutexExists(badPath, kMutexName));
}

}  // namespace
}  // namespace kestrel
