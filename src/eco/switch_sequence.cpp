#include "eco/switch_sequence.h"

#include "base/string_ids.h"
#include "eco/mode_activation.h"
#include "platform/format.h"
#include "platform/text.h"

namespace kestrel {
namespace {

constexpr std::size_t kBoxTextUnits = 259;          // a 260-character buffer

}  // namespace

void ModeSwitchSequence::Start() {
  EcoModel current = model();
  // Every model but the three-mode one checks the two-mode binding first, a
  // machine without ECO modes too: the hot key (or another process's 1341)
  // there tells the user why nothing switches.
  if (current != EcoModel::ThreeModes &&
      !IsCompleteTwoModeTable(context_.plans().FindModePlans(EcoModel::TwoModes))) {
    ShowBrokenBindingBox();
    return;
  }
  // Without ECO modes the mode-switch window's class does not exist.
  if (current == EcoModel::None) return;
  if (openWindow_ != 0) {
    // Only a window that was already open steps on: the press that opens a
    // window has shown its mode already.
    context_.machine().messaging.Send(openWindow_, kMsgEcoButtonAdvance, 0, 0);
  } else {
    WindowHandle window = host_.Create(context_.mainWindow());
    if (window == 0) return;
    host_.Show(window);
    openWindow_ = window;
  }
  if (openWindow_ != 0) host_.Invalidate(openWindow_);
}

void ModeSwitchSequence::ShowBrokenBindingBox() {
  if (boxOpen_) return;
  StringTable& strings = context_.machine().strings;
  std::u16string title = context_.titleText();
  std::u16string text = Truncate(FormatText(strings.Load(kStringBrokenBinding),
                                            {title, strings.Load(kStringEcoSettingsName),
                                             strings.Load(kStringFactoryReset)}),
                                 kBoxTextUnits);
  boxOpen_ = true;
  context_.machine().boxes.Show(context_.mainWindow(), text, title, kMbIconExclamation | kMbOk);
  boxOpen_ = false;
}

bool ModeSwitchSequence::OnCreate(WindowHandle window) {
  switch (model()) {
    case EcoModel::ThreeModes:
      return CreateThreeModes(window);
    case EcoModel::TwoModes:
      return CreateTwoModes(window);
    case EcoModel::None:
      break;
  }
  return false;
}

bool ModeSwitchSequence::CreateThreeModes(WindowHandle window) {
  table_ = context_.plans().FindModePlans(EcoModel::ThreeModes);
  if (table_.count == 0) return false;
  Guid active;
  if (context_.machine().power.GetActivePlan(active) == kSuccess) {
    shownMode_ = ModeOfPlan(table_, EcoModel::ThreeModes, active);
  }
  startMode_ = shownMode_;
  // A window without its timer would never close.
  return StartTimer(window);
}

bool ModeSwitchSequence::CreateTwoModes(WindowHandle window) {
  table_ = context_.plans().FindModePlans(EcoModel::TwoModes);
  // The binding may have changed since the press was checked; a slot without
  // plan must never be activated.
  if (!IsCompleteTwoModeTable(table_)) return false;
  Guid active;
  if (context_.machine().power.GetActivePlan(active) == kSuccess) {
    previousPlan_ = active;
    shownMode_ = active == table_.slots[0].plan ? 1 : 3;
    appliedMode_ = shownMode_;
    ActivateMode(context_, lamp_, *BoundSlot(table_, EcoModel::TwoModes, shownMode_),
                 LampForMode(EcoModel::TwoModes, shownMode_));
  }
  phase_ = SwitchPhase::Switched;
  return StartTimer(window);
}

void ModeSwitchSequence::OnPress(WindowHandle window) {
  if (!timerRunning_) return;
  context_.machine().messaging.KillTimer(window, kModeDisplayTimer);
  if (!StartTimer(window)) {
    Close(window);
    return;
  }
  EcoModel current = model();
  if (current == EcoModel::ThreeModes) {
    shownMode_ = NextMode(table_, current, shownMode_);
  } else {
    phase_ = SwitchPhase::Pending;
    if (shownMode_ != kNoMode) shownMode_ = shownMode_ == 1 ? 3 : 1;
  }
  host_.Invalidate(window);
}

void ModeSwitchSequence::OnTimer(WindowHandle window) {
  if (!timerRunning_) return;
  context_.machine().messaging.KillTimer(window, kModeDisplayTimer);
  timerRunning_ = false;
  if (model() == EcoModel::ThreeModes) {
    TimerThreeModes(window);
  } else {
    TimerTwoModes(window);
  }
}

void ModeSwitchSequence::TimerThreeModes(WindowHandle window) {
  if (openWindow_ == window) openWindow_ = 0;
  if (shownMode_ != kNoMode && shownMode_ != startMode_) {
    if (const ModeSlot* slot = BoundSlot(table_, EcoModel::ThreeModes, shownMode_)) {
      ActivateMode(context_, lamp_, *slot, LampForMode(EcoModel::ThreeModes, shownMode_));
    }
  }
  host_.Close(window);
}

void ModeSwitchSequence::TimerTwoModes(WindowHandle window) {
  if (phase_ == SwitchPhase::Switched) {
    Close(window);
    const ModeSlot* shown = BoundSlot(table_, EcoModel::TwoModes, shownMode_);
    if (shown != nullptr && warning_.WarnsFor(shown->plan)) {
      warning_.Show(0, previousPlan_ == context_.options().lowPowerPlan);
    }
    return;
  }
  phase_ = SwitchPhase::Switched;
  if (shownMode_ != kNoMode && shownMode_ != appliedMode_) {
    if (const ModeSlot* slot = BoundSlot(table_, EcoModel::TwoModes, shownMode_)) {
      ActivateMode(context_, lamp_, *slot, LampForMode(EcoModel::TwoModes, shownMode_));
    }
    appliedMode_ = shownMode_;
  }
  if (!StartTimer(window)) {
    Close(window);
    return;
  }
  host_.Invalidate(window);
}

bool ModeSwitchSequence::StartTimer(WindowHandle window) {
  timerRunning_ =
      context_.machine().messaging.SetTimer(window, kModeDisplayTimer, kModeDisplayPeriodMs) == kSuccess;
  return timerRunning_;
}

void ModeSwitchSequence::Close(WindowHandle window) {
  timerRunning_ = false;
  if (openWindow_ == window) openWindow_ = 0;
  host_.Close(window);
}

ModeDisplayState ModeSwitchSequence::displayState() const {
  return ModeDisplayState{context_.options().model, table_, shownMode_, phase_};
}

}  // namespace kestrel
