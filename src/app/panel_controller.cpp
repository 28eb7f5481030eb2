#include "app/panel_controller.h"

#include "base/string_ids.h"
#include "eco/plan_menu_choice.h"
#include "platform/format.h"
#include "ui/model/plan_icons.h"

namespace kestrel {
namespace {

constexpr std::int64_t kNoWorkAreaCode = 0;

bool IsForwardedPlanCommand(std::uint32_t command) { return IsPlanCommand(command); }

}  // namespace

PanelController::PanelController(PanelParts parts)
    : parts_(parts), workers_(parts.app.machine().sync, parts.app.reporter()) {}

bool PanelController::Create() {
  PanelWindowSetup setup;
  setup.owner = record().Has(SettingsFlag::NoTaskbarButton) ? app().mainWindow() : 0;
  setup.title = app().titleText();
  WindowHandle window = 0;
  if (Status status = parts_.host.Create(*this, setup, window); status != kSuccess) {
    app().reporter().ReportCode(kStringRegisterClassFailed, status);
    return false;
  }
  window_ = window;
  return true;
}

PanelBoost& PanelController::MakeBoost() {
  if (!boost_) {
    CatalogueOptions options;
    options.lowerLimit = app().settings().config().lowerLimit;
    planSettings_ = std::make_unique<PlanSettingsAccess>(app().machine().power, app().reporter(), parts_.brightness,
                                                         options);
    boost_ = std::make_unique<PanelBoost>(*planSettings_, app().machine().registry, app().reporter());
  }
  return *boost_;
}

void PanelController::Created(WindowHandle window) {
  window_ = window;
  MakeBoost();
  // The saved place, held inside the work area (a screen may have changed
  // since it was saved).
  SelectLayout(record());
  parts_.host.Place(Point{record().panelX, record().panelY}, SizeOfLayout(layout()));
  PlaceInWorkArea();
  parts_.host.SetExtendedStyle(record().Has(SettingsFlag::StayOnTop));
  workers_.Start([this](PanelWorker worker) { ShowWorker(worker); });
  StartSpeedSweep();
  PostToSelf(kMsgPanelZOrder, record().Has(SettingsFlag::StayOnTop) ? kZOrderTopmost : kZOrderNotTopmost,
             record().Has(SettingsFlag::PanelTransparent) ? 1 : 0);
  UndoLeftoverBoost();
  boost_->Clear();
  shownName_ = ActivePlan().name;
  lastCharging_ = parts_.battery.Snapshot().state.charging;
  StartPulse();
}

void PanelController::StartSpeedSweep() {
  SpeedMonitor& speed = parts_.speed;
  speed.needlePercent().store(0);
  speed.targetPercent().store(100);
  SpeedValues values = speed.values();
  speed.targetPercent().store(SpeedPercent(values.currentMhz, values.maximumMhz));
  Machine& machine = app().machine();
  if (app().mainWindow() != 0) {
    machine.messaging.Send(app().mainWindow(), kMsgSpeedChanged, values.currentMhz, values.maximumMhz);
  }
  if (SyncHandle event = app().workers().speedEvent(); event != 0) machine.sync.SetEvent(event);
}

void PanelController::UndoLeftoverBoost() {
  Guid active;
  if (Status status = app().machine().power.GetActivePlan(active); status != kSuccess) {
    if (boost_->ReadSaved()) app().reporter().ReportCode(kStringGetActivePlanFailed, status);
    return;
  }
  boost_->UndoLeftover(active, kBoostCodeCreation);
}

void PanelController::Destroyed() {
  Messaging& messaging = app().machine().messaging;
  messaging.KillTimer(window_, kPanelEffectTimer);
  messaging.KillTimer(window_, kPanelPulseTimer);
  pulseRunning_ = false;
  StoreOrigin();
}

void PanelController::Close() {
  needleAreas_.store(NeedleAreas::None);
  workers_.Stop();
  if (window_ == 0) return;
  StoreOrigin();
  parts_.host.Destroy();
  window_ = 0;
}

void PanelController::StoreOrigin() {
  Point origin;
  if (window_ == 0 || !parts_.host.Origin(origin)) return;
  record().panelX = origin.x;
  record().panelY = origin.y;
}

// The layout's size at the window's corner (or the saved one), held inside
// the work area; the saved position itself is not changed.
void PanelController::PlaceInWorkArea() {
  SelectLayout(record());
  Point origin{record().panelX, record().panelY};
  parts_.host.Origin(origin);
  PanelSize size = SizeOfLayout(layout());
  Rect area;
  if (app().shell().WorkArea(area)) {
    origin = ClampIntoWorkArea(origin, size, area);
  } else {
    app().reporter().ReportCode(kStringWorkAreaFailed, kNoWorkAreaCode);
  }
  parts_.host.Place(origin, size);
}

void PanelController::Show() {
  if (window_ == 0) return;
  pointer_.ResetHover();
  parts_.host.Show();
  ApplyDisplay();
}


void PanelController::Hide() {
  if (window_ == 0) return;
  parts_.host.Hide();
  StopPulse();
  needleAreas_.store(NeedleAreas::None);
}

void PanelController::PostToSelf(std::uint32_t message, WParam wParam, LParam lParam) {
  app().machine().messaging.Post(window_, message, wParam, lParam);
}

void PanelController::ForwardToMain(std::uint32_t command, LParam lParam) {
  app().machine().messaging.Post(app().mainWindow(), kWmCommand, command, lParam);
}

void PanelController::Invalidate(PanelElement element) {
  const ElementRect& area = LayoutElement(layout(), element);
  if (area.present()) parts_.host.Invalidate(area.ToRect());
}

void PanelController::ShowWorker(PanelWorker worker) {
  switch (worker) {
    case PanelWorker::NeedleHover:
      Invalidate(PanelElement::Needle);
      Invalidate(PanelElement::Boost);
      break;
    case PanelWorker::BatteryBlink:
      Invalidate(PanelElement::BatteryBlink);
      Invalidate(PanelElement::Battery);
      break;
    case PanelWorker::PlanScroll:
      Invalidate(PanelElement::PlanName);
      break;
    case PanelWorker::EffectA:
      Invalidate(PanelElement::Readout);
      break;
    case PanelWorker::EffectB:
      Invalidate(PanelElement::Battery);
      break;
  }
}

// Main thread: what the meter animator repaints, kept for its thread.
void PanelController::UpdateNeedleAreas() {
  NeedleAreas areas = NeedleAreas::None;
  if (shown() && !(boost_ && boost_->active() && layout() == PanelLayout::Compact)) {
    areas = layout() == PanelLayout::Aqua ? NeedleAreas::Needle : NeedleAreas::NeedleAndReadout;
  }
  needleLayout_.store(layout());
  needleAreas_.store(areas);
}

// The meter animator's thread: it reads only what UpdateNeedleAreas kept.
void PanelController::NeedleMoved() {
  NeedleAreas areas = needleAreas_.load();
  if (areas == NeedleAreas::None) return;
  PanelLayout shownLayout = needleLayout_.load();
  parts_.host.Invalidate(LayoutElement(shownLayout, PanelElement::Needle).ToRect());
  if (areas == NeedleAreas::NeedleAndReadout) {
    parts_.host.Invalidate(LayoutElement(shownLayout, PanelElement::Readout).ToRect());
  }
}

PlanRecord PanelController::ActivePlan() {
  PlanRecord plan;
  plan.iconNo = kPlanIconTable[kFallbackIconRow].iconNo;
  Guid active;
  if (app().machine().power.GetActivePlan(active) != kSuccess || active.IsNull()) return plan;
  plan.guid = active;
  parts_.plans().reader().Load(plan);
  return plan;
}

bool PanelController::OnAc() {
  SystemPowerStatus status;
  if (app().machine().power.GetSystemPowerStatus(status) != kSuccess) return true;
  return status.acLineStatus != 0;
}

void PanelController::PlanChanged() {
  PlanRecord active = ActivePlan();
  if (active.name != shownName_) {
    shownName_ = active.name;
    if (layout() != PanelLayout::Compact) workers_.Wake(PanelWorker::PlanScroll);
  }
  if (boost_ && boost_->active() && boost_->plan() != active.guid) {
    EndBoost(kBoostCodePlanChanged);
    TellSpeed();
  } else {
    Invalidate(PanelElement::PlanName);
  }
  activitySincePulse_ = true;
  StartPulse();
  Invalidate(PanelElement::Readout);
  Invalidate(PanelElement::Battery);
  Invalidate(PanelElement::Boost);
}

void PanelController::TellSpeed() {
  SpeedValues values = parts_.speed.values();
  if (app().mainWindow() != 0) {
    app().machine().messaging.Send(app().mainWindow(), kMsgSpeedChanged, values.currentMhz, values.maximumMhz);
  }
}

void PanelController::Command(std::uint32_t command, LParam lParam) {
  using namespace menu_command;
  if (command == kCommandBoost) {
    ToggleBoost();
    return;
  }
  // Every other command from 70 on is a plan item of a menu opened here.
  if (IsForwardedPlanCommand(command)) {
    ForwardToMain(command, lParam);
    return;
  }
  switch (command) {
    case kPanelHelp:
      parts_.host.ShowHelp(kHelpPanel);
      return;
    case kEcoSettings:
    case kExit:
    case kPlanSettings:
    case kSettingsItem:
    case kEcoMeter:
      ForwardToMain(command, lParam);
      return;
    case kPanelTransparent: {
      bool transparent = !record().Has(SettingsFlag::PanelTransparent);
      record().Set(SettingsFlag::PanelTransparent, transparent);
      PostToSelf(kMsgPanelZOrder, 0, transparent ? 1 : 0);
      return;
    }
    case kStayOnTop: {
      bool topmost = !record().Has(SettingsFlag::StayOnTop);
      record().Set(SettingsFlag::StayOnTop, topmost);
      PostToSelf(kMsgPanelZOrder, topmost ? kZOrderTopmost : kZOrderNotTopmost, -1);
      return;
    }
    case kIntoTray:
      Hide();
      ForwardToMain(kIntoTray, lParam);
      return;
    case kDisplaySettings:
      displaySettingsOpen_ = true;
      parts_.host.OpenDisplaySettings();
      displaySettingsOpen_ = false;
      ApplyDisplay();
      return;
    default:
      return;
  }
}

void PanelController::ZOrderAndAlpha(WParam zOrder, LParam alpha) {
  if (zOrder == kZOrderTopmost || zOrder == kZOrderNotTopmost) {
    if (Status status = parts_.host.SetTopmost(zOrder == kZOrderTopmost); status != kSuccess) {
      app().reporter().ReportCode(kStringSetWindowPosFailed, status);
    }
  }
  if (alpha == -1) return;
  if (Status status = parts_.host.SetAlpha(PanelAlpha(layout(), alpha != 0)); status != kSuccess) {
    app().reporter().ReportCode(kStringLayeredAttributesFailed, status);
  }
}

void PanelController::ToggleBoost() {
  PlanRecord active = ActivePlan();
  if ((active.flags & kPlanFlagUnlisted) != 0 || active.guid.IsNull()) return;
  if (boost_->active()) {
    EndBoost(kBoostCodeToggle);
    TellSpeed();
  } else {
    StartBoost(active.guid);
  }
}

void PanelController::StartBoost(const Guid& plan) {
  if (boost_->Start(plan, OnAc()) != BoostStart::Started) return;
  UpdateNeedleAreas();
  workers_.Wake(PanelWorker::NeedleHover);
  Invalidate(PanelElement::Boost);
  Invalidate(PanelElement::Needle);
}

void PanelController::EndBoost(std::int64_t code) {
  if (!boost_->End(code)) return;
  UpdateNeedleAreas();
  // The needle leaves the boosted position and settles on the speed again.
  if (SyncHandle event = app().workers().speedEvent(); event != 0) app().machine().sync.SetEvent(event);
  workers_.Wake(PanelWorker::NeedleHover);
  Invalidate(PanelElement::Boost);
  Invalidate(PanelElement::Needle);
}

void PanelController::BoostControl(WParam planIndex, LParam start) {
  if (!boost_) return;
  if (start == 0) {
    EndBoost(kBoostCodeToggle);
    return;
  }
  Guid plan;
  if (app().machine().power.EnumeratePlans(static_cast<std::uint32_t>(planIndex), plan) != kSuccess) return;
  if (!boost_->active()) StartBoost(plan);
}

Point PanelController::ClientToScreen(Point client) {
  Point origin{record().panelX, record().panelY};
  parts_.host.Origin(origin);
  return Point{origin.x + client.x, origin.y + client.y};
}

Point PanelController::MenuPoint() {
  const ElementRect& boost = LayoutElement(layout(), PanelElement::Boost);
  return ClientToScreen(Point{boost.right, boost.bottom});
}

void PanelController::LeftButtonDown(Point client) {
  Point origin{record().panelX, record().panelY};
  parts_.host.Origin(origin);
  Point screen{origin.x + client.x, origin.y + client.y};
  if (pointer_.Press(layout(), client, screen, origin)) parts_.host.CaptureMouse(true);
  Invalidate(PanelElement::Window);
}

void PanelController::MouseMove(Point client) {
  PanelButtonStates before = pointer_.states();
  if (std::optional<Point> origin = pointer_.Move(layout(), client, ClientToScreen(client))) {
    parts_.host.Place(*origin, SizeOfLayout(layout()));
    return;
  }
  if (pointer_.states() == before) return;
  activitySincePulse_ = true;
  StartPulse();
  if (pointer_.states().planName == kElementHover && before.planName != kElementHover) {
    workers_.Wake(PanelWorker::PlanScroll);
  }
  if (pointer_.states().boost != before.boost) workers_.Wake(PanelWorker::NeedleHover);
  Invalidate(PanelElement::Window);
}

void PanelController::MouseLeft() {
  if (pointer_.dragging()) return;
  pointer_.ResetHover();
  Invalidate(PanelElement::Window);
}

void PanelController::LeftButtonUp(Point client) {
  // A click on the panel is the user at the console.
  parts_.tray.ConsoleTouched();
  bool wasDragging = pointer_.dragging();
  PanelAction action = pointer_.Release(layout(), client);
  if (wasDragging) {
    parts_.host.CaptureMouse(false);
    StoreOrigin();
  }
  Act(action, client);
  Invalidate(PanelElement::Window);
}

void PanelController::RightButtonUp(Point client) {
  Act(PanelPointer::RightRelease(layout(), client), client);
}

void PanelController::Act(PanelAction action, Point client) {
  switch (action) {
    case PanelAction::Minimize:
      PostToSelf(kWmCommand, menu_command::kIntoTray, 0);
      return;
    case PanelAction::Boost:
      PostToSelf(kWmCommand, kCommandBoost, 0);
      return;
    case PanelAction::PlanMenu:
      pointer_.ResetHover();
      parts_.tray.ShowLeftClickMenu(window_);
      Invalidate(PanelElement::PlanName);
      return;
    case PanelAction::BoostHelp:
      parts_.host.ShowContextHelp(kHelpBoost);
      return;
    case PanelAction::GripHelp:
      parts_.host.ShowContextHelp(kHelpGrip);
      return;
    case PanelAction::RightMenu:
      pointer_.ResetHover();
      parts_.tray.ShowRightClickMenu(window_, ClientToScreen(client), false);
      return;
    case PanelAction::None:
      return;
  }
}

// The aqua layout's pulse and its 5 s particles run while something on the
// panel changes; a cycle with nothing new lets them rest (no timer at all).
void PanelController::StartPulse() {
  if (pulseRunning_ || window_ == 0 || !shown() || layout() != PanelLayout::Aqua) return;
  Messaging& messaging = app().machine().messaging;
  messaging.SetTimer(window_, kPanelEffectTimer, kPanelEffectPeriodMs);
  messaging.SetTimer(window_, kPanelPulseTimer, kPanelPulsePeriodMs);
  pulseRunning_ = true;
  activitySincePulse_ = false;
}

void PanelController::StopPulse() {
  if (!pulseRunning_) return;
  Messaging& messaging = app().machine().messaging;
  messaging.KillTimer(window_, kPanelEffectTimer);
  messaging.KillTimer(window_, kPanelPulseTimer);
  pulseRunning_ = false;
  pulse_ = kPulseLow;
  pulseRising_ = true;
}

void PanelController::Timer(std::uintptr_t id) {
  if (id == kPanelEffectTimer) {
    if (layout() == PanelLayout::Aqua && shown() && !workers_.effects().Busy(PanelWorker::EffectA)) {
      workers_.Wake(PanelWorker::EffectA);
    }
    return;
  }
  if (id != kPanelPulseTimer) return;
  if (layout() != PanelLayout::Aqua || !shown()) {
    StopPulse();
    return;
  }
  pulse_ = pulseRising_ ? pulse_ + 1 : pulse_ - 1;
  if (pulse_ >= kPulseHigh) pulseRising_ = false;
  if (pulse_ <= kPulseLow) {
    pulseRising_ = true;
    if (!activitySincePulse_) {
      StopPulse();
    } else {
      activitySincePulse_ = false;
    }
  }
  Invalidate(PanelElement::Battery);
  Invalidate(PanelElement::Readout);
}

void PanelController::DisplayChanged() {
  if (record().Has(SettingsFlag::InTray)) {
    parts_.tray.Update(app().mainWindow(), false);
    return;
  }
  // The work area may have shrunk: the panel stays inside it.
  PlaceInWorkArea();
  if (parts_.tray.ConsolePresent()) ForwardToMain(menu_command::kIntoTray, 0);
}

void PanelController::RefreshBattery() {
  app().subsystems().RefreshBatteryState();
  BatteryUpdated();
  parts_.host.InvalidateAll();
}

void PanelController::BatteryUpdated() {
  bool charging = parts_.battery.Snapshot().state.charging;
  if (charging != lastCharging_) {
    lastCharging_ = charging;
    workers_.Wake(PanelWorker::BatteryBlink);
    workers_.Wake(PanelWorker::EffectB);
  }
  activitySincePulse_ = true;
  StartPulse();
  Invalidate(PanelElement::Battery);
  Invalidate(PanelElement::BatteryBlink);
}

void PanelController::Activated() { PostToSelf(kMsgPlanChanged, 0, 0); }

void PanelController::ApplyDisplay() {
  if (window_ == 0) return;
  PlaceInWorkArea();
  ZOrderAndAlpha(record().Has(SettingsFlag::StayOnTop) ? kZOrderTopmost : kZOrderNotTopmost,
                 record().Has(SettingsFlag::PanelTransparent) ? 1 : 0);
  if (layout() != PanelLayout::Aqua) StopPulse();
  StartPulse();
  UpdateNeedleAreas();
  parts_.host.InvalidateAll();
}

void PanelController::MoveToRecord() {
  if (window_ == 0) return;
  parts_.host.Place(Point{record().panelX, record().panelY}, SizeOfLayout(layout()));
}

DisplayState PanelController::displayState() {
  return DisplayState{record(), app().settings().saveColor(), colors_};
}

void PanelController::SaveDisplay() {
  SavePanelColors(app().machine().registry, app().reporter(), colors_);
  app().settings().Save();
}

PanelView PanelController::View() {
  PanelView view;
  view.layout = layout();
  view.colorScheme = ColorSchemeOf(record().colorIndex);
  std::uint32_t needle = parts_.speed.needlePercent().load();
  if (needle != paintedNeedle_) {
    paintedNeedle_ = needle;
    activitySincePulse_ = true;
    StartPulse();
  }
  view.boostActive = boost_ && boost_->active();
  view.needlePercent = view.boostActive ? kBoostPercent : needle;
  view.currentMhz = parts_.speed.values().currentMhz;
  BatterySnapshot battery = parts_.battery.Snapshot();
  view.batteryPresent = record().Has(SettingsFlag::BatteryPresent) && battery.state.batteryPresent;
  view.batteryPercent = battery.percent.value_or(0);
  view.charging = battery.state.charging;
  view.onAc = battery.state.acOnLine;
  if (battery.minutes != 0) {
    view.minutes = battery.minutes;
    HoursAndTenths hours = RemainingHours(battery.minutes);
    std::u16string pattern = u"%d.%dh";
    if (view.layout != PanelLayout::Analog) {
      pattern = app().machine().strings.Load(view.charging ? kStringPanelHoursLeftCharging : kStringPanelHoursLeft);
    }
    view.hoursText = FormatText(pattern, {hours.hours, hours.tenths});
  }
  PlanRecord active = ActivePlan();
  view.planName = active.name;
  IconSet set = record().Has(SettingsFlag::EcoMode) ? IconSet::Eco : IconSet::Standard;
  view.planIcon = PlanSmallIcon(active.iconNo, active.ledNo, set);
  view.buttons = pointer_.states();
  view.pulse = pulse_;
  for (std::size_t i = 0; i < kPanelWorkerCount; ++i) {
    view.effect[i] = workers_.effects().Frame(static_cast<PanelWorker>(i));
  }
  view.english = (app().uiLanguage() & 0x3FF) == 9;
  return view;
}

std::u16string PanelController::PlanTip() {
  PlanRecord active = ActivePlan();
  if ((active.flags & kPlanFlagUnlisted) != 0) return {};
  return active.name.substr(0, 80);
}

std::u16string PanelController::BatteryTip() {
  BatterySnapshot battery = parts_.battery.Snapshot();
  if (battery.minutes == 0) return {};
  std::u16string time = BatteryTipTime(battery.minutes);
  StringTable& strings = app().machine().strings;
  std::uint32_t id = battery.state.charging ? kStringBatteryTipCharging : kStringBatteryTipRemaining;
  return FormatText(strings.Load(id), {time});
}

}  // namespace kestrel
