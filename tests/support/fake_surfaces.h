// Fakes of everything the platform side hands Kestrel besides the machine:
// the windowing side of start-up and of the main window's handlers, the
// settings surfaces, the mode-switch window and the playback warning, the
// notification area, menus and desktop of the tray, message boxes, and the
// eco-level library's loader. Each records what it was asked; several share
// one call log so tests can check the order across them.
#pragma once
#include <deque>
#include <functional>
#include <set>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "app/dispatch/dispatch_desktop.h"
#include "app/dispatch/tray_dispatch.h"
#include "app/surfaces.h"
#include "eco/mode_display_host.h"
#include "eco/playback_warning.h"
#include "eco/switch_sequence.h"
#include "platform/text.h"
#include "support/failing_power.h"
#include "support/fake_messaging.h"
#include "support/recording_message_boxes.h"
#include "support/test_machine.h"
#include "ui/model/eco_level_library.h"

namespace kestrel::testing {

using CallLog = std::vector<std::string>;

class FakeDispatchDesktop : public DispatchDesktop {
 public:
  FakeDispatchDesktop(Sync& sync, CallLog& log) : sync_(sync), log_(log) {}

  Status RegisterSessionNotification(WindowHandle) override {
    log_.push_back("register session");
    if (sessionFailures > 0) {
      --sessionFailures;
      return kErrorInvalidHandle;
    }
    return kSuccess;
  }
  Status UnregisterSessionNotification(WindowHandle) override {
    log_.push_back("unregister session");
    return kSuccess;
  }
  Status RegisterDeviceInterfaceNotification(WindowHandle, const Guid& interfaceClass,
                                             DeviceNotifyHandle& handle) override {
    log_.push_back("register devices " + ToUtf8String(interfaceClass));
    handle = 0xD0;
    return kSuccess;
  }
  Status UnregisterDeviceNotification(DeviceNotifyHandle handle) override {
    log_.push_back("unregister devices " + std::to_string(handle));
    return kSuccess;
  }
  bool RemoteSession() override { return remote; }
  Status CreateMutexForAllSessions(std::u16string_view name, SyncHandle& handle, bool& existed) override {
    return sync_.CreateMutex(name, handle, existed);
  }
  WindowHandle FindWindowByTitle(std::u16string_view className, std::u16string_view title) override {
    return colourProgram;
  }
  Status SendAbortIfHung(WindowHandle, std::uint32_t message, WParam, LParam, std::uint32_t timeoutMs,
                         LParam& result) override {
    log_.push_back("ask colour program " + std::to_string(message) + " " + std::to_string(timeoutMs));
    result = colourAnswer;
    return colourProgramHung ? kErrorTimeout : kSuccess;
  }
  void DestroyWindow(WindowHandle window) override { log_.push_back("destroy " + std::to_string(window)); }

  int sessionFailures = 0;
  bool remote = false;
  WindowHandle colourProgram = 0;
  LParam colourAnswer = 1;
  bool colourProgramHung = false;

 private:
  Sync& sync_;
  CallLog& log_;
};

// The settings dialogs: opening one is recorded; while `settingsOpen` is set
// a request brings it forward instead.
class RecordingSurfaces : public Surfaces {
 public:
  explicit RecordingSurfaces(CallLog& log) : log_(log) {}
  void OpenEcoSettings(SettingsDialogHost& host) override {
    log_.push_back("open eco settings");
    opened.push_back(48);
    if (whileOpen) std::exchange(whileOpen, nullptr)(host);
  }
  void OpenPlanSettings(SettingsDialogHost& host, WindowHandle owner) override {
    log_.push_back("open plan settings");
    opened.push_back(56);
    owners.push_back(owner);
    if (whileOpen) std::exchange(whileOpen, nullptr)(host);
  }
  bool BringSettingsForward() override {
    if (!settingsOpen) return false;
    log_.push_back("settings forward");
    ++broughtForward;
    return true;
  }
  bool settingsOpen = false;
  int broughtForward = 0;
  std::vector<std::uint32_t> opened;
  std::vector<WindowHandle> owners;
  // Runs once while the next dialog is open, as the dialog would.
  std::function<void(SettingsDialogHost&)> whileOpen;

 private:
  CallLog& log_;
};

// Power management that remembers every activation with the simulated time
// and the sleeps made before it, and can refuse activations.
class ActivationRecorder : public FailingPower {
 public:
  struct Activation {
    Guid plan;
    std::uint64_t atMs = 0;
    std::size_t sleepsBefore = 0;
    std::size_t lampLogBefore = 0;
  };

