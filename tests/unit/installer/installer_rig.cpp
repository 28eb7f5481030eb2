#include "unit/installer/installer_rig.h"

#include "installer/kestrel_instance.h"

namespace kestrel {

Status BoundedFakeMessaging::SendWithTimeout(WindowHandle window, std::uint32_t message, WParam wParam,
                                             LParam lParam, std::uint32_t timeoutMs, LParam& result) {
  sendTimeouts_.push_back(timeoutMs);
  if (window != 0 && window == hung_) {
    clock_.Advance(timeoutMs);
    return kErrorTimeout;
  }
  return FakeMessaging::SendWithTimeout(window, message, wParam, lParam, timeoutMs, result);
}

InstallerRig::InstallerRig() {
  processes.SetOwnProgramPath(std::u16string(kFolder) + u"Plinth.exe");
  processes.Install(KestrelPath(), [this](std::u16string_view) {
    RunKestrel();
    FakeRun run;
    run.runsForMs = FakeRun::kForever;
    return run;
  });
  processes.Install(std::u16string(kRegedit), [this](std::u16string_view arguments) {
    FakeRun run;
    run.runsForMs = regeditRunMs_;
    std::u16string expected = u"/s \"" + RegPath() + u"\"";
    run.atEnd = [this, given = std::u16string(arguments), expected] {
      regeditSawItsFile.push_back(given == expected && FileExists(RegPath()));
      regeditEndedAtMs = test.clock.NowMs();
    };
    return run;
  });
  messaging.SetSendHandler([this](const WindowMessage& sent) -> LParam {
    if (sent.message != kWmClose) return 0;
    for (FakeKestrel& kestrel : kestrels) {
      if (kestrel.window != sent.window || kestrel.closeReceivedAtMs) continue;
      kestrel.closeReceivedAtMs = test.clock.NowMs();
      messaging.RemoveWindow(kestrel.window);
      if (kestrel.mutex != 0) test.sync.Close(kestrel.mutex);
    }
    return 0;
  });
}

void InstallerRig::PutInstalledFiles(bool withIni, bool withReg) {
  test.files.PutFile(KestrelPath(), "MZ");
  if (withIni) {
    test.files.PutFile(IniPath(),
                       "[PLANS_INFO]\nCOUNT=1\n"
                       "[PLAN_0]\nGUID=f08db22f-d293-456a-b170-fab23d90fbac\nBASE_GUID=@SAVER\nNAME=ECO\n"
                       "[ALIASES]\nSAVER=a1841308-3541-4fab-bc81-f71556f20b4a\n");
  }
  if (withReg) test.files.PutFile(RegPath(), "REGEDIT4\n");
}

void InstallerRig::WriteRunValue(std::u16string_view value) {
  RegKey run;
  RegKey::Create(test.registry, kHkeyLocalMachine, u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
                 kKeyAllAccess, run);
  run.WriteString(u"Kestrel", value);
}

FakeKestrel& InstallerRig::RunKestrel(bool slowExit) {
  FakeKestrel kestrel;
  bool existed = false;
  test.sync.CreateMutex(u"kESTRELmUTEX", kestrel.mutex, existed);
  // A Kestrel that is slow to exit keeps its mutex past the end of the test.
  if (slowExit) test.sync.HoldMutex(u"kESTRELmUTEX", 7);
  kestrel.window = messaging.AddWindow(u"Kestrel");
  kestrels.push_back(kestrel);
  return kestrels.back();
}

void InstallerRig::Run(std::u16string_view arguments, InstallerBuild build) { RunInstaller(ports, arguments, build); }

std::vector<WindowMessage> InstallerRig::CloseMessages() const {
  std::vector<WindowMessage> closes;
  for (const WindowMessage& sent : messaging.sent()) {
    if (sent.message == kWmClose) closes.push_back(sent);
  }
  return closes;
}

}  // namespace kestrel
