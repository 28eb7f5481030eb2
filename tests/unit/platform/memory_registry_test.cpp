#include "support/memory_registry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>

#include "platform/text.h"

namespace kestrel {
namespace {

constexpr std::u16string_view kKestrelKey = u"SOFTWARE\\Vexa\\Kestrel";

class MemoryRegistryTest : public ::testing::Test {
 protected:
  RegKey Create(std::u16string_view path, std::uint32_t access = kKeyAllAccess) {
    RegKey key;
    EXPECT_EQ(RegKey::Create(registry, kHkeyLocalMachine, path, access, key), kSuccess) << Utf16ToUtf8(path);
    return key;
  }
  Status Open(std::u16string_view path, std::uint32_t access, RegKey& key) {
    return RegKey::Open(registry, kHkeyLocalMachine, path, access, key);
  }
  std::vector<std::u16string> SubkeyNames(const RegKey& key) {
    std::vector<std::u16string> names;
    std::u16string name;
    Status status;
    for (std::uint32_t i = 0; (status = registry.EnumKey(key.get(), i, name)) == kSuccess; ++i) names.push_back(name);
    EXPECT_EQ(status, kErrorNoMoreItems);
    return names;
  }
  std::vector<std::u16string> ValueNames(const RegKey& key) {
    std::vector<std::u16string> names;
    std::u16string name;
    Status status;
    for (std::uint32_t i = 0; (status = registry.EnumValue(key.get(), i, name)) == kSuccess; ++i) names.push_back(name);
    EXPECT_EQ(status, kErrorNoMoreItems);
    return names;
  }

