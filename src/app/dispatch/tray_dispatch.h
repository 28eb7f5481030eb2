// The main window's handling of the notification area and the menus: the
// tray icon's callbacks (1026), its re-adding after Explorer restarts
// ("TaskbarCreated"), the plan-changed refresh (1027), the menus' timers and
// commands, the ECO button's menu on machines without ECO modes, and the
// owner-drawn items. MainController routes each of these messages here.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "app/application.h"
#include "app/dispatch/window_dispatch.h"
#include "base/messages.h"
#include "eco/eco_engine.h"
#include "power/plan_model.h"
#include "ui/model/menu_presenter.h"
#include "ui/model/notification_area.h"
#include "ui/model/owner_drawn_menu.h"
#include "ui/model/plan_menu.h"
#include "ui/model/tray_icon.h"

namespace kestrel {

inline constexpr std::uint32_t kClickTimerExtraMs = 100;
inline constexpr std::uint32_t kEcoMenuLingerMs = 200;

inline constexpr std::int64_t kLockCodeMenu = 18;

struct TrayParts {
  NotificationArea& area;
  MenuPresenter& menus;
  TrayDesktop& desktop;
};

class TrayDispatch {
 public:
  // `dispatch`: the main window's other handlers: its settings dialogs
  // (brought forward instead of a menu), the dialog anchor and the console.
  TrayDispatch(Application& app, std::function<PlanModel&()> plans, WindowDispatch& dispatch, TrayParts parts);

  // The registered "TaskbarCreated": Explorer restarted, the icon is added again.
  std::uint32_t taskbarCreatedMessage() const { return taskbarCreated_; }
  void OnTaskbarCreated(WindowHandle window);
  // 1026 with the mouse message in the low word of lParam.
  void OnTrayNotify(WindowHandle window, std::uint32_t mouseMessage);
  // 1027; `balloon` after an automatic switch.
  void OnPlanChanged(WindowHandle window, bool balloon);
  // 1340 on a machine without ECO modes: the ECO button's menu.
  void OnEcoButton(WindowHandle window);
  // Command 64: the eco meter program.
  void LaunchEcoMeter();
  // Command 69: the settings item of a plan menu.
  void OpenSettingsFromMenu(WindowHandle window);
  // Timers 1010 (single click) and 10108 (the ECO button's menu lingers).
  void OnClickTimer(WindowHandle window);
  void OnEcoMenuTimer(WindowHandle window);
  // WM_MEASUREITEM / WM_DRAWITEM of the open plan menu; false when none is open.
  bool MeasureItem(LParam lParam) { return parts_.menus.MeasureItem(lParam); }
  bool DrawItem(LParam lParam) { return parts_.menus.DrawItem(lParam); }
  // WM_DESTROY: the open menu closes and the icon leaves the tray.
  void Destroyed(WindowHandle window);

  // Command 52: the panel hides, the icon is added; only then is the program
  // in the tray.
  void PutIntoTray();
  // Command 53: with the meter panel, the icon goes and the panel shows.
  void ShowPanel();
  // A click on the panel is the user at the console.
  void ConsoleTouched() { dispatch_.state().consoleConnected = true; }
  bool ConsolePresent() { return dispatch_.state().consoleConnected; }
  // The icon shows the active plan (icon, tooltip); with `balloon` it also
  // tells of an automatic switch.
  void Update(WindowHandle window, bool balloon);

  void ShowRightClickMenu(WindowHandle owner, Point at, bool fromTray);
  void ShowLeftClickMenu(WindowHandle owner);
  void ShowEcoButtonMenu(WindowHandle owner);

  // The plan of the item with `command` in the plan menu shown last; the null
  // GUID when that menu had no such item. A choice arrives after the menu
  // closed, when the plan list may have been rebuilt: the GUID still names
  // the plan the user saw.
  Guid PlanOfShownItem(std::uint32_t command) const;

  bool inTray() const { return app_.settings().record().Has(SettingsFlag::InTray); }
  bool clickPending() const { return clickPending_; }
  bool menuOpen() const { return openMenu_ != nullptr; }
  const std::u16string& lastShownName() const { return lastShownName_; }

 private:
  enum class OpenMenuKind : std::uint8_t { LeftClick, EcoButton };

  void OnMouseMove(WindowHandle window);
  void OnLeftButtonUp(WindowHandle window);
  void OnDoubleClick(WindowHandle window);
  void OnRightButtonUp(WindowHandle window);

  bool AddIcon(WindowHandle window);
  void CancelPendingClick(WindowHandle window);
  bool BringSettingsForward() { return dispatch_.settings().BringForward(); }
  void CloseOpenMenu();
  void Trace(const MenuModel& menu);
  bool TrackPlanMenu(PlanMenuKind kind, const MenuPlacement& placement);
  MenuModel BuildPlanMenuUnderLock(PlanMenuKind kind);
  PlanRecord ActivePlanRecord();
  bool ecoMode() const { return app_.settings().record().Has(SettingsFlag::EcoMode); }
  EcoModel model() const;
  IconSet iconSet() const { return ecoMode() ? IconSet::Eco : IconSet::Standard; }

  Application& app_;
  std::function<PlanModel&()> plans_;
  WindowDispatch& dispatch_;
  TrayParts parts_;
  TrayIcon icon_;
  std::uint32_t taskbarCreated_ = 0;

  bool clickPending_ = false;
  bool doubleClicked_ = false;
  Point clickPosition_;
  std::u16string lastShownName_;
  std::u16string ecoMeterPath_;
  std::unique_ptr<OwnerDrawnMenu> openMenu_;
  std::map<std::uint32_t, Guid> shownPlans_;
  OpenMenuKind openMenuKind_ = OpenMenuKind::LeftClick;
};

}  // namespace kestrel
