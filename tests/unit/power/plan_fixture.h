// A simulated machine with the plan layer on it, and helpers that shape the
// machine's plans and Kestrel's extension keys the way a test needs them.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/application.h"
#include "platform/text.h"
#include "power/extension_read.h"
#include "power/plan_ids.h"
#include "power/plan_model.h"
#include "support/test_machine.h"
#include "support/log_reader.h"

namespace kestrel::testing {

// A GUID that is none of the Windows or known plans: 0000000n-...
inline Guid TestPlanGuid(std::uint32_t n) { return Guid{n, 0x1111, 0x2222, {0x33, 0x33, 0, 0, 0, 0, 0, 0x44}}; }

class PlanFixture : public ::testing::Test {
 protected:
  static SyncHandle CreatePlanLock(Sync& sync) {
    SyncHandle handle = 0;
    bool existed = false;
    sync.CreateMutex(kPlanLockName, handle, existed);
    return handle;
  }

  // A copy of Balanced under `guid` with its own name.
  Guid AddPlan(const Guid& guid, std::u16string_view name) {
    Guid created;
    EXPECT_EQ(test.power.DuplicatePlan(kBalancedPlan, &guid, created), kSuccess);
    std::vector<std::uint8_t> bytes = Utf16ToBytes(name, true);
    test.power.WriteFriendlyName(guid, nullptr, nullptr, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    return guid;
  }

  RegKey Extension(const Guid& plan) {
    RegKey key;
    RegKey::Create(test.registry, kHkeyLocalMachine, ExtensionKeyPath(plan), kKeyAllAccess, key);
    return key;
  }
  bool ExtensionExists(const Guid& plan) {
    RegKey key;
    return RegKey::Open(test.registry, kHkeyLocalMachine, ExtensionKeyPath(plan), kKeyRead, key) == kSuccess;
  }
  void SetFlags(const Guid& plan, std::uint32_t flags) { Extension(plan).WriteDword(u"Flags", flags); }
  void SetLedNo(const Guid& plan, std::uint32_t ledNo) { Extension(plan).WriteDword(u"LedNo", ledNo); }

  // The plan's key in Windows' own store.
  RegKey WindowsPlanKey(const Guid& plan) {
    RegKey key;
    RegKey::Open(test.registry, kHkeyLocalMachine, std::u16string(kPowerSchemesKey) + u"\\" + ToString(plan),
                 kKeyAllAccess, key);
    return key;
  }

  std::vector<std::u16string> LoggedTexts() { return testing::LoggedTexts(test.files); }

  std::vector<Guid> ListedGuids() {
    std::shared_ptr<const PlanList> list = model.planList();
    std::vector<Guid> guids;
    for (std::size_t index : list->listed()) guids.push_back(list->plans()[index].guid);
    return guids;
  }

  TestMachine test;
  ErrorReporter reporter{test.machine()};
  CBrightnessCtrl brightness;
  SyncHandle lockHandle = CreatePlanLock(test.sync);
  PlanModel model{test.machine(), reporter, brightness, lockHandle};
};

}  // namespace kestrel::testing
