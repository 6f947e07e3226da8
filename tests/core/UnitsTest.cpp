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
  const Convert f = &Globals::ToFahrenheit, c = &Globals::ToCelsius, mph = &Globals::ToMph, kmh = &Globals::ToKmh;
  const std::vector<std::tuple<Convert, std::string, std::string>> cases = {
      {f, "20", "68.0"},    {f, "-40", "-40.0"}, {f, "", "32.0"},      {f, "12.3", "54.1"}, {f, "rain", "32.0"},
      {f, " 21.5C", "70.7"},  // blanks skipped, the number's end stops the read
      {c, "68.0", "20.0"},  {c, "", "-17.8"},    {c, "54.1", "12.3"},  {c, "32", "0.0"},
      {c, "31.95", "0.0"},  // rounds to zero: no minus sign
      {mph, "100", "62.1"}, {mph, "0.4", "0.2"}, {mph, "", "0.0"},
      {kmh, "62.1", "99.9"}, {kmh, "0.2", "0.3"}, {kmh, "-10", "-16.1"},
      // A value beyond a double comes out as a text that reads as 0 again.
      {c, f("1e999"), "-17.8"}, {mph, "1e-400", "0.0"}};
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const auto& [convert, in, out] = cases[i];
    EXPECT_EQ(convert(in), out) << "row " << i << " of \"" << in << "\"";
  }
}

TEST(Units, CompassPointsCoverTheirSectorsForAnyAngle) {
  const std::vector<std::pair<std::int32_t, const char*>> cases = {
      {0, "N"},     {22, "N"},    {23, "NE"},   {45, "NE"},   {67, "NE"},    {68, "E"},    {90, "E"},
      {112, "E"},   {113, "SE"},  {157, "SE"},  {158, "S"},   {202, "S"},    {203, "SW"},  {247, "SW"},
      {248, "W"},   {292, "W"},   {293, "NW"},  {337, "NW"},  {338, "N"},    {359, "N"},   {360, "N"},
      {450, "E"},   {720, "N"},   {-1, "N"},    {-90, "W"},   {-180, "S"},   {-338, "N"},  {-360, "N"},
      {-315, "NE"},
      {std::numeric_limits<std::int32_t>::max(), "SE"},  // 127 degrees past whole turns
      {std::numeric_limits<std::int32_t>::min(), "SW"},  // -128, a turn later 232
  };
  for (const auto& [angle, point] : cases) EXPECT_EQ(Globals::AngleToCompassDirection(angle), point) << angle;
}

// The sixteen temperatures, each given its own value.
const std::array<std::string*, 16> kTemps{
    &WeatherValues::Day1TempCurrent, &WeatherValues::Day1TempMax, &WeatherValues::Day2TempMax,
    &WeatherValues::Day3TempMax,     &WeatherValues::Day4TempMax, &WeatherValues::Day5TempMax,
    &WeatherValues::Day6TempMax,     &WeatherValues::Day7TempMax, &WeatherValues::Day1TempMin,
    &WeatherValues::Day2TempMin,     &WeatherValues::Day3TempMin, &WeatherValues::Day4TempMin,
    &WeatherValues::Day5TempMin,     &WeatherValues::Day6TempMin, &WeatherValues::Day7TempMin,
    &WeatherValues::FeelsLikeCurrent};
std::string Own(std::size_t i) { return std::to_string(i) + ".5"; }

TEST(Units, SetConvertersRewriteEveryValueOfTheirSetAndTheUnit) {
  for (std::size_t i = 0; i < kTemps.size(); ++i) *kTemps[i] = Own(i);
  WeatherValues::Day1WindgustsMax = "40";
  WeatherValues::Day1WindspeedMax = "25.0";
  WeatherValues::Day1Forecast = "12";  // not a temperature: left alone
  WeatherValues::Day1Humidity = "80";
  WeatherValues::UnitTemp = "C";
  WeatherValues::UnitSpeed = "km/h";

  Globals::ConvertTemps();
  for (std::size_t i = 0; i < kTemps.size(); ++i) EXPECT_EQ(*kTemps[i], Globals::ToFahrenheit(Own(i))) << i;
  EXPECT_EQ(WeatherValues::UnitTemp + " " + WeatherValues::UnitSpeed, "F km/h");
  EXPECT_EQ(WeatherValues::Day1WindgustsMax, "40");  // speeds untouched by the temperature converter
  Globals::ConvertTempsMetric();
  for (std::size_t i = 0; i < kTemps.size(); ++i) EXPECT_EQ(*kTemps[i], Own(i)) << i;
  EXPECT_EQ(WeatherValues::UnitTemp, "C");

  Globals::ConvertSpeeds();
  EXPECT_EQ(WeatherValues::Day1WindgustsMax + " " + WeatherValues::Day1WindspeedMax, "24.9 15.5");
  EXPECT_EQ(WeatherValues::UnitSpeed, "mph");
  EXPECT_EQ(WeatherValues::Day1TempCurrent, "0.5");
  Globals::ConvertSpeedsMetric();
  EXPECT_EQ(WeatherValues::Day1WindgustsMax + " " + WeatherValues::Day1WindspeedMax, "40.1 24.9");
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
    EXPECT_EQ(Texts({WeatherValues::Day1TempCurrent, WeatherValues::FeelsLikeCurrent, WeatherValues::Day7TempMin,
                     WeatherValues::UnitTemp}),
              temps);
    EXPECT_EQ(Texts({WeatherValues::Day1WindspeedMax, WeatherValues::Day1WindgustsMax, WeatherValues::UnitSpeed}),
              speeds);
    EXPECT_EQ(WeatherValues::Day1Humidity, "80");
    EXPECT_EQ(Label("WindDirectionLabel"), "S");
    EXPECT_EQ(Label("WindSpeedLabel"), speeds[0] + " " + speeds[2]);
  }
}

TEST_F(ReplyUnitsTest, WindDirectionTextIsReadAsWholeDegrees) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"90", "E"}, {"\"270\"", "W"},  // a quoted value is read without its quotes
      {"-45", "NW"}, {"359.9", "N"}, {"67.9", "NE"}, {"abc", "N"}, {"1e12", "SE"}};
  for (const auto& [value, point] : cases) {
    Globals::ParseResponse(R"({"day1_winddirection_dominant":)" + value + ",\"x\":1}");
    EXPECT_EQ(Label("WindDirectionLabel"), point) << value;
  }
}

}  // namespace
