// The registry adapter against Wine's registry: the codes and sizes the core
// relies on, and a DACL round trip.
#include <gtest/gtest.h>

#include "platform/text.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/windows_api.h"

namespace kestrel {
namespace {

constexpr std::u16string_view kScratch = u"Software\\KestrelAdapterTests";

class RegistryAdapter : public ::testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\KestrelAdapterTests");
    ASSERT_EQ(RegKey::Create(registry, kHkeyCurrentUser, kScratch, kKeyAllAccess, scratch), kSuccess);
  }
  void TearDown() override {
    scratch.Reset();
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\KestrelAdapterTests");
  }

  Win32Registry registry;
  RegKey scratch;
};

TEST_F(RegistryAdapter, ValuesKeepTheirExactSizeAndReportShortBuffers) {
  const std::uint8_t five[5] = {1, 2, 3, 4, 5};
  ASSERT_EQ(scratch.WriteBinary(u"Record", five, 5), kSuccess);
  RegType type = RegType::None;
  std::uint32_t size = 0;
  EXPECT_EQ(registry.QueryValue(scratch.get(), u"Record", &type, nullptr, size), kSuccess);
  EXPECT_EQ(size, 5u);
  EXPECT_EQ(type, RegType::Binary);
  std::uint8_t shortBuffer[4] = {};
  size = sizeof shortBuffer;
  EXPECT_EQ(registry.QueryValue(scratch.get(), u"Record", &type, shortBuffer, size), kErrorMoreData);
  EXPECT_EQ(size, 5u);
  std::uint8_t four[4];
  EXPECT_EQ(scratch.ReadExactBinary(u"Record", four, 4), kErrorInvalidData);
  size = 0;
  EXPECT_EQ(registry.QueryValue(scratch.get(), u"Missing", &type, nullptr, size), kErrorFileNotFound);

  ASSERT_EQ(scratch.WriteString(u"Name", u"省電力"), kSuccess);
  std::u16string name;
  EXPECT_EQ(scratch.ReadString(u"Name", name), kSuccess);
  EXPECT_EQ(name, u"省電力");
  EXPECT_EQ(registry.DeleteValue(scratch.get(), u"Name"), kSuccess);
  EXPECT_EQ(scratch.ReadString(u"Name", name), kErrorFileNotFound);
}

TEST_F(RegistryAdapter, EnumerationEndsWithNoMoreItemsAndDeletionIsNotRecursive) {
  RegKey child;
  ASSERT_EQ(RegKey::Create(registry, scratch.get(), u"Parent\\Child", kKeyAllAccess, child), kSuccess);
  child.Reset();
  bool created = true;
  RegKey again;
  ASSERT_EQ(RegKey::Create(registry, scratch.get(), u"Parent", kKeyAllAccess, again, &created), kSuccess);
  EXPECT_FALSE(created);
  ASSERT_EQ(again.WriteDword(u"First", 1), kSuccess);
  ASSERT_EQ(again.WriteDword(u"Second", 2), kSuccess);

  std::u16string name;
  EXPECT_EQ(registry.EnumKey(again.get(), 0, name), kSuccess);
  EXPECT_EQ(name, u"Child");
  EXPECT_EQ(registry.EnumKey(again.get(), 1, name), kErrorNoMoreItems);
  EXPECT_EQ(registry.EnumValue(again.get(), 1, name), kSuccess);
  EXPECT_EQ(name, u"Second");
  EXPECT_EQ(registry.EnumValue(again.get(), 2, name), kErrorNoMoreItems);

  EXPECT_EQ(registry.DeleteKey(scratch.get(), u"Parent"), kErrorAccessDenied);
  EXPECT_EQ(registry.DeleteKey(scratch.get(), u"Parent\\Child"), kSuccess);
  again.Reset();
  EXPECT_EQ(registry.DeleteKey(scratch.get(), u"Parent"), kSuccess);
  RegKey gone;
  EXPECT_EQ(RegKey::Open(registry, scratch.get(), u"Parent", kKeyRead, gone), kErrorFileNotFound);
}

TEST_F(RegistryAdapter, PredefinedRootsReachTheRealHives) {
  RegKey machine;
  EXPECT_EQ(RegKey::Open(registry, kHkeyLocalMachine, u"Software\\Microsoft", kKeyRead, machine), kSuccess);
  RegKey user;
  EXPECT_EQ(RegKey::Open(registry, kHkeyCurrentUser, kScratch, kKeyRead, user), kSuccess);
}

TEST_F(RegistryAdapter, AccessListRoundTripsWithSidStrings) {
  RegKey key;
  ASSERT_EQ(RegKey::Create(registry, scratch.get(), u"Secured", kKeyAllAccess | kReadControl | kWriteDac, key),
            kSuccess);
  std::vector<AccessEntry> wanted = {
      {AccessEntry::Kind::Allow, 0x02 /* CONTAINER_INHERIT_ACE */, kKeyRead, std::string(kBuiltinUsersSid)},
      {AccessEntry::Kind::Deny, 0, kKeySetValue, "S-1-1-0"},
      {AccessEntry::Kind::Allow, 0, kKeyAllAccess, "S-1-5-32-544"},
  };
  ASSERT_EQ(registry.SetKeyAccess(key.get(), wanted), kSuccess);
  std::vector<AccessEntry> read;
  ASSERT_EQ(registry.GetKeyAccess(key.get(), read), kSuccess);
  EXPECT_EQ(read, wanted);

  std::vector<AccessEntry> bad = {{AccessEntry::Kind::Allow, 0, kKeyRead, "not a SID"}};
  EXPECT_NE(registry.SetKeyAccess(key.get(), bad), kSuccess);
  ASSERT_EQ(registry.GetKeyAccess(key.get(), read), kSuccess);
  EXPECT_EQ(read, wanted);  // a failed replacement leaves the list alone
}

}  // namespace
}  // namespace kestrel
