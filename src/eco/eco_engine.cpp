#include "eco/eco_engine.h"

namespace kestrel {

EcoEngine::EcoEngine(EcoContext& context, ModeDisplayHost& display, PlaybackWarningDialog& warningDialog)
    : context_(context),
      lamp_(context.machine(), context.reporter()),
      warning_(context_, warningDialog),
      sequence_(context_, lamp_, display, warning_),
      menu_(context_, lamp_, warning_),
      followUp_(context_, lamp_) {
  lamp_.SetCurrentLampSource([this] { return CurrentLamp(); });
}

std::optional<std::uint32_t> EcoEngine::CurrentLamp() {
  std::shared_ptr<const PlanRecord> current = context_.plans().currentPlan();
  if (!current || current->guid.IsNull()) return std::nullopt;
  return LampForMode(context_.options().model, current->ledNo);
}

void EcoEngine::MainWindowCreated(WindowHandle window) {
  if (!ecoModes()) return;
  lamp_.StartupUpdate();
  context_.machine().messaging.SetTimer(window, kLampCheckTimer, context_.options().lampCheckPeriodMs);
}

bool EcoEngine::ButtonPressed(std::uint32_t message) {
  if (!ecoModes() && message != kMsgEcoButtonAdvance) return false;
  sequence_.Start();
  return true;
}

void EcoEngine::LampCheckTimerFired(WindowHandle window) {
  context_.machine().messaging.KillTimer(window, kLampCheckTimer);
  lamp_.CheckShowsState();
}

void EcoEngine::SessionChanged(bool unlocked, bool active) {
  if (ecoModes()) lamp_.SessionChanged(unlocked, active);
}

void EcoEngine::Resumed(bool sessionActive, bool sessionUnlocked) {
  if (ecoModes()) lamp_.Resumed(sessionActive, sessionUnlocked);
}

void EcoEngine::SetBrightnessApplier(std::function<void()> apply) {
  menu_.SetBrightnessApplier(apply);
  followUp_.SetBrightnessApplier(std::move(apply));
}

}  // namespace kestrel
