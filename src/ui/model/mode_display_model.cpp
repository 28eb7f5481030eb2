#include "ui/model/mode_display_model.h"

#include <array>

#include "base/string_ids.h"
#include "platform/format.h"

namespace kestrel {
namespace {


constexpr std::u16string_view kEllipsis = u"...";

// Normal picture base by icon number; 0 where the icon has no picture. The
// highlighted base is 50 above.
constexpr std::array<std::uint32_t, 12> kPictureBase{700, 703, 706, 709, 724, 0, 0, 712, 727, 715, 718, 721};
constexpr std::uint32_t kHighlightOffset = 50;

constexpr std::array<CanvasRect, 3> kLabelRects{{{31, 5, 111, 24}, {153, 5, 233, 24}, {275, 5, 355, 24}}};
constexpr std::array<CanvasRect, 3> kPictureRects{{{31, 29, 111, 109}, {153, 29, 233, 109}, {275, 29, 355, 109}}};
constexpr std::array<CanvasRect, 3> kNameRects{{{15, 114, 127, 133}, {137, 114, 249, 133}, {259, 114, 371, 133}}};
constexpr CanvasRect kTwoModePictureRect{21, 29, 101, 109};
constexpr CanvasRect kTwoModeMessageRect{115, 39, 371, 99};

bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

CanvasPoint PlaceModeDisplay(int screenWidth, int screenHeight, int width, int height) {
  CanvasPoint point;
  point.x = (screenWidth - width) / 2;
  point.y = screenHeight == 768 ? 572 : screenHeight - height - (screenHeight / 2 - height) / 4;
  return point;
}

std::optional<std::uint32_t> ModePictureId(std::uint32_t iconNo, bool highlighted, std::size_t position) {
  if (iconNo >= kPictureBase.size() || kPictureBase[iconNo] == 0 || position > 2) return std::nullopt;
  return kPictureBase[iconNo] + (highlighted ? kHighlightOffset : 0) + static_cast<std::uint32_t>(position);
}

TextColour ModeColour(std::uint32_t mode) {
  switch (mode) {
    case 1:
      return {0, 46, 233};
    case 2:
      return {0, 150, 187};
    default:
      return {0, 181, 20};
  }
}

std::u16string ShortenToFit(std::u16string_view text, const std::function<bool(std::u16string_view)>& fits) {
  if (fits(text)) return std::u16string(text);
  std::size_t keep = text.size();
  while (keep > 0) {
    --keep;
    // Never split a character made of two UTF-16 units.
    if (keep > 0 && IsLowSurrogate(text[keep])) continue;
    std::u16string candidate = std::u16string(text.substr(0, keep)) + std::u16string(kEllipsis);
    if (fits(candidate)) return candidate;
  }
  return std::u16string(kEllipsis);
}

ModeDisplayContent ThreeModeContent(const ModeDisplayState& state, StringTable& strings, bool japaneseUi,
                                    const TextWidth& width) {
  ModeDisplayContent content;
  int size = japaneseUi ? kThreeModeTextPx : kThreeModeTextPxOtherLanguage;
  for (std::size_t position = 0; position < 3; ++position) {
    auto mode = static_cast<std::uint32_t>(position + 1);
    TextColour colour = ModeColour(mode);
    const ModeSlot* slot = position < state.table.slots.size() && !state.table.slots[position].plan.IsNull()
                               ? &state.table.slots[position]
                               : nullptr;
    std::u16string name = strings.Load(kStringNoPlan);
    if (slot != nullptr) {
      if (auto picture = ModePictureId(slot->iconNo, mode == state.mode, position)) {
        content.pictures.push_back({*picture, kPictureRects[position]});
      }
      int room = kNameRects[position].width();
      name = ShortenToFit(slot->name, [&](std::u16string_view text) { return width(text, size) <= room; });
    }
    content.texts.push_back({name, kNameRects[position], colour, size, TextAlign::Centre});
    content.texts.push_back(
        {strings.Load(kStringModeLabel1 + static_cast<std::uint32_t>(position)), kLabelRects[position], colour, size,
         TextAlign::Centre});
  }
  return content;
}

ModeDisplayContent TwoModeContent(const ModeDisplayState& state, StringTable& strings, const TextWidth& width) {
  ModeDisplayContent content;
  const ModeSlot* slot = BoundSlot(state.table, EcoModel::TwoModes, state.mode);
  if (slot == nullptr) return content;
  if (auto picture = ModePictureId(slot->iconNo, false, state.mode == 1 ? 0 : 2)) {
    content.pictures.push_back({*picture, kTwoModePictureRect});
  }
  std::u16string nameLine = strings.Load(kStringNameLine);
  int room = kTwoModeMessageRect.width();
  std::u16string name = ShortenToFit(slot->name, [&](std::u16string_view text) {
    return width(FormatText(nameLine, {text}), kTwoModeMessagePx) <= room;
  });
  std::uint32_t pattern = state.phase == SwitchPhase::Pending ? kStringWillSwitch : kStringSwitched;
  content.texts.push_back({FormatText(strings.Load(pattern), {name}), kTwoModeMessageRect,
                           ModeColour(state.mode == 1 ? 1 : 3), kTwoModeMessagePx, TextAlign::Left});
  return content;
}

ModeDisplayContent DisplayContent(const ModeDisplayState& state, StringTable& strings, bool japaneseUi,
                                  const TextWidth& width) {
  if (state.model == EcoModel::ThreeModes) return ThreeModeContent(state, strings, japaneseUi, width);
  if (state.model == EcoModel::TwoModes) return TwoModeContent(state, strings, width);
  return {};
}

}  // namespace kestrel
