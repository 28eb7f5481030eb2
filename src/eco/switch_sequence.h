// The mode-switch sequence a press of the ECO button (or the hot key) starts,
// and the mode-switch window's procedure that carries it: the mode table, the
// mode shown, the 3-second timer, and the activation the sequence ends in.
//
// Three-mode model: the first press shows the current mode; every further
// press within 3 s steps to the next bound mode; 3 s after the last press the
// shown mode is activated if it is not the one the sequence started from.
// Two-mode model: the first press switches at once to the other mode and shows
// it as switched; a press within 3 s flips the shown mode (pending), and 3 s
// after the last press that mode is activated and shown for another 3 s.
//
// The state is the program's, not the window's: it lives from one window to
// the next, as the window procedure's statics would.
#pragma once
#include <cstdint>

#include "eco/eco_context.h"
#include "eco/eco_lamp.h"
#include "eco/mode_display_host.h"
#include "eco/mode_table.h"
#include "eco/playback_warning.h"

namespace kestrel {

enum class SwitchPhase : std::uint8_t { Switched, Pending };

// What the window shows.
struct ModeDisplayState {
  EcoModel model = EcoModel::None;
  ModeTable table;
  // Three-mode model: the selected mode (0 when the active plan is bound to
  // no mode); two-mode model: the shown mode (1 or 3).
  std::uint32_t mode = kNoMode;
  SwitchPhase phase = SwitchPhase::Switched;
};

class ModeSwitchSequence {
 public:
  ModeSwitchSequence(EcoContext& context, EcoLamp& lamp, ModeDisplayHost& host, PlaybackWarning& warning)
      : context_(context), lamp_(lamp), host_(host), warning_(warning) {}

  // A press: opens the window, or tells the open window (1341) to step on.
  void Start();

  // The window procedure. OnCreate false refuses the window (-1 from WM_CREATE).
  bool OnCreate(WindowHandle window);
  void OnPress(WindowHandle window);
  void OnTimer(WindowHandle window);
  ModeDisplayState displayState() const;

  WindowHandle openWindow() const { return openWindow_; }
  bool timerRunning() const { return timerRunning_; }

 private:
  bool CreateThreeModes(WindowHandle window);
  bool CreateTwoModes(WindowHandle window);
  void TimerThreeModes(WindowHandle window);
  void TimerTwoModes(WindowHandle window);
  void ShowBrokenBindingBox();
  bool StartTimer(WindowHandle window);
  void Close(WindowHandle window);
  EcoModel model() { return context_.options().model; }

  EcoContext& context_;
  EcoLamp& lamp_;
  ModeDisplayHost& host_;
  PlaybackWarning& warning_;

  ModeTable table_;
  std::uint32_t startMode_ = kNoMode;    // three-mode
  std::uint32_t shownMode_ = kNoMode;    // three-mode: selected; two-mode: shown
  std::uint32_t appliedMode_ = kNoMode;  // two-mode
  SwitchPhase phase_ = SwitchPhase::Switched;
  Guid previousPlan_;                    // two-mode: active when the window opened
  bool timerRunning_ = false;
  WindowHandle openWindow_ = 0;
  bool boxOpen_ = false;
};

}  // namespace kestrel
