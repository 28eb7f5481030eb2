// Commands 48 (the ECO mode settings dialog) and 56 (the plan settings
// sheet): one settings dialog at a time, brought forward on every further
// request; a question first when the active plan is marked, and the sheet
// refused while the outing-button utility has its settings open.
#pragma once
#include <cstdint>
#include <string_view>

#include "app/dispatch/dispatch_context.h"

namespace kestrel {

inline constexpr std::u16string_view kRoamerSettingsMutex = u"ROAMER_SETTING_WINDOW";
// lParam of a request made by message (1033, 1034) rather than by the menus.
inline constexpr LParam kRequestByMessage = -1;

class SettingsCommands {
 public:
  explicit SettingsCommands(DispatchContext& context) : context_(context) {}

  void OpenEcoSettings(LParam lParam);
  void OpenPlanSettings(LParam lParam);
  // An open settings dialog comes to the front; false when none is open.
  bool BringForward();

 private:
  // The question about the active plan; false when the user declined.
  bool ConfirmForActivePlan();
  void PrepareAnchor(LParam lParam);
  bool RoamerSettingsOpen();
  // The request came from the notification area.
  bool FromTray();

  DispatchContext& context_;
};

}  // namespace kestrel
