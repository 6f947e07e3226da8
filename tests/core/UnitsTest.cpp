// Unit conversion of the weather values, compass points, and both as the
// reply reader applies them.
#include <array>
#include <cstdint>
#include <limits>
#include <tuple>

#include "CoreFixture.h"
#include "core/Units.h"
#include "core/Weather.h"

namespace {

TEST(Units, SingleValuesAreConvertedAndWrittenWithOneDecimal) {
  using Convert = std::string (*)(const std::string&);
  const Convert f = &Globals::ToFahrenheit, c = &Globals::ToCelsius, mph = &Globals::ToMph,
                kmh = &Globals::ToKmh;
  // Known conversions: water freezes at 0 C = 32 F and boils at 100 C =
  // 212 F, the body is at 37 C = 98.6 F, the two scales meet at -40.
  const std::vector<std::tuple<Convert, std::string, std::string>> cases = {
      {f, "0", "32.0"},
      {f, "100", "212.0"},
      {f, "37", "98.6"},
      {f, "-40", "-40.0"},
      {c, "32", "0.0"},
      {c, "212", "100.0"},
      {c, "98.6", "37.0"},
      {c, "-40", "-40.0"},
      {f, "20", "68.0"},
      {f, "", "32.0"},
      {f, "12.3", "54.1"},
      {f, "rain", "32.0"},
      {f, " 21.5C", "70.7"},  // blanks skipped, the number's end stops the read
      {c, "68.0", "20.0"},
      {c, "", "-17.8"},
      {c, "54.1", "12.3"},
      {c, "31.95", "0.0"},  // rounds to zero: no minus sign
      {mph, "100", "62.1"},
      {mph, "0.4", "0.2"},
      {mph, "", "0.0"},
      {kmh, "62.1", "99.9"},
      {kmh, "0.2", "0.3"},
      {kmh, "-10", "-16.1"},
      // A value beyond a double comes out as a text that reads as 0 again.
      {c, f("1e999"), "-17.8"},
      {mph, "1e-400", "0.0"}};
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const auto& [convert, in, out] = cases[i];
    EXPECT_EQ(convert(in), out) << "row " << i << " of \"" << in << "\"";
  }
}

TEST(Units, CompassPointsCoverTheirSectorsForAnyAngle) {
  const std::vector<std::pair<std::int32_t, const char*>> cases = {
      {0, "N"},
      {22, "N"},
      {23, "NE"},
      {45, "NE"},
      {67, "NE"},
      {68, "E"},
      {90, "E"},
      {112, "E"},
      {113, "SE"},
      {157, "SE"},
      {158, "S"},
      {202, "S"},
      {203, "SW"},
      {247, "SW"},
      {248, "W"},
      {292, "W"},
      {293, "NW"},
      {337, "NW"},
      {338, "N"},
      {359, "N"},
      {360, "N"},
      {450, "E"},
      {720, "N"},
      {-1, "N"},
      {-90, "W"},
      {-180, "S"},
      {-338, "N"},
      {-360, "N"},
      {-315, "NE"},
      {std::numeric_limits<std::int32_t>::max(), "SE"},  // 127 degrees past whole turns
      {std::numeric_limits<std::int32_t>::min(), "SW"},  // -128, a turn later 232
  };
  for (const auto& [angle, point] : cases) EXPECT_EQ(Globals::AngleToCompassDirection(angle), point) << angle;
}

// The sixteen temperatures, each with its own known value in Celsius and
// in Fahrenheit, so that a value left out, converted twice or mixed up with
// another shows.
const std::vector<std::tuple<std::string*, std::string, std::string>> kTemps{
    {&WeatherValues::Day1TempCurrent, "0.0", "32.0"}, {&WeatherValues::Day1TempMax, "100.0", "212.0"},
    {&WeatherValues::Day2TempMax, "37.0", "98.6"},    {&WeatherValues::Day3TempMax, "-40.0", "-40.0"},
    {&WeatherValues::Day4TempMax, "20.0", "68.0"},    {&WeatherValues::Day5TempMax, "10.0", "50.0"},
    {&WeatherValues::Day6TempMax, "-10.0", "14.0"},   {&WeatherValues::Day7TempMax, "30.0", "86.0"},
    {&WeatherValues::Day1TempMin, "25.0", "77.0"},    {&WeatherValues::Day2TempMin, "15.0", "59.0"},
    {&WeatherValues::Day3TempMin, "5.0", "41.0"},     {&WeatherValues::Day4TempMin, "-5.0", "23.0"},
    {&WeatherValues::Day5TempMin, "35.0", "95.0"},    {&WeatherValues::Day6TempMin, "40.0", "104.0"},
    {&WeatherValues::Day7TempMin, "-20.0", "-4.0"},   {&WeatherValues::FeelsLikeCurrent, "50.0", "122.0"}};

