// The 48 bytes of the automatic switch's record, encoded and decoded
// explicitly little-endian.
#include <algorithm>

#include "eco/auto_switch_record.h"

namespace kestrel {
namespace {

constexpr std::size_t kLimitOffset = 8;
constexpr std::size_t kTargetOffset = 16;
constexpr std::size_t kSavedOffset = 32;

void Store(std::span<std::uint8_t> bytes, std::size_t offset, std::uint64_t value, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i) bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint64_t Load(std::span<const std::uint8_t> bytes, std::size_t offset, std::size_t size) {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < size; ++i) value |= std::uint64_t{bytes[offset + i]} << (8 * i);
  return value;
}

}  // namespace

std::array<std::uint8_t, kAutoSwitchRecordBytes> EncodeAutoSwitchRecord(const AutoSwitchRecord& record) {
  std::array<std::uint8_t, kAutoSwitchRecordBytes> bytes{};
  Store(bytes, 0, record.enabled, 4);
  Store(bytes, 4, record.reserved, 4);
  Store(bytes, kLimitOffset, record.limit, 8);
  std::array<std::uint8_t, 16> target = ToBytes(record.target);
  std::array<std::uint8_t, 16> saved = ToBytes(record.saved);
  std::copy(target.begin(), target.end(), bytes.begin() + kTargetOffset);
  std::copy(saved.begin(), saved.end(), bytes.begin() + kSavedOffset);
  return bytes;
}

std::optional<AutoSwitchRecord> DecodeAutoSwitchRecord(std::span<const std::uint8_t> bytes) {
  if (bytes.size() != kAutoSwitchRecordBytes) return std::nullopt;
  AutoSwitchRecord record;
  record.enabled = static_cast<std::uint32_t>(Load(bytes, 0, 4));
  record.reserved = static_cast<std::uint32_t>(Load(bytes, 4, 4));
  record.limit = Load(bytes, kLimitOffset, 8);
  record.target = GuidFromBytes(bytes.data() + kTargetOffset);
  record.saved = GuidFromBytes(bytes.data() + kSavedOffset);
  return record;
}

}  // namespace kestrel
