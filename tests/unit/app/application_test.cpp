#include "app/application.h"

#include <gtest/gtest.h>

#include "base/registry_paths.h"
#include "base/string_ids.h"
#include "support/fake_shell.h"
#include "support/log_reader.h"
#include "support/test_machine.h"

namespace kestrel {
namespace {

using testing::FakeShell;
using testing::LogLines;
using testing::WithoutStamp;

// Fails the creation of one named mutex, or of the n-th event.
class ScriptedSync : public FakeSync {
 public:
  using FakeSync::FakeSync;
  Status CreateMutex(std::u16string_view name, SyncHandle& handle, bool& existed) override {
    if (!failMutexName.empty() && name == failMutexName) return kErrorAccessDenied;
    return FakeSync::CreateMutex(name, handle, existed);
  }
  Status CreateEvent(bool manualReset, bool initiallySet, SyncHandle& handle) override {
    if (++events == failEventNumber) return kErrorNotEnoughMemory;
    return FakeSync::CreateEvent(manualReset, initiallySet, handle);
  }
  Status StartThread(std::function<void()> body, SyncHandle& handle) override {
    if (onStartThread) onStartThread();
    return FakeSync::StartThread(std::move(body), handle);
  }
  std::function<void()> onStartThread;
  std::u16string failMutexName;
  int failEventNumber = 0;
  int events = 0;
};

// One start of the program on a machine of its own.
struct Harness {
  void SetEcoMode(std::uint32_t value) {
    RegKey key;
    RegKey::Create(test.registry, kHkeyLocalMachine, kKestrelKey, kKeyAllAccess, key);
    key.WriteDword(u"EcoMode", value);
  }
  TestMachine test;
  ScriptedSync sync{test.clock};
  Machine machine{test.registry, test.power, test.devices, test.clock, sync,
                  test.messaging, test.boxes, test.strings, test.files};
  FakeShell shell;
  Subsystems subsystems;
};

class ApplicationTest : public ::testing::Test, protected Harness {
 protected:
  std::vector<std::u16string> LoggedTexts() { return testing::LoggedTexts(test.files); }

  Application app{machine, shell, subsystems};
};

TEST_F(ApplicationTest, StartsWithTheMainWindowAndPutsItselfIntoTheTray) {
  ASSERT_EQ(app.Start(u"Kestrel.exe"), StartOutcome::Running);
  EXPECT_EQ(app.titleText(), u"ケストレル");
  EXPECT_EQ(shell.mainWindowTitle, u"ケストレル");
  EXPECT_EQ(shell.allowedMessages, (std::vector<std::uint32_t>{1340, 1341, 1033, 1034}));
  EXPECT_EQ(std::count(shell.calls.begin(), shell.calls.end(), "class EcoOSDWndProc 3"), 0);
  auto posted = test.messaging.PostedTo(shell.mainWindow);
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].message, kWmCommand);
  EXPECT_EQ(posted[0].wParam, menu_command::kIntoTray);
  EXPECT_EQ(app.contextHelpPath(), u"C:\\Program Files\\Vexa\\Kestrel\\Context.chm::kestrel.txt");
  EXPECT_FALSE(app.helpAvailable());
  // Speed monitor, meter animator and the automatic-switch worker; no battery, no lamp.
  EXPECT_EQ(sync.PendingThreads().size(), 3u);
  EXPECT_TRUE(LoggedTexts().empty());
  EXPECT_TRUE(test.boxes.shown().empty());
}

TEST_F(ApplicationTest, EcoModelsRegisterTheDisplayClassAndStartTheLampWorker) {
  SetEcoMode(2);
  ASSERT_EQ(app.Start(u"Kestrel.exe /PowerScheme"), StartOutcome::Running);
  EXPECT_EQ(app.titleText(), u"ECOモード設定ツール");
  EXPECT_EQ(std::count(shell.calls.begin(), shell.calls.end(), "class EcoOSDWndProc 3"), 1);
  EXPECT_EQ(sync.PendingThreads().size(), 4u);
  auto posted = test.messaging.PostedTo(shell.mainWindow);
  ASSERT_EQ(posted.size(), 2u);
  EXPECT_EQ(posted[1].message, kMsgOpenPlanSettings);
}

TEST_F(ApplicationTest, ASecondStartHandsItsRequestToTheFirstAndExits) {
  WindowHandle first = test.messaging.AddWindow(u"Kestrel");
  bool existed = false;
  SyncHandle held = 0;
  sync.CreateMutex(kInstanceMutexName, held, existed);

  EXPECT_EQ(app.Start(u"\"C:\\Kestrel.exe\" /EcoMode /PowerScheme"), StartOutcome::SecondInstance);
  auto posted = test.messaging.PostedTo(first);
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].message, kMsgOpenPlanSettings);
  EXPECT_EQ(test.messaging.foregroundRequests(), std::vector<WindowHandle>{first});
  EXPECT_TRUE(std::find(shell.calls.begin(), shell.calls.end(), "main window") == shell.calls.end());

  // A switch inside a longer word still counts; lower case does not.
  EXPECT_EQ(ParseCommandLine(u"x/EcoModeSettings"), StartRequest::EcoSettings);
  EXPECT_EQ(ParseCommandLine(u"/ecomode /powerscheme"), StartRequest::None);
}

