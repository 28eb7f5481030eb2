#include "installer/installer.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "installer/import_file.h"
#include "installer/kestrel_instance.h"
#include "support/log_reader.h"
#include "unit/installer/installer_rig.h"
#include "unit/installer/plan_checks.h"

namespace kestrel {
namespace {

constexpr const char* kEcoPlan = "f08db22f-d293-456a-b170-fab23d90fbac";

bool HasPlan(PowerManager& power, const char* plan) {
  std::vector<Guid> plans = Plans(power);
  return std::count(plans.begin(), plans.end(), G(plan)) == 1;
}

class InstallerRunTest : public ::testing::Test {
 protected:
  std::uint64_t Elapsed() { return rig.test.clock.NowMs() - start; }

  InstallerRig rig;
  std::uint64_t start = rig.test.clock.NowMs();
};

TEST_F(InstallerRunTest, StandAloneRestartsKestrelFromItsOwnFolderAndClosesItAboutSixSecondsLater) {
  rig.PutInstalledFiles();
  rig.RunKestrel();
  rig.Run(u"/StandAlone");

  // The old instance is closed before anything is imported.
  ASSERT_EQ(rig.kestrels.size(), 2u);
  EXPECT_EQ(rig.kestrels[0].closeReceivedAtMs, start);
  EXPECT_TRUE(HasPlan(rig.test.power, kEcoPlan));
  EXPECT_EQ(PlanName(rig.test.power, G(kEcoPlan)), u"ECO");

  // The registry editor by its full path with the file in quotation marks,
  // then Kestrel once the editor has ended.
  std::vector<StartedProgram> started = rig.Started();
  ASSERT_EQ(started.size(), 2u);
  EXPECT_EQ(started[0].program, InstallerRig::kRegedit);
  EXPECT_EQ(started[0].arguments, u"/s \"" + rig.RegPath() + u"\"");
  EXPECT_EQ(rig.regeditSawItsFile, std::vector<bool>{true});
  EXPECT_EQ(started[1].program, rig.KestrelPath());
  EXPECT_EQ(started[1].arguments, u"");
  EXPECT_EQ(started[1].startedAtMs, rig.regeditEndedAtMs);

  // 5 s wait, then the first 1 s look finds the window.
  EXPECT_EQ(rig.kestrels[1].closeReceivedAtMs, started[1].startedAtMs + 6000);
  EXPECT_EQ(rig.messaging.sendTimeouts(), (std::vector<std::uint32_t>{5000, 5000}));
  EXPECT_FALSE(rig.KestrelMutexExists());

  // Under /StandAlone the files stay; every handle was given back.
  EXPECT_TRUE(rig.FileExists(rig.IniPath()));
  EXPECT_TRUE(rig.FileExists(rig.RegPath()));
  EXPECT_EQ(rig.processes.OpenHandleCount(), 0u);
  EXPECT_EQ(rig.test.sync.OpenHandleCount(), 0u);
  EXPECT_EQ(rig.test.registry.OpenHandleCount(), 0u);
}

TEST_F(InstallerRunTest, StandAloneWithoutPlanFileStillStartsAndClosesKestrel) {
  rig.PutInstalledFiles(false, false);
  std::size_t plansBefore = Plans(rig.test.power).size();
  rig.Run(u"/StandAlone");
  EXPECT_EQ(Plans(rig.test.power).size(), plansBefore);
  ASSERT_EQ(rig.Started().size(), 1u);  // no registry file: no editor
  EXPECT_EQ(rig.Started()[0].program, rig.KestrelPath());
  ASSERT_EQ(rig.kestrels.size(), 1u);
  EXPECT_EQ(rig.kestrels[0].closeReceivedAtMs, start + 6000);
  EXPECT_EQ(rig.CloseMessages().size(), 1u);
}

TEST_F(InstallerRunTest, CommitDeletesTheFilesOnlyAfterTheRegistryEditorHasFinished) {
  rig.PutInstalledFiles();
  rig.WriteRunValue(u"\"" + rig.KestrelPath() + u"\"");
  rig.RunKestrel();
  rig.SetRegeditRunTime(8000);  // longer than any fixed pause would allow for
  rig.Run(u"/Commit");

  EXPECT_TRUE(HasPlan(rig.test.power, kEcoPlan));
  EXPECT_EQ(rig.regeditSawItsFile, std::vector<bool>{true});
  EXPECT_FALSE(rig.FileExists(rig.IniPath()));
  EXPECT_FALSE(rig.FileExists(rig.RegPath()));
  EXPECT_TRUE(rig.FileExists(rig.KestrelPath()));
  // Kestrel is restarted and left running.
  ASSERT_EQ(rig.kestrels.size(), 2u);
  EXPECT_TRUE(rig.kestrels[0].closeReceivedAtMs.has_value());
  EXPECT_FALSE(rig.kestrels[1].closeReceivedAtMs.has_value());
  EXPECT_TRUE(rig.KestrelMutexExists());
}

TEST_F(InstallerRunTest, CommitKeepsTheRegistryFileWhileTheEditorMayStillReadIt) {
  rig.PutInstalledFiles();
  rig.WriteRunValue(rig.KestrelPath());
  rig.SetRegeditRunTime(FakeRun::kForever);
  rig.Run(u"/Commit");
  EXPECT_EQ(Elapsed(), 30000u);  // the bounded wait
  EXPECT_FALSE(rig.FileExists(rig.IniPath()));
  EXPECT_TRUE(rig.FileExists(rig.RegPath()));
  EXPECT_EQ(rig.Started().size(), 2u);  // Kestrel still starts
  EXPECT_EQ(rig.processes.OpenHandleCount(), 0u);

  // An editor that cannot be started leaves the file too.
  InstallerRig noEditor;
  noEditor.PutInstalledFiles();
  noEditor.WriteRunValue(noEditor.KestrelPath());
  noEditor.processes.SetWindowsFolder(u"D:\\Elsewhere");
  noEditor.Run(u"/Commit");
  EXPECT_TRUE(noEditor.FileExists(noEditor.RegPath()));
  EXPECT_FALSE(noEditor.FileExists(noEditor.IniPath()));
}

TEST_F(InstallerRunTest, FilesAreCheckedByOpeningAndHugeOnesAreLoggedAndLeftAlone) {
  rig.PutInstalledFiles();
  rig.WriteRunValue(rig.KestrelPath());
  std::size_t plansBefore = Plans(rig.test.power).size();
  rig.test.files.PutHugeFile(rig.IniPath(), 3ull << 30);
  rig.test.files.PutHugeFile(rig.RegPath(), kMaxImportFileBytes + 1);
  rig.Run(u"/Commit");

  // Neither file was read whole, imported or deleted; Kestrel still starts.
  EXPECT_EQ(rig.test.files.wholeReads(), 0u);
  EXPECT_EQ(Plans(rig.test.power).size(), plansBefore);
  ASSERT_EQ(rig.Started().size(), 1u);
  EXPECT_EQ(rig.Started()[0].program, rig.KestrelPath());
  EXPECT_TRUE(rig.FileExists(rig.IniPath()));
  EXPECT_TRUE(rig.FileExists(rig.RegPath()));
  std::vector<std::u16string> logged = testing::LoggedTexts(rig.test.files);
  EXPECT_EQ(logged, (std::vector<std::u16string>{
                        u"電源プラン定義ファイルが大きすぎるため、取り込みませんでした(0xc0000000)",
                        u"レジストリファイルが大きすぎるため、取り込みませんでした(0x800001)"}));

  // A file of exactly the limit is imported.
  InstallerRig exact;
  exact.PutInstalledFiles();
  exact.WriteRunValue(exact.KestrelPath());
  exact.test.files.PutHugeFile(exact.RegPath(), kMaxImportFileBytes);
  exact.Run(u"/Commit");
  EXPECT_TRUE(HasPlan(exact.test.power, kEcoPlan));
  EXPECT_EQ(exact.Started().size(), 2u);
  EXPECT_TRUE(testing::LoggedTexts(exact.test.files).empty());
}

TEST_F(InstallerRunTest, UninstallOnlyClosesARunningKestrel) {
  rig.PutInstalledFiles();
  rig.WriteRunValue(rig.KestrelPath());
  FakeKestrel& kestrel = rig.RunKestrel();
  rig.Run(u"/Uninstall");
  EXPECT_EQ(kestrel.closeReceivedAtMs, start);
  EXPECT_FALSE(rig.KestrelMutexExists());
  EXPECT_TRUE(rig.Started().empty());
  EXPECT_FALSE(HasPlan(rig.test.power, kEcoPlan));
  EXPECT_TRUE(rig.FileExists(rig.IniPath()));
  EXPECT_EQ(Elapsed(), 0u);
}

// Each time the installer has looked for Kestrel's mutex, a Kestrel starts and
// takes the mutex as its single-instance test; it notes whether it found the
// name already taken (and would then have quit as a second instance).
class KestrelStartingDuringProbes : public Sync {
 public:
  explicit KestrelStartingDuringProbes(FakeSync& inner) : inner_(inner) {}

