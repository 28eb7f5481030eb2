// The panel's colour values under HKCU Software\Vexa\Kestrel: UserColor and
// UserColor2 (REG_BINARY, 16 bytes each) and CustomColor (REG_BINARY, 64
// bytes: 16 colour values, little-endian). Read with the settings, written by
// the display settings dialog.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "base/error_reporter.h"
#include "platform/registry.h"

namespace kestrel {

inline constexpr std::size_t kUserColorSize = 16;
inline constexpr std::size_t kCustomColorCount = 16;
inline constexpr std::size_t kCustomColorSize = kCustomColorCount * 4;
inline constexpr std::uint32_t kWhite = 0xFFFFFF;

struct PanelColors {
  std::array<std::uint8_t, kUserColorSize> user{};
  std::array<std::uint8_t, kUserColorSize> user2{};
  std::array<std::uint32_t, kCustomColorCount> custom{};
  friend bool operator==(const PanelColors&, const PanelColors&) = default;
};

std::array<std::uint8_t, kCustomColorSize> EncodeCustomColors(const std::array<std::uint32_t, kCustomColorCount>& colors);
// Exactly 64 bytes, else nothing.
std::optional<std::array<std::uint32_t, kCustomColorCount>> DecodeCustomColors(std::span<const std::uint8_t> bytes);
// Exactly 16 bytes, else nothing.
std::optional<std::array<std::uint8_t, kUserColorSize>> DecodeUserColor(std::span<const std::uint8_t> bytes);

// The settings load's read: a missing key or value keeps what `colors` holds;
// custom colours that cannot be read are all white.
void LoadPanelColors(Registry& registry, ErrorReporter& reporter, PanelColors& colors);
// The dialog's write (ids 13, 35, 36).
void SavePanelColors(Registry& registry, ErrorReporter& reporter, const PanelColors& colors);

}  // namespace kestrel
