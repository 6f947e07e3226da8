#include "windows/ForecastFilling.h"

#include <string>

#include "core/WeatherTable.h"
#include "core/WeatherValues.h"
#include "framework/text/Date.h"
#include "framework/text/Text.h"
#include "framework/ui/StaticText.h"
#include "windows/ForecastWin.h"

namespace Globals {

namespace {

using WeatherTable::Column;

constexpr int kDegreeSign = 161;  // Mac OS Roman

// A day's value as the forecast window writes it: a temperature after a
// blank with the degree sign and the unit letter, a percentage with "%".
std::string Shown(const WeatherTable::Entry& entry) {
  const std::string& value = *entry.value;
  switch (entry.unit) {
    case WeatherTable::Unit::Temperature:
      return value + " " + fw::Chr(kDegreeSign) + WeatherValues::UnitTemp;
    case WeatherTable::Unit::Percent:
      return value + "%";
    case WeatherTable::Unit::Speed:
      return value + " " + WeatherValues::UnitSpeed;
    case WeatherTable::Unit::Degrees:
    case WeatherTable::Unit::None:
      break;
  }
  return value;
}

}  // namespace

void PopulateForecastWindow() {
  ForecastWin& win = ForecastWin::Instance();
  const auto fill = [&win](Column column, int day) {
    win.Ctl<fw::StaticText>(ForecastWin::ValueLabel(column, day))
        .SetText(Shown(WeatherTable::At(column, day)));
  };
  for (int n = 1; n <= 7; ++n) {
    fill(Column::Forecast, n);
    fill(Column::Precipitation, n);
  }
  for (int n = 1; n <= 7; ++n) fill(Column::Humidity, n);
  for (int n = 1; n <= 7; ++n) {
    fill(Column::High, n);
    fill(Column::Low, n);
  }
}

void SetDayNames() { ForecastWin::Instance().ShowDayNamesAfter(fw::Date().DayOfWeek()); }

}  // namespace Globals
