#include "base/settings_record.h"

#include <algorithm>

namespace kestrel {
namespace {

void PutU32(std::uint8_t* out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t GetU32(const std::uint8_t* in) {
  return std::uint32_t{in[0]} | (std::uint32_t{in[1]} << 8) | (std::uint32_t{in[2]} << 16) |
         (std::uint32_t{in[3]} << 24);
}

constexpr std::int32_t kPanelBottomGap = 26;

}  // namespace

PanelLayout LayoutFromFlags(std::uint32_t flags) {
  if (flags & SettingsFlag::PanelAnalog) return PanelLayout::Analog;
  if (flags & SettingsFlag::PanelCompact) return PanelLayout::Compact;
  return PanelLayout::Aqua;
}

PanelSize SizeOfLayout(PanelLayout layout) {
  return layout == PanelLayout::Compact ? PanelSize{182, 32} : PanelSize{320, 100};
}

std::array<std::uint8_t, kSettingsRecordSize> EncodeSettingsRecord(const SettingsRecord& record) {
  std::array<std::uint8_t, kSettingsRecordSize> bytes{};
  PutU32(&bytes[0], record.version);
  PutU32(&bytes[4], record.flags);
  PutU32(&bytes[8], static_cast<std::uint32_t>(record.panelX));
  PutU32(&bytes[12], static_cast<std::uint32_t>(record.panelY));
  PutU32(&bytes[16], record.panelWidth);
  PutU32(&bytes[20], record.panelHeight);
  PutU32(&bytes[24], record.colorIndex);
  PutU32(&bytes[28], record.reserved);
  PutU32(&bytes[32], static_cast<std::uint32_t>(record.layout));
  return bytes;
}

std::optional<SettingsRecord> DecodeSettingsRecord(const std::vector<std::uint8_t>& bytes) {
  if (bytes.size() != kSettingsRecordSize) return std::nullopt;
  SettingsRecord record;
  record.version = GetU32(&bytes[0]);
  record.flags = GetU32(&bytes[4]);
  record.panelX = static_cast<std::int32_t>(GetU32(&bytes[8]));
  record.panelY = static_cast<std::int32_t>(GetU32(&bytes[12]));
  record.panelWidth = GetU32(&bytes[16]);
  record.panelHeight = GetU32(&bytes[20]);
  record.colorIndex = GetU32(&bytes[24]);
  record.reserved = GetU32(&bytes[28]);
  record.layout = LayoutFromFlags(record.flags);
  return record;
}

void SelectLayout(SettingsRecord& record) {
  record.layout = LayoutFromFlags(record.flags);
  PanelSize size = SizeOfLayout(record.layout);
  record.panelWidth = size.width;
  record.panelHeight = size.height;
}

SettingsRecord DefaultSettingsRecord(const Rect& workArea) {
  SettingsRecord record;
  SelectLayout(record);
  record.panelX = workArea.right - static_cast<std::int32_t>(record.panelWidth);
  record.panelY = workArea.bottom - static_cast<std::int32_t>(record.panelHeight) - kPanelBottomGap;
  record.colorIndex = record.layout == PanelLayout::Analog ? 4 : 0;
  return record;
}

Point ClampIntoWorkArea(Point origin, PanelSize size, const Rect& workArea) {
  Point p = origin;
  p.x = std::min(p.x, workArea.right - static_cast<std::int32_t>(size.width));
  p.y = std::min(p.y, workArea.bottom - static_cast<std::int32_t>(size.height));
  p.x = std::max(p.x, workArea.left);
  p.y = std::max(p.y, workArea.top);
  return p;
}

std::uint32_t FoldColorIndex(std::uint32_t saveColor, const SettingsRecord& record) {
  std::uint32_t index = record.colorIndex & 0xFFFF;
  if (record.layout == PanelLayout::Analog) return (saveColor & 0xFFFF) | (index << 16);
  return (saveColor & 0xFFFF0000u) | index;
}

}  // namespace kestrel
