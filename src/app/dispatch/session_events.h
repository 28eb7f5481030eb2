// WM_WTSSESSION_CHANGE: the console connected or disconnected, the session
// locked or unlocked. The main window keeps whether the user is present; the
// automatic switch pauses while the console is away, the settings are saved
// when the user leaves, a boost ends, and the ECO lamp follows.
#pragma once
#include <cstdint>

#include "app/dispatch/dispatch_context.h"

namespace kestrel {


inline constexpr std::uint32_t kUnlockRepaintMs = 2000;

class SessionEvents {
 public:
  explicit SessionEvents(DispatchContext& context) : context_(context) {}

  void Changed(WParam event);

 private:
  void AfterChange();

  DispatchContext& context_;
};

}  // namespace kestrel
