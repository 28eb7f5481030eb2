// Fuzz target: the panel's binary values, whatever bytes they hold: Saved_pt
// (exactly 24 bytes), UserColor / UserColor2 (exactly 16) and CustomColor
// (exactly 64). Only those sizes decode, and what decodes encodes back to the
// same bytes (but for the padding of Saved_pt's two mode bytes); a display
// choice applied to any record keeps the layout bits consistent and the
// colour index in range.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "ui/model/display_settings_model.h"
#include "ui/model/panel_boost.h"
#include "ui/model/panel_colors.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kestrel;
  std::span<const std::uint8_t> bytes(data, size);

  std::optional<ProcessorStateRecord> saved = DecodeSavedPt(bytes);
  if (saved.has_value() != (size == kSavedPtSize)) std::abort();
  if (saved) {
    // Each mode is a byte in a 32-bit slot: the slot's other three bytes are
    // written as zero, everything else comes back as it was.
    auto encoded = EncodeSavedPt(*saved);
    for (std::size_t i = 0; i < kSavedPtSize; ++i) {
      bool padding = (i >= 9 && i < 12) || i >= 21;
      if (encoded[i] != (padding ? 0 : data[i])) std::abort();
    }
  }

  auto custom = DecodeCustomColors(bytes);
  if (custom.has_value() != (size == kCustomColorSize)) std::abort();
  if (custom) {
    auto encoded = EncodeCustomColors(*custom);
    if (!std::equal(encoded.begin(), encoded.end(), data)) std::abort();
  }
  if (DecodeUserColor(bytes).has_value() != (size == kUserColorSize)) std::abort();

  // Any 40 bytes as a settings record, then any choice applied to it.
  if (size >= kSettingsRecordSize + 2) {
    std::vector<std::uint8_t> raw(data, data + kSettingsRecordSize);
    std::optional<SettingsRecord> record = DecodeSettingsRecord(raw);
    if (!record) std::abort();
    SelectLayout(*record);
    DisplayChoice choice = ChoiceOfRecord(*record);
    if (choice.colorScheme >= kColorSchemeCount) std::abort();
    choice.layout = static_cast<PanelLayout>(data[kSettingsRecordSize] % 3);
    choice.colorScheme = data[kSettingsRecordSize + 1];
    ApplyChoice(*record, choice);
    if (record->Has(SettingsFlag::PanelAnalog) && record->Has(SettingsFlag::PanelCompact)) std::abort();
    if (record->layout != choice.layout) std::abort();
    std::uint32_t base = choice.layout == PanelLayout::Analog ? kAnalogColorBase : 0;
    if (record->colorIndex < base || record->colorIndex >= base + kColorSchemeCount) std::abort();
  }
  return 0;
}
