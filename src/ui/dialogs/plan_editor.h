// The plan editor's dialog procedure and its state: it moves values between
// the controls and PlanEditorModel, and runs the flows of its buttons (apply,
// OK, cancel, save-as, rename, delete, reset, another plan) over the plan
// layer under PlanLock.
#pragma once
#include <windows.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "power/factory_backup.h"
#include "power/plan_save.h"
#include "power/plan_settings.h"
#include "ui/dialogs/layout_scaling.h"
#include "ui/dialogs/plan_editor_dialog.h"
#include "ui/dialogs/range_slider.h"
#include "ui/model/plan_editor_model.h"
#include "ui/shell/scoped_win.h"

namespace kestrel {

class PlanEditor {
 public:
  explicit PlanEditor(const PlanEditorRequest& request);
  PlanEditor(const PlanEditor&) = delete;
  PlanEditor& operator=(const PlanEditor&) = delete;

  INT_PTR Run(HWND owner);

 private:
  static INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);

  // plan_editor_dialog.cpp: the flows.
  BOOL OnInit();
  bool LoadPlan(const Guid& plan);
  void OnCommand(int id, int code);
  void OnPlanChosen();
  void OnSaveAs(bool newPlan);
  void OnDelete();
  void OnReset();
  bool Write();
  void Apply();
  void OnOk();
  void OnCancel();
  void ActivateShownPlan();
  void ClearDimmingOf(const Guid& plan);
  void RebuildPlanList();
  void FillPlanCombo();
  bool PlanExists(const Guid& plan);
  bool IsModeBound(const PlanRecord& record);
  void SetButtonsForPlan(const PlanRecord& record);
  void MarkChanged();
  void Paint();
  int Box(std::uint32_t stringId, UINT style);
  void ReportPlan(std::uint32_t id, const Guid& plan, bool shown);
  std::uint32_t ResultIndex() const;

  // plan_editor_rows.cpp: what the controls show.
  void SetUpRows();
  void SetUpSlider(SliderId id);
  void SetUpAmbient();
  void SetUpBrightnessControls();
  void SetUpProcessorControls();
  void SetUpOptionalRows();
  void ShowPlanNames();
  void OnSliderMoved(HWND control);
  void SetLabel(int id, const std::u16string& text);
  void RefreshBattery();
  RunTimeQuery BatteryQuery() const;
  // Seconds the shown plan lasts on battery (0: unknown or no battery).
  std::uint32_t BatteryEstimate() const;
  // Blinks the remaining-time text twice: a blank for 500 ms, then the text
  // for 500 ms, on the dialog's own timer.
  void StartRemainingTimeBlink();
  void BlinkRemainingTime();
  void RefreshBrightnessCaption();
  void CreateTooltips();
  void OnTooltipText(NMTTDISPINFOW& info);
  void UpdateLabelTooltip(POINT cursor);
  void ScaleLayout();
  void LoadIcons();

  const DialogServices& services_;
  PlanEditorRequest request_;
  std::uint16_t templateId_;
  EditorTables tables_;
  EditorFeatures features_;
  PlanEditorModel model_;
  PlanSettingsAccess access_;
  PlanSaver saver_;
  FactoryBackups backups_;

  HWND dialog_ = nullptr;
  Guid activePlan_;
  std::optional<Guid> pendingPlan_;
  std::vector<Guid> comboPlans_;
  std::uint32_t resultWord_ = 0;
  int blinkStep_ = 0;
  std::wstring blinkText_;
  RangeSlider ambientAc_;
  RangeSlider ambientDc_;
  std::map<int, std::u16string> fullLabels_;
  int tooltipLabel_ = 0;
  HWND tooltip_ = nullptr;
  ScopedFont labelFont_;
  ScopedBrush white_;
  std::vector<ScopedIcon> icons_;
  ScopedIcon planIcon_;
  ScopedIcon batteryIcon_;
  LayoutScale scale_;
};

}  // namespace kestrel
