// A machine for installer runs: the test machine plus the profile reader, the
// fake programs (Kestrel and the registry editor) and messaging that can play
// a Kestrel whose window does not answer.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "installer/installer.h"
#include "installer/installer_ports.h"
#include "platform/emulated/ini_profile.h"
#include "support/test_machine.h"
#include "unit/installer/fake_process.h"

namespace kestrel {

// Sends with a time-out are recorded; a window marked hung never answers, so
// the send fails after the time-out has passed on the simulated clock.
class BoundedFakeMessaging : public FakeMessaging {
 public:
  explicit BoundedFakeMessaging(SimulatedClock& clock) : FakeMessaging(&clock), clock_(clock) {}

  Status SendWithTimeout(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam,
                         std::uint32_t timeoutMs, LParam& result) override;
  void Hang(WindowHandle window) { hung_ = window; }
  const std::vector<std::uint32_t>& sendTimeouts() const { return sendTimeouts_; }

 private:
  SimulatedClock& clock_;
  WindowHandle hung_ = 0;
  std::vector<std::uint32_t> sendTimeouts_;
};

// One Kestrel process as the installer sees it: its mutex and its window.
struct FakeKestrel {
  SyncHandle mutex = 0;
  WindowHandle window = 0;
  std::optional<std::uint64_t> closeReceivedAtMs;
};

class InstallerRig {
 public:
  static constexpr std::u16string_view kFolder = u"C:\\Program Files\\Vexa Kestrel\\";
  static constexpr std::u16string_view kRegedit = u"C:\\Windows\\regedit.exe";

  InstallerRig();

  std::u16string KestrelPath() const { return std::u16string(kFolder) + u"Kestrel.exe"; }
  std::u16string IniPath() const { return KestrelPath() + u".ini"; }
  std::u16string RegPath() const { return KestrelPath() + u".reg"; }

  // Kestrel.exe, its plan-definition file (one factory plan) and its registry file.
  void PutInstalledFiles(bool withIni = true, bool withReg = true);
  void WriteRunValue(std::u16string_view value);
  // A Kestrel that runs now: its mutex exists and its window answers WM_CLOSE
  // by closing (and, unless `slowExit`, releasing its mutex at once).
  FakeKestrel& RunKestrel(bool slowExit = false);
  // What the registry editor does: how long it runs; when it ends it notes
  // whether the file it was given was still there.
  void SetRegeditRunTime(std::uint64_t ms) { regeditRunMs_ = ms; }

  void Run(std::u16string_view arguments, InstallerBuild build = InstallerBuild::Plinth);

  bool FileExists(std::u16string_view path) { return test.files.Exists(path) == kSuccess; }
  bool KestrelMutexExists() { return test.sync.MutexExists(u"kESTRELmUTEX"); }
  std::vector<StartedProgram> Started() const { return processes.started(); }
  std::vector<WindowMessage> CloseMessages() const;

  TestMachine test;
  BoundedFakeMessaging messaging{test.clock};
  Machine machine{test.registry, test.power, test.devices, test.clock, test.sync,
                  messaging,     test.boxes, test.strings, test.files};
  IniProfile profile{test.files};
  FakeProcess processes{test.clock};
  InstallerPorts ports{machine, profile, processes};

  std::vector<FakeKestrel> kestrels;  // every Kestrel that ran, oldest first
  std::vector<bool> regeditSawItsFile;
  std::optional<std::uint64_t> regeditEndedAtMs;

 private:
  std::uint64_t regeditRunMs_ = 500;
};

}  // namespace kestrel
