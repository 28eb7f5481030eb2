// Loads the settings record and the machine configuration at start-up, in
// their fixed order, and saves the record.
#pragma once
#include <optional>

#include "app/subsystems.h"
#include "base/error_reporter.h"
#include "base/machine_config.h"
#include "base/settings_record.h"
#include "platform/machine.h"

namespace kestrel {

class SettingsStore {
 public:
  SettingsStore(Machine& machine, ErrorReporter& reporter, Subsystems& subsystems)
      : machine_(machine), reporter_(reporter), subsystems_(subsystems) {}

  // `workArea` places the panel of a first start; `osModelOfWindows` is 1 on
  // Windows 6.0 and 2 on later versions.
  void Load(const Rect& workArea, std::uint32_t osModelOfWindows);
  void Save();

  SettingsRecord& record() { return record_; }
  const MachineConfig& config() const { return config_; }
  MachineConfig& config() { return config_; }
  std::uint32_t saveColor() const { return saveColor_; }
  // The display settings dialog changes it and puts it back on Cancel.
  std::uint32_t& saveColor() { return saveColor_; }

  // The DebugLogFlag the entry point reads before anything else.
  static std::uint32_t ReadDebugLogFlag(Registry& registry);

 private:
  bool LoadUserRecord();
  void LoadLowerLimit();
  void LoadProcessorClock();
  void LoadMachineValues();
  void LoadCachedClock(const RegKey& key);
  void LoadSchemeList(const RegKey& key);
  void ProbeHardware();
  void LoadTwoModePair();
  void ProbeExternalMonitors();
  void ReadDword(const RegKey& key, std::u16string_view name, std::uint32_t& value, std::uint32_t failureId = 0);

  Machine& machine_;
  ErrorReporter& reporter_;
  Subsystems& subsystems_;
  SettingsRecord record_;
  MachineConfig config_;
  std::uint32_t saveColor_ = kDefaultSaveColor;
};

}  // namespace kestrel
