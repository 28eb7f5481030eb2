// The meter panel's behaviour as portable code: its creation steps, the
// mouse (hover, press, drag, what a release does), its commands and private
// messages (1027, 1028, 1029, 1030), its timers (10103 effect A, 10104 the
// aqua pulse), the boost and the display settings. The Win32 dialog
// procedure forwards every message here and paints what View() returns.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/application.h"
#include "app/dispatch/tray_dispatch.h"
#include "app/panel_host.h"
#include "app/panel_workers.h"
#include "app/workers_speed.h"
#include "base/string_ids.h"
#include "display/battery_estimator.h"
#include "power/plan_model.h"
#include "ui/model/display_settings_model.h"
#include "ui/model/panel_boost.h"
#include "ui/model/panel_colors.h"
#include "ui/model/panel_pointer.h"

namespace kestrel {

inline constexpr std::uint32_t kMsgPanelZOrder = kWmUser + 5;  // 1029
inline constexpr std::uintptr_t kPanelEffectTimer = 10103;
inline constexpr std::uintptr_t kPanelPulseTimer = 10104;
inline constexpr std::uint32_t kPanelEffectPeriodMs = 5000;
inline constexpr std::uint32_t kPanelPulsePeriodMs = 100;
inline constexpr std::uint32_t kPulseLow = 3;
inline constexpr std::uint32_t kPulseHigh = 60;
inline constexpr std::uint32_t kCommandBoost = 1056;
inline constexpr std::uint32_t kHelpBoost = 1056;
inline constexpr std::uint32_t kHelpGrip = 1162;
inline constexpr std::uint32_t kHelpPanel = 11030;
inline constexpr WParam kZOrderTopmost = static_cast<WParam>(-1);
inline constexpr WParam kZOrderNotTopmost = static_cast<WParam>(-2);

// Everything one paint of the panel shows.
struct PanelView {
  PanelLayout layout = PanelLayout::Aqua;
  std::uint32_t colorScheme = 0;
  std::uint32_t needlePercent = 0;
  bool boostActive = false;
  std::uint32_t currentMhz = 0;
  bool batteryPresent = false;
  std::uint32_t batteryPercent = 0;
  bool charging = false;
  bool onAc = true;
  std::optional<std::uint32_t> minutes;
  // The remaining time in hours: "%d.%dh" on the analog layout, else
  // "残り %d.%dh"; empty while unknown.
  std::u16string hoursText;
  std::u16string planName;
  std::uint32_t planIcon = 0;
  PanelButtonStates buttons;
  std::uint32_t pulse = kPulseLow;
  std::uint32_t effect[kPanelWorkerCount] = {};
  bool english = false;
};

struct PanelParts {
  Application& app;
  std::function<PlanModel&()> plans;
  CBrightnessCtrl& brightness;
  SpeedMonitor& speed;
  BatteryEstimator& battery;
  TrayDispatch& tray;
  PanelHost& host;
};

class PanelController : public PanelDisplay {
 public:
  explicit PanelController(PanelParts parts);

  // Step 16 of initialisation: the window (hidden). False when it cannot be made.
  bool Create();
  // WM_INITDIALOG, in the written order.
  void Created(WindowHandle window);
  // WM_DESTROY.
  void Destroyed();
  // Shutdown: the workers stop and the window goes.
  void Close();

  WindowHandle window() const { return window_; }
  bool shown() const { return window_ != 0 && !app().settings().record().Has(SettingsFlag::InTray); }

  // Command 53 and the first surface: shown, activated, laid out, painted.
  void Show();
  void Hide();