TEST(Units, SetConvertersRewriteEveryValueOfTheirSetAndTheUnit) {
  for (const auto& [value, celsius, fahrenheit] : kTemps) *value = celsius;
  // 100 km/h is 62.1 mph; 50 km/h is 31.1 mph.
  WeatherValues::Day1WindgustsMax = "100";
  WeatherValues::Day1WindspeedMax = "50";
  WeatherValues::Day1Forecast = "12";  // not a temperature: left alone
  WeatherValues::Day1Humidity = "80";
  WeatherValues::UnitTemp = "C";
  WeatherValues::UnitSpeed = "km/h";

  Globals::ConvertTemps();
  for (const auto& [value, celsius, fahrenheit] : kTemps) EXPECT_EQ(*value, fahrenheit) << celsius;
  EXPECT_EQ(WeatherValues::UnitTemp + " " + WeatherValues::UnitSpeed, "F km/h");
  EXPECT_EQ(WeatherValues::Day1WindgustsMax, "100");  // speeds untouched by the temperature converter
  Globals::ConvertTempsMetric();
  for (const auto& [value, celsius, fahrenheit] : kTemps) EXPECT_EQ(*value, celsius) << fahrenheit;
  EXPECT_EQ(WeatherValues::UnitTemp, "C");

  Globals::ConvertSpeeds();
  EXPECT_EQ(WeatherValues::Day1WindgustsMax + " " + WeatherValues::Day1WindspeedMax, "62.1 31.1");
  EXPECT_EQ(WeatherValues::UnitSpeed, "mph");
  EXPECT_EQ(WeatherValues::Day1TempCurrent, "0.0");
  // Back from the rounded mph: 62.1 mph is 99.9 km/h, 31.1 mph 50.1 km/h.
  Globals::ConvertSpeedsMetric();
  EXPECT_EQ(WeatherValues::Day1WindgustsMax + " " + WeatherValues::Day1WindspeedMax, "99.9 50.1");
  EXPECT_EQ(WeatherValues::UnitSpeed, "km/h");
  EXPECT_EQ(WeatherValues::Day1Forecast + " " + WeatherValues::Day1Humidity, "12 80");
}

using ReplyUnitsTest = CoreTest;

TEST_F(ReplyUnitsTest, ReplyIsConvertedToTheUsersUnitsAndNamesTheWindDirection) {
  const std::string reply =
      R"({"current_temperature":20,"current_apparent_temperature":-40,"day7_temperature_min":12.3,)"
      R"("day1_windspeed_max":100,"day1_windgusts_max":0.4,"day1_winddirection_dominant":200,)"
      R"("day1_humidity_probability_max":80})";
  // The user's units, then the current, feels-like and day 7 low
  // temperatures with their unit, and wind speed, gusts and speed unit.
  using Texts = std::vector<std::string>;
  const std::vector<std::tuple<std::string, std::string, Texts, Texts>> cases = {
      {"Fahrenheit", "mph", {"68.0", "-40.0", "54.1", "F"}, {"62.1", "0.2", "mph"}},
      {"Celsius", "km/h", {"20", "-40", "12.3", "C"}, {"100", "0.4", "km/h"}},
      {"fahrenheit", "MPH", {"68.0", "-40.0", "54.1", "F"}, {"62.1", "0.2", "mph"}},  // letter case ignored
      {"Celsius", "mph", {"20", "-40", "12.3", "C"}, {"62.1", "0.2", "mph"}},
  };
  for (const auto& [tempUnit, speedUnit, temps, speeds] : cases) {
    SCOPED_TRACE(tempUnit + " " + speedUnit);
    WeatherValues::UnitTemp = "C";
    WeatherValues::UnitSpeed = "km/h";
    Globals::UserTempUnit = tempUnit;
    Globals::UserSpeedUnit = speedUnit;
    Globals::ParseResponse(reply);
    EXPECT_EQ(Texts({WeatherValues::Day1TempCurrent, WeatherValues::FeelsLikeCurrent,
                     WeatherValues::Day7TempMin, WeatherValues::UnitTemp}),
              temps);
    EXPECT_EQ(
        Texts({WeatherValues::Day1WindspeedMax, WeatherValues::Day1WindgustsMax, WeatherValues::UnitSpeed}),
        speeds);
    EXPECT_EQ(WeatherValues::Day1Humidity, "80");
    EXPECT_EQ(Label("WindDirectionLabel"), "S");
    EXPECT_EQ(Label("WindSpeedLabel"), speeds[0] + " " + speeds[2]);
  }
}

TEST_F(ReplyUnitsTest, WindDirectionTextIsReadAsWholeDegrees) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"90", "E"},   {"\"270\"", "W"},  // a quoted value is read without its quotes
      {"-45", "NW"}, {"359.9", "N"},   {"67.9", "NE"}, {"abc", "N"}, {"1e12", "SE"}};
  for (const auto& [value, point] : cases) {
    Globals::ParseResponse(R"({"day1_winddirection_dominant":)" + value + ",\"x\":1}");
    EXPECT_EQ(Label("WindDirectionLabel"), point) << value;
  }
}

}  // namespace