  InMemoryRegistry registry;
};

TEST_F(MemoryRegistryTest, MissingKeysValuesAndBadHandlesGiveThePlatformsCodes) {
  RegKey key;
  EXPECT_EQ(Open(kKestrelKey, kKeyRead, key), kErrorFileNotFound);
  EXPECT_FALSE(key.valid());
  EXPECT_EQ(Open(u"\\SOFTWARE", kKeyRead, key), kErrorBadPathname);

  RegKey kestrel = Create(kKestrelKey);
  std::uint32_t size = 0;
  EXPECT_EQ(registry.QueryValue(kestrel.get(), u"Settings", nullptr, nullptr, size), kErrorFileNotFound);
  EXPECT_EQ(registry.DeleteValue(kestrel.get(), u"Settings"), kErrorFileNotFound);
  std::uint32_t dword = 0;
  EXPECT_EQ(kestrel.ReadDword(u"EcoMode", dword), kErrorFileNotFound);

  KeyHandle stale = kestrel.get();
  kestrel.Reset();
  EXPECT_EQ(registry.QueryValue(stale, u"Settings", nullptr, nullptr, size), kErrorInvalidHandle);
  EXPECT_EQ(registry.CloseKey(stale), kErrorInvalidHandle);
  EXPECT_EQ(registry.SetValue(0x7777, u"x", RegType::Dword, nullptr, 0), kErrorInvalidHandle);
  // Nothing may be created beside the hives at the machine root.
  KeyHandle handle = 0;
  EXPECT_EQ(registry.CreateKey(kHkeyLocalMachine, u"Vexa", kKeyAllAccess, handle), kErrorAccessDenied);
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST_F(MemoryRegistryTest, NamesCompareWithoutCaseAndKeepTheCaseTheyWereCreatedWith) {
  bool created = false;
  RegKey key;
  ASSERT_EQ(RegKey::Create(registry, kHkeyLocalMachine, kKestrelKey, kKeyAllAccess, key, &created), kSuccess);
  EXPECT_TRUE(created);
  RegKey again;
  ASSERT_EQ(RegKey::Create(registry, kHkeyLocalMachine, u"software\\VEXA\\kestrel", kKeyAllAccess, again, &created),
            kSuccess);
  EXPECT_FALSE(created);

  EXPECT_EQ(key.WriteDword(u"LedNo", 3), kSuccess);
  EXPECT_EQ(again.WriteDword(u"LEDNO", 2), kSuccess);
  std::uint32_t value = 0;
  EXPECT_EQ(key.ReadDword(u"ledno", value), kSuccess);
  EXPECT_EQ(value, 2u);
  EXPECT_EQ(ValueNames(key), std::vector<std::u16string>{u"LedNo"});

  RegKey software;
  ASSERT_EQ(Open(u"Software", kKeyRead, software), kSuccess);
  EXPECT_EQ(SubkeyNames(software), std::vector<std::u16string>{u"Vexa"});
}

TEST_F(MemoryRegistryTest, ValuesKeepTheirExactSizeAndShortBuffersGetMoreDataWithTheSize) {
  RegKey key = Create(kKestrelKey);
  const std::uint8_t record[5] = {1, 2, 3, 4, 5};
  ASSERT_EQ(key.WriteBinary(u"ALSBC", record, 5), kSuccess);

  RegType type = RegType::None;
  std::uint32_t size = 0;
  EXPECT_EQ(registry.QueryValue(key.get(), u"ALSBC", &type, nullptr, size), kSuccess);
  EXPECT_EQ(size, 5u);
  EXPECT_EQ(type, RegType::Binary);

  std::uint8_t buffer[16] = {};
  size = 4;
  EXPECT_EQ(registry.QueryValue(key.get(), u"ALSBC", &type, buffer, size), kErrorMoreData);
  EXPECT_EQ(size, 5u);
  EXPECT_EQ(buffer[0], 0) << "a short buffer is left alone";
  size = sizeof buffer;
  EXPECT_EQ(registry.QueryValue(key.get(), u"ALSBC", &type, buffer, size), kSuccess);
  EXPECT_EQ(size, 5u);
  EXPECT_EQ(std::vector<std::uint8_t>(buffer, buffer + 6), (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 0}));

  // Fixed-size readers refuse other sizes instead of half-reading.
  std::uint8_t four[4];
  EXPECT_EQ(key.ReadExactBinary(u"ALSBC", four, 4), kErrorInvalidData);
  std::uint32_t dword = 0;
  EXPECT_EQ(key.ReadDword(u"ALSBC", dword), kErrorInvalidData);

  // A string without terminator and an empty value are kept as given.
  const std::uint8_t unterminated[4] = {'A', 0, 'B', 0};
  ASSERT_EQ(registry.SetValue(key.get(), u"Name", RegType::Sz, unterminated, 4), kSuccess);
  ASSERT_EQ(registry.SetValue(key.get(), u"Empty", RegType::Binary, nullptr, 0), kSuccess);
  size = 0;
  EXPECT_EQ(registry.QueryValue(key.get(), u"Name", &type, nullptr, size), kSuccess);
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(registry.QueryValue(key.get(), u"Empty", &type, nullptr, size), kSuccess);
  EXPECT_EQ(size, 0u);
}

TEST_F(MemoryRegistryTest, EnumerationListsSubkeysAlphabeticallyAndValuesInCreationOrder) {
  RegKey key = Create(kKestrelKey);
  for (std::u16string_view name : {u"b", u"_x", u"C", u"a"}) {
    RegKey child;
    ASSERT_EQ(RegKey::Create(registry, key.get(), name, kKeyAllAccess, child), kSuccess);
  }
  // Upper-case comparison puts '_' after the letters, as the platform lists them.
  EXPECT_EQ(SubkeyNames(key), (std::vector<std::u16string>{u"a", u"b", u"C", u"_x"}));

  for (std::u16string_view name : {u"Zeta", u"Alpha", u"Mid"}) key.WriteDword(name, 1);
  EXPECT_EQ(ValueNames(key), (std::vector<std::u16string>{u"Zeta", u"Alpha", u"Mid"}));
  key.WriteDword(u"Zeta", 2);  // rewriting keeps the place
  ASSERT_EQ(registry.DeleteValue(key.get(), u"alpha"), kSuccess);
  key.WriteDword(u"Alpha", 3);  // a new value goes last
  EXPECT_EQ(ValueNames(key), (std::vector<std::u16string>{u"Zeta", u"Mid", u"Alpha"}));

  std::u16string name;
  EXPECT_EQ(registry.EnumKey(key.get(), 4, name), kErrorNoMoreItems);
  EXPECT_EQ(registry.EnumValue(key.get(), 3, name), kErrorNoMoreItems);
}

TEST_F(MemoryRegistryTest, DeletionIsNotRecursiveAndHandlesOfADeletedKeyReportIt) {
  RegKey child = Create(u"SOFTWARE\\Vexa\\Kestrel\\PowerSettings");
  child.WriteDword(u"IconNo", 4);
  EXPECT_EQ(registry.DeleteKey(kHkeyLocalMachine, kKestrelKey), kErrorAccessDenied);
  EXPECT_EQ(registry.DeleteKey(kHkeyLocalMachine, u"SOFTWARE\\Vexa\\Kestrel\\Missing"), kErrorFileNotFound);
  ASSERT_EQ(registry.DeleteKey(kHkeyLocalMachine, u"software\\vexa\\kestrel\\powersettings"), kSuccess);

  std::uint32_t value = 0;
  EXPECT_EQ(child.ReadDword(u"IconNo", value), kErrorKeyDeleted);
  EXPECT_EQ(child.WriteDword(u"IconNo", 5), kErrorKeyDeleted);
  KeyHandle grandchild = 0;
  EXPECT_EQ(registry.CreateKey(child.get(), u"Sub", kKeyAllAccess, grandchild), kErrorKeyDeleted);
  RegKey reopened;
  EXPECT_EQ(Open(u"SOFTWARE\\Vexa\\Kestrel\\PowerSettings", kKeyRead, reopened), kErrorFileNotFound);
  // A key of the same name created later is a new, empty key.
  RegKey recreated = Create(u"SOFTWARE\\Vexa\\Kestrel\\PowerSettings");
  EXPECT_EQ(recreated.ReadDword(u"IconNo", value), kErrorFileNotFound);
  EXPECT_EQ(registry.CloseKey(child.get()), kSuccess);
  child = RegKey();

  // Deleting through the key's own handle with an empty path; roots stay.
  ASSERT_EQ(registry.DeleteKey(recreated.get(), u""), kSuccess);
  EXPECT_EQ(recreated.WriteDword(u"x", 1), kErrorKeyDeleted);
  EXPECT_EQ(registry.DeleteKey(kHkeyCurrentUser, u""), kErrorAccessDenied);
}

// Deleting some subkeys leaves the others reachable under any case, long
// names keep every unit, and a value's size and type change with each write.
TEST_F(MemoryRegistryTest, SubkeysSurviveTheirSiblingsDeletionAndValuesChangeSizeFreely) {
  RegKey parent = Create(u"SOFTWARE\\Vexa\\Kestrel\\PowerSettings");
  auto nameOf = [](int n) {
    std::u16string name = Utf8ToUtf16("Plan-" + std::to_string(n));
    if (n % 7 == 0) name += std::u16string(60, u'x');
    return name;
  };
  constexpr int kCount = 60;
  for (int n = 0; n < kCount; ++n) {
    RegKey child;
    ASSERT_EQ(RegKey::Create(registry, parent.get(), nameOf(n), kKeyAllAccess, child), kSuccess);
  }
  for (int n = 0; n < kCount; n += 3) ASSERT_EQ(registry.DeleteKey(parent.get(), nameOf(n)), kSuccess) << n;
  for (int n = 0; n < kCount; ++n) {
    RegKey child;
    std::u16string upper = nameOf(n);
    for (char16_t& c : upper) c = (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 0x20) : c;
    EXPECT_EQ(RegKey::Open(registry, parent.get(), upper, kKeyRead, child), n % 3 == 0 ? kErrorFileNotFound : kSuccess)
        << n;
  }
  std::vector<std::u16string> names = SubkeyNames(parent);
  EXPECT_EQ(names.size(), static_cast<std::size_t>(kCount - (kCount + 2) / 3));
  EXPECT_TRUE(std::find(names.begin(), names.end(), nameOf(7)) != names.end()) << "long names keep every unit";

  const std::u16string longName(80, u'V');
  std::vector<std::uint8_t> big(300, 0xAB);
  ASSERT_EQ(parent.WriteDword(u"Small", 1), kSuccess);
  ASSERT_EQ(registry.SetValue(parent.get(), longName, RegType::Binary, big.data(), 300), kSuccess);
  ASSERT_EQ(registry.SetValue(parent.get(), u"Small", RegType::Binary, big.data(), 300), kSuccess);
  ASSERT_EQ(parent.WriteDword(longName, 0x01020304), kSuccess);
  std::uint8_t buffer[300] = {};
  std::uint32_t size = sizeof buffer;
  RegType type = RegType::None;
  EXPECT_EQ(registry.QueryValue(parent.get(), u"SMALL", &type, buffer, size), kSuccess);
  EXPECT_EQ(size, 300u);
  EXPECT_EQ(buffer[299], 0xAB);
  std::uint32_t dword = 0;
  EXPECT_EQ(parent.ReadDword(longName, dword), kSuccess);
  EXPECT_EQ(dword, 0x01020304u);
  EXPECT_EQ(ValueNames(parent), (std::vector<std::u16string>{u"Small", longName}));
}

TEST_F(MemoryRegistryTest, AHandleAllowsOnlyTheAccessItWasOpenedWith) {
  Create(kKestrelKey).WriteDword(u"EcoMode", 2);
  RegKey reader;
  ASSERT_EQ(Open(kKestrelKey, kKeyRead, reader), kSuccess);
  std::uint32_t value = 0;
  EXPECT_EQ(reader.ReadDword(u"EcoMode", value), kSuccess);
  EXPECT_EQ(reader.WriteDword(u"EcoMode", 3), kErrorAccessDenied);
  EXPECT_EQ(registry.DeleteValue(reader.get(), u"EcoMode"), kErrorAccessDenied);
  KeyHandle sub = 0;
  EXPECT_EQ(registry.CreateKey(reader.get(), u"New", kKeyAllAccess, sub), kErrorAccessDenied);

  RegKey writer;
  ASSERT_EQ(Open(kKestrelKey, kKeySetValue, writer), kSuccess);
  EXPECT_EQ(writer.WriteDword(u"EcoMode", 3), kSuccess);
  EXPECT_EQ(writer.ReadDword(u"EcoMode", value), kErrorAccessDenied);
  std::u16string name;
  EXPECT_EQ(registry.EnumKey(writer.get(), 0, name), kErrorAccessDenied);
  std::vector<AccessEntry> acl;
  EXPECT_EQ(registry.GetKeyAccess(writer.get(), acl), kErrorAccessDenied);
  EXPECT_EQ(registry.SetKeyAccess(reader.get(), acl), kErrorAccessDenied);
}

TEST_F(MemoryRegistryTest, NewKeysInheritTheInheritableEntriesOfTheirParent) {
  RegKey parent = Create(u"SOFTWARE\\Vexa");
  using Kind = AccessEntry::Kind;
  const std::vector<AccessEntry> acl = {
      {Kind::Allow, kContainerInheritAce, kKeyRead, std::string(kBuiltinUsersSid)},
      {Kind::Allow, 0, kKeyAllAccess, "S-1-5-21-1-2-3-500"},
      {Kind::Allow, kContainerInheritAce | kNoPropagateInheritAce, kKeyWrite, "S-1-5-21-1-2-3-501"},
      {Kind::Deny, kContainerInheritAce | kInheritOnlyAce, kKeySetValue, "S-1-5-21-1-2-3-502"},
  };
  ASSERT_EQ(registry.SetKeyAccess(parent.get(), acl), kSuccess);

  RegKey child = Create(u"SOFTWARE\\Vexa\\Kestrel\\PowerSettings");
  RegKey middle;
  ASSERT_EQ(Open(kKestrelKey, kKeyRead, middle), kSuccess);
  std::vector<AccessEntry> inherited;
  ASSERT_EQ(registry.GetKeyAccess(middle.get(), inherited), kSuccess);
  const std::vector<AccessEntry> expectedMiddle = {
      {Kind::Allow, kContainerInheritAce | kInheritedAce, kKeyRead, std::string(kBuiltinUsersSid)},
      {Kind::Allow, kInheritedAce, kKeyWrite, "S-1-5-21-1-2-3-501"},
      {Kind::Deny, kContainerInheritAce | kInheritedAce, kKeySetValue, "S-1-5-21-1-2-3-502"},
  };
  EXPECT_EQ(inherited, expectedMiddle);

  ASSERT_EQ(registry.GetKeyAccess(child.get(), inherited), kSuccess);
  const std::vector<AccessEntry> expectedChild = {
      {Kind::Allow, kContainerInheritAce | kInheritedAce, kKeyRead, std::string(kBuiltinUsersSid)},
      {Kind::Deny, kContainerInheritAce | kInheritedAce, kKeySetValue, "S-1-5-21-1-2-3-502"},
  };
  EXPECT_EQ(inherited, expectedChild);

  // The machine's own keys start with the usual list: Users may only read.
  RegKey software;
  ASSERT_EQ(Open(u"SOFTWARE", kKeyRead, software), kSuccess);
  ASSERT_EQ(registry.GetKeyAccess(software.get(), inherited), kSuccess);
  auto users = std::find_if(inherited.begin(), inherited.end(),
                            [](const AccessEntry& e) { return e.trustee == kBuiltinUsersSid; });
  ASSERT_NE(users, inherited.end());
  EXPECT_EQ(users->mask, kKeyRead);
}

TEST_F(MemoryRegistryTest, AStandardUserGetsOnlyWhatTheAccessListsGrant) {
  RegKey settings = Create(u"SOFTWARE\\Vexa\\Kestrel\\PowerSettings");
  registry.SetCallerSids({std::string(kEmulatedUserSid), std::string(kBuiltinUsersSid), std::string(kEveryoneSid)});

  RegKey key;
  EXPECT_EQ(Open(u"SOFTWARE\\Vexa\\Kestrel\\PowerSettings", kKeyRead, key), kSuccess);
  EXPECT_EQ(Open(u"SOFTWARE\\Vexa\\Kestrel\\PowerSettings", kKeyWrite, key), kErrorAccessDenied);
  KeyHandle handle = 0;
  EXPECT_EQ(
      registry.CreateKey(kHkeyLocalMachine, u"SOFTWARE\\Vexa\\Kestrel\\PowerSettings\\plan", kKeyAllAccess, handle),
      kErrorAccessDenied);
  EXPECT_EQ(registry.DeleteKey(kHkeyLocalMachine, u"SOFTWARE\\Vexa\\Kestrel\\PowerSettings"), kErrorAccessDenied);
  // The user's own hive is theirs.
  RegKey own;
  EXPECT_EQ(RegKey::Create(registry, kHkeyCurrentUser, u"Software\\Vexa\\Kestrel", kKeyAllAccess, own), kSuccess);

  // Granting Users full access (what the installer does) opens the key and what is created below it.
  registry.SetCallerSids({});
  std::vector<AccessEntry> acl;
  ASSERT_EQ(registry.GetKeyAccess(settings.get(), acl), kSuccess);
  for (AccessEntry& entry : acl) {
    if (entry.trustee == kBuiltinUsersSid) entry.mask = kKeyAllAccess;
  }
  ASSERT_EQ(registry.SetKeyAccess(settings.get(), acl), kSuccess);
  registry.SetCallerSids({std::string(kEmulatedUserSid), std::string(kBuiltinUsersSid)});
  EXPECT_EQ(Open(u"SOFTWARE\\Vexa\\Kestrel\\PowerSettings", kKeyWrite, key), kSuccess);
  RegKey plan;
  EXPECT_EQ(
      RegKey::Create(registry, kHkeyLocalMachine, u"SOFTWARE\\Vexa\\Kestrel\\PowerSettings\\plan", kKeyAllAccess, plan),
      kSuccess);
  EXPECT_EQ(plan.WriteDword(u"LedNo", 1), kSuccess);
  // A deny entry wins over the allow entries after it.
  ASSERT_EQ(
      registry.SetKeyAccess(plan.get(), {{AccessEntry::Kind::Deny, 0, kKeySetValue, std::string(kEmulatedUserSid)},
                                         {AccessEntry::Kind::Allow, 0, kKeyAllAccess, std::string(kBuiltinUsersSid)}}),
      kSuccess);
  RegKey denied;
  EXPECT_EQ(Open(u"SOFTWARE\\Vexa\\Kestrel\\PowerSettings\\plan", kKeySetValue, denied), kErrorAccessDenied);
  EXPECT_EQ(Open(u"SOFTWARE\\Vexa\\Kestrel\\PowerSettings\\plan", kKeyQueryValue, denied), kSuccess);
}

TEST_F(MemoryRegistryTest, OpenHandlesAreCountedUntilClosed) {
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
  {
    RegKey a = Create(kKestrelKey);
    RegKey b;
    ASSERT_EQ(Open(kKestrelKey, kKeyRead, b), kSuccess);
    EXPECT_EQ(registry.OpenHandleCount(), 2u);
    EXPECT_EQ(registry.CloseKey(kHkeyLocalMachine), kSuccess);  // roots are never counted
  }
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST_F(MemoryRegistryTest, ConcurrentWritersLoseNothing) {
  constexpr int kThreads = 4;
  constexpr int kKeysEach = 50;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([this, t] {
      for (int i = 0; i < kKeysEach; ++i) {
        std::string path = "SOFTWARE\\Load\\" + std::to_string(t) + "-" + std::to_string(i);
        RegKey key;
        if (RegKey::Create(registry, kHkeyLocalMachine, Utf8ToUtf16(path), kKeyAllAccess, key) == kSuccess) {
          key.WriteDword(u"Value", static_cast<std::uint32_t>(i));
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  RegKey load;
  ASSERT_EQ(Open(u"SOFTWARE\\Load", kKeyRead, load), kSuccess);
  EXPECT_EQ(SubkeyNames(load).size(), static_cast<std::size_t>(kThreads * kKeysEach));
  EXPECT_EQ(registry.OpenHandleCount(), 1u);
}

}  // namespace
}  // namespace kestrel
