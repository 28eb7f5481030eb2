// Fakes of the windowing side and of the subsystems still to come, for the
// main window's handlers: both record every call in one shared log so tests
// can check the order across them.
#pragma once
#include <string>
#include <vector>

#include "app/dispatch/dispatch_desktop.h"
#include "app/dispatch/dispatch_subsystems.h"
#include "platform/sync.h"

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
  bool WorkArea(Rect& area) override {
    area = workArea;
    return true;
  }
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
  Rect workArea{0, 0, 1280, 984};
  WindowHandle colourProgram = 0;
  LParam colourAnswer = 1;
  bool colourProgramHung = false;

 private:
  Sync& sync_;
  CallLog& log_;
};

class RecordingSubsystems : public DispatchSubsystems {
 public:
  explicit RecordingSubsystems(CallLog& log) : log_(log) {}

  void ApplyBrightness(std::uint32_t argument) override { log_.push_back("brightness " + std::to_string(argument)); }
  bool PanelBrightnessAvailable() override { return panelBrightness; }
  void RescanExternalMonitors() override { log_.push_back("rescan monitors"); }
  void RefreshBatteryState() override { log_.push_back("battery"); }
  void SuspendAutoSwitch() override { log_.push_back("suspend auto switch"); }
  void ResumeAutoSwitch() override { log_.push_back("resume auto switch"); }
  WindowHandle PanelWindow() override { return panel; }
  void RepaintPanel() override { log_.push_back("repaint panel"); }
  void RepaintPanelBattery() override { log_.push_back("repaint battery"); }
  bool BoostActive() override { return boost; }
  void SavePanelPosition() override { log_.push_back("save panel position"); }
  void RestoreSavedBoost() override { log_.push_back("restore saved boost"); }
  bool DisplaySettingsOpen() override { return displaySettingsOpen; }

  bool panelBrightness = false;
  WindowHandle panel = 0;
  bool boost = false;
  bool displaySettingsOpen = false;

 private:
  CallLog& log_;
};

}  // namespace kestrel::testing
