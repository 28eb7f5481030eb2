#include "ui/model/eco_settings_model.h"

#include <algorithm>

#include "base/registry_paths.h"
#include "base/string_ids.h"
#include "eco/mode_table.h"
#include "ui/model/eco_level_library.h"
#include "power/extension_write.h"
#include "power/plan_ids.h"

namespace kestrel {
namespace {

constexpr Guid kFactoryPerformancePlan = GuidLiteral("f3faa8e8-79ea-4723-8ad5-cfbc1d74bd1c");
constexpr Guid kFactoryStandardPlan = GuidLiteral("32833106-536e-45df-80b2-d002cc92d33d");
constexpr Guid kFactoryEcoPlan = GuidLiteral("f08db22f-d293-456a-b170-fab23d90fbac");

// Codes reported with a PlanLock time-out, by the path that gave up.
constexpr std::int64_t kLockCodeSelect = 9;
constexpr std::int64_t kLockCodeOpenColumn = 21;
constexpr std::int64_t kLockCodeRefreshMessage = 22;
constexpr std::int64_t kLockCodeRefreshTimer = 23;

constexpr std::u16string_view kModeDefaultsValue = u"ModeDefaultSchemeList";

std::vector<Guid> BuiltInModeDefaults(EcoModel model) {
  if (model == EcoModel::ThreeModes) return {kFactoryPerformancePlan, kFactoryStandardPlan, kFactoryEcoPlan};
  if (model == EcoModel::TwoModes) return {kFactoryEcoPlan, kFactoryPerformancePlan};
  return {};
}

PlanChoice ChoiceOf(const PlanRecord& record) {
  return {record.guid, record.name, record.description, record.iconNo, record.indicator};
}

PlanChoice NoneChoice(std::u16string_view noneText) {
  PlanChoice none;
  none.name = noneText;
  none.indicator = -1;
  return none;
}

bool Offered(const PlanRecord* record) { return record != nullptr && record->listable(); }

}  // namespace

std::size_t ModeDefaultListBytes(EcoModel model) {
  return model == EcoModel::ThreeModes ? 432 : model == EcoModel::TwoModes ? 288 : 0;
}

std::optional<std::vector<Guid>> ParseModeDefaultSchemeList(RegType type, std::span<const std::uint8_t> bytes,
                                                            EcoModel model) {
  std::size_t count = ColumnCount(model);
  if (count == 0 || type != RegType::MultiSz || bytes.size() > ModeDefaultListBytes(model)) return std::nullopt;
  if (bytes.size() < count * kModeDefaultStrideUnits * 2) return std::nullopt;
  std::vector<Guid> guids;
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t* entry = bytes.data() + i * kModeDefaultStrideUnits * 2;
    std::u16string text;
    for (std::size_t unit = 0; unit < kModeDefaultStrideUnits; ++unit) {
      text.push_back(static_cast<char16_t>(entry[2 * unit] | (entry[2 * unit + 1] << 8)));
    }
    if (text.back() != u'\0') return std::nullopt;
    text.pop_back();
    std::optional<Guid> guid = ParseGuid(text);
    if (!guid || guid->IsNull()) return std::nullopt;
    guids.push_back(*guid);
  }
  return guids;
}

std::vector<Guid> ReadModeDefaults(Registry& registry, EcoModel model) {
  std::vector<Guid> defaults = BuiltInModeDefaults(model);
  RegKey key;
  if (defaults.empty() || RegKey::Open(registry, kHkeyLocalMachine, kKestrelKey, kKeyRead, key) != kSuccess) {
    return defaults;
  }
  std::vector<std::uint8_t> buffer(ModeDefaultListBytes(model));
  std::uint32_t size = static_cast<std::uint32_t>(buffer.size());
  RegType type = RegType::None;
  if (registry.QueryValue(key.get(), kModeDefaultsValue, &type, buffer.data(), size) != kSuccess) return defaults;
  std::optional<std::vector<Guid>> stored =
      ParseModeDefaultSchemeList(type, std::span(buffer.data(), std::min<std::size_t>(size, buffer.size())), model);
  return stored ? *stored : defaults;
}

std::size_t ColumnCount(EcoModel model) {
  return model == EcoModel::ThreeModes ? 3 : model == EcoModel::TwoModes ? 2 : 0;
}

