#include "framework/text/Date.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Fields {
  int year, month, day, hour, minute, second;
};

// Set field by field from the epoch, the way a cookie's expiry is read.
fw::Date Make(const Fields& f) {
  fw::Date d;
  d.SetTotalSeconds(0);
  d.SetYear(f.year);
  d.SetMonth(f.month);
  d.SetDay(f.day);
  d.SetHour(f.hour);
  d.SetMinute(f.minute);
  d.SetSecond(f.second);
  return d;
}

void ExpectFields(const fw::Date& d, const Fields& f, const std::string& what) {
  EXPECT_EQ(d.Year(), f.year) << what;
  EXPECT_EQ(d.Month(), f.month) << what;
  EXPECT_EQ(d.Day(), f.day) << what;
  EXPECT_EQ(d.Hour(), f.hour) << what;
  EXPECT_EQ(d.Minute(), f.minute) << what;
  EXPECT_EQ(d.Second(), f.second) << what;
}

TEST(Date, EpochAndKnownDates) {
  fw::Date d;
  d.SetTotalSeconds(0);
  ExpectFields(d, {1904, 1, 1, 0, 0, 0}, "epoch");
  EXPECT_EQ(d.DayOfWeek(), 6);  // a Friday
  EXPECT_EQ(Make({2037, 1, 1, 0, 0, 0}).TotalSeconds(), 4197225600.0);

  struct Case {
    Fields f;
    int dayOfWeek;
  };
  const std::vector<Case> cases = {
      {{2026, 12, 8, 23, 59, 59}, 3}, {{2000, 2, 29, 12, 0, 0}, 3}, {{1970, 1, 1, 0, 0, 0}, 5},
      {{1, 1, 1, 0, 0, 0}, 2},        {{1900, 3, 1, 6, 7, 8}, 5},   {{2024, 6, 30, 1, 2, 3}, 1},
  };
  for (const auto& c : cases) {
    const fw::Date made = Make(c.f);
    const std::string what = std::to_string(c.f.year) + "-" + std::to_string(c.f.month) + "-" + std::to_string(c.f.day);
    ExpectFields(made, c.f, what);
    EXPECT_EQ(made.DayOfWeek(), c.dayOfWeek) << what;
  }
}

TEST(Date, OutOfRangeFieldsCarryLikeACalendar) {
  using Setter = void (fw::Date::*)(int);
  const Setter year = &fw::Date::SetYear, month = &fw::Date::SetMonth, day = &fw::Date::SetDay;
  struct Case {
    const char* what;
    std::vector<std::pair<Setter, int>> steps;
    Fields expected;
  };
  const std::vector<Case> cases = {
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
      {"Feb 29 to a common year", {{year, 2024}, {month, 2}, {day, 29}, {year, 2027}}, {2027, 3, 1, 10, 20, 30}},
  };
  for (const auto& c : cases) {
    fw::Date d = Make({2026, 4, 15, 10, 20, 30});
    for (const auto& [set, value] : c.steps) (d.*set)(value);
    ExpectFields(d, c.expected, c.what);
  }
}

TEST(Date, ExtremeValuesNeverFail) {
  fw::Date d;
  d.SetTotalSeconds(std::nan(""));
  EXPECT_EQ(d.TotalSeconds(), 0);
  for (int v : {INT_MAX, INT_MIN}) {
    d.SetYear(v);
    d.SetMonth(v);
    d.SetDay(v);
    d.SetSecond(v);
    EXPECT_TRUE(std::isfinite(d.TotalSeconds()));
    EXPECT_GE(d.Month(), 1);
    EXPECT_LE(d.Month(), 12);
  }
  d.SetTotalSeconds(1e300);
  EXPECT_GT(d.Year(), 1000000);
}

TEST(Date, TotalSecondsOrdersNowAndFieldDates) {
  const fw::Date now;
  fw::Date later = now;
  later.AddSeconds(60);
  EXPECT_EQ(later.TotalSeconds() - now.TotalSeconds(), 60);
  EXPECT_LT(now.TotalSeconds(), later.TotalSeconds());

  // The current date rebuilt from its fields is the same instant, to the second.
  const fw::Date rebuilt = Make({now.Year(), now.Month(), now.Day(), now.Hour(), now.Minute(), now.Second()});
  EXPECT_EQ(rebuilt.TotalSeconds(), std::floor(now.TotalSeconds()));
  const fw::Date nextMinute =
      Make({now.Year(), now.Month(), now.Day(), now.Hour(), now.Minute() + 1, now.Second()});
  EXPECT_GT(nextMinute.TotalSeconds(), now.TotalSeconds());
  EXPECT_LE(nextMinute.TotalSeconds(), later.TotalSeconds());

  const double y1937 = Make({1937, 1, 1, 0, 0, 0}).TotalSeconds();
  const double y37 = Make({37, 1, 1, 0, 0, 0}).TotalSeconds();
  const double y0 = Make({0, 0, 1, 0, 0, 0}).TotalSeconds();  // day 1, month 0, year 0
  EXPECT_LT(y1937, now.TotalSeconds());
  EXPECT_LT(y37, y1937);
  EXPECT_LT(y0, y37);
  EXPECT_GT(Make({2037, 1, 1, 0, 0, 0}).TotalSeconds(), now.TotalSeconds());
  EXPECT_GE(fw::Date::Now().TotalSeconds(), now.TotalSeconds());
}

}  // namespace
