#include "support/fake_messaging.h"

#include <algorithm>
#include <iterator>
#include <tuple>

#include "platform/text.h"

namespace kestrel {
namespace {

// SetTimer clamps the period to [USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM].
constexpr std::uint32_t kMinimumTimerMs = 10;
constexpr std::uint32_t kMaximumTimerMs = 0x7FFFFFFF;

}  // namespace

Status FakeMessaging::Post(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam) {
  if (postFailure_) {
    Status status = *postFailure_;
    postFailure_.reset();
    return status;
  }
  if (!Known(window)) return kErrorInvalidWindowHandle;
  posted_.push_back(WindowMessage{window, message, wParam, lParam});
  return kSuccess;
}

LParam FakeMessaging::Send(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam) {
  if (window == 0 || !Known(window)) return 0;
  WindowMessage sent{window, message, wParam, lParam};
  sent_.push_back(sent);
  return sendHandler_ ? sendHandler_(sent) : 0;
}

WindowHandle FakeMessaging::FindWindowByClass(std::u16string_view className) {
  for (const auto& [window, windowClass] : windows_) {
    if (EqualsFolded(windowClass, className)) return window;
  }
  return 0;
}

bool FakeMessaging::BringToForeground(WindowHandle window) {
  foregroundRequests_.push_back(window);
  return WindowExists(window);
}

std::uint32_t FakeMessaging::RegisterMessage(std::u16string_view name) {
  std::u16string key = FoldCase(name);
  auto found = registeredMessages_.find(key);
  if (found != registeredMessages_.end()) return found->second;
  auto number = static_cast<std::uint32_t>(kFirstRegisteredMessage + registeredMessages_.size());
  registeredMessages_.emplace(std::move(key), number);
  return number;
}

Status FakeMessaging::SetTimer(WindowHandle window, std::uintptr_t id, std::uint32_t ms) {
  if (!Known(window)) return kErrorInvalidWindowHandle;
  std::uint32_t period = std::clamp(ms, kMinimumTimerMs, kMaximumTimerMs);
  timers_[{window, id}] = Timer{period, Now() + period, timerOrder_++};
  timerLog_.push_back(TimerEvent{TimerEvent::Kind::Set, window, id, ms});
  return kSuccess;
}

Status FakeMessaging::KillTimer(WindowHandle window, std::uintptr_t id) {
  timerLog_.push_back(TimerEvent{TimerEvent::Kind::Kill, window, id, 0});
  return timers_.erase({window, id}) == 1 ? kSuccess : kErrorInvalidParameter;
}

WindowHandle FakeMessaging::AddWindow(std::u16string_view className) {
  WindowHandle window = nextWindow_;
  nextWindow_ += 0x10;
  windows_.emplace(window, std::u16string(className));
  return window;
}

void FakeMessaging::RemoveWindow(WindowHandle window) {
  windows_.erase(window);
  removed_.insert(window);
  std::erase_if(timers_, [window](const auto& entry) { return entry.first.first == window; });
}

bool FakeMessaging::WindowExists(WindowHandle window) const { return window != 0 && Known(window); }

std::optional<WindowMessage> FakeMessaging::PopPosted() {
  if (posted_.empty()) return std::nullopt;
  WindowMessage first = posted_.front();
  posted_.pop_front();
  return first;
}

std::vector<WindowMessage> FakeMessaging::PostedTo(WindowHandle window) const {
  std::vector<WindowMessage> matching;
  std::copy_if(posted_.begin(), posted_.end(), std::back_inserter(matching),
               [window](const WindowMessage& m) { return m.window == window; });
  return matching;
}

std::optional<std::uint32_t> FakeMessaging::TimerPeriod(WindowHandle window, std::uintptr_t id) const {
  auto found = timers_.find({window, id});
  if (found == timers_.end()) return std::nullopt;
  return found->second.period;
}

std::vector<WindowMessage> FakeMessaging::DueTimers() const {
  std::vector<WindowMessage> due;
  for (const auto& [key, timer] : timers_) {
    if (timer.due <= Now()) due.push_back(WindowMessage{key.first, kWmTimer, key.second, 0});
  }
  return due;
}

std::size_t FakeMessaging::FireTimersUntil(SimulatedClock& clock, std::uint64_t untilMs,
                                           const std::function<void(const WindowMessage&)>& dispatch) {
  std::size_t deliveries = 0;
  for (;;) {
    auto next = timers_.end();
    for (auto it = timers_.begin(); it != timers_.end(); ++it) {
      if (it->second.due > untilMs) continue;
      if (next == timers_.end() ||
          std::tie(it->second.due, it->second.order) < std::tie(next->second.due, next->second.order)) {
        next = it;
      }
    }
    if (next == timers_.end()) break;
    clock.AdvanceTo(next->second.due);
    // A late timer fires once, not once per missed period, as WM_TIMER does.
    next->second.due = clock.NowMs() + next->second.period;
    WindowMessage message{next->first.first, kWmTimer, next->first.second, 0};
    ++deliveries;
    dispatch(message);
  }
  clock.AdvanceTo(untilMs);
  return deliveries;
}

}  // namespace kestrel
