// What the mode-switch window shows, as plain data: where the window goes on
// the screen, which picture and which texts go into which rectangle of the
// 386 x 138 canvas, in which colour and size, with names shortened to fit.
// The Win32 side only draws this.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "eco/switch_sequence.h"
#include "platform/user_interface.h"

namespace kestrel {

inline constexpr int kModeDisplayWidth = 386;
inline constexpr int kModeDisplayHeight = 138;
inline constexpr int kModeDisplayCreateX = 312;
inline constexpr int kModeDisplayCreateY = 572;
inline constexpr std::uint32_t kModeDisplayBackgroundId = 518;

inline constexpr int kThreeModeTextPx = 14;
inline constexpr int kThreeModeTextPxOtherLanguage = 12;
inline constexpr int kTwoModeMessagePx = 28;

struct CanvasRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  friend bool operator==(const CanvasRect&, const CanvasRect&) = default;
};

struct CanvasPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const CanvasPoint&, const CanvasPoint&) = default;
};

struct TextColour {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend bool operator==(const TextColour&, const TextColour&) = default;
};

enum class TextAlign : std::uint8_t { Centre, Left };

struct CanvasText {
  std::u16string text;
  CanvasRect rect;
  TextColour colour;
  int sizePx = 0;
  TextAlign align = TextAlign::Centre;
};

struct CanvasPicture {
  std::uint32_t bitmapId = 0;
  CanvasRect rect;
};

struct ModeDisplayContent {
  std::vector<CanvasPicture> pictures;
  std::vector<CanvasText> texts;
};

// The width in pixels of `text` drawn at `sizePx` in the display's font.
using TextWidth = std::function<int(std::u16string_view text, int sizePx)>;

// Top-left corner for a window of `width` x `height`: centred horizontally;
// 572 from the top on a 768-pixel screen, otherwise H - h - (H/2 - h)/4.
CanvasPoint PlaceModeDisplay(int screenWidth, int screenHeight, int width = kModeDisplayWidth,
                             int height = kModeDisplayHeight);

// The bitmap of a plan picture: by the plan's icon number (0-11), normal or
// highlighted, at a mode position (0, 1, 2). Nothing for icon numbers
// without a picture.
std::optional<std::uint32_t> ModePictureId(std::uint32_t iconNo, bool highlighted, std::size_t position);

// The text colour of a mode (1, 2, 3).
TextColour ModeColour(std::uint32_t mode);

// `text` as it is, or cut from the end and ended by "..." until `fits` holds.
std::u16string ShortenToFit(std::u16string_view text, const std::function<bool(std::u16string_view)>& fits);

// The three-mode window: per mode its picture (highlighted for the selected
// mode), its plan name or "設 定 な し" in the mode's colour, and its label.
ModeDisplayContent ThreeModeContent(const ModeDisplayState& state, StringTable& strings, bool japaneseUi,
                                    const TextWidth& width);

// The two-mode window: the shown mode's picture and "<name>に / 切り替えました"
// (switched) or "... 切り替えます" (pending); nothing for a mode without plan.
ModeDisplayContent TwoModeContent(const ModeDisplayState& state, StringTable& strings, const TextWidth& width);

ModeDisplayContent DisplayContent(const ModeDisplayState& state, StringTable& strings, bool japaneseUi,
                                  const TextWidth& width);

}  // namespace kestrel
