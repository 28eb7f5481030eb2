#include "ui/model/auto_switch_page_model.h"

#include <algorithm>

#include "base/string_ids.h"
#include "platform/format.h"
#include "power/plan_ids.h"

namespace kestrel {

std::vector<AutoSwitchPlanItem> AutoSwitchPlanItems(const PlanList& list) {
  std::vector<AutoSwitchPlanItem> items;
  auto add = [&items](const PlanRecord* record) {
    if (record == nullptr || !record->listable()) return;
    bool seen = std::any_of(items.begin(), items.end(),
                            [record](const AutoSwitchPlanItem& item) { return item.guid == record->guid; });
    if (!seen) items.push_back({record->guid, record->name});
  };
  for (std::size_t pin = 0; pin < list.modePlanRefs().size(); ++pin) add(list.modePlan(pin));
  for (const Guid& known : kKnownPlanOrder) {
    std::optional<std::size_t> index = list.FindPlanIndex(known);
    if (index) add(&list.plans()[*index]);
  }
  for (const PlanRecord& plan : list.plans()) add(&plan);
  return items;
}

std::optional<std::size_t> AutoSwitchSelection(const std::vector<AutoSwitchPlanItem>& items, const Guid& plan) {
  if (items.empty()) return std::nullopt;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i].guid == plan) return i;
  }
  return 0;
}

AutoSwitchChoice ChoiceFromRecord(const AutoSwitchRecord& record) {
  return {record.enabled == 1, static_cast<std::uint32_t>(std::min<std::uint64_t>(record.limit, 100)),
          record.target};
}

bool ChoiceDiffers(const AutoSwitchRecord& record, const AutoSwitchChoice& choice) {
  return (record.enabled == 1) != choice.enabled || record.limit != choice.threshold || record.target != choice.target;
}

std::u16string ThresholdText(std::uint32_t percent) { return FormatText(u"%d%%", {percent}); }

bool RoamerSettingsOpen(Sync& sync) { return NamedMutexExists(sync, kRoamerSettingsWindowMutex); }

AutoSwitchApply ApplyAutoSwitchChoice(AutoSwitchPageParts& parts, const AutoSwitchChoice& choice) {
  if (RoamerSettingsOpen(parts.machine.sync)) return AutoSwitchApply::RoamerOpen;
  if (choice.target.IsNull()) {
    // A switch to no plan would leave the machine without a plan at low
    // battery: it is reported and never stored.
    parts.reporter.ReportCode(kStringPlanNotFound, 0);
    return AutoSwitchApply::NoPlan;
  }
  AutoSwitchRecord record = parts.record();
  if (!ChoiceDiffers(record, choice)) return AutoSwitchApply::Unchanged;
  record.enabled = choice.enabled ? 1 : 0;
  record.limit = std::min<std::uint32_t>(choice.threshold, 100);
  record.target = choice.target;
  return parts.store(record) ? AutoSwitchApply::Stored : AutoSwitchApply::StoreFailed;
}

}  // namespace kestrel
