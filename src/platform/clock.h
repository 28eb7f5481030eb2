// Time port: a monotonic millisecond clock, the local wall-clock time and
// sleeping. Tests drive a simulated clock, so waits cost them nothing.
#pragma once
#include <cstdint>

namespace kestrel {

struct LocalTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int milliseconds = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::uint64_t NowMs() = 0;  // monotonic, like GetTickCount64
  virtual LocalTime Local() = 0;      // GetLocalTime
  virtual void Sleep(std::uint32_t ms) = 0;
};

}  // namespace kestrel