std::uint32_t ModeOfColumn(EcoModel model, std::size_t column) {
  if (model == EcoModel::ThreeModes) return static_cast<std::uint32_t>(column + 1);
  return column == 0 ? 3 : 1;
}

std::optional<std::size_t> ColumnOfMode(EcoModel model, std::uint32_t mode) {
  for (std::size_t column = 0; column < ColumnCount(model); ++column) {
    if (ModeOfColumn(model, column) == mode) return column;
  }
  return std::nullopt;
}

ColumnChoices BuildColumnChoices(const PlanList& list, EcoModel model, std::size_t column,
                                 std::u16string_view noneText, std::span<const Guid> modeSlots) {
  ColumnChoices choices;
  std::optional<std::size_t> selected;
  std::uint32_t mode = ModeOfColumn(model, column);
  auto add = [&](const PlanRecord* record, bool preselect) {
    if (!Offered(record)) return;
    for (const PlanChoice& item : choices.items) {
      if (item.guid == record->guid) return;
    }
    choices.items.push_back(ChoiceOf(*record));
    if (preselect && record->ledNo == mode) selected = choices.items.size() - 1;
  };
  auto slotPlan = [&](std::size_t slot) -> const PlanRecord* {
    if (slot >= modeSlots.size()) return nullptr;
    std::optional<std::size_t> index = list.FindPlanIndex(modeSlots[slot]);
    return index ? &list.plans()[*index] : nullptr;
  };
  bool appendNone = true;
  if (model == EcoModel::TwoModes && column == 0) {
    // Column 0 offers only the plan bound to mode 3.
    add(slotPlan(0), false);
    if (!choices.items.empty()) selected = 0;
    appendNone = choices.items.empty();
  } else {
    if (model == EcoModel::TwoModes) {
      add(slotPlan(1), true);
    } else {
      for (std::size_t pin = 0; pin < list.modePlanRefs().size(); ++pin) add(list.modePlan(pin), true);
    }
    for (std::size_t position = 0; position < list.listed().size(); ++position) {
      add(list.listedPlan(position), true);
    }
    if (model == EcoModel::TwoModes) appendNone = !selected.has_value();
  }
  if (appendNone) choices.items.push_back(NoneChoice(noneText));
  choices.selected = selected.value_or(choices.items.size() - 1);
  if (model == EcoModel::TwoModes && column == 0) choices.fixedName = choices.items[choices.selected].name;
  return choices;
}

PlanRatings RatingsOf(std::uint32_t ecoLevel, std::int32_t indicator) {
  PlanRatings ratings;
  if (ecoLevel != kNoEcoLevel) {
    ratings = {true, (ecoLevel >> 8) & 0xFF, ecoLevel & 0xFF};
  } else if (indicator >= 0) {
    std::uint32_t bits = static_cast<std::uint32_t>(indicator);
    ratings = {true, bits >> 16, bits & 0xFFFF};
  }
  ratings.performance = std::min<std::uint32_t>(ratings.performance, 5);
  ratings.saving = std::min<std::uint32_t>(ratings.saving, 5);
  return ratings;
}

std::uint32_t LedNoFromBinding(EcoModel model, std::span<const Guid> working, const Guid& plan) {
  if (plan.IsNull()) return kNoMode;
  for (std::size_t column = 0; column < working.size(); ++column) {
    if (working[column] == plan) return ModeOfColumn(model, column);
  }
  return kNoMode;
}

EcoSettingsModel::EcoSettingsModel(EcoSettingsParts parts) : parts_(std::move(parts)) {
  std::size_t count = ColumnCount(parts_.model);
  columns_.resize(count);
  working_.assign(count, Guid{});
  snapshot_ = working_;
  defaults_ = BuiltInModeDefaults(parts_.model);
}

const PlanChoice& EcoSettingsModel::SelectedChoice(std::size_t column) const {
  const ColumnChoices& choices = columns_[column];
  return choices.items[choices.selected];
}

void EcoSettingsModel::ReportLockTimeout(std::int64_t code) {
  parts_.reporter.ReportCode(kStringPlanLockTimeout, code, kReportLog | kReportBox);
}

void EcoSettingsModel::Open() {
  parts_.plans.BuildPlanList(parts_.pinnedPlans);
  defaults_ = ReadModeDefaults(parts_.machine.registry, parts_.model);
  // The factory binding is also the starting point of the working table; the
  // columns then overwrite it with what the plans' LedNo values bind.
  working_ = defaults_;
  PlanLock::Hold hold = parts_.plans.lock().Acquire(kPlanLockWaitMs);
  if (!hold) {
    ReportLockTimeout(kLockCodeOpenColumn);
  } else {
    FillColumns();
  }
  snapshot_ = working_;
  rememberedMode_ = CurrentMode();
}

