#include "app/application.h"

#include "base/string_ids.h"
#include "platform/text.h"

namespace kestrel {

Application::Application(Machine& machine, Shell& shell, Subsystems& subsystems)
    : machine_(machine),
      shell_(shell),
      subsystems_(subsystems),
      reporter_(machine),
      settings_(machine, reporter_, subsystems),
      workers_(machine, reporter_) {}

StartOutcome Application::Start(std::u16string_view commandLine) {
  settings_.config().debugLogFlag = SettingsStore::ReadDebugLogFlag(machine_.registry);
  StartRequest request = ParseCommandLine(commandLine);
  shell_.StartGdiPlus();
  bool existed = false;
  instanceMutexStatus_ = CreateOwnedMutex(machine_.sync, kInstanceMutexName, instanceMutex_, existed);
  if (instanceMutexStatus_ == kSuccess && existed) {
    RunSecondInstance(request);
    return StartOutcome::SecondInstance;
  }
  uiLanguage_ = shell_.UiLanguage();
  if (!Initialize()) {
    StopAfterFailedStart();
    reporter_.ReportCode(kStringInitFailed, 1, kReportBox);
    return StartOutcome::InitializationFailed;
  }
  if (std::uint32_t message = MessageOf(request); message != 0) machine_.messaging.Post(mainWindow_, message, 0, 0);
  return StartOutcome::Running;
}

void Application::RunSecondInstance(StartRequest request) {
  WindowHandle first = machine_.messaging.FindWindowByClass(kMainWindowClass);
  if (first == 0) return;
  machine_.messaging.BringToForeground(first);
  if (std::uint32_t message = MessageOf(request); message != 0) machine_.messaging.Post(first, message, 0, 0);
}

void Application::StopAfterFailedStart() {
  // Workers started before the failing step must not outlive the program.
  workers_.Stop();
  planLock_.Reset();
}

void Application::Finish() {
  if (!shutDown_) {
    settings_.Save();
    workers_.Stop();
  }
  shell_.StopGdiPlus();
  shell_.UninitializeCom();
}

std::u16string Application::LoadLimited(std::uint32_t id, std::size_t maxUnits) {
  return Truncate(machine_.strings.Load(id), maxUnits);
}

void Application::LoadTitleTexts() {
  titleText_ = LoadLimited(kStringTitle, kTitleTextUnits);
  minimizeCaption_ = LoadLimited(kStringMinimizeCaption, kTitleTextUnits);
  reporter_.SetCaption(titleText_);
}

// The title of an ECO model replaces the program's title before any worker
// starts: a worker's report reads the caption, which is never changed while
// workers run.
void Application::TakeEcoTitle() {
  titleText_ = LoadLimited(kStringEcoTitle, kTitleTextUnits);
  reporter_.SetCaption(titleText_);
}

bool Application::Initialize() {
  shell_.SetJapaneseLocale();
  shell_.InitializeCom();
  LoadTitleTexts();

  // Without the instance mutex the plan lock is not even tried: the report
  // carries the instance mutex's own error.
  bool existed = false;
  Status status = instanceMutexStatus_;
  if (status == kSuccess) status = CreateOwnedMutex(machine_.sync, kPlanLockName, planLock_, existed);
  if (status != kSuccess) {
    reporter_.ReportCode(kStringMutexFailed, status);
    return false;
  }

  Rect workArea;
  if (!shell_.WorkArea(workArea)) workArea = Rect{0, 0, 1024, 768};
  settings_.Load(workArea, shell_.OsModelOfWindows());

  if (Status version = shell_.CheckWindowsVersion(6, 0); version != kSuccess) {
    reporter_.ReportCode(kStringVersionTooOld, version);
    return false;
  }
  BuildHelpPaths();

  const SettingsRecord& record = settings_.record();
  if (record.Has(SettingsFlag::EcoMode)) TakeEcoTitle();
  if (!workers_.StartPolling(record.Has(SettingsFlag::BatteryPresent), subsystems_.AutoSwitchEnabled())) return false;

  for (std::uint32_t message : {kMsgEcoButtonPress, kMsgEcoButtonAdvance, kMsgOpenEcoSettings, kMsgOpenPlanSettings}) {
    shell_.AllowMessageFromLowerIntegrity(message);
  }
  if (!RegisterClassesAndEcoWorker()) return false;
  if (!CreateMainWindow()) return false;
  shell_.CreateHiddenButton(mainWindow_);
  if (settings_.record().Has(SettingsFlag::MeterPanel) && !subsystems_.CreatePanel()) return false;
  shell_.HideWindow(mainWindow_);
  ChooseFirstSurface();
  return true;
}

void Application::BuildHelpPaths() {
  std::u16string module;
  Status status = shell_.ModuleFileName(module);
  if (status != kSuccess) {
    reporter_.ReportCode(kStringModuleFileNameFailed, status);
    return;
  }
  std::size_t slash = module.rfind(u'\\');
  std::u16string folder = slash == std::u16string::npos ? module + u"\\" : module.substr(0, slash + 1);
  contextHelpPath_ = folder + u"Context.chm::kestrel.txt";
  helpFilePath_ = Truncate(folder + u"Kestrel.chm", kHelpPathUnits);
  helpAvailable_ = machine_.files.Exists(helpFilePath_) != kErrorFileNotFound;
}

bool Application::RegisterClassesAndEcoWorker() {
  Status status = shell_.RegisterMainWindowClass();
  if (status != kSuccess) {
    reporter_.ReportCode(kStringRegisterClassFailed, status);
    return false;
  }
  const SettingsRecord& record = settings_.record();
  if (!record.Has(SettingsFlag::EcoMode)) return true;
  status = shell_.RegisterModeDisplayClass(record.Has(SettingsFlag::ThreeModes));
  if (status != kSuccess) {
    reporter_.ReportCode(kStringRegisterClassFailed, status);
    return false;
  }
  return workers_.StartLedWorker();
}

bool Application::CreateMainWindow() {
  const SettingsRecord& record = settings_.record();
  MainWindowStyle style;
  style.topmost = record.Has(SettingsFlag::StayOnTop);
  style.toolWindow = record.Has(SettingsFlag::NoTaskbarButton);
  style.position = Point{record.panelX, record.panelY};
  Status status = shell_.CreateMainWindow(style, titleText_, mainWindow_);
  if (status != kSuccess) {
    reporter_.ReportCode(kStringCreateWindowFailed, status);
    return false;
  }
  return true;
}

void Application::ChooseFirstSurface() {
  // Without a meter panel, or with the panel put away last time, the program
  // starts in the notification area.
  const SettingsRecord& record = settings_.record();
  if (!record.Has(SettingsFlag::MeterPanel) || subsystems_.PanelWindow() == 0 || record.Has(SettingsFlag::InTray)) {
    machine_.messaging.Post(mainWindow_, kWmCommand, menu_command::kIntoTray, 0);
    subsystems_.HidePanel();
    return;
  }
  subsystems_.ShowPanel();
}

void Application::SaveForEndSession() { settings_.Save(); }

void Application::Shutdown() {
  shutDown_ = true;
  subsystems_.ReleaseDevicesAndTables();
  settings_.Save();
  workers_.Stop();
  planLock_.Reset();
  shell_.PostQuit(0);
}

}  // namespace kestrel