TEST(ApplicationFailureTest, EveryFailingInitialisationStepShowsOneBoxAndLogsItsCause) {
  const std::vector<std::pair<std::function<void(Harness&)>, std::u16string>> cases = {
      {[](Harness& h) { h.sync.failMutexName = kPlanLockName; },
       u"Mutexの作成に失敗。または既に実行されています(0x5)"},
      // Without the instance mutex, its own error is logged.
      {[](Harness& h) { h.sync.failMutexName = kInstanceMutexName; },
       u"Mutexの作成に失敗。または既に実行されています(0x5)"},
      {[](Harness& h) { h.shell.windowsMajor = 5; }, u"本プログラムの実行には、Windows Vista以上が必要です(0x47e)"},
      {[](Harness& h) { h.sync.FailNext(SyncOperation::StartThread); }, u"fail : CreateThread/ppi bsc(0x8)"},
      {[](Harness& h) { h.sync.failEventNumber = 1; }, u"fail : CreateEvent(0x8)"},
      {[](Harness& h) { h.shell.mainClassStatus = 1410; }, u"fail : RegisterClass(0x582)"},
      {[](Harness& h) {
         h.SetEcoMode(1);
         h.shell.displayClassStatus = 1410;
       },
       u"fail : RegisterClass(0x582)"},
      {[](Harness& h) {
         h.SetEcoMode(2);
         h.sync.failEventNumber = 4;  // after the stop event, SpeedEvent and AutoSwitchEvent: LedEvent
       },
       u"fail : CreateEvent(0x8)"},
      {[](Harness& h) { h.shell.createWindowStatus = 8; }, u"fail : CreateWindowEx(0x8)"},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(i);
    Harness h;
    cases[i].first(h);
    Application app(h.machine, h.shell, h.subsystems);
    EXPECT_EQ(app.Start(u"Kestrel.exe"), StartOutcome::InitializationFailed);
    ASSERT_EQ(h.test.boxes.shown().size(), 1u);
    EXPECT_EQ(h.test.boxes.shown()[0].text.rfind(u"プログラムの初期化に失敗しました。", 0), 0u);
    std::vector<std::u16string> texts;
    for (const auto& line : LogLines(h.test.files)) texts.push_back(WithoutStamp(line));
    EXPECT_NE(std::find(texts.begin(), texts.end(), cases[i].second), texts.end());
    // Workers started before the failing step were told to stop.
    EXPECT_FALSE(app.workers().running());
  }
}

TEST_F(ApplicationTest, AnEcoModelHasItsTitleBeforeTheFirstWorkerCanReport) {
  SetEcoMode(1);
  std::vector<std::u16string> captions;
  sync.onStartThread = [&] {
    app.reporter().ReportCode(kStringInitFailed, 0, kReportBox);
    captions.push_back(test.boxes.shown().back().caption);
  };
  ASSERT_EQ(app.Start(u"Kestrel.exe"), StartOutcome::Running);
  ASSERT_EQ(captions.size(), 4u);  // speed, meter, automatic switch, lamp
  for (const std::u16string& caption : captions) EXPECT_EQ(caption, u"ECOモード設定ツール");
  EXPECT_EQ(app.uiLanguage(), 0x0411);
}

TEST_F(ApplicationTest, AMessageLoopEndingWithoutTheWindowsDestructionStillSavesAndStopsTheWorkers) {
  ASSERT_EQ(app.Start(u"Kestrel.exe"), StartOutcome::Running);
  app.settings().record().panelX = 321;
  app.Finish();
  EXPECT_FALSE(app.workers().running());
  RegKey key;
  ASSERT_EQ(RegKey::Open(test.registry, kHkeyCurrentUser, kKestrelKey, kKeyRead, key), kSuccess);
  std::vector<std::uint8_t> bytes;
  ASSERT_EQ(key.ReadBinary(u"Settings", bytes), kSuccess);
  EXPECT_EQ(DecodeSettingsRecord(bytes)->panelX, 321);
}

TEST_F(ApplicationTest, ShutdownSavesTheRecordAndDoesNotWaitForeverForAHungWorker) {
  ASSERT_EQ(app.Start(u"Kestrel.exe"), StartOutcome::Running);
  std::vector<SyncHandle> threads = sync.PendingThreads();
  ASSERT_EQ(threads.size(), 3u);
  sync.Hang(threads[0]);  // the speed monitor never returns
  app.workers().ClearRunFlag();
  sync.RunPendingThreads();
  app.settings().record().panelX = 123;

  std::uint64_t before = test.clock.NowMs();
  app.Shutdown();
  EXPECT_EQ(test.clock.NowMs() - before, 11u * 500u);
  EXPECT_FALSE(app.workers().allEnded());
  EXPECT_EQ(shell.quitCodes, std::vector<int>{0});
  RegKey key;
  ASSERT_EQ(RegKey::Open(test.registry, kHkeyCurrentUser, kKestrelKey, kKeyRead, key), kSuccess);
  std::vector<std::uint8_t> bytes;
  ASSERT_EQ(key.ReadBinary(u"Settings", bytes), kSuccess);
  EXPECT_EQ(DecodeSettingsRecord(bytes)->panelX, 123);
}

TEST_F(ApplicationTest, AfterShutdownOnlyTheInstanceMutexIsOpen) {
  ASSERT_EQ(app.Start(u"Kestrel.exe"), StartOutcome::Running);
  app.workers().ClearRunFlag();
  sync.RunPendingThreads();
  app.Shutdown();
  EXPECT_TRUE(app.workers().allEnded());
  // The instance mutex marks the instance until the process ends.
  EXPECT_EQ(sync.OpenHandleCount(), 1u);
}

}  // namespace
}  // namespace kestrel
