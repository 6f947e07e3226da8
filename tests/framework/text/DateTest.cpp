#include "framework/text/Date.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cmath>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using Fields = std::array<int, 6>;  // year, month, day, hour, minute, second

// Set field by field from the epoch, the way a cookie's expiry is read.
fw::Date Make(const Fields& f) {
  fw::Date d;
  d.SetTotalSeconds(0);
  d.SetYear(f[0]), d.SetMonth(f[1]), d.SetDay(f[2]);
  d.SetHour(f[3]), d.SetMinute(f[4]), d.SetSecond(f[5]);
  return d;
}

Fields Of(const fw::Date& d) { return {d.Year(), d.Month(), d.Day(), d.Hour(), d.Minute(), d.Second()}; }

TEST(Date, EpochAndKnownDates) {
  fw::Date epoch;
  epoch.SetTotalSeconds(0);
  EXPECT_EQ(Of(epoch), (Fields{1904, 1, 1, 0, 0, 0}));
  EXPECT_EQ(epoch.DayOfWeek(), 6);  // a Friday
  EXPECT_EQ(Make({2037, 1, 1, 0, 0, 0}).TotalSeconds(), 4197225600.0);
  const std::pair<Fields, int> cases[] = {
      {{2026, 12, 8, 23, 59, 59}, 3}, {{2000, 2, 29, 12, 0, 0}, 3}, {{1970, 1, 1, 0, 0, 0}, 5},
      {{1, 1, 1, 0, 0, 0}, 2},        {{1900, 3, 1, 6, 7, 8}, 5},   {{2024, 6, 30, 1, 2, 3}, 1},
  };
  for (const auto& [fields, dayOfWeek] : cases) {
    SCOPED_TRACE(fields[0]);
    EXPECT_EQ(Of(Make(fields)), fields);
    EXPECT_EQ(Make(fields).DayOfWeek(), dayOfWeek);
  }
}

TEST(Date, OutOfRangeFieldsCarryLikeACalendar) {
  using Setter = void (fw::Date::*)(int);
  const Setter year = &fw::Date::SetYear, month = &fw::Date::SetMonth, day = &fw::Date::SetDay;
  const std::tuple<const char*, std::vector<std::pair<Setter, int>>, Fields> cases[] = {
      {"month 13", {{month, 13}}, {2027, 1, 15, 10, 20, 30}},
      {"month 0", {{month, 0}}, {2025, 12, 15, 10, 20, 30}},
      {"month -13", {{month, -13}}, {2024, 11, 15, 10, 20, 30}},
      {"day 31 of April", {{day, 31}}, {2026, 5, 1, 10, 20, 30}},
      {"day 0", {{day, 0}}, {2026, 3, 31, 10, 20, 30}},
      {"day 31 then month 2", {{month, 1}, {day, 31}, {month, 2}}, {2026, 3, 3, 10, 20, 30}},
      {"hour 25", {{&fw::Date::SetHour, 25}}, {2026, 4, 16, 1, 20, 30}},
      {"minute -1", {{&fw::Date::SetMinute, -1}}, {2026, 4, 15, 9, 59, 30}},
      {"second 3600", {{&fw::Date::SetSecond, 3600}}, {2026, 4, 15, 11, 20, 0}},
      {"year 0", {{year, 0}}, {0, 4, 15, 10, 20, 30}},
      {"Feb 29 to a common year",
       {{year, 2024}, {month, 2}, {day, 29}, {year, 2027}},
       {2027, 3, 1, 10, 20, 30}},
  };
  for (const auto& [what, steps, expected] : cases) {
    fw::Date d = Make({2026, 4, 15, 10, 20, 30});
    for (const auto& [set, value] : steps) (d.*set)(value);
    EXPECT_EQ(Of(d), expected) << what;
  }
}

TEST(Date, ExtremeValuesNeverFail) {
  fw::Date d;
  d.SetTotalSeconds(std::nan(""));
  EXPECT_EQ(d.TotalSeconds(), 0);
  for (int v : {INT_MAX, INT_MIN}) {
    d.SetYear(v), d.SetMonth(v), d.SetDay(v), d.SetSecond(v);
    EXPECT_TRUE(std::isfinite(d.TotalSeconds()));
    EXPECT_TRUE(d.Month() >= 1 && d.Month() <= 12) << d.Month();
  }
  d.SetTotalSeconds(1e300);
  EXPECT_GT(d.Year(), 1000000);
}

TEST(Date, TotalSecondsOrdersNowAndFieldDates) {
  const fw::Date now;
  fw::Date later = now;
  later.AddSeconds(60);
  EXPECT_EQ(later.TotalSeconds() - now.TotalSeconds(), 60);
  // The current date rebuilt from its fields is the same instant, to the second.
  Fields fields = Of(now);
  EXPECT_EQ(Make(fields).TotalSeconds(), std::floor(now.TotalSeconds()));
  ++fields[4];
  EXPECT_GT(Make(fields).TotalSeconds(), now.TotalSeconds());
  EXPECT_LE(Make(fields).TotalSeconds(), later.TotalSeconds());

  const double y1937 = Make({1937, 1, 1, 0, 0, 0}).TotalSeconds(),
               y37 = Make({37, 1, 1, 0, 0, 0}).TotalSeconds();
  EXPECT_LT(y1937, now.TotalSeconds());
  EXPECT_LT(y37, y1937);
  EXPECT_LT(Make({0, 0, 1, 0, 0, 0}).TotalSeconds(), y37);  // day 1, month 0, year 0
  EXPECT_GT(Make({2037, 1, 1, 0, 0, 0}).TotalSeconds(), now.TotalSeconds());
  EXPECT_GE(fw::Date::Now().TotalSeconds(), now.TotalSeconds());
}

}  // namespace
