// The external monitors of the emulated machine, kept in the registry so that
// every process (Kestrel, KestrelEmu, tests) sees the same monitors:
// HKLM\Software\KestrelEmulator\Devices\Monitors holds the call log ("Log")
// and one subkey per monitor, named by its number (1, 2, ...):
//   Description        REG_SZ, the physical monitor's description
//   Capabilities       REG_SZ, the DDC/CI capability string (empty: the
//                      monitor does not answer DDC/CI)
//   Minimum, Current, Maximum   DWORD, its brightness range and value
//   Caps               DWORD, the MC_CAPS flags GetMonitorCapabilities reports
//   Active             DWORD, 1 when the display is part of the desktop
//   Saves, SavedBrightness      DWORD, settings saves and the value saved last
//   Fail.<operation>   REG_BINARY, 8 bytes little-endian: how many of the next
//                      calls of that operation fail, and the error code
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/monitor_configuration.h"
#include "platform/registry.h"

namespace kestrel {

inline constexpr std::u16string_view kEmulatedMonitorsName = u"Monitors";

struct EmulatedMonitorSetup {
  std::u16string description = u"Generic PnP Monitor";
  std::string capabilities;
  std::uint32_t minimum = 0;
  std::uint32_t current = 50;
  std::uint32_t maximum = 100;
  std::uint32_t caps = kMcCapsBrightness;
  bool active = true;
};

struct ScriptedFailure {
  std::u16string operation;
  std::uint32_t count = 0;
  Status code = 0;
};

struct EmulatedMonitorState {
  std::uint32_t id = 0;
  EmulatedMonitorSetup setup;
  std::uint32_t saves = 0;
  std::uint32_t savedBrightness = 0;
  std::vector<ScriptedFailure> failures;
};

// The operations whose failures can be scripted: the monitor configuration
// functions that take a display or physical monitor.
const std::vector<std::u16string_view>& ScriptableMonitorOperations();

class MonitorStore {
 public:
  explicit MonitorStore(Registry& registry) : registry_(registry) {}

  // Adds a monitor under the next free number.
  Status Add(const EmulatedMonitorSetup& setup, std::uint32_t& id);
  // kErrorFileNotFound when there is no such monitor.
  Status Remove(std::uint32_t id);
  // Every monitor, by number.
  std::vector<EmulatedMonitorState> List();
  std::optional<EmulatedMonitorState> Find(std::uint32_t id);

  // The next `count` calls of `operation` on the monitor fail with `code`
  // (count 0 clears the script). kErrorInvalidParameter for an operation that
  // cannot be scripted or a code of 0.
  Status ScriptFailure(std::uint32_t id, std::u16string_view operation, std::uint32_t count, Status code);
  // When a failure is scripted for the operation: uses one and answers its code.
  std::optional<Status> TakeFailure(std::uint32_t id, std::u16string_view operation);

  Status WriteBrightness(std::uint32_t id, std::uint32_t current);
  Status RecordSave(std::uint32_t id);

  void Log(std::u16string_view line);

 private:
  Status OpenMonitor(std::uint32_t id, std::uint32_t access, RegKey& key);

  Registry& registry_;
};

}  // namespace kestrel
