#include "eco/hot_keys.h"

#include <array>

#include "base/registry_paths.h"
#include "base/string_ids.h"
#include "platform/user_interface.h"

namespace kestrel {
namespace {


constexpr std::u16string_view kModifiersValue = u"HotKeyOption";
constexpr std::u16string_view kKeyValue = u"HotKey";

constexpr std::uint32_t kVkF1 = 0x70;

constexpr std::array<HotKeyRow, kHotKeyRowCount> BuildTable() {
  std::array<HotKeyRow, kHotKeyRowCount> rows{};
  rows[0] = HotKeyRow{220, {0, 0}};
  std::size_t row = 1;
  for (std::uint32_t f = 0; f < 12; ++f) {
    if (f == 3) continue;  // Alt+F4 closes windows; it is not offered
    rows[row] = HotKeyRow{220 + static_cast<std::uint32_t>(row), {kModAlt, kVkF1 + f}};
    ++row;
  }
  for (std::uint32_t f = 0; f < 12; ++f) {
    rows[row] = HotKeyRow{220 + static_cast<std::uint32_t>(row), {kModControl, kVkF1 + f}};
    ++row;
  }
  return rows;
}

constexpr std::array<HotKeyRow, kHotKeyRowCount> kTable = BuildTable();

}  // namespace

std::optional<std::size_t> RowOfCombination(const HotKeyCombination& keys) {
  for (std::size_t row = 0; row < kTable.size(); ++row) {
    if (kTable[row].keys == keys) return row;
  }
  return std::nullopt;
}

std::optional<HotKeyCombination> ReadHotKeyChoice(Registry& registry, KeyHandle hive) {
  RegKey key;
  if (RegKey::Open(registry, hive, kKestrelKey, kKeyRead, key) != kSuccess) return std::nullopt;
  HotKeyCombination keys;
  if (key.ReadDword(kModifiersValue, keys.modifiers) != kSuccess) return std::nullopt;
  if (key.ReadDword(kKeyValue, keys.virtualKey) != kSuccess) return std::nullopt;
  return keys;
}

Status WriteHotKeyChoice(Registry& registry, const HotKeyCombination& keys) {
  RegKey key;
  // Created when missing, so that a choice made before the first save of the
  // settings record is not lost.
  if (Status status = RegKey::Create(registry, kHkeyCurrentUser, kKestrelKey, kKeyWrite, key); status != kSuccess) {
    return status;
  }
  if (Status status = key.WriteDword(kModifiersValue, keys.modifiers); status != kSuccess) return status;
  return key.WriteDword(kKeyValue, keys.virtualKey);
}

Status EcoHotKey::RegisterCombination(const HotKeyCombination& keys) {
  Status status = keys_.Register(owner_, kEcoHotKeyId, keys.modifiers, keys.virtualKey);
  if (status != kSuccess) reporter_.ReportCode(kStringHotKeyRegisterFailed, status);
  return status;
}

void EcoHotKey::RegisterAtStartup(WindowHandle owner) {
  owner_ = owner;
  std::optional<HotKeyCombination> keys = ReadHotKeyChoice(machine_.registry, kHkeyCurrentUser);
  if (!keys) keys = ReadHotKeyChoice(machine_.registry, kHkeyLocalMachine);
  if (!keys || keys->none()) return;
  RegisterCombination(*keys);
}

void EcoHotKey::Unregister() { keys_.Unregister(owner_, kEcoHotKeyId); }

bool EcoHotKey::ApplyRow(WindowHandle dialog, std::size_t row, std::size_t previous) {
  if (row >= kTable.size()) return false;
  Unregister();
  if (row != 0 && RegisterCombination(kTable[row].keys) != kSuccess) {
    machine_.boxes.Show(dialog, machine_.strings.Load(kStringHotKeyRefused), titleText_(), kMbOk | kMbIconExclamation);
    if (previous != 0 && previous < kTable.size()) RegisterCombination(kTable[previous].keys);
    return false;
  }
  if (Status status = WriteHotKeyChoice(machine_.registry, kTable[row].keys); status != kSuccess) {
    reporter_.ReportCode(kStringHotKeyWriteFailed, status);
  }
  return true;
}

std::optional<std::size_t> EcoHotKey::ResetToInitial() {
  Unregister();
  HotKeyCombination initial = ReadHotKeyChoice(machine_.registry, kHkeyLocalMachine).value_or(HotKeyCombination{});
  std::optional<std::size_t> row = RowOfCombination(initial);
  if (!row) return std::nullopt;
  bool refused = *row != 0 && RegisterCombination(kTable[*row].keys) != kSuccess;
  if (!refused) {
    if (Status status = WriteHotKeyChoice(machine_.registry, kTable[*row].keys); status != kSuccess) {
      reporter_.ReportCode(kStringHotKeyWriteFailed, status);
    }
  }
  return row;
}

}  // namespace kestrel
