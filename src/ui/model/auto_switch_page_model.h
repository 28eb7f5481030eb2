// What the automatic switch page shows and stores, without its window: the
// plans it offers, the user's choice against the stored Auto record, the
// gate of the outing-button utility (its settings window open: nothing is
// applied), and the refusal to store a switch to no plan.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/error_reporter.h"
#include "eco/auto_switch_record.h"
#include "platform/machine.h"
#include "power/plan_list.h"

namespace kestrel {

inline constexpr std::u16string_view kRoamerSettingsWindowMutex = u"ROAMER_SETTING_WINDOW";
inline constexpr std::u16string_view kRoamerProgramPath = u"C:\\Program Files\\Roamer\\Roamer.exe";

struct AutoSwitchPlanItem {
  Guid guid;
  std::u16string name;
  friend bool operator==(const AutoSwitchPlanItem&, const AutoSwitchPlanItem&) = default;
};

// The pinned plans in their order, then the known plans in the fixed order,
// then every other plan in enumeration order; no hidden plan, no zero GUID,
// no plan twice.
std::vector<AutoSwitchPlanItem> AutoSwitchPlanItems(const PlanList& list);
// The position of `plan` in `items`, or the first item (nothing when empty).
std::optional<std::size_t> AutoSwitchSelection(const std::vector<AutoSwitchPlanItem>& items, const Guid& plan);

// What the page's controls hold.
struct AutoSwitchChoice {
  bool enabled = false;
  std::uint32_t threshold = 0;  // percent, 0-100
  Guid target;
};

AutoSwitchChoice ChoiceFromRecord(const AutoSwitchRecord& record);
bool ChoiceDiffers(const AutoSwitchRecord& record, const AutoSwitchChoice& choice);
// The threshold text of static 1113.
std::u16string ThresholdText(std::uint32_t percent);

enum class AutoSwitchApply : std::uint8_t {
  RoamerOpen,  // the outing-button utility's settings are open: nothing applied
  NoPlan,      // the chosen plan is zero: reported (162), nothing stored
  Unchanged,
  Stored,
  StoreFailed,
};

struct AutoSwitchPageParts {
  Machine& machine;
  ErrorReporter& reporter;
  // The record as the automatic switch holds it.
  std::function<AutoSwitchRecord()> record;
  // Stores a changed record (under AutoSwitchLock, with the worker's event
  // set or reset); false when the write failed.
  std::function<bool(const AutoSwitchRecord&)> store;
};

bool RoamerSettingsOpen(Sync& sync);

// OK of the standalone dialog, or PSN_APPLY in the sheet.
AutoSwitchApply ApplyAutoSwitchChoice(AutoSwitchPageParts& parts, const AutoSwitchChoice& choice);

}  // namespace kestrel
