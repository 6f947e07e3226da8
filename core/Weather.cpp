#include "core/Weather.h"

#include <array>
#include <cstddef>
#include <memory>
#include <type_traits>

#include "app/MainWin.h"
#include "app/MainWindowFilling.h"
#include "core/Globals.h"
#include "core/Hosts.h"
#include "core/MyHTTPSocket.h"
#include "core/Transport.h"
#include "core/Units.h"
#include "core/WeatherValues.h"
#include "framework/text/Text.h"
#include "framework/ui/Controls.h"
#include "windows/ForecastFilling.h"
#include "windows/SettingsWin.h"

namespace Globals {

namespace {

struct Field {
  const char* key;
  std::string* value;
};

// The keys in the order they are read, each with the value it fills. The
// two unit values have no key: only the unit converters write them.
const auto& ReadOrder() {
  static const auto order = std::to_array<Field>({
      {"current_temperature", &WeatherValues::Day1TempCurrent},
      {"day1_windgusts_max", &WeatherValues::Day1WindgustsMax},
      {"day1_windspeed_max", &WeatherValues::Day1WindspeedMax},
      {"day1_forecast", &WeatherValues::Day1Forecast},
      {"day1_uv_index_max", &WeatherValues::Day1UVIndex},
      {"day1_precipitation_probability_max", &WeatherValues::Day1Precipitation},
      {"day1_winddirection_dominant", &WeatherValues::Day1WindDirection},
      {"day1_sunrise", &WeatherValues::Day1Sunrise},
      {"day1_sunset", &WeatherValues::Day1Sunset},
      {"day2_forecast", &WeatherValues::Day2Forecast},
      {"day3_forecast", &WeatherValues::Day3Forecast},
      {"day4_forecast", &WeatherValues::Day4Forecast},
      {"day5_forecast", &WeatherValues::Day5Forecast},
      {"day6_forecast", &WeatherValues::Day6Forecast},
      {"day7_forecast", &WeatherValues::Day7Forecast},
      {"day1_temperature_max", &WeatherValues::Day1TempMax},
      {"day2_temperature_max", &WeatherValues::Day2TempMax},
      {"day3_temperature_max", &WeatherValues::Day3TempMax},
      {"day4_temperature_max", &WeatherValues::Day4TempMax},
      {"day5_temperature_max", &WeatherValues::Day5TempMax},
      {"day6_temperature_max", &WeatherValues::Day6TempMax},
      {"day7_temperature_max", &WeatherValues::Day7TempMax},
      {"day1_temperature_min", &WeatherValues::Day1TempMin},
      {"day2_temperature_min", &WeatherValues::Day2TempMin},
      {"day3_temperature_min", &WeatherValues::Day3TempMin},
      {"day4_temperature_min", &WeatherValues::Day4TempMin},
      {"day5_temperature_min", &WeatherValues::Day5TempMin},
      {"day6_temperature_min", &WeatherValues::Day6TempMin},
      {"day7_temperature_min", &WeatherValues::Day7TempMin},
      {"day2_precipitation_probability_max", &WeatherValues::Day2Precipitation},
      {"day3_precipitation_probability_max", &WeatherValues::Day3Precipitation},
      {"day4_precipitation_probability_max", &WeatherValues::Day4Precipitation},
      {"day5_precipitation_probability_max", &WeatherValues::Day5Precipitation},
      {"day6_precipitation_probability_max", &WeatherValues::Day6Precipitation},
      {"day7_precipitation_probability_max", &WeatherValues::Day7Precipitation},
      {"day1_humidity_probability_max", &WeatherValues::Day1Humidity},
      {"day2_humidity_probability_max", &WeatherValues::Day2Humidity},
      {"day3_humidity_probability_max", &WeatherValues::Day3Humidity},
      {"day4_humidity_probability_max", &WeatherValues::Day4Humidity},
      {"day5_humidity_probability_max", &WeatherValues::Day5Humidity},
      {"day6_humidity_probability_max", &WeatherValues::Day6Humidity},
      {"day7_humidity_probability_max", &WeatherValues::Day7Humidity},
      {"current_apparent_temperature", &WeatherValues::FeelsLikeCurrent},
  });
  static_assert(std::tuple_size_v<std::remove_cvref_t<decltype(order)>> == 43);
  return order;
}

}  // namespace

std::string NormaliseLocation(const std::string& s) { return fw::ReplaceAll(s, " ", "%20"); }

std::string WithoutControlCharacters(const std::string& s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    const auto c = static_cast<unsigned char>(s[i]);
    // Bytes below 0x80 never occur inside a longer UTF-8 character, so C0
    // and DEL go byte by byte; a C1 code is the two bytes C2 80 to C2 9F.
    if (c < 0x20 || c == 0x7F) continue;
    if (c == 0xC2 && i + 1 < s.size()) {
      const auto next = static_cast<unsigned char>(s[i + 1]);
      if (next >= 0x80 && next <= 0x9F) {
        ++i;
        continue;
      }
    }
    out += s[i];
  }
  return out;
}

