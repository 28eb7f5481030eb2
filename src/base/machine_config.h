// Machine-wide configuration written at installation under
// HKLM\Software\Vexa\Kestrel, with the defaults used when a value is missing.
#pragma once
#include <array>
#include <optional>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/guid.h"

namespace kestrel {

enum class EcoModel : std::uint8_t { None, TwoModes, ThreeModes };

struct MachineConfig {
  std::uint32_t debugLogFlag = 0;  // read by the entry point before anything else
  std::uint32_t osModel = 2;  // 1: Windows 6.0, 2: anything newer
  std::uint32_t processorMhz = 0;
  std::u16string processorClockText;
  bool athlon = false;
  std::uint32_t lowerLimit = 50;
  std::uint32_t maxSpeed = 100;
  std::uint32_t ecoModeValue = 0;
  std::uint32_t ledCheckPeriodMs = 1000;
  std::uint32_t modelNumber = 0;
  // The plans pinned at the head of the plan menus (from SchemeList), one per mode.
  std::vector<Guid> pinnedPlans;
  std::uint32_t numDefaultPlans = 3;
  bool allowConstant = false;
  std::uint32_t roamer = 0;
  bool meter = false;
  std::uint32_t playbackWarning = 1;
  Guid twoModeLow;   // GUID_L
  Guid twoModeHigh;  // GUID_H
  // RetryCount, RetryTime, CheckCount, SleepTime, DevChgTime, LuiChkTime.
  std::array<std::uint32_t, 6> externalMonitorTiming{0, 0, 10, 0, 3000, 5000};
  std::uint32_t delayBrightnessMs = 1000;

  EcoModel ecoModel() const {
    return ecoModeValue == 0 ? EcoModel::None : ecoModeValue == 2 ? EcoModel::ThreeModes : EcoModel::TwoModes;
  }
};

// Pinned plans before SchemeList is read: the three Windows plans on
// three-mode models, zero GUIDs on two-mode ones.
std::vector<Guid> DefaultPinnedPlans(std::uint32_t count);

// SchemeList: consecutive NUL-terminated 36-character GUID strings. Exactly
// `count` are taken, and only from within `bytes`; a short or garbled value
// yields nothing, so the caller keeps its defaults.
std::optional<std::vector<Guid>> ParseSchemeList(const std::vector<std::uint8_t>& bytes, std::uint32_t count);

}  // namespace kestrel
