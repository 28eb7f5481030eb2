// The plan editor's state and rules, without any window: the sliders of one
// plan and what they stand for, the coupling of sleep and hibernation, the
// brightness controls, which controls are enabled, what a write stores and
// whether anything changed since the last write.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "power/plan_record.h"
#include "power/plan_settings.h"
#include "ui/model/editor_slider.h"
#include "ui/model/editor_tables.h"

namespace kestrel {

enum class EditorRow : std::uint8_t {
  Monitor,
  Disk,
  Sleep,
  Hibernate,
  Processor,
  Brightness,
  DimTimeout,
  DimBrightness,
  Wireless,
  Video,
};
inline constexpr std::size_t kEditorRowCount = 10;

struct SliderId {
  EditorRow row;
  PowerSource source;
  friend bool operator==(const SliderId&, const SliderId&) = default;
};

// What the machine has, which decides the rows and their rules.
struct EditorFeatures {
  bool ambientLight = false;      // ASLSupported
  bool panelBrightness = false;   // the panel's brightness can be set
  bool dimmingRows = false;       // OS model 2 without external monitors
  bool externalMonitors = false;  // the fixed AC slider edits the monitors' brightness
  bool deviceSaving = false;      // the processor ECO check box
};

// The two thumbs of an ambient-light slider: the lowest and the highest level.
struct AmbientRange {
  int lower = 0;
  int upper = 0;
  friend bool operator==(const AmbientRange&, const AmbientRange&) = default;
};

class PlanEditorModel {
 public:
  PlanEditorModel(const EditorTables& tables, EditorFeatures features);

  // Shows a plan; what it holds becomes the baseline of change detection.
  void Load(const PlanRecord& record, const PlanSettings& settings);

  const EditorSlider& slider(SliderId id) const;
  // Moves a slider and applies the coupling; every slider whose position
  // changed, the moved one first.
  std::vector<SliderId> Move(SliderId id, int position);

  const AmbientRange& ambient(PowerSource source) const { return ambient_[Index(source)]; }
  void SetAmbient(PowerSource source, AmbientRange range);
  int highestLevel() const { return static_cast<int>(tables_.brightness().size()) - 1; }

  // Radio 1092 (true) or 1091.
  bool ambientLightOn() const { return ambientOn_; }
  void SetAmbientLightOn(bool on) { ambientOn_ = on && features_.ambientLight; }
  // Check box 1213: NpdCPU = 1.
  bool processorEco() const { return processorEco_; }
  void SetProcessorEco(bool on) { processorEco_ = on; }
  // Check box 1232: BrightnessMonitorEnable.
  bool monitorBrightness() const { return monitorBrightness_; }
  void SetMonitorBrightness(bool on) { monitorBrightness_ = on; }

  // Name, description and icon from the save-as/rename dialog or a reset;
  // a later write stores them even when nothing else changed.
  void SetNames(std::u16string name, std::u16string description, std::uint32_t iconNo);
  void SetGuid(const Guid& plan) { record_.guid = plan; }

  // What a write stores.
  PlanRecord CollectRecord() const;
  PlanSettings CollectSettings() const;
  // Something differs from the last load or write.
  bool HasChanges() const;
  // The collected values were written: they become the baseline.
  void MarkWritten();

  // Which controls take input.
  bool fixedBrightnessEnabled() const;
  bool ambientSlidersEnabled() const { return features_.ambientLight && ambientOn_; }
  bool processorSlidersEnabled() const { return !(features_.deviceSaving && processorEco_); }
  bool wirelessShown() const { return settings_.wlanPresent != 0; }
  bool videoShown() const { return settings_.videoSettingPresent != 0; }

  const PlanRecord& record() const { return record_; }
  const EditorFeatures& features() const { return features_; }

 private:
  static std::size_t Index(PowerSource source) { return source == PowerSource::Ac ? 0 : 1; }
  EditorSlider& At(SliderId id) { return sliders_[static_cast<std::size_t>(id.row)][Index(id.source)]; }
  void CoupleAfterSleep(PowerSource source, std::vector<SliderId>& moved);
  void CoupleAfterHibernate(PowerSource source, std::vector<SliderId>& moved);
  void LoadAmbient(const Alsbc& alsbc);

  const EditorTables& tables_;
  EditorFeatures features_;
  PlanRecord record_;
  PlanSettings settings_;
  std::array<std::array<EditorSlider, 2>, kEditorRowCount> sliders_;
  std::array<AmbientRange, 2> ambient_{};
  bool ambientOn_ = false;
  bool processorEco_ = false;
  bool monitorBrightness_ = false;
  bool namesChanged_ = false;
  PlanRecord baselineRecord_;
  PlanSettings baselineSettings_;
};

// Which of the plan buttons take a click for the shown plan.
struct PlanButtonState {
  bool saveAs = true;
  bool rename = true;
  bool remove = true;
  bool reset = true;
};
struct PlanStanding {
  bool active = false;         // the system's active plan
  bool modeBound = false;      // bound to a mode (LedNo, or a slot of the mode table)
  bool factoryBackup = false;  // has a factory backup
  bool twoModes = false;       // two-mode model
  std::size_t choices = 0;     // entries of the plan list
};
// Save-as is refused for the two-mode model's low-power plan (mode 3), rename
// for a plan marked so; a plan with a factory backup is reset, never deleted;
// the active plan, a plan bound to a mode and the last plan of the list are
// never deleted.
PlanButtonState PlanButtonsFor(const PlanRecord& plan, const PlanStanding& standing);

// The hibernate slider's total from idle to hibernation, and back.
std::uint32_t HibernateTotal(std::uint32_t sleep, std::uint32_t hibernate);
std::uint32_t HibernateFromTotal(std::uint32_t sleep, std::uint32_t total);

}  // namespace kestrel
