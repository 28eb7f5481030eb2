// The one entry point that initialises, applies, sets and reads the panel's
// brightness, falling back to the external monitors when the panel offers no
// levels. It may be called from the main thread and from the automatic
// switch's worker; calls run one at a time.
#pragma once
#include <cstdint>
#include <functional>
#include <mutex>

#include "base/error_reporter.h"
#include "display/cmos_library.h"
#include "display/external_monitors.h"
#include "display/wmi_brightness.h"
#include "platform/clock.h"
#include "platform/device_io.h"
#include "platform/power.h"
#include "platform/registry.h"
#include "power/brightness_ctrl.h"
#include "power/plan_record.h"

namespace kestrel {

inline constexpr std::uint32_t kBrightnessInitialise = 0;
inline constexpr std::uint32_t kBrightnessApplyPlan = 1;
inline constexpr std::uint32_t kBrightnessRead = 2;
inline constexpr std::uint32_t kBrightnessSetBase = 0x100;  // + value 0-255
inline constexpr std::uint32_t kBrightnessResend = 0x200;

// Answers of the command.
inline constexpr std::uint32_t kBrightnessDone = 256;  // also "unknown" for a read
inline constexpr std::uint32_t kBrightnessAutomatic = 512;

struct BrightnessPorts {
  PowerManager& power;
  Registry& registry;
  DeviceIo& devices;
  Clock& clock;
  ErrorReporter& reporter;
};

struct BrightnessOptions {
  bool brightnessSupported = false;  // ASLSupported
  // External monitors (null without support) and the display gate that
  // allows touching them.
  ExternalMonitors* monitors = nullptr;
  std::function<bool()> displayGateOpen = [] { return true; };
};

class BrightnessCommand {
 public:
  BrightnessCommand(BrightnessPorts ports, WmiBrightness& wmi, CmosLibrary& cmos, CBrightnessCtrl& levels,
                    BrightnessOptions options)
      : ports_(ports), wmi_(wmi), cmos_(cmos), levels_(levels), options_(std::move(options)) {}

  std::uint32_t Run(std::uint32_t command);
  // A call is running (on any thread).
  bool Busy();

  bool panelLevelsPresent() const { return panelLevelsPresent_; }
  bool available() const { return available_; }
  std::uint32_t ecWait0() const { return ecWait0_; }
  std::uint32_t ecWait1() const { return ecWait1_; }

  // Rediscovers the external monitors and records them for the plan.
  void RescanMonitors(const PlanRecord& current);

 private:
  struct Context {
    PlanRecord plan;
    bool mains = false;
    bool powerStatusRead = false;
  };

  void Initialise();
  std::uint32_t ApplyPlan(const Context& context);
  std::uint32_t SetPanel(const Context& context, std::uint8_t value);
  std::uint32_t ReadLevel(const Context& context);
  std::uint32_t Resend(const Context& context);

  bool ReadActivePlan(PlanRecord& plan);
  void ReadWaits();
  bool ExternalMonitorUsable(bool needGate) const;
  void UpdateAvailability();
  void ApplyMonitorValues(const PlanRecord& plan);
  void WriteMonitorLevel(const PlanRecord& plan);
  void SetBrightness(std::uint8_t value);
  void WritePmc(const Alsbc& record);
  std::optional<std::uint32_t> PlanPercent(const PlanRecord& plan, bool mains);
  std::optional<std::uint32_t> LevelPercent(std::uint32_t index) const;
  void WriteNudgedThenTarget(std::uint32_t target, const Alsbc& record);

  BrightnessPorts ports_;
  WmiBrightness& wmi_;
  CmosLibrary& cmos_;
  CBrightnessCtrl& levels_;
  BrightnessOptions options_;
  std::mutex running_;
  bool panelLevelsPresent_ = false;
  bool available_ = false;
  std::uint32_t ecWait0_ = 100;
  std::uint32_t ecWait1_ = 500;
};

}  // namespace kestrel
