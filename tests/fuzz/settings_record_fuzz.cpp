// Fuzz target: the per-user "Settings" value, whatever bytes it holds. Only
// exactly 40 bytes decode; a decoded record encodes back to the same first 32
// bytes, takes its layout from its flags, and the panel placed from it lies in
// any work area it fits into.
#include <algorithm>
#include <cstdlib>

#include "base/settings_record.h"
#include "fuzz/fuzz_input.h"

namespace {

using namespace kestrel;

void CheckPlacement(const SettingsRecord& record, const Rect& area) {
  PanelSize size = SizeOfLayout(record.layout);
  Point placed = ClampIntoWorkArea(Point{record.panelX, record.panelY}, size, area);
  std::int64_t width = std::int64_t{area.right} - area.left;
  std::int64_t height = std::int64_t{area.bottom} - area.top;
  if (width < size.width || height < size.height) return;
  if (placed.x < area.left || placed.y < area.top) std::abort();
  if (std::int64_t{placed.x} + size.width > area.right || std::int64_t{placed.y} + size.height > area.bottom) {
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput input(data, size);
  // A work area of a sane desktop: within +-32768 pixels, at most 16384 wide.
  Rect area;
  area.left = static_cast<std::int16_t>(input.Dword());
  area.top = static_cast<std::int16_t>(input.Dword());
  area.right = area.left + static_cast<std::int32_t>(input.Dword() & 0x3FFF);
  area.bottom = area.top + static_cast<std::int32_t>(input.Dword() & 0x3FFF);
  std::vector<std::uint8_t> bytes = input.Rest();

  std::optional<SettingsRecord> record = DecodeSettingsRecord(bytes);
  if (record.has_value() != (bytes.size() == kSettingsRecordSize)) std::abort();
  if (!record) return 0;
  auto encoded = EncodeSettingsRecord(*record);
  if (!std::equal(encoded.begin(), encoded.begin() + 32, bytes.begin())) std::abort();
  if (record->layout != LayoutFromFlags(record->flags)) std::abort();
  SettingsRecord selected = *record;
  SelectLayout(selected);
  PanelSize panel = SizeOfLayout(selected.layout);
  if (selected.panelWidth != panel.width || selected.panelHeight != panel.height) std::abort();
  CheckPlacement(*record, area);
  std::uint32_t saveColor = input.Dword();
  FoldColorIndex(saveColor, *record);
  return 0;
}
