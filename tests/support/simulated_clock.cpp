#include "support/simulated_clock.h"

namespace kestrel {
namespace {

constexpr std::int64_t kMsPerDay = 86'400'000;

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
std::int64_t DaysFromCivil(int year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const int yearOfEra = static_cast<int>(year - era * 400);
  const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

void CivilFromDays(std::int64_t days, int& year, int& month, int& day) {
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const int dayOfEra = static_cast<int>(days - era * 146097);
  const int yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int shiftedMonth = (5 * dayOfYear + 2) / 153;
  day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
  month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
  year = static_cast<int>(yearOfEra + era * 400) + (month <= 2 ? 1 : 0);
}

std::int64_t ToEpochMs(const LocalTime& t) {
  return DaysFromCivil(t.year, t.month, t.day) * kMsPerDay + ((t.hour * 60LL + t.minute) * 60LL + t.second) * 1000LL +
         t.milliseconds;
}

}  // namespace

SimulatedClock::SimulatedClock() { SetLocalBase(LocalTime{2024, 4, 1, 9, 0, 0, 0}); }

LocalTime SimulatedClock::Local() {
  std::int64_t ms = baseLocalMs_ + static_cast<std::int64_t>(nowMs_ - baseNowMs_);
  std::int64_t days = ms / kMsPerDay;
  std::int64_t inDay = ms % kMsPerDay;
  if (inDay < 0) {
    inDay += kMsPerDay;
    --days;
  }
  LocalTime t;
  CivilFromDays(days, t.year, t.month, t.day);
  t.hour = static_cast<int>(inDay / 3'600'000);
  t.minute = static_cast<int>(inDay / 60'000 % 60);
  t.second = static_cast<int>(inDay / 1000 % 60);
  t.milliseconds = static_cast<int>(inDay % 1000);
  return t;
}

void SimulatedClock::Sleep(std::uint32_t ms) {
  sleeps_.push_back(ms);
  nowMs_ += ms;
}

void SimulatedClock::AdvanceTo(std::uint64_t ms) {
  if (ms > nowMs_) nowMs_ = ms;
}

void SimulatedClock::SetLocalBase(const LocalTime& base) {
  baseLocalMs_ = ToEpochMs(base);
  baseNowMs_ = nowMs_;
}

}  // namespace kestrel
