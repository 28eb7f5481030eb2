// The notification surfaces on a simulated machine: the running program of
// the ECO tests with the main window's handlers and the tray dispatch
// attached to its window, a notification area, menus and desktop that record
// what they were asked, and a settings dialog that can be "open".
#pragma once
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "support/fake_hot_keys.h"
#include "ui/model/tray_dispatch.h"
#include "unit/app/dispatch/dispatch_fakes.h"
#include "unit/eco/eco_rig.h"

namespace kestrel::testing {

class RecordingNotificationArea : public NotificationArea {
 public:
  struct Call {
    std::string op;
    TrayIconRequest request;
  };
  TrayCallResult Add(const TrayIconRequest& request) override { return Record("add", request); }
  TrayCallResult Modify(const TrayIconRequest& request) override { return Record("modify", request); }
  TrayCallResult Delete(WindowHandle window, std::uint32_t id) override {
    TrayIconRequest request;
    request.window = window;
    request.id = id;
    return Record("delete", request);
  }
  // The answers of the next calls, in order; later calls succeed.
  void Answer(std::string op, TrayCallResult result) { answers_.push_back({std::move(op), result}); }
  std::vector<std::string> Ops() const {
    std::vector<std::string> ops;
    for (const Call& call : calls) ops.push_back(call.op);
    return ops;
  }
  const TrayIconRequest& Last() const { return calls.back().request; }

  std::vector<Call> calls;

 private:
  TrayCallResult Record(std::string op, const TrayIconRequest& request) {
    calls.push_back({op, request});
    if (!answers_.empty() && answers_.front().first == op) {
      TrayCallResult result = answers_.front().second;
      answers_.pop_front();
      return result;
    }
    return {true, kSuccess};
  }
  std::deque<std::pair<std::string, TrayCallResult>> answers_;
};

class RecordingMenus : public MenuPresenter {
 public:
  struct Shown {
    MenuModel menu;
    MenuPlacement placement;
    bool plan = false;
  };
  bool TrackTextMenu(const MenuModel& menu, const MenuPlacement& placement) override {
    if (refuse) return false;
    shown.push_back({menu, placement, false});
    RunScript();
    return true;
  }
  bool TrackPlanMenu(OwnerDrawnMenu& menu, const MenuPlacement& placement) override {
    if (refuse) return false;
    shown.push_back({menu.menu(), placement, true});
    open = &menu;
    RunScript();
    return true;
  }
  void DestroyPlanMenu() override {
    open = nullptr;
    ++destroyed;
  }
  bool MeasureItem(LParam) override { return open != nullptr; }
  bool DrawItem(LParam) override { return open != nullptr; }

  // Runs once while the next menu is open (messages that arrive meanwhile).
  std::function<void()> whileOpen;
  std::vector<Shown> shown;
  OwnerDrawnMenu* open = nullptr;
  int destroyed = 0;
  bool refuse = false;

 private:
  void RunScript() {
    if (whileOpen) std::exchange(whileOpen, nullptr)();
  }
};

class RecordingDesktop : public TrayDesktop {
 public:
  Point CursorPosition() override { return cursor; }
  bool WorkArea(Rect& area) override {
    area = workArea;
    return workAreaReadable;
  }
  std::uint32_t DoubleClickTimeMs() override { return 500; }
  void HideWindow(WindowHandle window) override { hidden.push_back(window); }
  void Launch(std::u16string_view path) override { launched.emplace_back(path); }

  Point cursor{990, 750};
  Rect workArea{0, 0, 1280, 984};
  bool workAreaReadable = true;
  std::vector<WindowHandle> hidden;
  std::vector<std::u16string> launched;
};

class DialogSurfaces : public Surfaces {
 public:
  void OpenEcoSettings() override { opened.push_back(48); }
  void OpenPlanSettings() override { opened.push_back(56); }
  void PutIntoTray() override {}
  bool BringSettingsForward() override {
    if (settingsOpen) ++broughtForward;
    return settingsOpen;
  }
  bool settingsOpen = false;
  int broughtForward = 0;
  std::vector<std::uint32_t> opened;
};

inline constexpr std::uint32_t kMouseMove = 0x0200;
inline constexpr std::uint32_t kLeftButtonUp = 0x0202;
inline constexpr std::uint32_t kLeftDoubleClick = 0x0203;
inline constexpr std::uint32_t kRightButtonUp = 0x0205;

class TrayRig : public EcoRig {
 protected:
  TrayRig() {
    controller.SetTray(&tray);
    controller.SetDispatch(&dispatch);
    tray.SetWindowDispatch(&dispatch);
    tray.SetPlanChooser([this](std::uint32_t command) { engine.ChoosePlanFromMenu(command); });
  }

  // Starts the program on a model and puts it into the notification area.
  void StartInTray(std::uint32_t ecoMode) {
    StartProgram(ecoMode);
    tray.PutIntoTray();
    area.calls.clear();
  }
  WindowHandle Main() const { return shell.mainWindow; }
  std::optional<LParam> Send(std::uint32_t message, WParam wParam = 0, LParam lParam = 0) {
    return controller.Handle(Main(), message, wParam, lParam);
  }
  void Mouse(std::uint32_t mouseMessage) { Send(kMsgTrayNotify, kTrayIconId, mouseMessage); }
  // Hands the messages posted to the main window to it, in order.
  void Pump() {
    while (auto message = test.messaging.PopPosted()) {
      if (message->window == Main()) controller.Handle(Main(), message->message, message->wParam, message->lParam);
    }
  }
  // The command of the open or last menu's item for `plan`.
  std::uint32_t ItemFor(const Guid& plan) {
    for (const MenuItem& item : menus.shown.back().menu) {
      if (item.kind == MenuItemKind::Plan && item.plan == plan) return item.id;
    }
    ADD_FAILURE() << "no item for the plan";
    return 0;
  }
  bool InTray() { return app.settings().record().Has(SettingsFlag::InTray); }

  RecordingNotificationArea area;
  RecordingMenus menus;
  RecordingDesktop desktop;
  DialogSurfaces dialogs;
  CallLog calls;
  FakeHotKeys hotKeys;
  FakeDispatchDesktop dispatchDesktop{test.sync, calls};
  RecordingSubsystems subsystems{calls};
  WindowDispatch dispatch{DispatchParts{app, engine, dialogs, dispatchDesktop, subsystems, hotKeys}};
  TrayDispatch tray{app, [this]() -> PlanModel& { return hooks.plans(); }, TrayParts{area, menus, desktop}};
};

}  // namespace kestrel::testing
