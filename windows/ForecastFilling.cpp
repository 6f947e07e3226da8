#include "windows/ForecastFilling.h"

#include <array>
#include <string>

#include "core/WeatherValues.h"
#include "framework/text/Date.h"
#include "framework/text/Text.h"
#include "framework/ui/Controls.h"
#include "windows/ForecastWin.h"

namespace Globals {

namespace {

constexpr int kDegreeSign = 161;  // Mac OS Roman

struct Day {
  const std::string* forecast;
  const std::string* precipitation;
  const std::string* humidity;
  const std::string* max;
  const std::string* min;
};

const std::array<Day, 7>& Days() {
  using namespace WeatherValues;
  static const std::array<Day, 7> days = {{
      {&Day1Forecast, &Day1Precipitation, &Day1Humidity, &Day1TempMax, &Day1TempMin},
      {&Day2Forecast, &Day2Precipitation, &Day2Humidity, &Day2TempMax, &Day2TempMin},
      {&Day3Forecast, &Day3Precipitation, &Day3Humidity, &Day3TempMax, &Day3TempMin},
      {&Day4Forecast, &Day4Precipitation, &Day4Humidity, &Day4TempMax, &Day4TempMin},
      {&Day5Forecast, &Day5Precipitation, &Day5Humidity, &Day5TempMax, &Day5TempMin},
      {&Day6Forecast, &Day6Precipitation, &Day6Humidity, &Day6TempMax, &Day6TempMin},
      {&Day7Forecast, &Day7Precipitation, &Day7Humidity, &Day7TempMax, &Day7TempMin},
  }};
  return days;
}

}  // namespace

void PopulateForecastWindow() {
  ForecastWin& win = ForecastWin::Instance();
  const auto label = [&win](const char* family, int n) -> fw::StaticText& {
    return win.Ctl<fw::StaticText>(family + fw::Str(n));
  };
  const std::string degrees = " " + fw::Chr(kDegreeSign) + WeatherValues::UnitTemp;
  const auto& days = Days();

  for (int n = 1; n <= 7; ++n) {
    const Day& day = days[static_cast<std::size_t>(n - 1)];
    label("Fore", n).SetText(*day.forecast);
    label("Pre", n).SetText(*day.precipitation + "%");
  }
  for (int n = 1; n <= 7; ++n)
    label("Hum", n).SetText(*days[static_cast<std::size_t>(n - 1)].humidity + "%");
  for (int n = 1; n <= 7; ++n) {
    const Day& day = days[static_cast<std::size_t>(n - 1)];
    label("Max", n).SetText(*day.max + degrees);
    label("Min", n).SetText(*day.min + degrees);
  }
}

void SetDayNames() { ForecastWin::Instance().ShowDayNamesAfter(fw::Date().DayOfWeek()); }

}  // namespace Globals
