// The reader of the weather proxy's reply, with the main window (and the
// forecast window, when the input asks for it) filled from what it read.
// Input: one byte of flags (bit 0 Fahrenheit, bit 1 mph, bit 2 the forecast
// window is open), then the reply's text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "CoreSetup.h"
#include "core/Weather.h"
#include "core/WeatherValues.h"
#include "framework/ui/ChasingArrows.h"

namespace {

namespace W = WeatherValues;

// Values that no unit conversion touches: each is a stretch of the reply.
const std::vector<std::string*>& Unconverted() {
  static const std::vector<std::string*> values = {
      &W::Day1Forecast,      &W::Day2Forecast,      &W::Day3Forecast,      &W::Day4Forecast,
      &W::Day5Forecast,      &W::Day6Forecast,      &W::Day7Forecast,      &W::Day1Precipitation,
      &W::Day2Precipitation, &W::Day3Precipitation, &W::Day4Precipitation, &W::Day5Precipitation,
      &W::Day6Precipitation, &W::Day7Precipitation, &W::Day1Humidity,      &W::Day2Humidity,
      &W::Day3Humidity,      &W::Day4Humidity,      &W::Day5Humidity,      &W::Day6Humidity,
      &W::Day7Humidity,      &W::Day1WindDirection, &W::Day1UVIndex,       &W::Day1Sunrise,
      &W::Day1Sunset};
  return values;
}

void FuzzOne(const std::uint8_t* data, std::size_t size) {
  fuzz::StartCore();
  fuzz::Input input(data, size);
  const std::uint8_t flags = input.Byte();
  const std::string reply = input.Rest();

  Globals::UserTempUnit = (flags & 1) ? "Fahrenheit" : "Celsius";
  Globals::UserSpeedUnit = (flags & 2) ? "mph" : "km/h";
  Globals::ForecastWinOpen = (flags & 4) != 0;

  Globals::ParseResponse(reply);

  for (const std::string* value : Unconverted()) {
    FUZZ_CHECK(reply.find(*value) != std::string::npos, "a value that is not in the reply: " + *value);
  }
  FUZZ_CHECK(!MainWin::Instance().Ctl<fw::ChasingArrows>("ChasingArrows1").Visible(),
             "the main window stays in its loading look after a reply");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzOne(data, size);
  // After FuzzOne's objects are gone, so that what they queued runs too.
  fuzz::Settle();
  return 0;
}