void EcoSettingsModel::FillColumns() {
  std::shared_ptr<const PlanList> list = parts_.plans.planList();
  modeSlots_.clear();
  if (parts_.model == EcoModel::TwoModes) {
    for (const ModeSlot& slot : parts_.plans.FindModePlans(parts_.model).slots) modeSlots_.push_back(slot.plan);
  }
  std::u16string noneText = parts_.machine.strings.Load(kStringNoPlan);
  for (std::size_t column = 0; column < columns_.size(); ++column) {
    columns_[column] = BuildColumnChoices(*list, parts_.model, column, noneText, modeSlots_);
    working_[column] = SelectedChoice(column).guid;
  }
}

void EcoSettingsModel::SelectGuid(std::size_t column, const Guid& plan) {
  ColumnChoices& choices = columns_[column];
  for (std::size_t item = 0; item < choices.items.size(); ++item) {
    if (choices.items[item].guid == plan) {
      choices.selected = item;
      working_[column] = plan;
      return;
    }
  }
}

void EcoSettingsModel::Reselect(std::span<const Guid> choices) {
  for (std::size_t column = 0; column < columns_.size() && column < choices.size(); ++column) {
    SelectGuid(column, choices[column]);
  }
}

bool EcoSettingsModel::Select(std::size_t column, std::size_t item) {
  if (column >= columns_.size() || item >= columns_[column].items.size()) return false;
  PlanLock::Hold hold = parts_.plans.lock().Acquire(kPlanLockWaitMs);
  if (!hold) {
    ReportLockTimeout(kLockCodeSelect);
    return false;
  }
  columns_[column].selected = item;
  const Guid& chosen = columns_[column].items[item].guid;
  if (chosen == working_[column]) return false;
  working_[column] = chosen;
  return true;
}

void EcoSettingsModel::Refresh(bool timer) {
  std::vector<Guid> kept = working_;
  parts_.plans.BuildPlanList(parts_.pinnedPlans);
  PlanLock::Hold hold = parts_.plans.lock().Acquire(kPlanLockWaitMs);
  if (!hold) {
    ReportLockTimeout(timer ? kLockCodeRefreshTimer : kLockCodeRefreshMessage);
    return;
  }
  FillColumns();
  Reselect(kept);
}

void EcoSettingsModel::AfterEditor(std::size_t column, const Guid& plan) {
  std::vector<Guid> kept = working_;
  if (column < kept.size() && !plan.IsNull()) kept[column] = plan;
  parts_.plans.BuildPlanList(parts_.pinnedPlans);
  PlanLock::Hold hold = parts_.plans.lock().Acquire(kPlanLockWaitMs);
  if (!hold) return;
  FillColumns();
  Reselect(kept);
}

bool EcoSettingsModel::PlanExists(const Guid& plan) {
  PlanRecord record;
  record.guid = plan;
  parts_.plans.reader().Read(record);
  return !record.guid.IsNull();
}

bool EcoSettingsModel::HasDuplicate() const {
  if (parts_.model != EcoModel::ThreeModes) return false;
  const Guid& one = working_[0];
  const Guid& two = working_[1];
  const Guid& three = working_[2];
  return (!one.IsNull() && (one == two || one == three)) || (!two.IsNull() && two == three);
}

