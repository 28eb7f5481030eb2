// The maker's eco-level library ("Greenmark"): loaded once at settings load
// from the path in GreenmarkDll, asked for a plan's eco level with a 72-byte
// query record, and finalised at log-off or shutdown. A missing library or
// export is no error: the query then answers "no rating" (61442).
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/error_reporter.h"
#include "platform/registry.h"
#include "power/plan_record.h"

namespace kestrel {

using LibraryHandle = std::uintptr_t;

// Loading a library and calling its exports (LoadLibraryW, GetProcAddress,
// FreeLibrary on Windows).
class LibraryLoader {
 public:
  virtual ~LibraryLoader() = default;
  virtual Status Load(std::u16string_view path, LibraryHandle& library) = 0;
  virtual void Unload(LibraryHandle library) = 0;
  // Calls an export without arguments; false when there is no such export.
  virtual bool CallProcedure(LibraryHandle library, std::string_view name) = 0;
  // Calls an export that takes a pointer to `record` and answers 32 bits;
  // nothing when there is no such export.
  virtual std::optional<std::uint32_t> CallWithRecord(LibraryHandle library, std::string_view name,
                                                      std::span<const std::uint8_t> record) = 0;
};

inline constexpr std::u16string_view kGreenmarkPathValue = u"GreenmarkDll";
inline constexpr std::u16string_view kGreenmarkDefaultPath = u"Greenmark.dll";
inline constexpr std::string_view kGreenmarkInitialize = "EcoApiInitializeApp";
inline constexpr std::string_view kGreenmarkQuery = "EcoApiGetGreenmark";
inline constexpr std::string_view kGreenmarkFinalize = "EcoApiFinalizeApp";
inline constexpr std::uint32_t kNoEcoLevel = 0xF002;
inline constexpr std::size_t kEcoLevelQueryBytes = 72;

// The plan's time-outs (seconds) and processor limits (percent) the query
// carries.
struct EcoLevelSettings {
  std::uint32_t monitorAc = 0, monitorDc = 0;
  std::uint32_t diskAc = 0, diskDc = 0;
  std::uint32_t standbyAc = 0, standbyDc = 0;
  std::uint32_t hibernateAc = 0, hibernateDc = 0;
  std::uint32_t maxProcessorAc = 0, minProcessorAc = 0;
  std::uint32_t maxProcessorDc = 0, minProcessorDc = 0;
};

struct EcoLevelMachine {
  bool externalMonitors = false;    // settings flag ExternalMonitors
  bool batteryPresent = false;      // settings flag BatteryPresent
  bool cmosLibraryPresent = false;  // the panel brightness helper library is loaded
};

// Kind 3 with external monitors, else 2 without a battery, else 1.
std::uint32_t EcoLevelQueryKind(const EcoLevelMachine& machine);
std::array<std::uint8_t, kEcoLevelQueryBytes> BuildEcoLevelQuery(const EcoLevelSettings& settings,
                                                                  const PlanRecord& plan,
                                                                  const EcoLevelMachine& machine);

class EcoLevelLibrary {
 public:
  EcoLevelLibrary(LibraryLoader& loader, Registry& registry, ErrorReporter& reporter)
      : loader_(loader), registry_(registry), reporter_(reporter) {}

  // Reads GreenmarkDll (once per process; an empty path disables the
  // library), loads the library and calls its initialisation when present.
  void Load();
  // The library's answer for the plan: performance rating in the high byte,
  // energy-saving rating in the low byte; 61442 when there is none.
  std::uint32_t Query(const EcoLevelSettings& settings, const PlanRecord& plan, const EcoLevelMachine& machine);
  // Calls the finalisation when present and unloads; later calls do nothing.
  void Finalize();

  bool loaded() const { return library_ != 0; }

 private:
  LibraryLoader& loader_;
  Registry& registry_;
  ErrorReporter& reporter_;
  std::optional<std::u16string> path_;
  LibraryHandle library_ = 0;
};

}  // namespace kestrel
