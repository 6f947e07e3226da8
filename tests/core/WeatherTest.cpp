// The weather request's URL and the reader of the proxy's reply.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "CoreFixture.h"
#include "core/Globals.h"
#include "core/Weather.h"
#include "core/WeatherValues.h"
#include "framework/text/Text.h"
#include "support/Wait.h"

namespace {

using testsupport::Script;
using testsupport::WaitUntil;

TEST(NormaliseLocation, OnlyBlanksAreEncoded) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", ""},
      {"Naseby", "Naseby"},
      {"Naseby, Otago, New Zealand", "Naseby,%20Otago,%20New%20Zealand"},
      {"  ", "%20%20"},
      {"Zürich&x=1?", "Zürich&x=1?"},
  };
  for (const auto& [place, expected] : cases) EXPECT_EQ(Globals::NormaliseLocation(place), expected) << place;
}

struct ExtractCase {
  const char* what;
  std::string text, key, expected;
};

TEST(ExtractValue, FollowsTheReplyRules) {
  const std::string sample =
      R"({"current_temperature":12.5,"day1_forecast":"Rain, heavy at times","current_apparent_temperature":9.1})";
  const std::vector<ExtractCase> cases = {
      {"unquoted, up to the comma", sample, "current_temperature", "12.5"},
      {"quoted value keeps its commas", sample, "day1_forecast", "Rain, heavy at times"},
      {"last value ends at the brace", sample, "current_apparent_temperature", "9.1"},
      {"a key does not match inside a longer key",
       R"({"current_apparent_temperature":9.1,"current_temperature":12.5})", "current_temperature", "12.5"},
      {"empty quoted value", R"({"day1_forecast":"","x":1})", "day1_forecast", ""},
      {"blank before the quote reads unquoted", R"({"day1_forecast": "Sunny","x":1})", "day1_forecast",
       R"( "Sunny")"},
      {"no escape character", R"({"day1_forecast":"a\"b","x":1})", "day1_forecast", "a\\"},
      {"first occurrence wins", R"({"day1_sunrise":"06:10","day1_sunrise":"07:00"})", "day1_sunrise",
       "06:10"},
      {"neither comma nor brace", R"("day1_uv_index_max":5)", "day1_uv_index_max", ""},
      {"unquoted value runs past a brace to the comma", R"({"a":{"day1_uv_index_max":5},"b":2})",
       "day1_uv_index_max", "5}"},
      {"braces inside quotes", R"({"day1_forecast":"{odd}, fine"})", "day1_forecast", "{odd}, fine"},
      {"unclosed quote", R"({"day1_forecast":"Sunny)", "day1_forecast", ""},
      {"empty unquoted value", R"({"current_temperature":,"x":1})", "current_temperature", ""},
      {"key case is ignored", R"({"Day1_Forecast":"Fog"})", "day1_forecast", "Fog"},
      {"line ends between pairs", "{\r  \"day1_sunset\":\"18:00\",\r}", "day1_sunset", "18:00"},
      {"positions count characters", R"({"déjà":"vu","day1_forecast":"Névé","x":1})", "day1_forecast",
       "Névé"},
      {"empty reply", "", "current_temperature", ""},
      // Reading on from position 0 would give the two characters 0" here.
      {"absent key", R"({"day1_sunrise":"06:10","day1_sunset":"18:00"})", "current_temperature", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(Globals::ExtractValue(c.text, c.key), c.expected) << c.what;
}

using CoreWeatherTest = CoreTest;

// Every key of the reply, each with the value it must land in.
std::vector<std::pair<std::string, std::string*>> AllKeys() {
  namespace W = WeatherValues;
  std::vector<std::pair<std::string, std::string*>> keys = {
      {"current_temperature", &W::Day1TempCurrent},
      {"current_apparent_temperature", &W::FeelsLikeCurrent},
      {"day1_windspeed_max", &W::Day1WindspeedMax},
      {"day1_windgusts_max", &W::Day1WindgustsMax},
      {"day1_uv_index_max", &W::Day1UVIndex},
      {"day1_winddirection_dominant", &W::Day1WindDirection},
      {"day1_sunrise", &W::Day1Sunrise},
      {"day1_sunset", &W::Day1Sunset}};
  const std::vector<std::pair<std::string, std::vector<std::string*>>> families = {
      {"temperature_max",
       {&W::Day1TempMax, &W::Day2TempMax, &W::Day3TempMax, &W::Day4TempMax, &W::Day5TempMax, &W::Day6TempMax,
        &W::Day7TempMax}},
      {"temperature_min",
       {&W::Day1TempMin, &W::Day2TempMin, &W::Day3TempMin, &W::Day4TempMin, &W::Day5TempMin, &W::Day6TempMin,
        &W::Day7TempMin}},
      {"forecast",
       {&W::Day1Forecast, &W::Day2Forecast, &W::Day3Forecast, &W::Day4Forecast, &W::Day5Forecast,
        &W::Day6Forecast, &W::Day7Forecast}},
      {"precipitation_probability_max",
       {&W::Day1Precipitation, &W::Day2Precipitation, &W::Day3Precipitation, &W::Day4Precipitation,
        &W::Day5Precipitation, &W::Day6Precipitation, &W::Day7Precipitation}},
      {"humidity_probability_max",
       {&W::Day1Humidity, &W::Day2Humidity, &W::Day3Humidity, &W::Day4Humidity, &W::Day5Humidity,
        &W::Day6Humidity, &W::Day7Humidity}},
  };
  for (const auto& [suffix, days] : families) {
    for (std::size_t d = 0; d < days.size(); ++d)
      keys.emplace_back("day" + std::to_string(d + 1) + "_" + suffix, days[d]);
  }
  return keys;
}

// A reply in the proxy's layout, one pair a line, giving each key a value
// of its own (quoted with a comma inside for the forecasts).
std::string FullReply() {
  std::string reply = "{\n";
  int n = 0;
  for (const auto& [key, value] : AllKeys()) {
    const std::string v = fw::InStr(key, "forecast") ? "\"Text " + std::to_string(++n) + ", more\""
                                                     : std::to_string(++n) + ".5";
    reply += "  \"" + key + "\":" + v + ",\n";
  }
  return reply + "  \"unknown_key\":1\n}";
}

TEST_F(CoreWeatherTest, FullReplyFillsAllValuesAndLabels) {
  WeatherValues::UnitTemp = "C";
  WeatherValues::UnitSpeed = "km/h";
  Win();
  Globals::ParseResponse(FullReply());

  const auto keys = AllKeys();
  std::set<std::string*> distinct;
  int n = 0;
  for (const auto& [key, value] : keys) {
    distinct.insert(value);
    const std::string expected =
        fw::InStr(key, "forecast") ? "Text " + std::to_string(++n) + ", more" : std::to_string(++n) + ".5";
    EXPECT_EQ(*value, expected) << key;
  }
  EXPECT_EQ(distinct.size(), 43u);  // with the two units: all 45 values
  EXPECT_EQ(WeatherValues::UnitTemp, "C");
  EXPECT_EQ(WeatherValues::UnitSpeed, "km/h");

  EXPECT_EQ(Label("ForecastLabel"), WeatherValues::Day1Forecast);
  EXPECT_EQ(Label("UVIndexLabel"), WeatherValues::Day1UVIndex);
  EXPECT_EQ(Label("SunriseLabel"), WeatherValues::Day1Sunrise);
  EXPECT_EQ(Label("SunsetLabel"), WeatherValues::Day1Sunset);
  EXPECT_EQ(Label("PrecipitationLabel"), WeatherValues::Day1Precipitation + "%");
  EXPECT_EQ(Label("Current"), WeatherValues::Day1TempCurrent + fw::Chr(161) + "C");
  EXPECT_FALSE(Win().Ctl<fw::ChasingArrows>("ChasingArrows1").Visible());
}

TEST_F(CoreWeatherTest, RequestLineCarriesThePlaceAsTyped) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"Naseby, Otago, New Zealand", "Naseby,%20Otago,%20New%20Zealand"},
      {"", ""},
  };
  for (const auto& [place, query] : cases) {
    const int before = server.ConnectionCount();
    server.Enqueue(Script::Reply(200, "{}"));
    Globals::UserLocation = place;
    Globals::GetForecast();

    // Started at once: the loading look, the request kind and the animation.
    EXPECT_EQ(Globals::RequestType, "WEATHER");
    EXPECT_EQ(Label("ForecastLabel"), "Loading..");
    EXPECT_EQ(Status(), "Connecting to server...");
    EXPECT_EQ(Win().Ctl<fw::Timer>("DigitInit").GetMode(), fw::Timer::Single);
    EXPECT_EQ(Win().Ctl<fw::Timer>("DigitFlip").GetMode(), fw::Timer::Multiple);
    EXPECT_TRUE(Win().Ctl<fw::StaticText>("Digit").Visible());

    ASSERT_TRUE(WaitUntil([&] { return server.FinishedCount() == before + 1 && Status().empty(); }))
        << "status: " << Status();
    const std::string request = server.Requests().at(static_cast<std::size_t>(before));
    EXPECT_EQ(request.substr(0, request.find("\r\n")),
              "GET /breezeling/weather?location=" + query + " HTTP/1.0");
    EXPECT_NE(request.find("\r\nHost: " + server.HostPort() + "\r\n"), std::string::npos);
  }
}

}  // namespace
