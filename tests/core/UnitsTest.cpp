// Unit conversion of the weather values, compass points, and both as the
// reply reader applies them.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "CoreFixture.h"
#include "core/Globals.h"
#include "core/Units.h"
#include "core/Weather.h"
#include "core/WeatherValues.h"

namespace {

struct ConversionCase {
  std::string (*convert)(const std::string&);
  const char* name;
  std::string in, out;
};

TEST(Units, SingleValuesAreConvertedAndWrittenWithOneDecimal) {
  const std::vector<ConversionCase> cases = {
      {&Globals::ToFahrenheit, "F", "20", "68.0"},
      {&Globals::ToFahrenheit, "F", "-40", "-40.0"},
      {&Globals::ToFahrenheit, "F", "", "32.0"},
      {&Globals::ToFahrenheit, "F", "12.3", "54.1"},
      {&Globals::ToFahrenheit, "F", "rain", "32.0"},
      {&Globals::ToFahrenheit, "F", " 21.5C", "70.7"},  // blanks skipped, the number's end stops the read
      {&Globals::ToCelsius, "C", "68.0", "20.0"},
      {&Globals::ToCelsius, "C", "", "-17.8"},
      {&Globals::ToCelsius, "C", "54.1", "12.3"},
      {&Globals::ToCelsius, "C", "32", "0.0"},
      {&Globals::ToCelsius, "C", "31.95", "0.0"},  // rounds to zero: no minus sign
      {&Globals::ToMph, "mph", "100", "62.1"},
      {&Globals::ToMph, "mph", "0.4", "0.2"},
      {&Globals::ToMph, "mph", "", "0.0"},
      {&Globals::ToKmh, "km/h", "62.1", "99.9"},
      {&Globals::ToKmh, "km/h", "0.2", "0.3"},  // 0.4 km/h there and back is 0.3
      {&Globals::ToKmh, "km/h", "-10", "-16.1"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.convert(c.in), c.out) << c.name << " of \"" << c.in << "\"";
}

TEST(Units, OutOfRangeNumbersDoNotFault) {
  // A value beyond a double reads as infinity and comes out as a text that
  // the next conversion reads as 0 again.
  const std::string huge = Globals::ToFahrenheit("1e999");
  EXPECT_FALSE(huge.empty());
  EXPECT_EQ(Globals::ToCelsius(huge), "-17.8");
  EXPECT_EQ(Globals::ToMph("1e-400"), "0.0");
}

struct CompassCase {
  std::int32_t angle;
  const char* point;
};

TEST(Units, CompassPointsCoverTheirSectorsForAnyAngle) {
  const std::vector<CompassCase> cases = {
      {0, "N"},     {22, "N"},    {23, "NE"},   {45, "NE"},   {67, "NE"},    {68, "E"},    {90, "E"},
      {112, "E"},   {113, "SE"},  {157, "SE"},  {158, "S"},   {202, "S"},    {203, "SW"},  {247, "SW"},
      {248, "W"},   {292, "W"},   {293, "NW"},  {337, "NW"},  {338, "N"},    {359, "N"},   {360, "N"},
      {450, "E"},   {720, "N"},   {-1, "N"},    {-90, "W"},   {-180, "S"},   {-338, "N"},  {-360, "N"},
      {-315, "NE"},
      {std::numeric_limits<std::int32_t>::max(), "SE"},  // 127 degrees past whole turns
      {std::numeric_limits<std::int32_t>::min(), "SW"},  // -128, a turn later 232
  };
  for (const auto& c : cases) EXPECT_EQ(Globals::AngleToCompassDirection(c.angle), c.point) << c.angle;
}

// The sixteen temperatures and two speeds, each with its own value.
struct Sets {
  std::array<std::string*, 16> temps{
      &WeatherValues::Day1TempCurrent, &WeatherValues::Day1TempMax, &WeatherValues::Day2TempMax,
      &WeatherValues::Day3TempMax,     &WeatherValues::Day4TempMax, &WeatherValues::Day5TempMax,
      &WeatherValues::Day6TempMax,     &WeatherValues::Day7TempMax, &WeatherValues::Day1TempMin,
      &WeatherValues::Day2TempMin,     &WeatherValues::Day3TempMin, &WeatherValues::Day4TempMin,
      &WeatherValues::Day5TempMin,     &WeatherValues::Day6TempMin, &WeatherValues::Day7TempMin,
      &WeatherValues::FeelsLikeCurrent};
  std::array<std::string*, 2> speeds{&WeatherValues::Day1WindgustsMax, &WeatherValues::Day1WindspeedMax};

  void Fill() {
    for (std::size_t i = 0; i < temps.size(); ++i) *temps[i] = std::to_string(i) + ".5";
    *speeds[0] = "40";
    *speeds[1] = "25.0";
  }
};

TEST(Units, SetConvertersRewriteEveryValueOfTheirSetAndTheUnit) {
  Sets sets;
  sets.Fill();
  WeatherValues::Day1Forecast = "12";  // not a temperature: left alone
  WeatherValues::Day1Humidity = "80";
  WeatherValues::UnitTemp = "C";
  WeatherValues::UnitSpeed = "km/h";

  Globals::ConvertTemps();
  for (std::size_t i = 0; i < sets.temps.size(); ++i)
    EXPECT_EQ(*sets.temps[i], Globals::ToFahrenheit(std::to_string(i) + ".5")) << i;
  EXPECT_EQ(WeatherValues::UnitTemp, "F");
  EXPECT_EQ(*sets.speeds[0], "40");  // speeds untouched by the temperature converter
  EXPECT_EQ(WeatherValues::UnitSpeed, "km/h");

  Globals::ConvertTempsMetric();
  for (std::size_t i = 0; i < sets.temps.size(); ++i) EXPECT_EQ(*sets.temps[i], std::to_string(i) + ".5") << i;
  EXPECT_EQ(WeatherValues::UnitTemp, "C");

  Globals::ConvertSpeeds();
  EXPECT_EQ(WeatherValues::Day1WindgustsMax, "24.9");
  EXPECT_EQ(WeatherValues::Day1WindspeedMax, "15.5");
  EXPECT_EQ(WeatherValues::UnitSpeed, "mph");
  EXPECT_EQ(WeatherValues::Day1TempCurrent, "0.5");
  Globals::ConvertSpeedsMetric();
  EXPECT_EQ(WeatherValues::Day1WindgustsMax, "40.1");
  EXPECT_EQ(WeatherValues::Day1WindspeedMax, "24.9");
  EXPECT_EQ(WeatherValues::UnitSpeed, "km/h");

  EXPECT_EQ(WeatherValues::Day1Forecast, "12");
  EXPECT_EQ(WeatherValues::Day1Humidity, "80");
}

using ReplyUnitsTest = CoreTest;

TEST_F(ReplyUnitsTest, ReplyIsConvertedToTheUsersUnitsAndNamesTheWindDirection) {
  const std::string reply =
      R"({"current_temperature":20,"current_apparent_temperature":-40,"day7_temperature_min":12.3,)"
      R"("day1_windspeed_max":100,"day1_windgusts_max":0.4,"day1_winddirection_dominant":200,)"
      R"("day1_humidity_probability_max":80})";
  struct Case {
    std::string tempUnit, speedUnit;
    std::string current, feels, day7Min, speed, gusts, unitTemp, unitSpeed;
  };
  const std::vector<Case> cases = {
      {"Fahrenheit", "mph", "68.0", "-40.0", "54.1", "62.1", "0.2", "F", "mph"},
      {"Celsius", "km/h", "20", "-40", "12.3", "100", "0.4", "C", "km/h"},
      {"fahrenheit", "MPH", "68.0", "-40.0", "54.1", "62.1", "0.2", "F", "mph"},  // letter case ignored
      {"Celsius", "mph", "20", "-40", "12.3", "62.1", "0.2", "C", "mph"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.tempUnit + " " + c.speedUnit);
    WeatherValues::UnitTemp = "C";
    WeatherValues::UnitSpeed = "km/h";
    Globals::UserTempUnit = c.tempUnit;
    Globals::UserSpeedUnit = c.speedUnit;
    Globals::ParseResponse(reply);
    EXPECT_EQ(WeatherValues::Day1TempCurrent, c.current);
    EXPECT_EQ(WeatherValues::FeelsLikeCurrent, c.feels);
    EXPECT_EQ(WeatherValues::Day7TempMin, c.day7Min);
    EXPECT_EQ(WeatherValues::Day1WindspeedMax, c.speed);
    EXPECT_EQ(WeatherValues::Day1WindgustsMax, c.gusts);
    EXPECT_EQ(WeatherValues::Day1Humidity, "80");
    EXPECT_EQ(WeatherValues::UnitTemp, c.unitTemp);
    EXPECT_EQ(WeatherValues::UnitSpeed, c.unitSpeed);
    EXPECT_EQ(Label("WindDirectionLabel"), "S");
    EXPECT_EQ(Label("WindSpeedLabel"), c.speed + " " + c.unitSpeed);
  }
}

TEST_F(ReplyUnitsTest, EmptyReplyInTheOtherUnitsReadsAsZeroes) {
  Globals::UserTempUnit = "Fahrenheit";
  Globals::UserSpeedUnit = "mph";
  Globals::ParseResponse("");
  const Sets sets;
  for (const std::string* temp : sets.temps) EXPECT_EQ(*temp, "32.0");
  EXPECT_EQ(WeatherValues::Day1WindspeedMax, "0.0");
  EXPECT_EQ(WeatherValues::Day1WindgustsMax, "0.0");
  EXPECT_EQ(WeatherValues::Day1Forecast, "");
  EXPECT_EQ(Label("WindDirectionLabel"), "N");
  EXPECT_EQ(Label("PrecipitationLabel"), "%");
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
