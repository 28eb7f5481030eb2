// The TV/DVD warning of the two-mode model: switching to the low-power plan
// (GUID_L) tells the user that video may not play smoothly there and
// recommends the video plan (GUID_H), until the user ticks "do not show
// again". At most one warning is open; a second request brings it forward.
#pragma once
#include <cstdint>
#include <string>

#include "eco/eco_context.h"

namespace kestrel {

class PlaybackWarning;

// The dialog itself (a task dialog with a verification box and a timer),
// shown modally; it reports its notifications to the warning.
class PlaybackWarningDialog {
 public:
  virtual ~PlaybackWarningDialog() = default;
  virtual void Show(WindowHandle owner, std::u16string_view caption, std::u16string_view content,
                    std::u16string_view verification, PlaybackWarning& events) = 0;
};

inline constexpr std::uint32_t kWarningClickPeriodMs = 30000;

class PlaybackWarning {
 public:
  // ClickButton: TDM_CLICK_BUTTON with button id 0, every 30 s the dialog is open.
  enum class TimerAction { None, BringToFront, ClickButton };

  PlaybackWarning(EcoContext& context, PlaybackWarningDialog& dialog) : context_(context), dialog_(dialog) {}

  // Whether a switch to `plan` warns: the model has the warning, the user has
  // not turned it off (PwrChangeDlg reads 1) and `plan` is GUID_L.
  bool WarnsFor(const Guid& plan);

  // Shows the warning unless `suppress` is set or one is already open (that
  // one comes to the front at its next timer tick). Returns when it closes.
  void Show(WindowHandle owner, bool suppress);

  // Notifications of the dialog. The dialog unchecks its box when created.
  void Created();
  void VerificationClicked(bool checked);
  // A timer tick, `elapsedMs` since the count last started; the dialog
  // restarts the count after any action other than None.
  TimerAction Tick(std::uint32_t elapsedMs);
  // OK was pressed: the choice is stored and the dialog closes.
  void ButtonClicked();

  bool open() const { return open_; }

 private:
  std::u16string PlanName(const Guid& plan);

  EcoContext& context_;
  PlaybackWarningDialog& dialog_;
  bool open_ = false;
  bool bringToFront_ = false;
  std::uint32_t showAgain_ = 1;
};

}  // namespace kestrel