  Status CreateMutex(std::u16string_view name, SyncHandle& handle, bool& alreadyExisted) override {
    Status status = inner_.CreateMutex(name, handle, alreadyExisted);
    KestrelStarts(name);
    return status;
  }
  Status OpenMutex(std::u16string_view name, SyncHandle& handle) override {
    Status status = inner_.OpenMutex(name, handle);
    KestrelStarts(name);
    return status;
  }
  Status ReleaseMutex(SyncHandle handle) override { return inner_.ReleaseMutex(handle); }
  Status CreateEvent(bool manualReset, bool initiallySet, SyncHandle& handle) override {
    return inner_.CreateEvent(manualReset, initiallySet, handle);
  }
  Status SetEvent(SyncHandle handle) override { return inner_.SetEvent(handle); }
  Status ResetEvent(SyncHandle handle) override { return inner_.ResetEvent(handle); }
  Status StartThread(std::function<void()> body, SyncHandle& handle) override {
    return inner_.StartThread(std::move(body), handle);
  }
  Status RaiseThreadPriority(SyncHandle thread) override { return inner_.RaiseThreadPriority(thread); }
  WaitResult Wait(SyncHandle handle, std::uint32_t timeoutMs) override { return inner_.Wait(handle, timeoutMs); }
  Status Close(SyncHandle handle) override { return inner_.Close(handle); }

