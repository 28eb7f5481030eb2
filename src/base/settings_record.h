// The per-user 40-byte settings record ("Settings", REG_BINARY) and its flags.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/window.h"

namespace kestrel {

namespace SettingsFlag {
inline constexpr std::uint32_t StayOnTop = 0x1;
inline constexpr std::uint32_t InTray = 0x2;
inline constexpr std::uint32_t PanelAnalog = 0x4;
inline constexpr std::uint32_t PanelCompact = 0x8;
inline constexpr std::uint32_t PanelTransparent = 0x10;
inline constexpr std::uint32_t NoTaskbarButton = 0x80;
inline constexpr std::uint32_t DefaultMarker = 0x200;
inline constexpr std::uint32_t EcoMode = 0x1000;
inline constexpr std::uint32_t MeterPanel = 0x2000;
inline constexpr std::uint32_t BatteryPresent = 0x4000;
inline constexpr std::uint32_t ThreeModes = 0x8000;
inline constexpr std::uint32_t WirelessLan = 0x10000;
inline constexpr std::uint32_t DeviceSaving = 0x20000;
inline constexpr std::uint32_t ExternalMonitors = 0x100000;
// Bits recomputed on every start from the machine, whatever the record holds.
inline constexpr std::uint32_t Computed = EcoMode | MeterPanel | BatteryPresent | ThreeModes | WirelessLan |
                                          DeviceSaving | ExternalMonitors;
}  // namespace SettingsFlag

inline constexpr std::uint32_t kDefaultSettingsFlags = 0x282;
inline constexpr std::uint32_t kSettingsRecordSize = 40;
inline constexpr std::uint32_t kDefaultSaveColor = 0x40000;

enum class PanelLayout : std::uint8_t { Aqua, Analog, Compact };

struct PanelSize {
  std::uint32_t width;
  std::uint32_t height;
};

PanelLayout LayoutFromFlags(std::uint32_t flags);
PanelSize SizeOfLayout(PanelLayout layout);

struct SettingsRecord {
  std::uint32_t version = 1;
  std::uint32_t flags = kDefaultSettingsFlags;
  std::int32_t panelX = 0;
  std::int32_t panelY = 0;
  std::uint32_t panelWidth = 0;
  std::uint32_t panelHeight = 0;
  std::uint32_t colorIndex = 0;
  std::uint32_t reserved = 0;
  // In memory only: the active layout. On disk these 8 bytes carry nothing and
  // the layout is recomputed from the flags whenever the record is loaded.
  PanelLayout layout = PanelLayout::Aqua;

  bool Has(std::uint32_t flag) const { return (flags & flag) != 0; }
  void Set(std::uint32_t flag, bool on) { flags = on ? (flags | flag) : (flags & ~flag); }
};

std::array<std::uint8_t, kSettingsRecordSize> EncodeSettingsRecord(const SettingsRecord& record);
// Accepts exactly 40 bytes; anything else is not a record.
std::optional<SettingsRecord> DecodeSettingsRecord(const std::vector<std::uint8_t>& bytes);

// The record of a user's first start: default flags, layout from them, the
// panel at the work area's bottom-right corner, 26 pixels above its bottom.
SettingsRecord DefaultSettingsRecord(const Rect& workArea);

// Sets the layout from the flags and the panel size from the layout.
void SelectLayout(SettingsRecord& record);

// Where a panel of `size` whose top-left is `origin` goes so that it lies
// inside the work area (not left of or above it, right and bottom edges inside).
Point ClampIntoWorkArea(Point origin, PanelSize size, const Rect& workArea);

// SaveColor with the record's colour index folded in: the analog layout keeps
// its index in the high 16 bits, the aqua and compact layouts in the low 16.
std::uint32_t FoldColorIndex(std::uint32_t saveColor, const SettingsRecord& record);

}  // namespace kestrel
