// Power management port: the powrprof calls the program makes (plan enumeration,
// active plan, names, AC/DC value indexes, duplicate/delete/import, default
// replacement), processor and battery information, and registration for
// power-setting notifications. Results are the platform's error codes.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/guid.h"
#include "platform/status.h"
#include "platform/window.h"

namespace kestrel {

// One processor's entry of CallNtPowerInformation(ProcessorInformation).
struct ProcessorPowerInfo {
  std::uint32_t number = 0;
  std::uint32_t maxMhz = 0;
  std::uint32_t currentMhz = 0;
  std::uint32_t mhzLimit = 0;
  std::uint32_t maxIdleState = 0;
  std::uint32_t currentIdleState = 0;
};

// GetSystemPowerStatus.
struct SystemPowerStatus {
  std::uint8_t acLineStatus = 255;      // 0 offline, 1 online, 255 unknown
  std::uint8_t batteryFlag = 128;       // 128 = no system battery
  std::uint8_t batteryLifePercent = 255;
  std::uint32_t batteryLifeTime = 0xFFFFFFFFu;
  std::uint32_t batteryFullLifeTime = 0xFFFFFFFFu;
};

using PowerNotifyHandle = std::uintptr_t;

// Well-known plan identifiers of Windows.
inline constexpr Guid kBalancedPlan{0x381b4222, 0xf694, 0x41f0, {0x96, 0x85, 0xff, 0x5b, 0xb2, 0x60, 0xdf, 0x2e}};
inline constexpr Guid kPowerSaverPlan{0xa1841308, 0x3541, 0x4fab, {0xbc, 0x81, 0xf7, 0x15, 0x56, 0xf2, 0x0b, 0x4a}};
inline constexpr Guid kHighPerformancePlan{0x8c5e7fda, 0xe8bf, 0x4a96, {0x9a, 0x85, 0xa6, 0xe2, 0x3a, 0x8c, 0x63, 0x5c}};

// Power-setting notification identifiers the program registers for.
inline constexpr Guid kPowerSchemePersonality{0x245d8541, 0x3943, 0x4422, {0xb0, 0x25, 0x13, 0xa7, 0x84, 0xf6, 0x79, 0xb7}};
inline constexpr Guid kActivePowerScheme{0x31f9f286, 0x5084, 0x42fe, {0xb7, 0x20, 0x2b, 0x02, 0x64, 0x99, 0x37, 0x63}};
inline constexpr Guid kAcDcPowerSource{0x5d3e9a59, 0xe9d5, 0x4b00, {0xa6, 0xbd, 0xff, 0x34, 0xff, 0x51, 0x65, 0x48}};
inline constexpr Guid kBatteryPercentageRemaining{0xa7ad8041, 0xb45a, 0x4cae, {0x87, 0xa3, 0xee, 0xcb, 0xb4, 0x68, 0xa9, 0xe1}};
inline constexpr Guid kMonitorPowerOn{0x02731015, 0x4510, 0x4526, {0x99, 0xe6, 0xe5, 0xa1, 0x7e, 0xbd, 0x1a, 0xea}};
inline constexpr Guid kLidSwitchStateChange{0xba3e0f4d, 0xb817, 0x4094, {0xa2, 0xd1, 0xd5, 0x63, 0x79, 0xe6, 0xa0, 0xf3}};

class PowerManager {
 public:
  virtual ~PowerManager() = default;

  // PowerEnumerate(ACCESS_SCHEME): the plan at `index`, kErrorNoMoreItems past the end.
  virtual Status EnumeratePlans(std::uint32_t index, Guid& plan) = 0;
  // PowerEnumerate(ACCESS_SUBGROUP / ACCESS_INDIVIDUAL_SETTING) of one plan.
  virtual Status EnumerateSubgroups(const Guid& plan, std::uint32_t index, Guid& subgroup) = 0;
  virtual Status EnumerateSettings(const Guid& plan, const Guid& subgroup, std::uint32_t index, Guid& setting) = 0;

  virtual Status GetActivePlan(Guid& plan) = 0;
  virtual Status SetActivePlan(const Guid& plan) = 0;

  // PowerReadFriendlyName / PowerReadDescription: UTF-16LE with terminator into
  // `buffer` of `size` bytes. `buffer` null asks for the size; a short buffer
  // gives kErrorMoreData with the needed size in `size`. Subgroup and setting
  // may be null to address the plan itself, or the subgroup.
  virtual Status ReadFriendlyName(const Guid& plan, const Guid* subgroup, const Guid* setting, std::uint8_t* buffer,
                                  std::uint32_t& size) = 0;
  virtual Status ReadDescription(const Guid& plan, const Guid* subgroup, const Guid* setting, std::uint8_t* buffer,
                                 std::uint32_t& size) = 0;
  virtual Status WriteFriendlyName(const Guid& plan, const Guid* subgroup, const Guid* setting,
                                   const std::uint8_t* buffer, std::uint32_t size) = 0;
  virtual Status WriteDescription(const Guid& plan, const Guid* subgroup, const Guid* setting,
                                  const std::uint8_t* buffer, std::uint32_t size) = 0;

  virtual Status ReadAcValueIndex(const Guid& plan, const Guid& subgroup, const Guid& setting,
                                  std::uint32_t& value) = 0;
  virtual Status ReadDcValueIndex(const Guid& plan, const Guid& subgroup, const Guid& setting,
                                  std::uint32_t& value) = 0;
  virtual Status WriteAcValueIndex(const Guid& plan, const Guid& subgroup, const Guid& setting,
                                   std::uint32_t value) = 0;
  virtual Status WriteDcValueIndex(const Guid& plan, const Guid& subgroup, const Guid& setting,
                                   std::uint32_t value) = 0;

  // PowerDuplicateScheme: with `chosen` non-null the copy takes that GUID
  // (kErrorAlreadyExists if a plan has it); otherwise the platform picks one.
  // `created` receives the new plan's GUID.
  virtual Status DuplicatePlan(const Guid& source, const Guid* chosen, Guid& created) = 0;
  virtual Status DeletePlan(const Guid& plan) = 0;
  // PowerImportPowerScheme of an exported plan file.
  virtual Status ImportPlan(std::u16string_view path, const Guid* chosen, Guid& created) = 0;
  virtual Status ReplaceDefaultPlans() = 0;

  virtual Status ReadProcessorInformation(std::vector<ProcessorPowerInfo>& processors) = 0;
  virtual Status GetSystemPowerStatus(SystemPowerStatus& status) = 0;

  // RegisterPowerSettingNotification for a window; the window then receives
  // the setting's current value and every change.
  virtual Status RegisterSettingNotification(WindowHandle window, const Guid& setting, PowerNotifyHandle& handle) = 0;
  virtual Status UnregisterSettingNotification(PowerNotifyHandle handle) = 0;
};

}  // namespace kestrel
