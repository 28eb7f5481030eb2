#include "eco/eco_lamp.h"

#include "base/registry_paths.h"
#include "base/registry_string.h"
#include "base/string_ids.h"
#include "eco/device_word.h"
#include "platform/owned_handle.h"
#include "power/plan_ids.h"

namespace kestrel {
namespace {


constexpr std::uint32_t kStartupLeadMs = 200;
constexpr std::uint32_t kStartupTailMs = 300;
constexpr std::uint32_t kDelayedUpdateMs = 1000;
constexpr std::uint32_t kUnlockSettleMs = 2000;
constexpr std::uint32_t kResumeSettleMs = 1000;

// "Require a password on wake-up", a setting of the plan itself (no subgroup).
constexpr Guid kNoSubgroup = GuidLiteral("fea3413e-7e05-4911-9a71-700331f1c294");
constexpr Guid kPasswordOnWake = GuidLiteral("0e796bdb-100d-47d6-a2d5-f7d2daa51f51");

}  // namespace

EcoLamp::EcoLamp(Machine& machine, ErrorReporter& reporter) : machine_(machine), reporter_(reporter) {}

void EcoLamp::RunWorker(SyncHandle wakeEvent, const std::function<bool()>& running) {
  if (workerDone_.exchange(true)) return;
  if (!OpenDriver()) return;
  ServeWakeUps(wakeEvent, running);
  CloseDriver();
}

bool EcoLamp::OpenDriver() {
  workerStarted_.store(true);
  std::u16string path = ReadRegistryString(machine_.registry, reporter_, kHkeyLocalMachine, kKestrelKey,
                                           u"LedCtrlDrv", kDefaultLampDriverPath);
  if (path.empty()) return false;  // the lamp is switched off by configuration
  OwnedDevice driver;
  if (OpenOwnedDevice(machine_.devices, path, driver) != kSuccess) {
    reporter_.ReportCode(kStringDriverOpenFailed, 0);
    return false;
  }
  OwnedSync lock;
  bool existed = false;
  if (Status status = CreateOwnedMutex(machine_.sync, kLampLockName, lock, existed); status != kSuccess) {
    reporter_.ReportCode(kStringMutexFailed, status);
    return false;
  }
  // From here the worker's CloseDriver closes both.
  driver_.store(driver.release());
  lock_.store(lock.release());
  driverOpen_.store(true);
  return true;
}

void EcoLamp::ServeWakeUps(SyncHandle wakeEvent, const std::function<bool()>& running) {
  SyncHandle lock = lock_.load();
  while (running()) {
    // The worker has no period: it sleeps until a lamp access or the stop
    // wakes it.
    WaitResult woken = machine_.sync.Wait(wakeEvent, kInfinite);
    if (woken != WaitResult::Signaled || !running()) break;
    WaitResult held = machine_.sync.Wait(lock, kLampWorkerWaitMs);
    if (held == WaitResult::Failed) break;
    // A lock busy with a lamp write is no reason to stop: the wake-up is
    // served on the next turn, and the handle in use stays open.
    if (held == WaitResult::Timeout) continue;
    machine_.sync.ReleaseMutex(lock);
    machine_.sync.ResetEvent(wakeEvent);
  }
}

void EcoLamp::CloseDriver() {
  if (!driverOpen_.exchange(false)) return;
  SyncHandle lock = lock_.load();
  // No new access starts now; wait for one in progress before closing. If it
  // does not finish, the handles stay open until the process ends.
  if (!Acquired(machine_.sync.Wait(lock, kLampLockWaitMs))) return;
  OwnedSync ownedLock(machine_.sync, lock);  // closed last, after its release
  OwnedDevice driver(machine_.devices, driver_.load());
  driver.Reset();
  machine_.sync.ReleaseMutex(lock);
}

bool EcoLamp::WithLock(const std::function<void(DeviceHandle)>& access) {
  if (!present()) return false;
  SyncHandle lock = lock_.load();
  if (!Acquired(machine_.sync.Wait(lock, kLampLockWaitMs))) return false;
  bool open = driverOpen_.load();
  if (open) access(driver_.load());
  machine_.sync.ReleaseMutex(lock);
  return open;
}

void EcoLamp::SetToValue(std::uint32_t value) {
  WithLock([&](DeviceHandle driver) {
    if (!LampCodeOf(value)) return;
    state_ = value;
    WriteLamp(machine_.devices, machine_.clock, driver, value);
  });
}

void EcoLamp::SetToCurrentMode() {
  std::optional<std::uint32_t> lamp = currentLamp_ ? currentLamp_() : std::nullopt;
  if (lamp) SetToValue(*lamp);
}

void EcoLamp::DelayedUpdate() {
  machine_.clock.Sleep(kDelayedUpdateMs);
  SetToCurrentMode();
}

void EcoLamp::StartupUpdate() {
  machine_.clock.Sleep(kStartupLeadMs);
  DelayedUpdate();
  machine_.clock.Sleep(kStartupTailMs);
}

void EcoLamp::CheckShowsState() {
  if (!workerStarted_.load()) {
    reporter_.ReportCode(kStringLampCheckWithoutWorker, 0);
    return;
  }
  SyncHandle lock = lock_.load();
  // The check goes on when the lock stays busy; it only releases what it took.
  bool held = lock != 0 && Acquired(machine_.sync.Wait(lock, kLampLockWaitMs));
  if (driverOpen_.load()) {
    DeviceHandle driver = driver_.load();
    std::vector<std::uint8_t> status(4);
    Status result = machine_.devices.Control(driver, kLampCheckStatus, DeviceWord(0), status);
    std::optional<std::uint32_t> shown = ReadDeviceWord(status);
    if (result != kSuccess || !shown) {
      reporter_.ReportCode(kStringLampStatusReadFailed, result);
    } else if (LampValueOfStatus(*shown) != state_) {
      if (!LampCodeOf(state_)) {
        reporter_.ReportCode(kStringLampCorrectionFailed, state_);
      } else {
        WriteLamp(machine_.devices, machine_.clock, driver, state_);
      }
    }
  }
  if (held) machine_.sync.ReleaseMutex(lock);
}

void EcoLamp::SendRestore() {
  WithLock([&](DeviceHandle driver) {
    std::vector<std::uint8_t> ignored(4);
    machine_.devices.Control(driver, kLampRestore, {}, ignored);
  });
}

void EcoLamp::SessionChanged(bool unlocked, bool active) {
  if (!unlocked || !active) {
    if (parked_) return;
    if (!resumePending_) state_ = kLampStateAway;
    parked_ = true;
    return;
  }
  if (state_ == kLampStateAway) SendRestore();
  machine_.clock.Sleep(kUnlockSettleMs);
  DelayedUpdate();
  parked_ = false;
  resumePending_ = false;
}

void EcoLamp::Resumed(bool sessionActive, bool sessionUnlocked) {
  bool password = false;
  if (sessionActive) {
    password = PasswordOnWake();
    state_ = kLampStateResumed;
    resumePending_ = true;
    SendRestore();
  }
  machine_.clock.Sleep(kResumeSettleMs);
  if (sessionUnlocked && sessionActive && !password) {
    DelayedUpdate();
    resumePending_ = false;
  }
}

bool EcoLamp::PasswordOnWake() {
  Guid active;
  if (Status status = machine_.power.GetActivePlan(active); status != kSuccess) {
    reporter_.ReportCode(kStringGetActivePlanFailed, status);
    return false;
  }
  SystemPowerStatus power;
  if (Status status = machine_.power.GetSystemPowerStatus(power); status != kSuccess) {
    reporter_.ReportCode(kStringPowerStatusFailed, status);
    return false;
  }
  std::uint32_t value = 0;
  Status status = kErrorNotSupported;
  if (power.acLineStatus == 1) {
    status = machine_.power.ReadAcValueIndex(active, kNoSubgroup, kPasswordOnWake, value);
  } else if (power.acLineStatus == 0) {
    status = machine_.power.ReadDcValueIndex(active, kNoSubgroup, kPasswordOnWake, value);
  }
  return status == kSuccess && value != 0;
}

}  // namespace kestrel
