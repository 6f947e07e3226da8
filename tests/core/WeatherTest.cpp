// The weather request's URL and the reader of the proxy's reply.
#include <array>
#include <tuple>

#include "CoreFixture.h"
#include "core/Weather.h"
#include "framework/text/Text.h"
#include "framework/ui/StaticText.h"
#include "framework/ui/Timer.h"

namespace {

TEST(NormaliseLocation, OnlyBlanksAreEncoded) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", ""}, {"Naseby", "Naseby"}, {"  ", "%20%20"}, {"Zürich&x=1?", "Zürich&x=1?"}};
  for (const auto& [place, expected] : cases) EXPECT_EQ(Globals::NormaliseLocation(place), expected) << place;
}

TEST(ExtractValue, FollowsTheReplyRules) {
  const std::string sample =
      R"({"current_temperature":12.5,"day1_forecast":"Rain, heavy at times","current_apparent_temperature":9.1})";
  // What the row shows, the reply, the key and the value read.
  const std::vector<std::array<std::string, 4>> cases = {
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
  for (const auto& [what, text, key, expected] : cases)
    EXPECT_EQ(Globals::ExtractValue(text, key), expected) << what;
}

using CoreWeatherTest = CoreTest;

// The seven days' forecasts, temperatures, precipitation and humidity are
// followed into the forecast window by the window tests; here the rest.
TEST_F(CoreWeatherTest, AReplyInTheProxysLayoutFillsItsValuesAndLabels) {
  namespace W = WeatherValues;
  // Key, where its value lands, the value as the reply gives it.
  const std::vector<std::tuple<std::string, std::string*, std::string>> keys = {
      {"current_temperature", &W::Day1TempCurrent, "1.5"},
      {"current_apparent_temperature", &W::FeelsLikeCurrent, "2.5"},
      {"day1_windspeed_max", &W::Day1WindspeedMax, "3.5"},
      {"day1_windgusts_max", &W::Day1WindgustsMax, "4.5"},
      {"day1_uv_index_max", &W::Day1UVIndex, "5"},
      {"day1_winddirection_dominant", &W::Day1WindDirection, "6"},
      {"day1_sunrise", &W::Day1Sunrise, "06:10"},
      {"day1_sunset", &W::Day1Sunset, "18:00"},
      {"day1_forecast", &W::Day1Forecast, "Rain, heavy at times"},
      {"day1_precipitation_probability_max", &W::Day1Precipitation, "90"}};
  // One pair a line; texts with a colon or comma quoted.
  std::string reply = "{\n";
  for (const auto& [key, value, text] : keys) {
    const bool quoted = fw::InStr(text, ":") || fw::InStr(text, ",");
    reply += "  \"" + key + "\":" + (quoted ? "\"" + text + "\"" : text) + ",\n";
  }
  WeatherValues::UnitTemp = "C";
  WeatherValues::UnitSpeed = "km/h";
  Win();
  Globals::ParseResponse(reply + "  \"unknown_key\":1\n}");

  for (const auto& [key, value, text] : keys) EXPECT_EQ(*value, text) << key;
  EXPECT_EQ(WeatherValues::UnitTemp + " " + WeatherValues::UnitSpeed, "C km/h");
  EXPECT_EQ(Label("ForecastLabel"), "Rain, heavy at times");
  EXPECT_EQ(Label("UVIndexLabel") + " " + Label("SunriseLabel") + " " + Label("SunsetLabel"),
            "5 06:10 18:00");
  EXPECT_EQ(Label("PrecipitationLabel"), "90%");
  EXPECT_EQ(Label("Current"), "1.5" + fw::Chr(161) + "C");
  EXPECT_FALSE(LoadingLook());
}

TEST_F(CoreWeatherTest, RequestStartsTheLoadingLookAndCarriesThePlaceAsTyped) {
  server.Enqueue(Script::Reply(200, "{}"));
  Globals::UserLocation = "Naseby, Otago, New Zealand";
  Globals::GetForecast();
  // Started at once: the loading look, the request kind and the animation.
  EXPECT_EQ(Globals::RequestType, "WEATHER");
  EXPECT_EQ(Label("ForecastLabel"), "Loading..");
  EXPECT_EQ(Status(), "Connecting to server...");
  EXPECT_EQ(Win().Ctl<fw::Timer>("DigitInit").GetMode(), fw::Timer::Single);
  EXPECT_EQ(Win().Ctl<fw::Timer>("DigitFlip").GetMode(), fw::Timer::Multiple);
  EXPECT_TRUE(Win().Ctl<fw::StaticText>("Digit").Visible());

  ASSERT_TRUE(WaitUntil([&] { return server.FinishedCount() == 1 && Status().empty(); })) << Status();
  const std::string request = server.Requests().at(0);
  EXPECT_EQ(request.substr(0, request.find("\r\n")),
            "GET /breezeling/weather?location=Naseby,%20Otago,%20New%20Zealand HTTP/1.0");
  EXPECT_NE(request.find("\r\nHost: " + server.HostPort() + "\r\n"), std::string::npos);
}

}  // namespace