void GetForecast() {
  // The lock takes the weather out of service, whichever button or window
  // asks for it.
  if (AppLocked) return;

  auto socket = std::make_shared<MyHTTPSocket>();
  UserLocation = WithoutControlCharacters(UserLocation);
  const std::string url = Hosts::WeatherURL(NormaliseLocation(UserLocation));
  // This request goes out for the place as it stands, however short; the
  // next one asks for what the settings field holds.
  if (fw::Len(UserLocation) < 2)
    UserLocation = WithoutControlCharacters(SettingsWin::Instance().Ctl<fw::EditField>("Location").Text());

  ToggleLoadingStates(true);
  RequestType = "WEATHER";

  switch (Transport::kCarrier) {
    case Transport::Carrier::MyHTTPSocket:
      // The socket keeps itself alive until its last event.
      socket->GetURL(url);
      break;
    case Transport::Carrier::BasicHTTP:
      // Its page handler hands the reply to the same parsers.
      MainWin::Instance().Ctl<MainWin::HTTPSockControl>("HTTPSock").Get(url);
      break;
  }

  MainWin::Instance().StartDigitAnimation();
}

std::string ExtractValue(const std::string& text, const std::string& key) {
  const int p = fw::InStr(text, "\"" + key + "\":");
  // An absent key has no value. Reading on from position 0 as if it had
  // been found would pass off an unrelated stretch of the reply as its value.
  if (p == 0) return "";

  int start = p + fw::Len(key) + 3;  // the first character after the colon
  int end = 0;
  if (fw::Mid(text, start, 1) == "\"") {
    // Quoted text has no escape character: the next quote ends it.
    ++start;
    end = fw::InStr(start, text, "\"");
  } else {
    end = fw::InStr(start, text, ",");
    if (end == 0) end = fw::InStr(start, text, "}");
  }
  return start < end ? fw::Mid(text, start, end - start) : std::string();
}

void ParseResponse(const std::string& s) {
  for (const Field& field : ReadOrder()) *field.value = ExtractValue(s, field.key);

  // The proxy sends Celsius and km/h; only the other units need converting.
  if (fw::StrEq(UserTempUnit, "Fahrenheit")) ConvertTemps();
  if (fw::StrEq(UserSpeedUnit, "mph")) ConvertSpeeds();

  MainWin& win = MainWin::Instance();
  win.Ctl<fw::StaticText>("ForecastLabel").SetText(WeatherValues::Day1Forecast);
  win.Ctl<fw::StaticText>("UVIndexLabel").SetText(WeatherValues::Day1UVIndex);
  win.Ctl<fw::StaticText>("WindDirectionLabel")
      .SetText(AngleToCompassDirection(fw::ToInt32(fw::Val(WeatherValues::Day1WindDirection))));
  win.Ctl<fw::StaticText>("SunriseLabel").SetText(WeatherValues::Day1Sunrise);
  win.Ctl<fw::StaticText>("SunsetLabel").SetText(WeatherValues::Day1Sunset);
  win.Ctl<fw::StaticText>("PrecipitationLabel").SetText(WeatherValues::Day1Precipitation + "%");

  PopulateMainWindow();
  if (ForecastWinOpen) PopulateForecastWindow();
  ToggleLoadingStates(false);
}

}  // namespace Globals
