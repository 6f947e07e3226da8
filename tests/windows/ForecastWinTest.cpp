// The forecast window: its openers, its filling, its weekday names and the
// flag that tells the rest of the program whether it is in use.
#include <array>
#include <climits>
#include <string>
#include <vector>

#include "WindowsFixture.h"
#include "app/MainWindowFilling.h"
#include "app/Menu.h"
#include "core/Globals.h"
#include "framework/text/Date.h"
#include "framework/text/Text.h"
#include "framework/ui/Controls.h"
#include "windows/ForecastFilling.h"
#include "windows/ForecastWin.h"

namespace {

using testsupport::Script;
using wintest::kDegree;

std::string Label(const std::string& family, int n = 0) {
  return ForecastWin::Instance().Ctl<fw::StaticText>(n ? family + fw::Str(n) : family).Text();
}

std::vector<std::string> DayLabels() {
  std::vector<std::string> labels;
  for (int n = 1; n <= 7; ++n) labels.push_back(Label("DayLabel", n));
  return labels;
}

// "Today" and the weekdays of the six days after it, by the calendar.
std::vector<std::string> TodayAndTheNextSixDays() {
  static const std::array<const char*, 7> names = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                   "Thursday", "Friday", "Saturday"};
  std::vector<std::string> days = {"Today"};
  fw::Date day;
  for (int k = 1; k <= 6; ++k) {
    day.AddSeconds(24 * 60 * 60);
    days.push_back(names[static_cast<std::size_t>(day.DayOfWeek() - 1)]);
  }
  return days;
}

void ExpectFilledFromFullReply() {
  for (int n = 1; n <= 7; ++n) {
    const wintest::DayTexts day = wintest::ExpectedDay(n);
    EXPECT_EQ(std::vector<std::string>({Label("Fore", n), Label("Pre", n), Label("Hum", n),
                                        Label("Max", n), Label("Min", n)}),
              std::vector<std::string>({day.fore, day.pre, day.hum, day.max, day.min}))
        << "day " << n;
  }
}

class ForecastTest : public wintest::WindowsTest {
 protected:
  void OpenWithButton() { Main().Ctl<fw::PushButton>("ForecastButton").Push(); }
};

TEST_F(ForecastTest, OpenedBeforeAnyReplyItShowsTheSuffixesAndTheDaysAfterToday) {
  // The start-up made it hidden and not in use.
  ASSERT_TRUE(ForecastWin::IsLive());
  EXPECT_FALSE(ForecastWin::Instance().Visible());
  EXPECT_FALSE(Globals::ForecastWinOpen);
  for (bool menu : {false, true}) {
    SCOPED_TRACE(menu ? "menu item" : "button");
    if (menu) {
      ForecastWin::Instance().RaiseKeyDown("w", true, false);
      Menu::ForecastMenuItem().Trigger();
    } else {
      OpenWithButton();
    }
    ASSERT_TRUE(ForecastWin::IsLive());
    EXPECT_TRUE(ForecastWin::Instance().Visible());
    EXPECT_TRUE(Globals::ForecastWinOpen);
    for (int n = 1; n <= 7; ++n) {
      EXPECT_EQ(std::vector<std::string>({Label("Fore", n), Label("Pre", n), Label("Hum", n),
                                          Label("Max", n), Label("Min", n)}),
                std::vector<std::string>({"", "%", "%", " " + kDegree + "C", " " + kDegree + "C"}))
          << "day " << n;
    }
    EXPECT_EQ(DayLabels(), TodayAndTheNextSixDays());
  }
}

TEST_F(ForecastTest, DayNamesFollowTheWeekdayTheyAreCountedFrom) {
  const std::vector<std::string> fromSunday = {"Today",    "Monday", "Tuesday", "Wednesday",
                                               "Thursday", "Friday", "Saturday"};
  const std::vector<std::string> fromSaturday = {"Today",     "Sunday",   "Monday", "Tuesday",
                                                 "Wednesday", "Thursday", "Friday"};
  const std::vector<std::string> fromTuesday = {"Today",    "Wednesday", "Thursday", "Friday",
                                                "Saturday", "Sunday",    "Monday"};
  // Numbers outside the week count on round it instead of failing.
  const std::vector<std::pair<int, std::vector<std::string>>> cases = {
      {1, fromSunday}, {7, fromSaturday}, {3, fromTuesday},
      {0, fromSaturday}, {8, fromSunday}, {-6, fromSunday}};
  ForecastWin& win = ForecastWin::Instance();
  for (const auto& [weekday, expected] : cases) {
    win.ShowDayNamesAfter(weekday);
    EXPECT_EQ(DayLabels(), expected) << weekday;
  }
  for (int extreme : {INT_MIN, INT_MAX}) win.ShowDayNamesAfter(extreme);
  Globals::SetDayNames();
  EXPECT_EQ(DayLabels(), TodayAndTheNextSixDays());
}

TEST_F(ForecastTest, AReplyWhileOpenRefillsAllThirtyFiveLabels) {
  OpenWithButton();
  ASSERT_TRUE(Fetch(Script::Reply(200, wintest::FullReply())));
  ExpectFilledFromFullReply();
  // In Fahrenheit the converted values come with their letter.
  Globals::UserTempUnit = "Fahrenheit";
  ASSERT_TRUE(Fetch(Script::Reply(200, wintest::FullReply())));
  EXPECT_EQ(Label("Max", 1), "70.7 " + kDegree + "F");
  EXPECT_EQ(Label("Min", 3), "38.3 " + kDegree + "F");
}

TEST_F(ForecastTest, ClosedByKeyOrButtonItIsNotInUseAndNoReplyBringsItBack) {
  const std::vector<std::pair<const char*, void (*)()>> ways = {
      {"Command-W", [] { EXPECT_FALSE(ForecastWin::Instance().RaiseKeyDown("w", true, false)); }},
      {"close button", [] { wintest::PressCloseButton("Weather Forecast"); }}};
  for (const auto& [name, close] : ways) {
    SCOPED_TRACE(name);
    OpenWithButton();
    EXPECT_FALSE(ForecastWin::Instance().RaiseKeyDown("w", false, false));  // only a letter
    EXPECT_TRUE(Globals::ForecastWinOpen);
    close();
    EXPECT_FALSE(Globals::ForecastWinOpen);
    EXPECT_FALSE(ForecastWin::IsLive());
    ASSERT_TRUE(Fetch(Script::Reply(200, wintest::FullReply())));
    EXPECT_FALSE(ForecastWin::IsLive());
  }
  // Opened again, it comes back filled with the values on hand.
  Menu::ForecastMenuItem().Trigger();
  ExpectFilledFromFullReply();
  EXPECT_EQ(DayLabels(), TodayAndTheNextSixDays());
}

TEST_F(ForecastTest, HiddenItStaysInUseAndKeepsBeingRefilled) {
  OpenWithButton();
  Globals::WindowsHide();
  EXPECT_FALSE(ForecastWin::Instance().Visible());
  EXPECT_TRUE(Globals::ForecastWinOpen);
  ASSERT_TRUE(Fetch(Script::Reply(200, wintest::FullReply())));
  EXPECT_FALSE(ForecastWin::Instance().Visible());
  ExpectFilledFromFullReply();
}

}  // namespace
