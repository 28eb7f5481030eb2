// What the ECO mode settings dialog shows and decides, without its window:
// the plan offered in each mode column, the working, factory and snapshot
// tables of the mode binding, the checks and questions of a save, the store
// of a whole binding (LedNo of every plan), and the reset to the factory
// binding. The dialog procedure draws it and passes the user's actions in.
//
// Columns: three-mode models show modes 1, 2, 3; two-mode models show mode 3
// (the low-power plan) in column 0 and mode 1 in column 1.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/error_reporter.h"
#include "base/machine_config.h"
#include "platform/machine.h"
#include "power/plan_list.h"
#include "power/plan_model.h"

namespace kestrel {

// The buffer ModeDefaultSchemeList is read into: 432 bytes (three-mode) or
// 288 bytes (two-mode); each GUID takes 36 characters and its NUL.
inline constexpr std::size_t kModeDefaultStrideUnits = 37;
std::size_t ModeDefaultListBytes(EcoModel model);

// ModeDefaultSchemeList as read: accepted only as REG_MULTI_SZ that fits the
// buffer and holds one 36-character GUID (with its NUL) per mode, none zero.
// Anything else yields nothing and the built-in binding stays.
std::optional<std::vector<Guid>> ParseModeDefaultSchemeList(RegType type, std::span<const std::uint8_t> bytes,
                                                            EcoModel model);
// The factory binding of the dialog: built in, then ModeDefaultSchemeList.
std::vector<Guid> ReadModeDefaults(Registry& registry, EcoModel model);

// One entry of a column's list. The none entry has a zero GUID and an
// Indicator of -1.
struct PlanChoice {
  Guid guid;
  std::u16string name;
  std::u16string description;
  std::uint32_t iconNo = 0;
  std::int32_t indicator = -1;
  bool none() const { return guid.IsNull(); }
};

struct ColumnChoices {
  std::vector<PlanChoice> items;
  std::size_t selected = 0;
  // Two-mode column 0: the name static 1224 shows.
  std::u16string fixedName;
};

std::size_t ColumnCount(EcoModel model);
// The mode a column binds: three-mode 1-3, two-mode 3 (column 0) or 1.
std::uint32_t ModeOfColumn(EcoModel model, std::size_t column);
// The column of a mode, for the focus at open.
std::optional<std::size_t> ColumnOfMode(EcoModel model, std::uint32_t mode);

// A column's list from one plan list. Three-mode: the pinned plans, then the
// listed plans, the last one bound to the column's mode selected, then the
// none entry. Two-mode: column 0 offers only the plan bound to mode 3 (or the
// none entry); column 1 the plan bound to mode 1, then the listed plans, and
// the none entry only when no plan is bound to mode 1. `modeSlots` are the
// plans bound to the two-mode slots (mode 3, mode 1). Hidden plans, plans
// with a zero GUID and repeats are never offered.
ColumnChoices BuildColumnChoices(const PlanList& list, EcoModel model, std::size_t column,
                                 std::u16string_view noneText, std::span<const Guid> modeSlots = {});

// The rating pips of a plan: performance and energy saving, each 0-5, or
// unknown (all pips show the unknown bitmap).
struct PlanRatings {
  bool known = false;
  std::uint32_t performance = 0;
  std::uint32_t saving = 0;
};
// From the eco-level library's answer (61442: none), else from Indicator
// (negative: none).
PlanRatings RatingsOf(std::uint32_t ecoLevel, std::int32_t indicator);

// The LedNo a plan gets from a binding: the mode of the first column whose
// entry equals it (three-mode in the order 1, 2, 3), else 0.
std::uint32_t LedNoFromBinding(EcoModel model, std::span<const Guid> working, const Guid& plan);

// What the dialog model uses of the program.
struct EcoSettingsParts {
  Machine& machine;
  ErrorReporter& reporter;
  PlanModel& plans;
  EcoModel model = EcoModel::None;
  std::vector<Guid> pinnedPlans;
  std::u16string titleText;
  // Re-imports the factory plan of a column (two-mode reset); false on failure.
  std::function<bool(std::size_t column, const Guid& factoryPlan)> reimportModePlan;
};

class EcoSettingsModel {
 public:
  explicit EcoSettingsModel(EcoSettingsParts parts);

  EcoModel model() const { return parts_.model; }
  std::size_t columns() const { return columns_.size(); }
  const ColumnChoices& column(std::size_t index) const { return columns_[index]; }
  const PlanChoice& SelectedChoice(std::size_t column) const;
  const std::vector<Guid>& working() const { return working_; }
  const std::vector<Guid>& defaults() const { return defaults_; }
  const std::vector<Guid>& snapshot() const { return snapshot_; }

  // Opening: builds the plan list, reads the factory binding, fills every
  // column (under PlanLock) and takes the snapshot.
  void Open();

  // The user chose item `item` of `column`. True when the working entry
  // changed (Apply is enabled then). A busy PlanLock changes nothing.
  bool Select(std::size_t column, std::size_t item);

  // The refresh of the timer and of 1031: refills every column and keeps the
  // user's unsaved choices where their plans still exist. `timer` picks the
  // code of a PlanLock time-out.
  void Refresh(bool timer);
  // After the detailed editor: the column's entry becomes `plan` (when not
  // zero), then the plan list is rebuilt and every column reselected.
  void AfterEditor(std::size_t column, const Guid& plan);

  enum class ResetResult { Declined, Done, Incomplete };
  // Asks first; nothing is written until a save.
  ResetResult Reset(WindowHandle owner);

  enum class SaveResult { Rejected, Saved, LockBusy };
  // OK (apply = false) or Apply. Asks and stores as the dialog's save does;
  // `lampChanged` is called when the current mode moved.
  SaveResult Save(WindowHandle owner, bool apply, const std::function<void()>& lampChanged);

  // Something differs from the snapshot.
  bool ChangedSinceSnapshot() const { return working_ != snapshot_; }
  std::uint32_t rememberedMode() const { return rememberedMode_; }
  // The mode the current plan is bound to, from its LedNo.
  std::uint32_t CurrentMode() const;

 private:
  // Reads the two-mode slots, then fills every column; PlanLock held.
  void FillColumns();
  void Reselect(std::span<const Guid> choices);
  void SelectGuid(std::size_t column, const Guid& plan);
  bool PlanExists(const Guid& plan);
  bool HasDuplicate() const;
  void StoreBinding();
  void ReportLockTimeout(std::int64_t code);

  EcoSettingsParts parts_;
  std::vector<ColumnChoices> columns_;
  std::vector<Guid> modeSlots_;
  std::vector<Guid> defaults_;
  std::vector<Guid> working_;
  std::vector<Guid> snapshot_;
  std::uint32_t rememberedMode_ = 0;
};

}  // namespace kestrel
