#include "eco/playback_warning.h"

#include "base/registry_paths.h"
#include "base/string_ids.h"
#include "platform/format.h"
#include "platform/text.h"

namespace kestrel {
namespace {

constexpr std::size_t kWarningUnits = 259;  // a 260-character buffer
constexpr std::u16string_view kShowWarningValue = u"PwrChangeDlg";

}  // namespace

bool PlaybackWarning::WarnsFor(const Guid& plan) {
  EcoOptions options = context_.options();
  if (!options.playbackWarning || options.lowPowerPlan.IsNull() || plan != options.lowPowerPlan) return false;
  std::uint32_t showAgain = 1;
  RegKey key;
  if (RegKey::Open(context_.machine().registry, kHkeyCurrentUser, kKestrelKey, kKeyQueryValue, key) == kSuccess) {
    if (key.ReadDword(kShowWarningValue, showAgain) != kSuccess) showAgain = 1;
  }
  return showAgain == 1;
}

std::u16string PlaybackWarning::PlanName(const Guid& plan) {
  PlanRecord record;
  record.guid = plan;
  context_.plans().reader().Read(record);
  return record.name;
}

void PlaybackWarning::Show(WindowHandle owner, bool suppress) {
  bringToFront_ = open_;
  if (suppress || open_) return;
  EcoOptions options = context_.options();
  StringTable& strings = context_.machine().strings;
  std::u16string content = Truncate(
      FormatText(strings.Load(kStringPlaybackWarning), {PlanName(options.lowPowerPlan), PlanName(options.videoPlan)}),
      kWarningUnits);
  dialog_.Show(owner, context_.titleText(), content, strings.Load(kStringDoNotShowAgain), *this);
  // A dialog that could not be shown never reports its button.
  open_ = false;
  bringToFront_ = false;
}

void PlaybackWarning::Created() {
  showAgain_ = 1;
  open_ = true;
}

void PlaybackWarning::VerificationClicked(bool checked) { showAgain_ = checked ? 0 : 1; }

PlaybackWarning::TimerAction PlaybackWarning::Tick(std::uint32_t elapsedMs) {
  if (bringToFront_) {
    bringToFront_ = false;
    return TimerAction::BringToFront;
  }
  return elapsedMs >= kWarningClickPeriodMs ? TimerAction::ClickButton : TimerAction::None;
}

void PlaybackWarning::ButtonClicked() {
  RegKey key;
  // Created when missing: a first run has not saved its settings yet, and the
  // user's "do not show again" must not be lost.
  if (RegKey::Create(context_.machine().registry, kHkeyCurrentUser, kKestrelKey, kKeySetValue, key) == kSuccess) {
    key.WriteDword(kShowWarningValue, showAgain_);
  }
  open_ = false;
  bringToFront_ = false;
}

}  // namespace kestrel
