// The panel's boost: the active plan run at full processor speed until it is
// ended. The plan's processor states are kept in Saved_pt (HKLM
// ...\Kestrel\PowerSettings, REG_BINARY, exactly 24 bytes) for as long as the
// boost lasts, so a boost left behind by a crash is undone at the next start.
// A boost never starts without its way back: when Saved_pt cannot be written
// the plan is left as it was.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "base/error_reporter.h"
#include "platform/registry.h"
#include "power/plan_settings.h"

namespace kestrel {

inline constexpr std::size_t kSavedPtSize = 24;
inline constexpr std::u16string_view kSavedPtValue = u"Saved_pt";
inline constexpr std::uint32_t kBoostPercent = 100;

// Report codes of string 62 "fail : BoostSetting" by where the boost ended.
inline constexpr std::int64_t kBoostCodePlanChanged = 1;
inline constexpr std::int64_t kBoostCodeToggle = 4;
inline constexpr std::int64_t kBoostCodeCreation = 5;
inline constexpr std::int64_t kBoostCodeSession = 6;

// Minimum, maximum and mode for mains, then for battery, each a u32.
std::array<std::uint8_t, kSavedPtSize> EncodeSavedPt(const ProcessorStateRecord& states);
// Exactly 24 bytes, else nothing.
std::optional<ProcessorStateRecord> DecodeSavedPt(std::span<const std::uint8_t> bytes);

enum class BoostStart : std::uint8_t { Started, AlreadyFull, Failed };

class PanelBoost {
 public:
  PanelBoost(PlanSettingsAccess& settings, Registry& registry, ErrorReporter& reporter)
      : settings_(settings), registry_(registry), reporter_(reporter) {}

  // Boosts `plan` when its maximum processor state for the power source is
  // below 100 %.
  BoostStart Start(const Guid& plan, bool onAc);
  // Puts the boosted plan's states back, deletes Saved_pt and reactivates the
  // plan. False when no boost was active.
  bool End(std::int64_t failureCode);
  // A Saved_pt left behind: its states go back into `activePlan`, which is
  // reactivated. False when there was none.
  bool UndoLeftover(const Guid& activePlan, std::int64_t failureCode);

  bool active() const { return active_; }
  const Guid& plan() const { return plan_; }
  // Forgets the boost without touching the plan (the panel's creation).
  void Clear() {
    active_ = false;
    plan_ = kNullGuid;
  }

  std::optional<ProcessorStateRecord> ReadSaved();

 private:
  Status WriteSaved(const ProcessorStateRecord& states);
  void DeleteSaved();
  void Reactivate(const Guid& plan);
  bool RestoreInto(const Guid& plan, std::int64_t failureCode);

  PlanSettingsAccess& settings_;
  Registry& registry_;
  ErrorReporter& reporter_;
  bool active_ = false;
  Guid plan_ = kNullGuid;
};

}  // namespace kestrel
