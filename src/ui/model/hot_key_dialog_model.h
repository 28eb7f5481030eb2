// The hot key dialog's state: the row shown in the list and the row in
// effect (remembered across openings), and when closing must ask first.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>

#include "eco/hot_keys.h"

namespace kestrel {

// The string of each row's name: row 0 "ホットキーなし", then the
// combinations in table order.
inline constexpr std::uint32_t kHotKeyFirstNameString = 220;
inline std::uint32_t HotKeyRowNameString(std::size_t row) {
  return kHotKeyFirstNameString + static_cast<std::uint32_t>(row);
}

class HotKeyDialogModel {
 public:
  // The row in effect before the dialog opens (kept across openings).
  explicit HotKeyDialogModel(std::size_t remembered) : remembered_(remembered) {}

  // Opening: the stored combination (the user's, else the machine's). None
  // stored shows row 0 and keeps the remembered row; a stored combination
  // shows its row, or row 0 when the table has none, and is remembered.
  void Open(const std::optional<HotKeyCombination>& stored);

  std::size_t selected() const { return selected_; }
  std::size_t remembered() const { return remembered_; }
  void Select(std::size_t row) { selected_ = row < kHotKeyRowCount ? row : 0; }
  // A reset or an OK made `row` the one in effect.
  void Remember(std::size_t row) {
    Select(row);
    remembered_ = selected_;
  }
  // Cancel and WM_CLOSE ask before discarding a changed selection.
  bool closingAsks() const { return selected_ != remembered_; }

 private:
  std::size_t selected_ = 0;
  std::size_t remembered_;
};

}  // namespace kestrel
