#include "core/Units.h"

#include <array>

#include "core/WeatherTable.h"
#include "core/WeatherValues.h"
#include "framework/text/Text.h"

namespace Globals {

namespace {

std::string OneDecimal(double value) { return fw::Format(value, "0.0"); }

// Every value measured in the unit, each rewritten by the converter.
void ConvertAll(WeatherTable::Unit unit, std::string (*convert)(const std::string&)) {
  for (const WeatherTable::Entry& entry : WeatherTable::Entries()) {
    if (entry.unit == unit) *entry.value = convert(*entry.value);
  }
}

}  // namespace

std::string ToFahrenheit(const std::string& value) { return OneDecimal(fw::Val(value) * 1.8 + 32); }

std::string ToCelsius(const std::string& value) { return OneDecimal((fw::Val(value) - 32) / 1.8); }

// The two speed factors are not exact inverses: a value taken there and
// back may move by a tenth.
std::string ToMph(const std::string& value) { return OneDecimal(fw::Val(value) * 0.6213711922); }

std::string ToKmh(const std::string& value) { return OneDecimal(fw::Val(value) * 1.609344); }

void ConvertTemps() {
  ConvertAll(WeatherTable::Unit::Temperature, &ToFahrenheit);
  WeatherValues::UnitTemp = "F";
}

void ConvertTempsMetric() {
  ConvertAll(WeatherTable::Unit::Temperature, &ToCelsius);
  WeatherValues::UnitTemp = "C";
}

void ConvertSpeeds() {
  ConvertAll(WeatherTable::Unit::Speed, &ToMph);
  WeatherValues::UnitSpeed = "mph";
}

void ConvertSpeedsMetric() {
  ConvertAll(WeatherTable::Unit::Speed, &ToKmh);
  WeatherValues::UnitSpeed = "km/h";
}

std::string AngleToCompassDirection(std::int32_t angle) {
  static const std::array<const char*, 8> kPoints = {"N", "NE", "E", "SE", "S", "SW", "W", "NW"};
  // The remainder keeps the angle's sign; a turn added makes it 0..359.
  std::int32_t a = angle % 360;
  if (a < 0) a += 360;
  // Each point covers 22.5 degrees either side of its centre; 338..359
  // round up to 8, which is north again.
  const auto index = static_cast<std::size_t>(fw::Round(a / 45.0) % 8);
  return kPoints[index];
}

}  // namespace Globals