  std::vector<bool> kestrelSawItselfSecond;

 private:
  void KestrelStarts(std::u16string_view name) {
    if (name != u"kESTRELmUTEX") return;
    SyncHandle kestrel = 0;
    bool existed = false;
    inner_.CreateMutex(name, kestrel, existed);
    kestrelSawItselfSecond.push_back(existed);
    inner_.Close(kestrel);  // that Kestrel quits again at once
  }

  FakeSync& inner_;
};

TEST_F(InstallerRunTest, LookingForKestrelNeverMakesAStartingKestrelThinkItIsTheSecond) {
  KestrelStartingDuringProbes sync(rig.test.sync);
  Machine& base = rig.machine;
  Machine machine{base.registry, base.power, base.devices, base.clock, sync,
                  base.messaging, base.boxes, base.strings, base.files};
  InstallerPorts ports{machine, rig.profile, rig.processes};
  // Kestrel.exe is missing, so the run only looks for a Kestrel, before and
  // after its first wait.
  RunInstaller(ports, u"/StandAlone", InstallerBuild::Plinth);
  RunInstaller(ports, u"/Uninstall", InstallerBuild::Plinth);
  EXPECT_EQ(sync.kestrelSawItselfSecond, (std::vector<bool>{false, false, false}));
  EXPECT_EQ(Elapsed(), 5000u);
  EXPECT_FALSE(rig.KestrelMutexExists());
}
TEST_F(InstallerRunTest, HungOrSlowKestrelDelaysTheInstallerOnlyBoundedly) {
  FakeKestrel& hung = rig.RunKestrel();
  rig.messaging.Hang(hung.window);
  rig.Run(u"/Uninstall");
  EXPECT_EQ(Elapsed(), 5000u);

  InstallerRig slow;
  slow.PutInstalledFiles(false, false);
  slow.WriteRunValue(slow.KestrelPath());
  slow.RunKestrel(true);
  std::uint64_t slowStart = slow.test.clock.NowMs();
  slow.Run(u"/Commit");
  // It was waited for as long as the bound allows, then the new one started.
  ASSERT_EQ(slow.Started().size(), 1u);
  EXPECT_EQ(slow.Started()[0].startedAtMs, slowStart + kExitWaitMs);
}

TEST_F(InstallerRunTest, LowerCaseSwitchesOnlyFixAccessInPlinthW) {
  rig.PutInstalledFiles();
  rig.RunKestrel();
  RegKey settings;
  RegKey::Create(rig.test.registry, kHkeyLocalMachine, u"Software\\Vexa\\Kestrel\\PowerSettings", kKeyAllAccess,
                 settings);
  rig.test.registry.SetKeyAccess(settings.get(), {{AccessEntry::Kind::Allow, 0, kKeyRead, "S-1-5-32-545"}});
  auto usersMask = [&] {
    std::vector<AccessEntry> entries;
    rig.test.registry.GetKeyAccess(settings.get(), entries);
    return entries.at(0).mask;
  };

  rig.Run(u"/standalone /commit", InstallerBuild::Plinth);
  EXPECT_EQ(usersMask(), kKeyRead);
  rig.Run(u"/standalone /commit", InstallerBuild::PlinthW);
  EXPECT_EQ(usersMask(), kKeyRead | kKeyAllAccess);

  EXPECT_TRUE(rig.messaging.sent().empty());
  EXPECT_TRUE(rig.Started().empty());
  EXPECT_FALSE(HasPlan(rig.test.power, kEcoPlan));
}

}  // namespace
}  // namespace kestrel
