// A clock that moves only when a test (or the code under test, by sleeping)
// moves it. The local time is a settable base date-time plus the simulated
// time elapsed since the base was set.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/clock.h"

namespace kestrel {

class SimulatedClock : public Clock {
 public:
  // Not zero, so code that treats a zero tick count specially is not flattered.
  static constexpr std::uint64_t kStartMs = 1'000'000;

  SimulatedClock();

  std::uint64_t NowMs() override { return nowMs_; }
  LocalTime Local() override;
  // Sleeping advances the clock at once and is recorded.
  void Sleep(std::uint32_t ms) override;

  void Advance(std::uint64_t ms) { nowMs_ += ms; }
  // Moves the clock forward to `ms`; never backwards.
  void AdvanceTo(std::uint64_t ms);
  // The local time is `base` now and moves on with the clock.
  void SetLocalBase(const LocalTime& base);

  const std::vector<std::uint32_t>& sleeps() const { return sleeps_; }

 private:
  std::uint64_t nowMs_ = kStartMs;
  std::int64_t baseLocalMs_ = 0;  // milliseconds since 1970-01-01 of the base
  std::uint64_t baseNowMs_ = kStartMs;
  std::vector<std::uint32_t> sleeps_;
};

}  // namespace kestrel
