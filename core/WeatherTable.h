#pragma once
// The layout of the weather values, in one place: for every value the
// proxy's reply carries, its key, the WeatherValues property it fills, the
// day it belongs to, what it is measured in, where the main window and the
// forecast window show it and the picture beside it. The reply reader, the
// unit converters and the filling of both windows all read this table.
#include <array>
#include <cstddef>
#include <string>

namespace WeatherTable {

// What a value is measured in: it decides which converter rewrites the
// value and what a window writes after it.
enum class Unit {
  None,         // a text or number shown as it is
  Temperature,  // in WeatherValues::UnitTemp
  Speed,        // in WeatherValues::UnitSpeed
  Percent,      // a number of percent, shown with "%"
  Degrees,      // a direction, shown as its compass point
};

// The row of the main window that shows a value of today, if any.
enum class MainRow {
  None,
  Forecast,  // the forecast sentence under the place
  Current,
  High,
  Low,
  FeelsLike,
  Sunrise,
  UVIndex,
  WindSpeed,
  WindDirection,  // beside the wind speed
  Precipitation,
  Humidity,
  Sunset,
};

// The column of the forecast window that shows a value in its day's row.
enum class Column { None, Forecast, Precipitation, Humidity, High, Low };

// The picture beside a value, in every window that shows it.
enum class Icon { None, TempHigh, TempLow, UV, WindSpeed, Rain, Humidity, Sunrise, Sunset };

struct Entry {
  const char* key;     // in the reply
  std::string* value;  // the WeatherValues property it fills
  int day;             // 1 (today) to 7
  Unit unit;
  MainRow row;
  Column column;
  Icon icon;
};

inline constexpr std::size_t kEntries = 43;

// Every value the reply carries, in the order the reply is read. The two
// unit texts of WeatherValues have no key: only the converters write them.
const std::array<Entry, kEntries>& Entries();

// The value a main-window row shows, and the value a forecast column shows
// on a day (1 to 7). fw::NilObjectException for a row or place that shows
// none.
const Entry& At(MainRow row);
const Entry& At(Column column, int day);

}  // namespace WeatherTable
