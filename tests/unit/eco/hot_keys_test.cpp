// The ECO hot key: which stored choice is registered at start-up, and what the
// dialog's apply and reset register and store, including a combination that
// another program holds.
#include "eco/hot_keys.h"

#include <gtest/gtest.h>

#include "base/registry_paths.h"
#include "support/fake_hot_keys.h"
#include "support/log_reader.h"
#include "support/test_machine.h"

namespace kestrel::testing {
namespace {

constexpr WindowHandle kOwner = 0x5150;
constexpr WindowHandle kDialog = 0x6160;
constexpr std::size_t kCtrlF4Row = 15;
constexpr std::size_t kAltF2Row = 2;
constexpr std::size_t kCtrlF9Row = 20;

class HotKeyTest : public ::testing::Test {
 protected:
  void Store(KeyHandle hive, std::optional<std::uint32_t> modifiers, std::optional<std::uint32_t> key) {
    RegKey kestrel;
    ASSERT_EQ(RegKey::Create(test.registry, hive, kKestrelKey, kKeyAllAccess, kestrel), kSuccess);
    if (modifiers) kestrel.WriteDword(u"HotKeyOption", *modifiers);
    if (key) kestrel.WriteDword(u"HotKey", *key);
  }
  std::optional<HotKeyCombination> UserChoice() { return ReadHotKeyChoice(test.registry, kHkeyCurrentUser); }
  std::optional<FakeHotKeys::Registered> Registered() { return keys.Find(kOwner, kEcoHotKeyId); }
  std::vector<std::u16string> Logged() {
    std::vector<std::u16string> texts;
    for (const auto& line : LogLines(test.files)) texts.push_back(WithoutStamp(line));
    return texts;
  }

  TestMachine test;
  ErrorReporter reporter{test.machine()};
  FakeHotKeys keys;
  EcoHotKey hotKey{test.machine(), keys, reporter, [] { return std::u16string(u"ケストレル"); }};
};

TEST_F(HotKeyTest, StartUpRegistersTheUsersChoiceElseTheMachinesAsStored) {
  Store(kHkeyCurrentUser, 2, 0x73);
  Store(kHkeyLocalMachine, 1, 0x70);
  hotKey.RegisterAtStartup(kOwner);
  EXPECT_EQ(Registered(), (FakeHotKeys::Registered{2, 0x73}));  // Ctrl+F4

  // A user choice missing one value does not count: the machine's is used,
  // even Alt+F4, which the dialog's table does not offer.
  hotKey.Unregister();
  test.registry.DeleteKey(kHkeyCurrentUser, kKestrelKey);
  Store(kHkeyCurrentUser, 2, std::nullopt);
  Store(kHkeyLocalMachine, 1, 0x73);
  hotKey.RegisterAtStartup(kOwner);
  EXPECT_EQ(Registered(), (FakeHotKeys::Registered{1, 0x73}));
  EXPECT_EQ(RowOfCombination({1, 0x73}), std::nullopt);
  EXPECT_TRUE(Logged().empty());
}

TEST_F(HotKeyTest, StartUpWithoutAChoiceOrWithAHeldKeyRunsWithoutHotKey) {
  hotKey.RegisterAtStartup(kOwner);
  Store(kHkeyCurrentUser, 0, 0x70);  // no modifiers: no hot key
  hotKey.RegisterAtStartup(kOwner);
  EXPECT_EQ(keys.count(), 0u);
  EXPECT_TRUE(keys.calls().empty());
  EXPECT_TRUE(Logged().empty());

  Store(kHkeyCurrentUser, 2, 0x78);
  keys.HoldElsewhere(2, 0x78);
  hotKey.RegisterAtStartup(kOwner);
  EXPECT_EQ(keys.count(), 0u);
  EXPECT_EQ(Logged(), std::vector<std::u16string>{u"fail : RegisterHotKey(0x581)"});
  EXPECT_TRUE(test.boxes.shown().empty());
}

TEST_F(HotKeyTest, ApplyWithAHeldKeyRestoresThePreviousKeyAndStoresNothing) {
  Store(kHkeyCurrentUser, 1, 0x71);
  hotKey.RegisterAtStartup(kOwner);
  keys.HoldElsewhere(2, 0x78);

  EXPECT_FALSE(hotKey.ApplyRow(kDialog, kCtrlF9Row, kAltF2Row));
  EXPECT_EQ(Registered(), (FakeHotKeys::Registered{1, 0x71}));
  EXPECT_EQ(UserChoice(), (HotKeyCombination{1, 0x71}));
  ASSERT_EQ(test.boxes.shown().size(), 1u);
  EXPECT_EQ(test.boxes.shown()[0].owner, kDialog);
  EXPECT_EQ(test.boxes.shown()[0].text, test.strings.Load(249));
  EXPECT_EQ(test.boxes.shown()[0].caption, u"ケストレル");
  EXPECT_EQ(test.boxes.shown()[0].style, kMbOk | kMbIconExclamation);
  EXPECT_EQ(Logged(), std::vector<std::u16string>{u"fail : RegisterHotKey(0x581)"});

  // From "no hot key" a refused key leaves none.
  hotKey.Unregister();
  EXPECT_FALSE(hotKey.ApplyRow(kDialog, kCtrlF9Row, 0));
  EXPECT_EQ(keys.count(), 0u);
}

TEST_F(HotKeyTest, ApplyRegistersAndStoresTheRowAndRowZeroStoresNoKey) {
  hotKey.RegisterAtStartup(kOwner);
  EXPECT_TRUE(hotKey.ApplyRow(kDialog, kCtrlF4Row, 0));
  EXPECT_EQ(Registered(), (FakeHotKeys::Registered{2, 0x73}));
  EXPECT_EQ(UserChoice(), (HotKeyCombination{2, 0x73}));

  EXPECT_TRUE(hotKey.ApplyRow(kDialog, 0, kCtrlF4Row));
  EXPECT_EQ(keys.count(), 0u);
  EXPECT_EQ(UserChoice(), (HotKeyCombination{0, 0}));
  EXPECT_TRUE(test.boxes.shown().empty());
}

TEST_F(HotKeyTest, ResetTakesTheMachinesChoiceUnlessItIsNotInTheTable) {
  Store(kHkeyCurrentUser, 1, 0x71);
  Store(kHkeyLocalMachine, 2, 0x73);
  hotKey.RegisterAtStartup(kOwner);
  EXPECT_EQ(hotKey.ResetToInitial(), kCtrlF4Row);
  EXPECT_EQ(Registered(), (FakeHotKeys::Registered{2, 0x73}));
  EXPECT_EQ(UserChoice(), (HotKeyCombination{2, 0x73}));

  // Alt+F4 has no row: the reset leaves no hot key and writes nothing.
  Store(kHkeyLocalMachine, 1, 0x73);
  EXPECT_EQ(hotKey.ResetToInitial(), std::nullopt);
  EXPECT_EQ(keys.count(), 0u);
  EXPECT_EQ(UserChoice(), (HotKeyCombination{2, 0x73}));

  // A held initial key is selected but not stored.
  Store(kHkeyLocalMachine, 1, 0x70);
  keys.HoldElsewhere(1, 0x70);
  EXPECT_EQ(hotKey.ResetToInitial(), 1u);
  EXPECT_EQ(UserChoice(), (HotKeyCombination{2, 0x73}));
}

}  // namespace
}  // namespace kestrel::testing
