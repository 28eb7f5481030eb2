// The ECO mode hot key: the fixed table of Alt and Ctrl function-key
// combinations, the stored choice (HKCU, else HKLM: HotKeyOption = modifiers,
// HotKey = virtual key), and its registration as hot key 1 of the main window.
// A WM_HOTKEY acts like a press of the ECO button.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "base/error_reporter.h"
#include "platform/hot_keys.h"
#include "platform/machine.h"

namespace kestrel {

inline constexpr int kEcoHotKeyId = 1;
inline constexpr std::uint32_t kHotKeyRowCount = 24;

struct HotKeyCombination {
  std::uint32_t modifiers = 0;
  std::uint32_t virtualKey = 0;
  // Either part 0 means no hot key.
  bool none() const { return modifiers == 0 || virtualKey == 0; }
  friend bool operator==(const HotKeyCombination&, const HotKeyCombination&) = default;
};

struct HotKeyRow {
  std::uint32_t stringId = 0;  // the row's display text
  HotKeyCombination keys;
};

// The first row with these modifiers and this key.
std::optional<std::size_t> RowOfCombination(const HotKeyCombination& keys);

// Reads both values from Software\Vexa\Kestrel of `hive`; nothing when the key
// cannot be opened or either value cannot be read.
std::optional<HotKeyCombination> ReadHotKeyChoice(Registry& registry, KeyHandle hive);
// Writes both values to the user's key.
Status WriteHotKeyChoice(Registry& registry, const HotKeyCombination& keys);

class EcoHotKey {
 public:
  // `titleText` gives the caption of the refusal box.
  EcoHotKey(Machine& machine, HotKeys& keys, ErrorReporter& reporter, std::function<std::u16string()> titleText)
      : machine_(machine), keys_(keys), reporter_(reporter), titleText_(std::move(titleText)) {}

  // Main window creation: remembers the owner and registers the stored
  // choice. A combination held elsewhere is only logged.
  void RegisterAtStartup(WindowHandle owner);
  // Main window destruction, and the dialog before each change.
  void Unregister();
  // The dialog's OK with row `row` chosen and `previous` in effect: true when
  // the choice was saved (registered, or row 0). A refused combination tells
  // the user (box owned by `dialog`), registers `previous` again and saves
  // nothing.
  bool ApplyRow(WindowHandle dialog, std::size_t row, std::size_t previous);
  // The dialog's reset: the machine's initial choice registered and saved;
  // its row, or nothing when the initial choice is not in the table (no hot
  // key is registered then).
  std::optional<std::size_t> ResetToInitial();

  WindowHandle owner() const { return owner_; }

 private:
  Status RegisterCombination(const HotKeyCombination& keys);

  Machine& machine_;
  HotKeys& keys_;
  ErrorReporter& reporter_;
  std::function<std::u16string()> titleText_;
  WindowHandle owner_ = 0;
};

}  // namespace kestrel
