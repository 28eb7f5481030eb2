#include "ui/model/tray_texts.h"

#include "base/string_ids.h"
#include "platform/format.h"

namespace kestrel {
namespace {

constexpr std::u16string_view kEllipsis = u"...";

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

}  // namespace

std::u16string CutText(std::u16string_view text, std::size_t maxUnits) {
  if (text.size() <= maxUnits) return std::u16string(text);
  std::size_t keep = maxUnits;
  if (keep > 0 && IsHighSurrogate(text[keep - 1])) --keep;
  return std::u16string(text.substr(0, keep));
}

std::u16string TrayTip(StringTable& strings, std::u16string_view planName) {
  return CutText(FormatText(strings.Load(kStringTrayTip), {planName}), kTrayTipUnits);
}

std::u16string BalloonTitle(std::u16string_view titleText) { return CutText(titleText, kBalloonTitleUnits); }

std::u16string BalloonText(StringTable& strings, std::uint64_t limitPercent, std::u16string_view planName) {
  std::u16string pattern = strings.Load(kStringSwitchBalloon);
  std::u16string text = FormatText(pattern, {limitPercent, planName});
  if (text.size() <= kBalloonTextUnits) return text;
  std::size_t fixed = FormatText(pattern, {limitPercent, u""}).size();
  std::size_t room = kBalloonTextUnits > fixed + kEllipsis.size() ? kBalloonTextUnits - fixed - kEllipsis.size() : 0;
  std::u16string name = CutText(planName, room) + std::u16string(kEllipsis);
  return CutText(FormatText(pattern, {limitPercent, name}), kBalloonTextUnits);
}

}  // namespace kestrel
