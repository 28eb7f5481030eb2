// The main window's handling of the notification area and the menus: the
// tray icon's callbacks (1026), its re-adding after Explorer restarts
// ("TaskbarCreated"), the plan-changed refresh (1027), the menus' timers and
// commands, the ECO button's menu on machines without ECO modes, and the
// owner-drawn items. MainController hands every message here first; what
// this leaves alone (nothing returned) goes on to the controller.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/application.h"
#include "app/dispatch/window_dispatch.h"
#include "power/plan_model.h"
#include "ui/model/menu_presenter.h"
#include "ui/model/notification_area.h"
#include "ui/model/owner_drawn_menu.h"
#include "ui/model/plan_menu.h"
#include "ui/model/tray_icon.h"
#include "base/messages.h"

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
  TrayDispatch(Application& app, std::function<PlanModel&()> plans, TrayParts parts);

  // The main window's other handlers: its settings dialogs (brought forward
  // instead of a menu), the dialog anchor and the console presence.
  void SetWindowDispatch(WindowDispatch* dispatch) { dispatch_ = dispatch; }
  // Choose plan from menu (the ECO mode engine): commands 70-72 and 74 + i.
  void SetPlanChooser(std::function<void(std::uint32_t command)> choose) { choose_ = std::move(choose); }
  // The automatic switch's battery limit, for the balloon after a switch.
  void SetSwitchLimitSource(std::function<std::uint64_t()> limit) { switchLimit_ = std::move(limit); }

  std::optional<LParam> Handle(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam);

  // Command 52: the icon is added; only then is the program in the tray.
  void PutIntoTray();
  // The icon shows the active plan (icon, tooltip); with `balloon` it also
  // tells of an automatic switch.
  void Update(WindowHandle window, bool balloon);

  void ShowRightClickMenu(WindowHandle owner, Point at, bool fromTray);
  void ShowLeftClickMenu(WindowHandle owner);
  void ShowEcoButtonMenu(WindowHandle owner);

  bool inTray() const { return app_.settings().record().Has(SettingsFlag::InTray); }
  bool clickPending() const { return clickPending_; }
  bool menuOpen() const { return openMenu_ != nullptr; }
  const std::u16string& lastShownName() const { return lastShownName_; }

 private:
  enum class OpenMenuKind : std::uint8_t { LeftClick, EcoButton };

  void OnTrayNotify(WindowHandle window, std::uint32_t mouseMessage);
  void OnMouseMove(WindowHandle window);
  void OnLeftButtonUp(WindowHandle window);
  void OnDoubleClick(WindowHandle window);
  void OnRightButtonUp(WindowHandle window);
  void OnClickTimer(WindowHandle window);
  void OnPlanChanged(WindowHandle window, bool balloon);
  void OnTaskbarCreated(WindowHandle window);
  void OnEcoButton(WindowHandle window);
  std::optional<LParam> OnCommand(WindowHandle window, std::uint32_t command);
  std::optional<LParam> OnTimer(WindowHandle window, std::uintptr_t id);

  bool AddIcon(WindowHandle window);
  void CancelPendingClick(WindowHandle window);
  bool BringSettingsForward() { return dispatch_ != nullptr && dispatch_->settings().BringForward(); }
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
  WindowDispatch* dispatch_ = nullptr;
  TrayParts parts_;
  TrayIcon icon_;
  std::function<void(std::uint32_t)> choose_;
  std::function<std::uint64_t()> switchLimit_;
  std::uint32_t taskbarCreated_ = 0;

  bool clickPending_ = false;
  bool doubleClicked_ = false;
  Point clickPosition_;
  std::u16string lastShownName_;
  std::u16string ecoMeterPath_;
  std::unique_ptr<OwnerDrawnMenu> openMenu_;
  OpenMenuKind openMenuKind_ = OpenMenuKind::LeftClick;
};

}  // namespace kestrel
