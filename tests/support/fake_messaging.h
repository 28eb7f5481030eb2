// Window messaging for tests: windows exist once the test adds them (by class
// name), posted and sent messages are recorded for the test to inspect, and
// window timers run on simulated time: FireTimersUntil advances the clock from
// one due timer to the next and hands each WM_TIMER to the test's dispatcher.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/messaging.h"
#include "support/simulated_clock.h"

namespace kestrel {

inline constexpr std::uint32_t kFirstRegisteredMessage = 0xC000;
inline constexpr Status kErrorInvalidWindowHandle = 1400;

struct WindowMessage {
  WindowHandle window = 0;
  std::uint32_t message = 0;
  WParam wParam = 0;
  LParam lParam = 0;
  friend bool operator==(const WindowMessage&, const WindowMessage&) = default;
};

struct TimerEvent {
  enum class Kind { Set, Kill };
  Kind kind = Kind::Set;
  WindowHandle window = 0;
  std::uintptr_t id = 0;
  std::uint32_t ms = 0;  // the period of a Set
};

class FakeMessaging : public Messaging {
 public:
  // `clock` (optional) dates the timers; without it they start at time 0.
  explicit FakeMessaging(Clock* clock = nullptr) : clock_(clock) {}

  // Posting to 0 goes to the thread's queue and succeeds. Windows this fake did
  // not add are taken to exist (another fake may have made them); a window
  // removed with RemoveWindow is gone: posting to it gives
  // kErrorInvalidWindowHandle, as PostMessageW does.
  Status Post(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam) override;
  // Recorded; answered by the send handler (0 without one or for a missing window).
  LParam Send(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam) override;
  WindowHandle FindWindowByClass(std::u16string_view className) override;
  bool BringToForeground(WindowHandle window) override;
  // Numbers from 0xC000 by name, case-insensitively, like RegisterWindowMessageW.
  std::uint32_t RegisterMessage(std::u16string_view name) override;
  Status SetTimer(WindowHandle window, std::uintptr_t id, std::uint32_t ms) override;
  Status KillTimer(WindowHandle window, std::uintptr_t id) override;

  WindowHandle AddWindow(std::u16string_view className);
  // The window is destroyed: it can no longer be found or posted to, and its timers stop.
  void RemoveWindow(WindowHandle window);
  bool WindowExists(WindowHandle window) const;

  const std::deque<WindowMessage>& posted() const { return posted_; }
  std::optional<WindowMessage> PopPosted();
  std::vector<WindowMessage> PostedTo(WindowHandle window) const;
  void ClearPosted() { posted_.clear(); }
  // The next Post fails with `status` and records nothing.
  void FailNextPost(Status status) { postFailure_ = status; }

  const std::vector<WindowMessage>& sent() const { return sent_; }
  void SetSendHandler(std::function<LParam(const WindowMessage&)> handler) { sendHandler_ = std::move(handler); }
  const std::vector<WindowHandle>& foregroundRequests() const { return foregroundRequests_; }

  const std::vector<TimerEvent>& timerLog() const { return timerLog_; }
  // The period of a running timer; nullopt when it is not set.
  std::optional<std::uint32_t> TimerPeriod(WindowHandle window, std::uintptr_t id) const;
  // WM_TIMER messages of the timers due at the clock's current time.
  std::vector<WindowMessage> DueTimers() const;
  // Delivers the timers falling due up to `untilMs`, in time order, advancing
  // `clock` to each due time (and finally to `untilMs`). The dispatcher may set
  // and kill timers. Returns the number of deliveries.
  std::size_t FireTimersUntil(SimulatedClock& clock, std::uint64_t untilMs,
                              const std::function<void(const WindowMessage&)>& dispatch);

 private:
  struct Timer {
    std::uint32_t period = 0;
    std::uint64_t due = 0;
    std::uint64_t order = 0;
  };
  using TimerKey = std::pair<WindowHandle, std::uintptr_t>;

  bool Known(WindowHandle window) const { return removed_.count(window) == 0; }
  std::uint64_t Now() const { return clock_ != nullptr ? clock_->NowMs() : 0; }

  Clock* clock_;
  WindowHandle nextWindow_ = 0x10010;
  std::map<WindowHandle, std::u16string> windows_;
  std::set<WindowHandle> removed_;
  std::map<std::u16string, std::uint32_t> registeredMessages_;
  std::deque<WindowMessage> posted_;
  std::vector<WindowMessage> sent_;
  std::vector<WindowHandle> foregroundRequests_;
  std::function<LParam(const WindowMessage&)> sendHandler_;
  std::optional<Status> postFailure_;
  std::map<TimerKey, Timer> timers_;
  std::uint64_t timerOrder_ = 0;
  std::vector<TimerEvent> timerLog_;
};

}  // namespace kestrel
