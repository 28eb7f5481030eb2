// Leaving the program: the exit command (50) with its confirmation on ECO
// models, the window menu's minimise and close, and the question before the Windows
// session ends.
#pragma once
#include <cstdint>
#include <optional>

#include "app/dispatch/dispatch_context.h"
#include "base/messages.h"

namespace kestrel {


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
