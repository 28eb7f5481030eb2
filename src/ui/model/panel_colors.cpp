#include "ui/model/panel_colors.h"

#include <algorithm>
#include <vector>

#include "base/registry_paths.h"
#include "base/string_ids.h"

namespace kestrel {

std::array<std::uint8_t, kCustomColorSize> EncodeCustomColors(
    const std::array<std::uint32_t, kCustomColorCount>& colors) {
  std::array<std::uint8_t, kCustomColorSize> bytes{};
  for (std::size_t i = 0; i < kCustomColorCount; ++i) {
    for (std::size_t b = 0; b < 4; ++b) bytes[i * 4 + b] = static_cast<std::uint8_t>(colors[i] >> (8 * b));
  }
  return bytes;
}

std::optional<std::array<std::uint32_t, kCustomColorCount>> DecodeCustomColors(std::span<const std::uint8_t> bytes) {
  if (bytes.size() != kCustomColorSize) return std::nullopt;
  std::array<std::uint32_t, kCustomColorCount> colors{};
  for (std::size_t i = 0; i < kCustomColorCount; ++i) {
    for (std::size_t b = 0; b < 4; ++b) colors[i] |= static_cast<std::uint32_t>(bytes[i * 4 + b]) << (8 * b);
  }
  return colors;
}

std::optional<std::array<std::uint8_t, kUserColorSize>> DecodeUserColor(std::span<const std::uint8_t> bytes) {
  if (bytes.size() != kUserColorSize) return std::nullopt;
  std::array<std::uint8_t, kUserColorSize> color{};
  std::copy(bytes.begin(), bytes.end(), color.begin());
  return color;
}

namespace {

void ReadUserColor(const RegKey& key, std::u16string_view name, ErrorReporter& reporter,
                   std::array<std::uint8_t, kUserColorSize>& color) {
  std::vector<std::uint8_t> bytes;
  Status status = key.ReadBinary(name, bytes);
  if (status == kErrorFileNotFound) return;
  std::optional<std::array<std::uint8_t, kUserColorSize>> decoded;
  if (status == kSuccess) decoded = DecodeUserColor(bytes);
  if (!decoded) {
    reporter.ReportCode(kStringUserColorReadFailed, status == kSuccess ? kErrorInvalidData : status);
    return;
  }
  color = *decoded;
}

}  // namespace

void LoadPanelColors(Registry& registry, ErrorReporter& reporter, PanelColors& colors) {
  RegKey key;
  Status status = RegKey::Open(registry, kHkeyCurrentUser, kKestrelKey, kKeyRead, key);
  if (status == kErrorFileNotFound) return;
  if (status != kSuccess) {
    reporter.ReportCode(kStringKestrelKeyOpenFailed, status);
    return;
  }
  ReadUserColor(key, u"UserColor", reporter, colors.user);
  ReadUserColor(key, u"UserColor2", reporter, colors.user2);
  std::vector<std::uint8_t> bytes;
  status = key.ReadBinary(u"CustomColor", bytes);
  std::optional<std::array<std::uint32_t, kCustomColorCount>> custom;
  if (status == kSuccess) custom = DecodeCustomColors(bytes);
  if (custom) {
    colors.custom = *custom;
    return;
  }
  if (status != kErrorFileNotFound) {
    reporter.ReportCode(kStringCustomColorReadFailed, status == kSuccess ? kErrorInvalidData : status);
  }
  colors.custom.fill(kWhite);
}

void SavePanelColors(Registry& registry, ErrorReporter& reporter, const PanelColors& colors) {
  RegKey key;
  Status status = RegKey::Create(registry, kHkeyCurrentUser, kKestrelKey, kKeyWrite, key);
  if (status != kSuccess) {
    reporter.ReportCode(kStringKestrelKeyCreateFailed, status);
    return;
  }
  for (auto [name, color] : {std::pair{u"UserColor", &colors.user}, std::pair{u"UserColor2", &colors.user2}}) {
    status = key.WriteBinary(name, color->data(), kUserColorSize);
    if (status != kSuccess) reporter.ReportCode(kStringAutoRecordWriteFailed, status);
  }
  std::array<std::uint8_t, kCustomColorSize> custom = EncodeCustomColors(colors.custom);
  status = key.WriteBinary(u"CustomColor", custom.data(), kCustomColorSize);
  if (status != kSuccess) reporter.ReportCode(kStringCustomColorWriteFailed, status);
}

}  // namespace kestrel
