// The ECO button's lamp as the program keeps it: the lamp state, the driver
// handle that the lamp worker owns, the lamp lock "_qlb_mutex_" around every
// driver access, and the lamp operations of the switch, the dialogs and the
// main window (start-up, start-up check, session changes, resume).
//
// The worker opens the driver and creates the lock, then only wakes on its
// event until the program stops; every lamp write runs on the main thread.
// The handle and the lock are published to the main thread through atomics;
// the lamp state and the session flags are touched by the main thread only.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>

#include "base/error_reporter.h"
#include "eco/lamp_driver.h"
#include "platform/machine.h"

namespace kestrel {

inline constexpr std::u16string_view kLampLockName = u"_qlb_mutex_";
inline constexpr std::u16string_view kDefaultLampDriverPath = u"\\\\.\\VEXAECFILTER";
inline constexpr std::uint32_t kLampLockWaitMs = 3000;
// How long the worker waits for the lamp lock once woken.
inline constexpr std::uint32_t kLampWorkerWaitMs = 1000;

class EcoLamp {
 public:
  EcoLamp(Machine& machine, ErrorReporter& reporter);

  // The lamp value of the current mode, or nothing while no plan is current.
  void SetCurrentLampSource(std::function<std::optional<std::uint32_t>()> source) {
    currentLamp_ = std::move(source);
  }

  // The lamp worker's life: opens the driver named by LedCtrlDrv and creates
  // the lamp lock, answers wake-ups of `wakeEvent` while `running` holds, and
  // closes both. Runs once; a later call returns at once.
  void RunWorker(SyncHandle wakeEvent, const std::function<bool()>& running);
  // Its three stages, for callers that drive the worker step by step.
  bool OpenDriver();
  void ServeWakeUps(SyncHandle wakeEvent, const std::function<bool()>& running);
  void CloseDriver();

  // The worker started and the driver is open.
  bool present() const { return workerStarted_.load() && driverOpen_.load(); }
  bool workerStarted() const { return workerStarted_.load(); }
  std::uint32_t state() const { return state_; }

  // Shows `value` (0-3) under the lamp lock; skipped when the lamp is absent
  // or the lock stays busy for 3000 ms.
  void SetToValue(std::uint32_t value);
  // The lamp of the current mode, when a plan is current.
  void SetToCurrentMode();
  // Waits 1000 ms, then the lamp of the current mode.
  void DelayedUpdate();
  // Main window creation in ECO mode: 200 ms, the delayed update, 300 ms.
  void StartupUpdate();
  // The start-up check (timer 10110): corrects a lamp that does not show the
  // lamp state.
  void CheckShowsState();

  // The session went away (locked, or not the console session) or came back.
  void SessionChanged(bool unlocked, bool active);
  // After a resume (the main window already waited 1000 ms). `sessionActive`
  // and `sessionUnlocked` are the main window's session flags.
  void Resumed(bool sessionActive, bool sessionUnlocked);

 private:
  // Runs `access` with the open driver under the lamp lock; false when the
  // lamp is absent or the lock stayed busy.
  bool WithLock(const std::function<void(DeviceHandle)>& access);
  bool PasswordOnWake();
  void SendRestore();

  Machine& machine_;
  ErrorReporter& reporter_;
  std::function<std::optional<std::uint32_t>()> currentLamp_;

  std::atomic<bool> workerStarted_{false};
  std::atomic<bool> workerDone_{false};
  std::atomic<bool> driverOpen_{false};
  std::atomic<DeviceHandle> driver_{0};
  std::atomic<SyncHandle> lock_{0};

  std::uint32_t state_ = kLampStateUnknown;
  bool parked_ = false;
  bool resumePending_ = false;
};

}  // namespace kestrel