EcoSettingsModel::ResetResult EcoSettingsModel::Reset(WindowHandle owner) {
  bool three = parts_.model == EcoModel::ThreeModes;
  Machine& machine = parts_.machine;
  PlanLock::Hold hold = parts_.plans.lock().Acquire(kPlanLockWaitMs);
  if (!hold) {
    ReportLockTimeout(kLockCodeSelect);
    return ResetResult::Declined;
  }
  std::u16string question = machine.strings.Load(three ? kStringResetQuestionThreeModes : kStringResetQuestionTwoModes);
  if (machine.boxes.Show(owner, question, parts_.titleText, kMbYesNo | kMbIconQuestion) != kIdYes) {
    return ResetResult::Declined;
  }
  bool incomplete = false;
  bool restored = false;
  for (std::size_t column = 0; column < columns_.size(); ++column) {
    const Guid& wanted = defaults_[column];
    const std::vector<PlanChoice>& items = columns_[column].items;
    auto found = std::find_if(items.begin(), items.end(),
                              [&](const PlanChoice& item) { return !item.none() && item.guid == wanted; });
    if (found != items.end()) {
      SelectGuid(column, wanted);
      continue;
    }
    if (!three && parts_.reimportModePlan && parts_.reimportModePlan(column, wanted)) {
      restored = true;
      working_[column] = wanted;
      continue;
    }
    working_[column] = Guid{};
    incomplete = true;
  }
  if (restored) {
    parts_.plans.BuildPlanList(parts_.pinnedPlans);
    std::vector<Guid> wanted = working_;
    FillColumns();
    Reselect(wanted);
    for (std::size_t column = 0; column < columns_.size(); ++column) {
      if (working_[column] != wanted[column]) working_[column] = Guid{};
    }
  }
  bool checkFailed = false;
  for (Guid& entry : working_) {
    if (!entry.IsNull() && !PlanExists(entry)) {
      entry = Guid{};
      checkFailed = true;
    }
  }
  hold.Release();
  if (!incomplete && !checkFailed) return ResetResult::Done;
  machine.boxes.Show(owner,
                     machine.strings.Load(three ? kStringResetIncompleteThreeModes : kStringResetIncompleteTwoModes),
                     parts_.titleText, kMbOk | kMbIconExclamation);
  // The columns show the working table again; an entry cleared to zero shows
  // the none entry.
  for (std::size_t column = 0; column < columns_.size(); ++column) SelectGuid(column, working_[column]);
  return ResetResult::Incomplete;
}

std::uint32_t EcoSettingsModel::CurrentMode() const {
  std::shared_ptr<const PlanRecord> current = parts_.plans.currentPlan();
  if (!current || current->guid.IsNull()) return kNoMode;
  return ColumnOfMode(parts_.model, current->ledNo) ? current->ledNo : kNoMode;
}

void EcoSettingsModel::StoreBinding() {
  std::shared_ptr<const PlanList> list = parts_.plans.planList();
  for (const PlanRecord& plan : list->plans()) {
    if (plan.guid.IsNull()) continue;
    WriteLedNo(parts_.machine.registry, parts_.reporter, plan.guid, LedNoFromBinding(parts_.model, working_, plan.guid));
  }
}

EcoSettingsModel::SaveResult EcoSettingsModel::Save(WindowHandle owner, bool apply,
                                                    const std::function<void()>& lampChanged) {
  Machine& machine = parts_.machine;
  bool locked = false;
  bool cleared = false;
  {
    PlanLock::Hold hold = parts_.plans.lock().Acquire(kPlanLockWaitMs);
    if (!hold) {
      ReportLockTimeout(kLockCodeSelect);
    } else {
      locked = true;
      if (HasDuplicate()) {
        hold.Release();
        machine.boxes.Show(owner, machine.strings.Load(kStringDuplicateModes), parts_.titleText,
                           kMbOk | kMbIconExclamation);
        return SaveResult::Rejected;
      }
      for (std::size_t column = 0; column < working_.size(); ++column) {
        if (!working_[column].IsNull() && !PlanExists(working_[column])) {
          working_[column] = Guid{};
          SelectGuid(column, Guid{});
          cleared = true;
        }
      }
    }
  }
  if (cleared) {
    machine.boxes.Show(owner, machine.strings.Load(kStringDeletedPlanChosen), parts_.titleText,
                       kMbOk | kMbIconExclamation);
    parts_.reporter.ReportCode(kStringDeletedPlanChosen, 1);
  }
  if (!locked) return SaveResult::LockBusy;
  std::uint32_t before = CurrentMode();
  rememberedMode_ = before;
  {
    PlanLock::Hold hold = parts_.plans.lock().Acquire(kPlanLockWaitMs);
    if (hold) StoreBinding();
  }
  if (working_ != snapshot_) parts_.plans.SetCurrentPlan(kReloadActivePlanId);
  std::shared_ptr<const PlanRecord> current = parts_.plans.currentPlan();
  std::uint32_t now = CurrentMode();
  if (current && !current->guid.IsNull() && now != rememberedMode_) {
    if (lampChanged) lampChanged();
    if (apply) rememberedMode_ = now;
  }
  if (apply) snapshot_ = working_;
  return SaveResult::Saved;
}

}  // namespace kestrel
