// The forecast window: its openers, its filling, its weekday names and the
// flag that tells the rest of the program whether it is in use.
#include <array>
#include <climits>

#include "WindowsFixture.h"
#include "app/MainWindowFilling.h"
#include "framework/text/Date.h"
#include "framework/text/Text.h"
#include "framework/ui/PushButton.h"
#include "framework/ui/StaticText.h"
#include "windows/ForecastFilling.h"
#include "windows/ForecastWin.h"

namespace {

using wintest::kDegree;

std::string Label(const std::string& family, int n) {
  return ForecastWin::Instance().Ctl<StaticText>(family + fw::Str(n)).Text();
}
std::vector<std::string> Day(int n) {
  return {Label("Fore", n), Label("Pre", n), Label("Hum", n), Label("Max", n), Label("Min", n)};
}

std::string DayLabels() {
  std::string labels = Label("DayLabel", 1);
  for (int n = 2; n <= 7; ++n) labels += " " + Label("DayLabel", n);
  return labels;
}

// "Today" and the weekdays of the six days after it, by the calendar.
std::string TodayAndTheNextSixDays() {
  static const std::array<const char*, 7> names = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                   "Thursday", "Friday", "Saturday"};
  std::string days = "Today";
  fw::Date day;
  for (int k = 1; k <= 6; ++k) {
    day.AddSeconds(24 * 60 * 60);
    days += std::string(" ") + names[static_cast<std::size_t>(day.DayOfWeek() - 1)];
  }
  return days;
}

void ExpectFilledFromFullReply() {
  for (int n = 1; n <= 7; ++n) EXPECT_EQ(Day(n), wintest::ExpectedDay(n)) << "day " << n;
}

class ForecastTest : public wintest::WindowsTest {
 protected:
  void OpenWithButton() { Main().Ctl<fw::PushButton>("ForecastButton").Push(); }
};

TEST_F(ForecastTest, DayNamesFollowTheWeekdayTheyAreCountedFrom) {
  const std::string fromSunday = "Today Monday Tuesday Wednesday Thursday Friday Saturday";
  const std::string fromSaturday = "Today Sunday Monday Tuesday Wednesday Thursday Friday";
  // Numbers outside the week count on round it instead of failing.
  const std::vector<std::pair<int, std::string>> cases = {
      {1, fromSunday},   {7, fromSaturday}, {3, "Today Wednesday Thursday Friday Saturday Sunday Monday"},
      {0, fromSaturday}, {8, fromSunday},   {-6, fromSunday}};
  ForecastWin& win = ForecastWin::Instance();
  for (const auto& [weekday, expected] : cases) {
    win.ShowDayNamesAfter(weekday);
    EXPECT_EQ(DayLabels(), expected) << weekday;
  }
  for (int extreme : {INT_MIN, INT_MAX}) win.ShowDayNamesAfter(extreme);
  Globals::SetDayNames();
  EXPECT_EQ(DayLabels(), TodayAndTheNextSixDays());
}

TEST_F(ForecastTest, OpenedBeforeAnyReplyItShowsTheSuffixesAndAReplyRefillsAllThirtyFiveLabels) {
  OpenWithButton();
  const std::string degrees = " " + kDegree + "C";
  for (int n = 1; n <= 7; ++n)
    EXPECT_EQ(Day(n), std::vector<std::string>({"", "%", "%", degrees, degrees})) << "day " << n;
  EXPECT_EQ(DayLabels(), TodayAndTheNextSixDays());
  ASSERT_TRUE(FetchFull());
  ExpectFilledFromFullReply();
  // In Fahrenheit the converted values come with their letter.
  Globals::UserTempUnit = "Fahrenheit";
  ASSERT_TRUE(FetchFull());
  EXPECT_EQ(Label("Max", 1) + " | " + Label("Min", 3), "70.7 " + kDegree + "F | 38.3 " + kDegree + "F");
}

TEST_F(ForecastTest, ClosedByKeyOrButtonItIsNotInUseAndNoReplyBringsItBack) {
  // The start-up made it hidden and not in use.
  ASSERT_TRUE(ForecastWin::IsLive());
  EXPECT_FALSE(ForecastWin::Instance().Visible() || Globals::ForecastWinOpen);
  const std::vector<std::pair<const char*, void (*)()>> ways = {
      {"Command-W", [] { EXPECT_FALSE(ForecastWin::Instance().RaiseKeyDown("w", true, false)); }},
      {"close button", [] { wintest::PressCloseButton("Weather Forecast"); }}};
  for (const auto& [name, close] : ways) {
    SCOPED_TRACE(name);
    OpenWithButton();
    EXPECT_TRUE(ForecastWin::Instance().Visible() && Globals::ForecastWinOpen);
    EXPECT_FALSE(ForecastWin::Instance().RaiseKeyDown("w", false, false));  // only a letter
    close();
    EXPECT_FALSE(Globals::ForecastWinOpen);
    EXPECT_FALSE(ForecastWin::IsLive());
    ASSERT_TRUE(FetchFull());
    EXPECT_FALSE(ForecastWin::IsLive());
  }
  // The menu item opens it again, filled with the values on hand.
  Menu::ForecastMenuItem().Trigger();
  EXPECT_TRUE(ForecastWin::Instance().Visible() && Globals::ForecastWinOpen);
  ExpectFilledFromFullReply();
  EXPECT_EQ(DayLabels(), TodayAndTheNextSixDays());
}

TEST_F(ForecastTest, HiddenItStaysInUseAndKeepsBeingRefilled) {
  OpenWithButton();
  Globals::WindowsHide();
  EXPECT_FALSE(ForecastWin::Instance().Visible());
  EXPECT_TRUE(Globals::ForecastWinOpen);
  ASSERT_TRUE(FetchFull());
  EXPECT_FALSE(ForecastWin::Instance().Visible());
  ExpectFilledFromFullReply();
}

}  // namespace