  // Messages of the panel window.
  void PlanChanged();
  void Command(std::uint32_t command, LParam lParam);
  void ZOrderAndAlpha(WParam zOrder, LParam alpha);
  void BoostControl(WParam planIndex, LParam start);
  void LeftButtonDown(Point client);
  void MouseMove(Point client);
  void LeftButtonUp(Point client);
  void RightButtonUp(Point client);
  void MouseLeft();
  void Timer(std::uintptr_t id);
  void DisplayChanged();
  void RefreshBattery();
  void Activated();
  // The owner-drawn plan menu opened from the panel.
  bool MeasureItem(LParam lParam) { return parts_.tray.MeasureItem(lParam); }
  bool DrawItem(LParam lParam) { return parts_.tray.DrawItem(lParam); }
  // 1028 from a menu goes on to the main window.
  void ForwardAnchor(WParam x, LParam y) {
    parts_.app.machine().messaging.Post(parts_.app.mainWindow(), kMsgDialogAnchor, x, y);
  }

  // What the painting shows now.
  PanelView View();
  // Tooltip texts on demand: the plan name (empty for a plan that is not
  // listed) and the battery's time.
  std::u16string PlanTip();
  std::u16string BatteryTip();
  void ReportTooltipFailure(Status status) { parts_.app.reporter().ReportCode(kStringTooltipFailed, status); }

  // The battery changed (power status, poll): the gauge is painted again and
  // a change of the charging state blinks it.
  void BatteryUpdated();
  // Any thread: the needle moved.
  void NeedleMoved();

  // PanelDisplay: the display settings dialog's preview and cancel.
  void ApplyDisplay() override;
  void MoveToRecord() override;
  DisplayState displayState();
  // The program's help file; empty when there is none.
  std::u16string helpFile() const {
    return parts_.app.helpAvailable() ? parts_.app.helpFilePath() : std::u16string();
  }
  void SaveDisplay();

  PanelBoost& boost() { return MakeBoost(); }
  bool displaySettingsOpen() const { return displaySettingsOpen_; }
  PanelColors& colors() { return colors_; }
  const PanelPointer& pointer() const { return pointer_; }
  PanelWorkers& workers() { return workers_; }
  // The panel's top-left into the record (destruction, session, shutdown).
  void StoreOrigin();
  // Below the boost button, on the screen: where the ECO button's menu opens.
  Point MenuPoint();

 private:
  Application& app() const { return parts_.app; }
  SettingsRecord& record() { return parts_.app.settings().record(); }
  PanelLayout layout() { return record().layout; }
  Point ClientToScreen(Point client);
  void PostToSelf(std::uint32_t message, WParam wParam, LParam lParam);
  void ForwardToMain(std::uint32_t command, LParam lParam);
  void Invalidate(PanelElement element);
  void ShowWorker(PanelWorker worker);
  void PlaceInWorkArea();
  void StartSpeedSweep();
  void UndoLeftoverBoost();
  PlanRecord ActivePlan();
  bool OnAc();
  void ToggleBoost();
  void StartBoost(const Guid& plan);
  void EndBoost(std::int64_t code);
  void TellSpeed();
  void Act(PanelAction action, Point client);
  void StartPulse();
  void StopPulse();
  PanelBoost& MakeBoost();
  void UpdateNeedleAreas();

  PanelParts parts_;
  WindowHandle window_ = 0;
  PanelWorkers workers_;
  PanelPointer pointer_;
  PanelColors colors_;
  std::unique_ptr<PlanSettingsAccess> planSettings_;
  std::unique_ptr<PanelBoost> boost_;
  std::u16string shownName_;
  bool lastCharging_ = false;
  bool pulseRunning_ = false;
  bool activitySincePulse_ = false;
  std::uint32_t pulse_ = kPulseLow;
  bool pulseRising_ = true;
  std::uint32_t paintedNeedle_ = 0;
  bool displaySettingsOpen_ = false;
  // What the meter animator's thread repaints, set on the main thread.
  enum class NeedleAreas : std::uint8_t { None, Needle, NeedleAndReadout };
  std::atomic<NeedleAreas> needleAreas_{NeedleAreas::None};
  std::atomic<PanelLayout> needleLayout_{PanelLayout::Aqua};
};

}  // namespace kestrel
