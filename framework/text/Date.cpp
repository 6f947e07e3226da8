#include "framework/text/Date.h"

#include <QDateTime>
#include <cmath>

namespace fw {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
// 2^53 seconds: every whole second is exact in a double, and the year
// stays well inside an int.
constexpr double kLimit = 9007199254740992.0;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  const std::int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// Days from 1970-01-01 to the given date of the proleptic Gregorian calendar
// (month 1-12; the day may be any number and carries into other months).
std::int64_t DaysFromCivil(std::int64_t y, std::int64_t m, std::int64_t d) {
  y -= m <= 2 ? 1 : 0;
  const std::int64_t era = FloorDiv(y, 400);
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468 + (d - 1);
}

void CivilFromDays(std::int64_t z, std::int64_t& y, std::int64_t& m, std::int64_t& d) {
  z += 719468;
  const std::int64_t era = FloorDiv(z, 146097);
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y = yoe + era * 400 + (m <= 2 ? 1 : 0);
}

const std::int64_t kEpochDays = DaysFromCivil(1904, 1, 1);

double Clamp(double seconds) {
  if (std::isnan(seconds)) return 0;
  if (seconds > kLimit) return kLimit;
  if (seconds < -kLimit) return -kLimit;
  return seconds;
}

}  // namespace

Date::Date() {
  const QDateTime now = QDateTime::currentDateTime();
  const QDate d = now.date();
  const QTime t = now.time();
  Join({d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()});
  total_ += t.msec() / 1000.0;
}

Date Date::Now() { return Date(); }

Date::Fields Date::Split() const {
  const auto whole = static_cast<std::int64_t>(std::floor(total_));
  const std::int64_t days = FloorDiv(whole, kSecondsPerDay);
  const std::int64_t inDay = whole - days * kSecondsPerDay;
  Fields f{};
  CivilFromDays(days + kEpochDays, f.year, f.month, f.day);
  f.hour = inDay / 3600;
  f.minute = inDay / 60 % 60;
  f.second = inDay % 60;
  return f;
}

// Fields hold values an int can carry, so none of the sums below can
// overflow; the month carries into the year before the day is counted.
void Date::Join(const Fields& f) {
  const double fraction = total_ - std::floor(total_);
  const std::int64_t year = f.year + FloorDiv(f.month - 1, 12);
  const std::int64_t month = f.month - 1 - FloorDiv(f.month - 1, 12) * 12 + 1;
  const std::int64_t days = DaysFromCivil(year, month, f.day) - kEpochDays;
  const std::int64_t seconds = days * kSecondsPerDay + f.hour * 3600 + f.minute * 60 + f.second;
  total_ = Clamp(static_cast<double>(seconds) + fraction);
}

int Date::Year() const { return static_cast<int>(Split().year); }
int Date::Month() const { return static_cast<int>(Split().month); }
int Date::Day() const { return static_cast<int>(Split().day); }
int Date::Hour() const { return static_cast<int>(Split().hour); }
int Date::Minute() const { return static_cast<int>(Split().minute); }
int Date::Second() const { return static_cast<int>(Split().second); }

int Date::DayOfWeek() const {
  const std::int64_t days =
      FloorDiv(static_cast<std::int64_t>(std::floor(total_)), kSecondsPerDay) + kEpochDays;
  // 1970-01-01 was a Thursday.
  const std::int64_t fromSunday = ((days + 4) % 7 + 7) % 7;
  return static_cast<int>(fromSunday) + 1;
}

double Date::TotalSeconds() const { return total_; }
void Date::SetTotalSeconds(double seconds) { total_ = Clamp(seconds); }
void Date::AddSeconds(double seconds) {
  if (!std::isnan(seconds)) total_ = Clamp(total_ + seconds);
}

void Date::SetYear(int year) {
  Fields f = Split();
  f.year = year;
  Join(f);
}
void Date::SetMonth(int month) {
  Fields f = Split();
  f.month = month;
  Join(f);
}
void Date::SetDay(int day) {
  Fields f = Split();
  f.day = day;
  Join(f);
}
void Date::SetHour(int hour) {
  Fields f = Split();
  f.hour = hour;
  Join(f);
}
void Date::SetMinute(int minute) {
  Fields f = Split();
  f.minute = minute;
  Join(f);
}
void Date::SetSecond(int second) {
  Fields f = Split();
  f.second = second;
  Join(f);
}

}  // namespace fw
