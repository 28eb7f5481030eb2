#include "eco/eco_engine.h"

#include "app/application.h"

namespace kestrel {

EcoEngine::EcoEngine(Application& app, std::function<PlanModel&()> plans, ModeDisplayHost& display,
                     PlaybackWarningDialog& warningDialog)
    : app_(app),
      context_(app, std::move(plans)),
      lamp_(app.machine(), app.reporter()),
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

std::function<void()> EcoEngine::LampWorkerRound() {
  return [this] {
    Workers& workers = app_.workers();
    lamp_.RunWorker(workers.ledEvent(), [&workers] { return workers.running(); });
  };
}

void EcoEngine::MainWindowCreated(WindowHandle window) {
  context_.NoteMainWindow(window);
  if (!ecoModes()) return;
  lamp_.StartupUpdate();
  app_.machine().messaging.SetTimer(window, kLampCheckTimer, context_.options().lampCheckPeriodMs);
}

bool EcoEngine::ButtonPressed(std::uint32_t message) {
  if (!ecoModes() && message != kMsgEcoButtonAdvance) return false;
  sequence_.Start();
  return true;
}

bool EcoEngine::TimerFired(WindowHandle window, std::uintptr_t id) {
  if (id != kLampCheckTimer) return false;
  app_.machine().messaging.KillTimer(window, kLampCheckTimer);
  lamp_.CheckShowsState();
  return true;
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
