#include "windows/ForecastWin.h"

#include <array>

#include "app/Pictures.h"
#include "core/Globals.h"
#include "framework/text/Date.h"
#include "framework/text/Exceptions.h"
#include "framework/text/Text.h"
#include "framework/ui/Canvas.h"
#include "framework/ui/Design.h"
#include "framework/ui/Separator.h"
#include "framework/ui/StaticText.h"
#include "windows/ForecastFilling.h"

namespace {

using fw::Canvas;
using fw::Separator;
using fw::StaticText;
using layout::Set;

constexpr int kHeading = 16;  // pixel sizes of the three kinds of text
constexpr int kDay = 12;
constexpr int kValue = 9;
// An icon follows each value closely: a value too wide for its label
// ("-10.5 °C") is shown smaller rather than run under the icon.
constexpr int kSmallestValue = 7;

const std::array<const char*, 7> kWeekdays = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                              "Thursday", "Friday", "Saturday"};

// One row a day: what its weekday label reads until the window is named
// after today, and the names of its four icons, which nothing else uses.
struct Row {
  const char* day;
  const char* highIcon;
  const char* lowIcon;
  const char* humidityIcon;
  const char* rainIcon;
};
constexpr std::array<Row, 7> kRows = {{
    {"Today", "Canvas10", "Canvas11", "Canvas23", "Canvas12"},
    {"Monday", "Canvas1", "Canvas2", "Canvas24", "Canvas3"},
    {"Tuesday", "Canvas4", "Canvas5", "Canvas25", "Canvas6"},
    {"Wednesday", "Canvas7", "Canvas8", "Canvas26", "Canvas9"},
    {"Thursday", "Canvas13", "Canvas14", "Canvas27", "Canvas15"},
    {"Friday", "Canvas16", "Canvas17", "Canvas28", "Canvas18"},
    {"Saturday", "Canvas19", "Canvas20", "Canvas29", "Canvas21"},
}};
constexpr int kRowHeight = 36;

std::string Numbered(const char* family, int n) { return family + fw::Str(n); }

using WeatherTable::Column;

class ForecastWinView final : public Views::ForecastView {
 public:
  // Each label is reached through the window's accessor.
  void PopulateForecastWindow() override { Globals::PopulateForecastWindow(); }
};

// The picture beside a column's value.
fw::PicturePtr IconOf(Column column, int day) {
  return Pictures::ForIcon(WeatherTable::At(column, day).icon);
}

}  // namespace

Views::ForecastView& ForecastWin::View() {
  static ForecastWinView view;
  return view;
}

void ForecastWin::Layout() {
  Apply({.title = "Weather Forecast",
         .width = 300,
         .height = 290,
         .frame = 0,
         .placement = 2,
         .resizeable = false,
         .closeButton = true,
         .minimizeButton = false,
         .maximizeButton = false,
         .hasBackColor = false,
         .backColor = 0x000000});
}

void ForecastWin::CreateControls() {
  // name, left, top, width, height, then the design-time settings, in
  // creation order. The header first.
  Set(Add<Canvas>("Canvas22", 2, 2, 32, 32)).Backdrop(Pictures::LandscapeLarge());
  Set(Add<StaticText>("StaticText1", 46, 8, 136, 20)).Font("System", kHeading).Text("7 Day Forecast");
  Add<Separator>("Separator1", -1, 34, 302, 4);

  // Then the seven rows, 36 pixels apart, each laid out the same way.
  for (int n = 1; n <= 7; ++n) {
    const Row& row = kRows[static_cast<std::size_t>(n - 1)];
    const int d = kRowHeight * (n - 1);
    const bool first = n == 1;  // the first day label is a little smaller
    Set(Add<StaticText>(Numbered("DayLabel", n), 23, 40 + d, first ? 82 : 89, first ? 15 : 16))
        .Font("System", kDay)
        .Text(row.day);
    Set(Add<Canvas>(row.highIcon, 115, 41 + d, 16, 16)).Backdrop(IconOf(Column::High, n));
    Set(Add<StaticText>(ValueLabel(Column::High, n), 129, 43 + d, 34, 16))
        .Font("System", kValue)
        .ShrinkToFit(kSmallestValue);
    Set(Add<Canvas>(row.lowIcon, 160, 41 + d, 16, 16)).Backdrop(IconOf(Column::Low, n));
    Set(Add<StaticText>(ValueLabel(Column::Low, n), 175, 43 + d, 34, 16))
        .Font("System", kValue)
        .ShrinkToFit(kSmallestValue);
    Set(Add<Canvas>(row.humidityIcon, 207, 41 + d, 16, 16)).Backdrop(IconOf(Column::Humidity, n));
    // Widened up to the rain icon, so that "100%" fits.
    Set(Add<StaticText>(ValueLabel(Column::Humidity, n), 222, 43 + d, 28, 16))
        .Font("System", kValue)
        .ShrinkToFit(kSmallestValue)
        .Text(first ? "100%" : "");
    Set(Add<Canvas>(row.rainIcon, 250, 41 + d, 16, 16)).Backdrop(IconOf(Column::Precipitation, n));
    Set(Add<StaticText>(ValueLabel(Column::Precipitation, n), 269, 43 + d, 34, 16))
        .Font("System", kValue)
        .ShrinkToFit(kSmallestValue)
        .Text("100%");
    Set(Add<StaticText>(ValueLabel(Column::Forecast, n), 23, 55 + d, 270, 16))
        .Font("System", kValue)
        .Text("Rainy with a chance of meatballs");
  }

  // Last the rules under rows 1 to 6.
  for (int n = 1; n <= 6; ++n)
    Add<Separator>(Numbered("Separator", n + 1), -5, 70 + kRowHeight * (n - 1), 302, 4);

  // A window made anew shows the days that follow the day it was made.
  ShowDayNamesAfter(fw::Date().DayOfWeek());
}

std::string ForecastWin::ValueLabel(Column column, int day) {
  switch (column) {
    case Column::Forecast:
      return Numbered("Fore", day);
    case Column::Precipitation:
      return Numbered("Pre", day);
    case Column::Humidity:
      return Numbered("Hum", day);
    case Column::High:
      return Numbered("Max", day);
    case Column::Low:
      return Numbered("Min", day);
    case Column::None:
      break;
  }
  throw fw::NilObjectException("the forecast window shows no value in that column");
}

void ForecastWin::ShowDayNamesAfter(int weekday) {
  // Weekdays count from 1; the remainder is taken so that any number,
  // however far outside 1..7, lands on a day of the week.
  const int today = ((weekday % 7 - 1) % 7 + 7) % 7;
  for (int k = 1; k <= 6; ++k) {
    Ctl<StaticText>(Numbered("DayLabel", k + 1))
        .SetText(kWeekdays[static_cast<std::size_t>((today + k) % 7)]);
  }
}

void ForecastWin::Event_Close() { Globals::ForecastWinOpen = false; }

bool ForecastWin::Event_KeyDown(const std::string& key) {
  if (IsCloseKey(key)) {
    Globals::ForecastWinOpen = false;
    Close();
  }
  return false;
}
