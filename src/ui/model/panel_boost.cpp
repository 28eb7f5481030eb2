#include "ui/model/panel_boost.h"

#include "base/registry_paths.h"
#include "base/string_ids.h"

namespace kestrel {
namespace {

void PutU32(std::uint8_t* at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t GetU32(const std::uint8_t* at) {
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(at[i]) << (8 * i);
  return value;
}

}  // namespace

std::array<std::uint8_t, kSavedPtSize> EncodeSavedPt(const ProcessorStateRecord& s) {
  std::array<std::uint8_t, kSavedPtSize> bytes{};
  PutU32(&bytes[0], s.minProcessorAc);
  PutU32(&bytes[4], s.maxProcessorAc);
  PutU32(&bytes[8], s.processorModeAc);
  PutU32(&bytes[12], s.minProcessorDc);
  PutU32(&bytes[16], s.maxProcessorDc);
  PutU32(&bytes[20], s.processorModeDc);
  return bytes;
}

std::optional<ProcessorStateRecord> DecodeSavedPt(std::span<const std::uint8_t> bytes) {
  if (bytes.size() != kSavedPtSize) return std::nullopt;
  ProcessorStateRecord s;
  s.minProcessorAc = GetU32(&bytes[0]);
  s.maxProcessorAc = GetU32(&bytes[4]);
  s.processorModeAc = static_cast<ProcessorMode>(GetU32(&bytes[8]));
  s.minProcessorDc = GetU32(&bytes[12]);
  s.maxProcessorDc = GetU32(&bytes[16]);
  s.processorModeDc = static_cast<ProcessorMode>(GetU32(&bytes[20]));
  return s;
}

std::optional<ProcessorStateRecord> PanelBoost::ReadSaved() {
  RegKey key;
  if (RegKey::Open(registry_, kHkeyLocalMachine, kPowerSettingsSubkey, kKeyRead, key) != kSuccess) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  if (key.ReadBinary(kSavedPtValue, bytes) != kSuccess) return std::nullopt;
  // A value of another size counts as absent.
  return DecodeSavedPt(bytes);
}

Status PanelBoost::WriteSaved(const ProcessorStateRecord& states) {
  RegKey key;
  Status status = RegKey::Create(registry_, kHkeyLocalMachine, kPowerSettingsSubkey, kKeyRead | kKeyWrite, key);
  if (status != kSuccess) return status;
  std::array<std::uint8_t, kSavedPtSize> bytes = EncodeSavedPt(states);
  status = key.WriteBinary(kSavedPtValue, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
  if (status == kSuccess) key.Flush();
  return status;
}

void PanelBoost::DeleteSaved() {
  RegKey key;
  if (RegKey::Open(registry_, kHkeyLocalMachine, kPowerSettingsSubkey, kKeyRead | kKeyWrite, key) != kSuccess) return;
  registry_.DeleteValue(key.get(), kSavedPtValue);
  key.Flush();
}

void PanelBoost::Reactivate(const Guid& plan) {
  if (Status status = settings_.power().SetActivePlan(plan); status != kSuccess) {
    reporter_.ReportCode(kStringAutoSwitchActivateFailed, status);
  }
}

BoostStart PanelBoost::Start(const Guid& plan, bool onAc) {
  ProcessorStateRecord states;
  if (settings_.ReadProcessorStates(plan, states) != kSuccess) {
    reporter_.ReportCode(kStringBoostFailed, kBoostCodeToggle);
    return BoostStart::Failed;
  }
  if ((onAc ? states.maxProcessorAc : states.maxProcessorDc) >= kBoostPercent) return BoostStart::AlreadyFull;
  // The way back is written first: without it the plan is not touched.
  if (WriteSaved(states) != kSuccess) {
    reporter_.ReportCode(kStringBoostFailed, kBoostCodeToggle);
    return BoostStart::Failed;
  }
  ProcessorStateRecord full = states;
  full.minProcessorAc = full.maxProcessorAc = kBoostPercent;
  full.minProcessorDc = full.maxProcessorDc = kBoostPercent;
  if (settings_.WriteProcessorStates(plan, full) != kSuccess) {
    settings_.WriteProcessorStates(plan, states);
    DeleteSaved();
    reporter_.ReportCode(kStringBoostFailed, kBoostCodeToggle);
    return BoostStart::Failed;
  }
  Reactivate(plan);
  active_ = true;
  plan_ = plan;
  return BoostStart::Started;
}

bool PanelBoost::RestoreInto(const Guid& plan, std::int64_t failureCode) {
  std::optional<ProcessorStateRecord> saved = ReadSaved();
  if (!saved) return false;
  if (settings_.WriteProcessorStates(plan, *saved) != kSuccess) {
    // Saved_pt stays: the next start or session event tries again.
    reporter_.ReportCode(kStringBoostFailed, failureCode);
    return true;
  }
  DeleteSaved();
  Reactivate(plan);
  return true;
}

bool PanelBoost::End(std::int64_t failureCode) {
  if (!active_) return false;
  if (!RestoreInto(plan_, failureCode)) reporter_.ReportCode(kStringBoostFailed, failureCode);
  Clear();
  return true;
}

bool PanelBoost::UndoLeftover(const Guid& activePlan, std::int64_t failureCode) {
  if (activePlan.IsNull()) return false;
  return RestoreInto(activePlan, failureCode);
}

}  // namespace kestrel
