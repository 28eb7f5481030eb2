#include "installer/access_fix.h"

#include <gtest/gtest.h>

#include "support/memory_registry.h"

namespace kestrel {
namespace {

constexpr const char* kUsers = "S-1-5-32-545";
constexpr const char* kAdministrators = "S-1-5-32-544";
constexpr const char* kSystem = "S-1-5-18";
constexpr std::uint8_t kInherited = 0x10;

AccessEntry Allow(const char* sid, std::uint32_t mask, std::uint8_t flags = 0) {
  return {AccessEntry::Kind::Allow, flags, mask, sid};
}
AccessEntry Deny(const char* sid, std::uint32_t mask) { return {AccessEntry::Kind::Deny, 0, mask, sid}; }

class AccessFixTest : public ::testing::Test {
 protected:
  void Key(std::u16string_view path, std::vector<AccessEntry> entries) {
    RegKey key;
    ASSERT_EQ(RegKey::Create(registry, kHkeyLocalMachine, path, kKeyAllAccess, key), kSuccess);
    ASSERT_EQ(registry.SetKeyAccess(key.get(), entries), kSuccess);
  }
  std::vector<AccessEntry> Access(std::u16string_view path) {
    RegKey key;
    std::vector<AccessEntry> entries;
    if (RegKey::Open(registry, kHkeyLocalMachine, path, kKeyRead, key) == kSuccess) {
      registry.GetKeyAccess(key.get(), entries);
    }
    return entries;
  }

  InMemoryRegistry registry;
};

TEST_F(AccessFixTest, WidensTheUsersAllowEntriesOfTheKeyAndItsDirectSubkeysOnly) {
  const std::u16string parent = u"Software\\Vexa\\Kestrel\\PowerSettings";
  const std::u16string plan = parent + u"\\f08db22f-d293-456a-b170-fab23d90fbac";
  const std::u16string other = parent + u"\\381b4222-f694-41f0-9685-ff5bb260df2e";
  const std::u16string deeper = plan + u"\\DefaultSettings";
  Key(parent, {Allow(kSystem, kKeyAllAccess), Allow(kAdministrators, kKeyRead), Allow(kUsers, kKeyRead),
               Deny(kUsers, kKeySetValue)});
  Key(plan, {Allow(kUsers, kKeyRead, kInherited)});
  Key(other, {Allow(kSystem, kKeyAllAccess)});
  Key(deeper, {Allow(kUsers, kKeyRead)});

  FixPowerSettingsAccess(registry);

  EXPECT_EQ(Access(parent),
            (std::vector<AccessEntry>{Allow(kSystem, kKeyAllAccess), Allow(kAdministrators, kKeyRead),
                                      Allow(kUsers, kKeyRead | kKeyAllAccess), Deny(kUsers, kKeySetValue)}));
  EXPECT_EQ(Access(plan), (std::vector<AccessEntry>{Allow(kUsers, kKeyRead | kKeyAllAccess, kInherited)}));
  // No entry is added where the group has none, and deeper keys are not visited.
  EXPECT_EQ(Access(other), (std::vector<AccessEntry>{Allow(kSystem, kKeyAllAccess)}));
  EXPECT_EQ(Access(deeper), (std::vector<AccessEntry>{Allow(kUsers, kKeyRead)}));
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST_F(AccessFixTest, CreatesAMissingParentAndWritesAListBackOnlyWhenItChanged) {
  FixPowerSettingsAccess(registry);
  RegKey key;
  ASSERT_EQ(RegKey::Open(registry, kHkeyLocalMachine, u"Software\\Vexa\\Kestrel\\PowerSettings", kKeyAllAccess, key),
            kSuccess);
  registry.SetKeyAccess(key.get(), {Allow(kUsers, kKeyAllAccess)});
  EXPECT_FALSE(GrantUsersFullAccess(registry, key.get()));
  registry.SetKeyAccess(key.get(), {Allow("s-1-5-32-545", 0x1)});
  EXPECT_TRUE(GrantUsersFullAccess(registry, key.get()));
}

}  // namespace
}  // namespace kestrel
