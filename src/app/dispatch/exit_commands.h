// Leaving the program: the exit command (50) with its confirmation on ECO
// models, the window menu's minimise and close, and the question before the Windows
// session ends.
#pragma once
#include <cstdint>
#include <optional>

#include "app/dispatch/dispatch_context.h"

namespace kestrel {

inline constexpr std::uint32_t kCommandExit = 50;
inline constexpr WParam kScMinimize = 0xF020;
inline constexpr WParam kScClose = 0xF060;

class ExitCommands {
 public:
  explicit ExitCommands(DispatchContext& context) : context_(context) {}

  void Exit();
  // Minimise and close become commands 52 and 50; anything else is left to
  // the default processing.
  std::optional<LParam> SysCommand(WParam command);
  // WM_QUERYENDSESSION: the user's state is kept; the answer is TRUE.
  LParam QueryEndSession();

 private:
  bool ConfirmExit();

  DispatchContext& context_;
};

}  // namespace kestrel
