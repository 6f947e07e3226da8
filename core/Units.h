#pragma once
// Unit conversion of the stored weather values and compass points.
//
// The proxy sends degrees Celsius and km/h. The values live in WeatherValues
// as text, so every conversion reads a number from the text, computes in
// double precision and writes it back with one decimal ("0.0"); the unit
// texts WeatherValues::UnitTemp and UnitSpeed say what the values are in.
#include <cstdint>
#include <string>

namespace Globals {

// Single values, text to text. A text without a number reads as 0.
std::string ToFahrenheit(const std::string& value);  // x * 1.8 + 32
std::string ToCelsius(const std::string& value);     // (x - 32) / 1.8
std::string ToMph(const std::string& value);         // x * 0.6213711922
std::string ToKmh(const std::string& value);         // x * 1.609344

// Whole sets in place, then the unit text. None of them looks at the unit
// the values are in now: call one only when they are in the other unit.
// Temperatures: the current and apparent temperature and every day's
// maximum and minimum. Speeds: today's wind gusts and wind speed.
void ConvertTemps();         // to Fahrenheit, UnitTemp "F"
void ConvertTempsMetric();   // to Celsius, UnitTemp "C"
void ConvertSpeeds();        // to mph, UnitSpeed "mph"
void ConvertSpeedsMetric();  // to km/h, UnitSpeed "km/h"

// One of "N", "NE", "E", "SE", "S", "SW", "W", "NW" for a direction in
// degrees; any angle, negative ones and those past a full turn included.
std::string AngleToCompassDirection(std::int32_t angle);

}  // namespace Globals
