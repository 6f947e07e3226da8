#include "core/Weather.h"

#include <cstddef>
#include <memory>

#include "core/Globals.h"
#include "core/Hosts.h"
#include "core/MyHTTPSocket.h"
#include "core/Transport.h"
#include "core/Units.h"
#include "core/Views.h"
#include "core/WeatherTable.h"
#include "framework/text/Text.h"

namespace Globals {

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
  if (fw::Len(UserLocation) < 2) UserLocation = WithoutControlCharacters(Views::Settings().Location());

  Views::Main().ToggleLoadingStates(true);
  RequestType = "WEATHER";

  switch (Transport::kCarrier) {
    case Transport::Carrier::MyHTTPSocket:
      // The socket keeps itself alive until its last event.
      socket->GetURL(url);
      break;
    case Transport::Carrier::BasicHTTP:
      // Its page handler hands the reply to the same parsers.
      Views::Main().GetWithOwnClient(url);
      break;
  }

  Views::Main().StartDigitAnimation();
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
  for (const WeatherTable::Entry& entry : WeatherTable::Entries()) *entry.value = ExtractValue(s, entry.key);

  // The proxy sends Celsius and km/h; only the other units need converting.
  if (fw::StrEq(UserTempUnit, "Fahrenheit")) ConvertTemps();
  if (fw::StrEq(UserSpeedUnit, "mph")) ConvertSpeeds();

  Views::MainView& main = Views::Main();
  main.ShowReading();
  main.PopulateMainWindow();
  if (ForecastWinOpen) Views::Forecast().PopulateForecastWindow();
  main.ToggleLoadingStates(false);
}

}  // namespace Globals