  ActivationRecorder(TestMachine& test) : FailingPower(test.power), test_(test) {}

  Status SetActivePlan(const Guid& plan) override {
    activations.push_back({plan, test_.clock.NowMs(), test_.clock.sleeps().size(),
                           test_.devices.ReadLog(u"VEXAECFILTER").size()});
    if (refuse != kSuccess) return refuse;
    return FailingPower::SetActivePlan(plan);
  }

  std::vector<Activation> activations;
  Status refuse = kSuccess;

 private:
  TestMachine& test_;
};

// The mode-switch window: made by the messaging fake, its WM_CREATE handed
// to the sequence; closing removes it at once.
class RecordingDisplayHost : public ModeDisplayHost {
 public:
  explicit RecordingDisplayHost(FakeMessaging& messaging) : messaging_(messaging) {}

  WindowHandle Create(WindowHandle owner) override {
    WindowHandle window = messaging_.AddWindow(u"EcoOSDWndProc");
    owners.push_back(owner);
    if (!sequence->OnCreate(window)) {
      messaging_.RemoveWindow(window);
      ++refused;
      return 0;
    }
    created.push_back(window);
    return window;
  }
  void Show(WindowHandle window) override { shown.push_back(window); }
  void Invalidate(WindowHandle) override { ++invalidations; }
  void Close(WindowHandle window) override {
    closed.push_back(window);
    messaging_.RemoveWindow(window);
  }

  ModeSwitchSequence* sequence = nullptr;
  std::vector<WindowHandle> owners;
  std::vector<WindowHandle> created;
  std::vector<WindowHandle> shown;
  std::vector<WindowHandle> closed;
  int refused = 0;
  int invalidations = 0;

 private:
  FakeMessaging& messaging_;
};

// The warning dialog: each Show runs the script (by default: created, OK).
class ScriptedWarningDialog : public PlaybackWarningDialog {
 public:
  struct Shown {
    WindowHandle owner;
    std::u16string caption, content, verification;
  };
  void Show(WindowHandle owner, std::u16string_view caption, std::u16string_view content,
            std::u16string_view verification, PlaybackWarning& events) override {
    shown.push_back({owner, std::u16string(caption), std::u16string(content), std::u16string(verification)});
    if (script) {
      script(events);
    } else {
      events.Created();
      events.ButtonClicked();
    }
  }
  std::vector<Shown> shown;
  std::function<void(PlaybackWarning&)> script;
};

// Message boxes that record and can act while a box is open.
class ReentrantBoxes : public MessageBoxes {
 public:
  explicit ReentrantBoxes(RecordingMessageBoxes& inner) : inner_(inner) {}
  int Show(WindowHandle owner, std::u16string_view text, std::u16string_view caption, std::uint32_t style) override {
    int answer = inner_.Show(owner, text, caption, style);
    if (whileOpen) std::exchange(whileOpen, nullptr)();
    return answer;
  }
  std::function<void()> whileOpen;

 private:
  RecordingMessageBoxes& inner_;
};

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
  std::uint32_t DoubleClickTimeMs() override { return 500; }
  void HideWindow(WindowHandle window) override { hidden.push_back(window); }
  void Launch(std::u16string_view path) override { launched.emplace_back(path); }

  Point cursor{990, 750};
  std::vector<WindowHandle> hidden;
  std::vector<std::u16string> launched;
};

class RecordingLoader : public LibraryLoader {
 public:
  explicit RecordingLoader(bool loadable = true) : loadable(loadable) {}
  Status Load(std::u16string_view path, LibraryHandle& library) override {
    calls.push_back("load " + Utf16ToUtf8(path));
    if (!loadable) return kErrorFileNotFound;
    library = 0x4000;
    return kSuccess;
  }
  void Unload(LibraryHandle) override { calls.push_back("unload"); }
  bool CallProcedure(LibraryHandle, std::string_view name) override {
    if (!exports.count(std::string(name))) return false;
    calls.push_back(std::string(name));
    return true;
  }
  std::optional<std::uint32_t> CallWithRecord(LibraryHandle, std::string_view name,
                                              std::span<const std::uint8_t> record) override {
    if (!exports.count(std::string(name))) return std::nullopt;
    calls.push_back(std::string(name));
    lastRecord.assign(record.begin(), record.end());
    return 0x0304;
  }

  bool loadable;
  std::set<std::string> exports{"EcoApiInitializeApp", "EcoApiGetGreenmark", "EcoApiFinalizeApp"};
  std::vector<std::string> calls;
  std::vector<std::uint8_t> lastRecord;
};

}  // namespace kestrel::testing
