#include "core/WeatherTable.h"

#include "core/WeatherValues.h"
#include "framework/text/Exceptions.h"

namespace WeatherTable {

namespace {

namespace W = WeatherValues;
using C = Column;
using I = Icon;
using R = MainRow;
using U = Unit;

// key, value, day, unit, main-window row, forecast column, icon
constexpr std::array<Entry, kEntries> kTable{{
    {"current_temperature", &W::Day1TempCurrent, 1, U::Temperature, R::Current, C::None, I::TempLow},
    {"day1_windgusts_max", &W::Day1WindgustsMax, 1, U::Speed, R::None, C::None, I::None},
    {"day1_windspeed_max", &W::Day1WindspeedMax, 1, U::Speed, R::WindSpeed, C::None, I::WindSpeed},
    {"day1_forecast", &W::Day1Forecast, 1, U::None, R::Forecast, C::Forecast, I::None},
    {"day1_uv_index_max", &W::Day1UVIndex, 1, U::None, R::UVIndex, C::None, I::UV},
    {"day1_precipitation_probability_max", &W::Day1Precipitation, 1, U::Percent, R::Precipitation,
     C::Precipitation, I::Rain},
    {"day1_winddirection_dominant", &W::Day1WindDirection, 1, U::Degrees, R::WindDirection, C::None, I::None},
    {"day1_sunrise", &W::Day1Sunrise, 1, U::None, R::Sunrise, C::None, I::Sunrise},
    {"day1_sunset", &W::Day1Sunset, 1, U::None, R::Sunset, C::None, I::Sunset},
    {"day2_forecast", &W::Day2Forecast, 2, U::None, R::None, C::Forecast, I::None},
    {"day3_forecast", &W::Day3Forecast, 3, U::None, R::None, C::Forecast, I::None},
    {"day4_forecast", &W::Day4Forecast, 4, U::None, R::None, C::Forecast, I::None},
    {"day5_forecast", &W::Day5Forecast, 5, U::None, R::None, C::Forecast, I::None},
    {"day6_forecast", &W::Day6Forecast, 6, U::None, R::None, C::Forecast, I::None},
    {"day7_forecast", &W::Day7Forecast, 7, U::None, R::None, C::Forecast, I::None},
    {"day1_temperature_max", &W::Day1TempMax, 1, U::Temperature, R::High, C::High, I::TempHigh},
    {"day2_temperature_max", &W::Day2TempMax, 2, U::Temperature, R::None, C::High, I::TempHigh},
    {"day3_temperature_max", &W::Day3TempMax, 3, U::Temperature, R::None, C::High, I::TempHigh},
    {"day4_temperature_max", &W::Day4TempMax, 4, U::Temperature, R::None, C::High, I::TempHigh},
    {"day5_temperature_max", &W::Day5TempMax, 5, U::Temperature, R::None, C::High, I::TempHigh},
    {"day6_temperature_max", &W::Day6TempMax, 6, U::Temperature, R::None, C::High, I::TempHigh},
    {"day7_temperature_max", &W::Day7TempMax, 7, U::Temperature, R::None, C::High, I::TempHigh},
    {"day1_temperature_min", &W::Day1TempMin, 1, U::Temperature, R::Low, C::Low, I::TempLow},
    {"day2_temperature_min", &W::Day2TempMin, 2, U::Temperature, R::None, C::Low, I::TempLow},
    {"day3_temperature_min", &W::Day3TempMin, 3, U::Temperature, R::None, C::Low, I::TempLow},
    {"day4_temperature_min", &W::Day4TempMin, 4, U::Temperature, R::None, C::Low, I::TempLow},
    {"day5_temperature_min", &W::Day5TempMin, 5, U::Temperature, R::None, C::Low, I::TempLow},
    {"day6_temperature_min", &W::Day6TempMin, 6, U::Temperature, R::None, C::Low, I::TempLow},
    {"day7_temperature_min", &W::Day7TempMin, 7, U::Temperature, R::None, C::Low, I::TempLow},
    {"day2_precipitation_probability_max", &W::Day2Precipitation, 2, U::Percent, R::None, C::Precipitation,
     I::Rain},
    {"day3_precipitation_probability_max", &W::Day3Precipitation, 3, U::Percent, R::None, C::Precipitation,
     I::Rain},
    {"day4_precipitation_probability_max", &W::Day4Precipitation, 4, U::Percent, R::None, C::Precipitation,
     I::Rain},
    {"day5_precipitation_probability_max", &W::Day5Precipitation, 5, U::Percent, R::None, C::Precipitation,
     I::Rain},
    {"day6_precipitation_probability_max", &W::Day6Precipitation, 6, U::Percent, R::None, C::Precipitation,
     I::Rain},
    {"day7_precipitation_probability_max", &W::Day7Precipitation, 7, U::Percent, R::None, C::Precipitation,
     I::Rain},
    {"day1_humidity_probability_max", &W::Day1Humidity, 1, U::Percent, R::Humidity, C::Humidity, I::Humidity},
    {"day2_humidity_probability_max", &W::Day2Humidity, 2, U::Percent, R::None, C::Humidity, I::Humidity},
    {"day3_humidity_probability_max", &W::Day3Humidity, 3, U::Percent, R::None, C::Humidity, I::Humidity},
    {"day4_humidity_probability_max", &W::Day4Humidity, 4, U::Percent, R::None, C::Humidity, I::Humidity},
    {"day5_humidity_probability_max", &W::Day5Humidity, 5, U::Percent, R::None, C::Humidity, I::Humidity},
    {"day6_humidity_probability_max", &W::Day6Humidity, 6, U::Percent, R::None, C::Humidity, I::Humidity},
    {"day7_humidity_probability_max", &W::Day7Humidity, 7, U::Percent, R::None, C::Humidity, I::Humidity},
    {"current_apparent_temperature", &W::FeelsLikeCurrent, 1, U::Temperature, R::FeelsLike, C::None,
     I::TempHigh},
}};

}  // namespace

const std::array<Entry, kEntries>& Entries() { return kTable; }

const Entry& At(MainRow row) {
  for (const Entry& entry : kTable) {
    if (row != MainRow::None && entry.row == row) return entry;
  }
  throw fw::NilObjectException("no weather value in that row of the main window");
}

const Entry& At(Column column, int day) {
  for (const Entry& entry : kTable) {
    if (column != Column::None && entry.column == column && entry.day == day) return entry;
  }
  throw fw::NilObjectException("no weather value in that place of the forecast window");
}

}  // namespace WeatherTable
