// Kestrel's subsystems behind the application core's start-up steps: the plan
// layer builds the plan list at the end of the settings load and makes the
// active plan current when the main window is created.
#pragma once
#include <memory>

#include "app/application.h"
#include "app/subsystem_hooks.h"
#include "power/brightness_ctrl.h"
#include "power/plan_model.h"
#include "ui/model/eco_level_library.h"

namespace kestrel {

class KestrelHooks : public SubsystemHooks {
 public:
  KestrelHooks() = default;

  // The application whose machine, reporter, settings and PlanLock the
  // subsystems use. Called once, before Application::Start.
  void Attach(Application& app) { app_ = &app; }

  void BuildPlanList() override;
  // The processor-mode driver's support query (settings flag DeviceSaving).
  bool ProbePowerSavingDevice() override;
  void MainWindowCreated() override;
  // The eco-level library: loaded with the settings, finalised at shutdown
  // (and by the main window when the Windows session ends).
  void LoadEcoLevelLibrary() override;
  void ReleaseDevicesAndTables() override;
  void SetEcoLevelLibrary(EcoLevelLibrary* library) { ecoLevel_ = library; }
  EcoLevelLibrary* ecoLevelLibrary() { return ecoLevel_; }

  CBrightnessCtrl& brightness() { return brightness_; }
  // The plan layer, created on first use (PlanLock exists from initialisation on).
  PlanModel& plans();

 private:
  bool Tracing() const;

  Application* app_ = nullptr;
  CBrightnessCtrl brightness_;
  std::unique_ptr<PlanModel> plans_;
  EcoLevelLibrary* ecoLevel_ = nullptr;
};

}  // namespace kestrel
