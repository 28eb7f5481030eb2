#include "app/dispatch/tray_dispatch.h"

#include "base/string_ids.h"
#include "eco/mode_activation.h"
#include "power/plan_lock.h"
#include "ui/model/eco_meter_entry.h"
#include "ui/model/menu_trace.h"
#include "ui/model/plan_icons.h"
#include "ui/model/right_click_menu.h"
#include "ui/model/switch_limit.h"
#include "ui/model/tray_texts.h"

namespace kestrel {
namespace {

constexpr WParam kVkEscape = 0x1B;


}  // namespace

TrayDispatch::TrayDispatch(Application& app, std::function<PlanModel&()> plans, WindowDispatch& dispatch,
                           TrayParts parts)
    : app_(app),
      plans_(std::move(plans)),
      dispatch_(dispatch),
      parts_(parts),
      icon_(parts.area, app.machine().clock, app.reporter()) {
  taskbarCreated_ = app_.machine().messaging.RegisterMessage(u"TaskbarCreated");
}

void TrayDispatch::Destroyed(WindowHandle window) {
  CloseOpenMenu();
  if (inTray()) icon_.Delete(window);
}

EcoModel TrayDispatch::model() const {
  return ecoMode() ? app_.settings().config().ecoModel() : EcoModel::None;
}

void TrayDispatch::OnTrayNotify(WindowHandle window, std::uint32_t mouseMessage) {
  switch (mouseMessage) {
    case kWmMouseMove:
      OnMouseMove(window);
      break;
    case kWmLButtonUp:
      OnLeftButtonUp(window);
      break;
    case kWmLButtonDblClk:
      OnDoubleClick(window);
      break;
    case kWmRButtonUp:
      OnRightButtonUp(window);
      break;
    default:
      break;
  }
}

void TrayDispatch::OnMouseMove(WindowHandle window) {
  if (ActivePlanRecord().name != lastShownName_) Update(window, false);
}

void TrayDispatch::OnLeftButtonUp(WindowHandle window) {
  // A click on the icon is the user at the console.
  dispatch_.state().consoleConnected = true;
  if (BringSettingsForward()) return;
  if (!clickPending_ && inTray() && !doubleClicked_) {
    Messaging& messaging = app_.machine().messaging;
    if (messaging.SetTimer(window, kClickTimer, parts_.desktop.DoubleClickTimeMs() + kClickTimerExtraMs) == kSuccess) {
      clickPending_ = true;
    }
  }
  doubleClicked_ = false;
}

void TrayDispatch::OnDoubleClick(WindowHandle window) {
  if (BringSettingsForward()) return;
  CancelPendingClick(window);
  clickPosition_ = parts_.desktop.CursorPosition();
  Rect area;
  if (app_.shell().WorkArea(area)) {
    dispatch_.state().dialogAnchor = Point{area.right, area.bottom};
    dispatch_.state().openedByDoubleClick = true;
  }
  std::uint32_t command = ecoMode() ? menu_command::kEcoSettings : menu_command::kPlanSettings;
  Messaging& messaging = app_.machine().messaging;
  messaging.Post(window, kWmCommand, command, 0);
  messaging.BringToForeground(window);
  doubleClicked_ = true;
}

void TrayDispatch::OnRightButtonUp(WindowHandle window) {
  CancelPendingClick(window);
  ShowRightClickMenu(window, parts_.desktop.CursorPosition(), true);
}

void TrayDispatch::CancelPendingClick(WindowHandle window) {
  if (!clickPending_) return;
  app_.machine().messaging.KillTimer(window, kClickTimer);
  clickPending_ = false;
}

void TrayDispatch::OnClickTimer(WindowHandle window) {
  app_.machine().messaging.KillTimer(window, kClickTimer);
  if (!clickPending_) return;
  clickPending_ = false;
  app_.subsystems().BuildPlanList();
  ShowLeftClickMenu(window);
}

void TrayDispatch::OnPlanChanged(WindowHandle window, bool balloon) {
  app_.subsystems().BuildPlanList();
  if (inTray()) Update(window, balloon);
  // The open settings dialog and plan editor show the new plan too.
  Messaging& messaging = app_.machine().messaging;
  const DispatchState& state = dispatch_.state();
  if (state.settingsDialog != 0) messaging.Post(state.settingsDialog, kMsgRefreshSettings, 0, 0);
  if (state.planEditor != 0) messaging.Post(state.planEditor, kMsgRefreshPlanEditor, 0, 0);
}

void TrayDispatch::OnTaskbarCreated(WindowHandle window) {
  if (inTray() && AddIcon(window)) Update(window, false);
}

bool TrayDispatch::AddIcon(WindowHandle window) {
  PlanRecord active = ActivePlanRecord();
  return icon_.Add(window, PlanSmallIcon(active.iconNo, active.ledNo, iconSet()));
}

void TrayDispatch::PutIntoTray() {
  app_.subsystems().HidePanel();
  WindowHandle window = app_.mainWindow();
  if (!AddIcon(window)) return;
  parts_.desktop.HideWindow(window);
  Update(window, false);
  app_.settings().record().Set(SettingsFlag::InTray, true);
}

void TrayDispatch::ShowPanel() {
  if (!app_.settings().record().Has(SettingsFlag::MeterPanel) || app_.subsystems().PanelWindow() == 0) return;
  if (inTray()) icon_.Delete(app_.mainWindow());
  app_.settings().record().Set(SettingsFlag::InTray, false);
  app_.subsystems().ShowPanel();
}

PlanRecord TrayDispatch::ActivePlanRecord() {
  PlanRecord record;
  record.iconNo = kPlanIconTable[kFallbackIconRow].iconNo;
  Guid active;
  if (app_.machine().power.GetActivePlan(active) != kSuccess || active.IsNull()) return record;
  record.guid = active;
  plans_().reader().Load(record);
  return record;
}

void TrayDispatch::Update(WindowHandle window, bool balloon) {
  PlanRecord active = ActivePlanRecord();
  StringTable& strings = app_.machine().strings;
  TrayIconRequest request;
  request.window = window;
  request.iconResource = PlanSmallIcon(active.iconNo, active.ledNo, iconSet());
  request.tip = TrayTip(strings, active.name);
  if (balloon) {
    std::uint64_t limit = StoredSwitchLimit(app_.machine().registry);
    request.balloon = TrayBalloon{BalloonTitle(app_.titleText()), BalloonText(strings, limit, active.name)};
  }
  lastShownName_ = active.name;
  icon_.Modify(request);
}

void TrayDispatch::ShowRightClickMenu(WindowHandle owner, Point at, bool fromTray) {
  Messaging& messaging = app_.machine().messaging;
  if (fromTray) {
    clickPosition_ = at;
    messaging.Send(owner, kMsgDialogAnchor, static_cast<WParam>(at.x), static_cast<LParam>(at.y));
  }
  if (BringSettingsForward()) return;
  const SettingsRecord& record = app_.settings().record();
  RightClickMenuState state;
  state.fromPanel = !fromTray;
  state.ecoMode = ecoMode();
  state.stayOnTop = record.Has(SettingsFlag::StayOnTop);
  state.panelTransparent = record.Has(SettingsFlag::PanelTransparent);
  state.meterPanel = record.Has(SettingsFlag::MeterPanel) && app_.subsystems().PanelWindow() != 0;
  ecoMeterPath_.clear();
  if (state.ecoMode) {
    Machine& machine = app_.machine();
    if (auto entry = ReadEcoMeterEntry(machine.registry, machine.files, machine.strings)) {
      state.ecoMeterText = entry->text;
      ecoMeterPath_ = entry->path;
    }
  }
  MenuModel menu = BuildRightClickMenu(state, app_.machine().strings);
  Trace(menu);
  if (!parts_.menus.TrackTextMenu(menu, MenuPlacement{owner, at, false, false})) {
    app_.reporter().ReportCode(kStringRightMenuFailed, 0);
  }
}

MenuModel TrayDispatch::BuildPlanMenuUnderLock(PlanMenuKind kind) {
  PlanMenuState state;
  state.kind = kind;
  state.ecoMode = ecoMode();
  state.model = model();
  PlanModel& plans = plans_();
  PlanLock::Hold hold = plans.lock().Acquire(kPlanLockWaitMs);
  if (!hold) {
    app_.reporter().ReportCode(kStringPlanLockTimeout, kLockCodeMenu);
    return BuildPlanMenu(state, nullptr, app_.machine().strings);
  }
  if (app_.machine().power.GetActivePlan(state.activePlan) != kSuccess) state.activePlan = kNullGuid;
  std::shared_ptr<const PlanList> list = plans.planList();
  return BuildPlanMenu(state, list.get(), app_.machine().strings);
}

bool TrayDispatch::TrackPlanMenu(PlanMenuKind kind, const MenuPlacement& placement) {
  CloseOpenMenu();
  auto exists = [this](const Guid& plan) { return plans_().FindPlanIndex(plan).has_value(); };
  openMenu_ = std::make_unique<OwnerDrawnMenu>(BuildPlanMenuUnderLock(kind), iconSet(), exists, app_.reporter());
  Trace(openMenu_->menu());
  shownPlans_.clear();
  for (const MenuItem& item : openMenu_->menu()) {
    if (item.kind == MenuItemKind::Plan) shownPlans_[item.id] = item.plan;
  }
  openMenuKind_ = kind == PlanMenuKind::EcoButton ? OpenMenuKind::EcoButton : OpenMenuKind::LeftClick;
  if (parts_.menus.TrackPlanMenu(*openMenu_, placement)) return true;
  app_.reporter().ReportCode(kStringLeftMenuFailed, 0);
  openMenu_.reset();
  return false;
}

Guid TrayDispatch::PlanOfShownItem(std::uint32_t command) const {
  auto found = shownPlans_.find(command);
  return found == shownPlans_.end() ? kNullGuid : found->second;
}

void TrayDispatch::Trace(const MenuModel& menu) {
  if ((app_.settings().config().debugLogFlag & kDebugLogMenuTrace) != 0) TraceMenu(app_.reporter(), menu);
}

void TrayDispatch::CloseOpenMenu() {
  if (openMenu_ == nullptr) return;
  parts_.menus.DestroyPlanMenu();
  openMenu_.reset();
}

void TrayDispatch::ShowLeftClickMenu(WindowHandle owner) {
  if (TrackPlanMenu(PlanMenuKind::LeftClick, MenuPlacement{owner, parts_.desktop.CursorPosition(), false, false})) {
    CloseOpenMenu();
  }
}

void TrayDispatch::ShowEcoButtonMenu(WindowHandle owner) {
  // With the panel shown the menu belongs to the panel and opens at it.
  if (std::optional<Point> at = app_.subsystems().PanelMenuPoint(); at && !inTray()) {
    if (TrackPlanMenu(PlanMenuKind::EcoButton, MenuPlacement{app_.subsystems().PanelWindow(), *at, true, true}) &&
        openMenu_ != nullptr) {
      app_.machine().messaging.SetTimer(app_.mainWindow(), kEcoMenuTimer, kEcoMenuLingerMs);
    }
    return;
  }
  Rect area;
  if (!app_.shell().WorkArea(area)) {
    app_.reporter().ReportCode(kStringWorkAreaFailed, 0);
    return;
  }
  Point at{area.right - (area.right - area.left) / 128, area.bottom - (area.bottom - area.top) / 128};
  if (!TrackPlanMenu(PlanMenuKind::EcoButton, MenuPlacement{owner, at, true, true})) return;
  // The menu goes a moment after it closed, so that a press arriving just
  // then closes it rather than opening another one.
  if (openMenu_ != nullptr) app_.machine().messaging.SetTimer(app_.mainWindow(), kEcoMenuTimer, kEcoMenuLingerMs);
}

void TrayDispatch::OnEcoButton(WindowHandle window) {
  if (openMenu_ != nullptr) {
    // A second press closes the button's own menu; a plan menu the user
    // opened with a click stays open (and no second menu opens over it).
    if (openMenuKind_ != OpenMenuKind::EcoButton) return;
    CloseOpenMenu();
    WindowHandle panel = app_.subsystems().PanelWindow();
    app_.machine().messaging.Post(panel != 0 && !inTray() ? panel : window, kWmKeyDown, kVkEscape, 0);
    return;
  }
  if (BringSettingsForward()) return;
  ShowEcoButtonMenu(window);
}

void TrayDispatch::LaunchEcoMeter() {
  if (!ecoMeterPath_.empty()) parts_.desktop.Launch(ecoMeterPath_);
}

void TrayDispatch::OpenSettingsFromMenu(WindowHandle window) {
  // Opened from the tray, the dialog goes to the work area's corner.
  if (inTray()) dispatch_.state().cornerMarker = true;
  std::uint32_t settings = ecoMode() ? menu_command::kEcoSettings : menu_command::kPlanSettings;
  app_.machine().messaging.Post(window, kWmCommand, settings, 0);
}

void TrayDispatch::OnEcoMenuTimer(WindowHandle window) {
  app_.machine().messaging.KillTimer(window, kEcoMenuTimer);
  CloseOpenMenu();
}

}  // namespace kestrel
