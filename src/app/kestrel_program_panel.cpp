// The meter panel as a part of the program: its creation at step 16 of
// initialisation, the hooks the main window's handlers call, and its end at
// shutdown. Without a panel host (a machine without the panel, the test rigs)
// every hook answers as the defaults of Subsystems do.
#include "app/kestrel_program.h"

namespace kestrel {

bool KestrelProgram::CreatePanel() {
  if (!panel_) return true;
  if (!panel_->Create()) return false;
  needleView_.store(panel_.get());
  battery_.SetStageDropped([this] {
    if (panel_) panel_->workers().Wake(PanelWorker::BatteryBlink);
  });
  return true;
}

void KestrelProgram::ClosePanel() {
  if (!panel_) return;
  needleView_.store(nullptr);
  panel_->Close();
}

void KestrelProgram::ShowPanel() {
  if (panel_) panel_->Show();
}

void KestrelProgram::HidePanel() {
  if (panel_) panel_->Hide();
}

std::optional<Point> KestrelProgram::PanelMenuPoint() {
  if (!panel_ || !panel_->shown()) return std::nullopt;
  return panel_->MenuPoint();
}

WindowHandle KestrelProgram::PanelWindow() { return panel_ ? panel_->window() : 0; }

void KestrelProgram::RepaintPanel() {
  if (panel_ && panel_->shown()) parts_.panelHost->InvalidateAll();
}

void KestrelProgram::RepaintPanelBattery() {
  if (panel_ && panel_->window() != 0) panel_->BatteryUpdated();
}

bool KestrelProgram::BoostActive() { return panel_ && panel_->window() != 0 && panel_->boost().active(); }

void KestrelProgram::SavePanelPosition() {
  if (panel_) panel_->StoreOrigin();
}

void KestrelProgram::RestoreSavedBoost() {
  if (!panel_ || panel_->window() == 0) return;
  Guid active;
  if (app_.machine().power.GetActivePlan(active) != kSuccess) return;
  panel_->boost().UndoLeftover(active, kBoostCodeSession);
}

bool KestrelProgram::DisplaySettingsOpen() { return panel_ && panel_->displaySettingsOpen(); }

void KestrelProgram::LoadPanelColors() {
  if (panel_) kestrel::LoadPanelColors(app_.machine().registry, app_.reporter(), panel_->colors());
}

}  // namespace kestrel
