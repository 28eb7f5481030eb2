// Kestrel's process life: the entry sequence (single instance, initialisation
// in its fixed order, the request of the command line) and the shutdown order
// run when the main window is destroyed.
#pragma once
#include <cstdint>
#include <string>

#include "app/command_line.h"
#include "app/settings_store.h"
#include "app/shell.h"
#include "app/subsystems.h"
#include "app/workers.h"
#include "base/error_reporter.h"
#include "base/messages.h"
#include "platform/machine.h"
#include "platform/owned_handle.h"

namespace kestrel {

inline constexpr std::u16string_view kInstanceMutexName = u"kESTRELmUTEX";
inline constexpr std::u16string_view kPlanLockName = u"kESTRELmUTEXps";
inline constexpr std::u16string_view kMainWindowClass = u"Kestrel";


inline constexpr std::size_t kTitleTextUnits = 31;   // 32 with the terminator
inline constexpr std::size_t kHelpPathUnits = 129;   // 130 with the terminator

enum class StartOutcome : std::uint8_t { Running, SecondInstance, InitializationFailed };

class Application {
 public:
  Application(Machine& machine, Shell& shell, Subsystems& subsystems);

  // Entry steps up to the message loop. Running means the caller runs the
  // message loop and then calls Finish(); any other outcome exits with code 0.
  StartOutcome Start(std::u16string_view commandLine);
  // After the message loop: releases what the entry point acquired. When the
  // loop ended without the main window's destruction (GetMessageW failed),
  // the record is saved and the workers are stopped here.
  void Finish();

  // WM_DESTROY of the main window: stops everything in its fixed order and
  // posts WM_QUIT with code 0.
  void Shutdown();
  // WM_QUERYENDSESSION: keeps the user's state before a log-off.
  void SaveForEndSession();

  Machine& machine() { return machine_; }
  Shell& shell() { return shell_; }
  ErrorReporter& reporter() { return reporter_; }
  SettingsStore& settings() { return settings_; }
  Workers& workers() { return workers_; }
  Subsystems& subsystems() { return subsystems_; }
  WindowHandle mainWindow() const { return mainWindow_; }
  const std::u16string& titleText() const { return titleText_; }
  const std::u16string& helpFilePath() const { return helpFilePath_; }
  const std::u16string& contextHelpPath() const { return contextHelpPath_; }
  bool helpAvailable() const { return helpAvailable_; }
  SyncHandle planLock() const { return planLock_.get(); }
  std::uint16_t uiLanguage() const { return uiLanguage_; }

 private:
  void RunSecondInstance(StartRequest request);
  bool Initialize();
  void LoadTitleTexts();
  void TakeEcoTitle();
  void BuildHelpPaths();
  bool RegisterClassesAndEcoWorker();
  void StopAfterFailedStart();
  bool CreateMainWindow();
  void ChooseFirstSurface();
  std::u16string LoadLimited(std::uint32_t id, std::size_t maxUnits);

  Machine& machine_;
  Shell& shell_;
  Subsystems& subsystems_;
  ErrorReporter reporter_;
  SettingsStore settings_;
  Workers workers_;

  OwnedSync instanceMutex_;
  Status instanceMutexStatus_ = kSuccess;
  OwnedSync planLock_;
  bool shutDown_ = false;
  std::uint16_t uiLanguage_ = 0;
  WindowHandle mainWindow_ = 0;
  std::u16string titleText_;
  std::u16string minimizeCaption_;
  std::u16string helpFilePath_;
  std::u16string contextHelpPath_;
  bool helpAvailable_ = false;
};

}  // namespace kestrel
