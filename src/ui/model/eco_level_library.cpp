#include "ui/model/eco_level_library.h"

#include "base/registry_paths.h"
#include "base/registry_string.h"

namespace kestrel {
namespace {

constexpr std::uint32_t kKindPanel = 1;
constexpr std::uint32_t kKindNoBattery = 2;
constexpr std::uint32_t kKindExternalMonitors = 3;

void Put(std::array<std::uint8_t, kEcoLevelQueryBytes>& record, std::size_t offset, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) record[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace

std::uint32_t EcoLevelQueryKind(const EcoLevelMachine& machine) {
  if (machine.externalMonitors) return kKindExternalMonitors;
  return machine.batteryPresent ? kKindPanel : kKindNoBattery;
}

std::array<std::uint8_t, kEcoLevelQueryBytes> BuildEcoLevelQuery(const EcoLevelSettings& settings,
                                                                  const PlanRecord& plan,
                                                                  const EcoLevelMachine& machine) {
  std::array<std::uint8_t, kEcoLevelQueryBytes> record{};
  std::uint32_t kind = EcoLevelQueryKind(machine);
  Put(record, 0, kind);
  const std::uint32_t values[] = {settings.monitorAc,      settings.monitorDc,      settings.diskAc,
                                  settings.diskDc,         settings.standbyAc,      settings.standbyDc,
                                  settings.hibernateAc,    settings.hibernateDc,    settings.maxProcessorAc,
                                  settings.minProcessorAc, settings.maxProcessorDc, settings.minProcessorDc};
  for (std::size_t i = 0; i < std::size(values); ++i) Put(record, 4 + 4 * i, values[i]);
  if (kind == kKindExternalMonitors) {
    Put(record, 52, plan.brightnessMonitorEnable);
    Put(record, 56, plan.brightnessMonitor);
  } else {
    Put(record, 56, plan.brightnessLevelAc);
  }
  if (kind == kKindPanel) {
    Put(record, 60, plan.brightnessLevelDc);
    if (machine.cmosLibraryPresent) {
      for (std::size_t i = 0; i < plan.alsbc.bytes.size(); ++i) record[64 + i] = plan.alsbc.bytes[i];
    }
  }
  return record;
}

void EcoLevelLibrary::Load() {
  if (!path_) {
    path_ = ReadRegistryString(registry_, reporter_, kHkeyLocalMachine, kKestrelKey, kGreenmarkPathValue,
                               kGreenmarkDefaultPath);
  }
  if (path_->empty() || library_ != 0) return;
  LibraryHandle library = 0;
  if (loader_.Load(*path_, library) != kSuccess || library == 0) return;
  library_ = library;
  loader_.CallProcedure(library_, kGreenmarkInitialize);
}

std::uint32_t EcoLevelLibrary::Query(const EcoLevelSettings& settings, const PlanRecord& plan,
                                     const EcoLevelMachine& machine) {
  if (library_ == 0) return kNoEcoLevel;
  std::array<std::uint8_t, kEcoLevelQueryBytes> record = BuildEcoLevelQuery(settings, plan, machine);
  std::optional<std::uint32_t> level = loader_.CallWithRecord(library_, kGreenmarkQuery, record);
  return level ? *level : kNoEcoLevel;
}

void EcoLevelLibrary::Finalize() {
  if (library_ == 0) return;
  loader_.CallProcedure(library_, kGreenmarkFinalize);
  loader_.Unload(library_);
  library_ = 0;
}

}  // namespace kestrel
