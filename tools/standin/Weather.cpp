#include "tools/standin/Weather.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace standin {
namespace {

// Everything derives from a hash of the place (its climate) and of the place
// plus the calendar day (that day's weather). The generator is spelled out
// here rather than taken from <random>, whose distributions differ between
// standard libraries: the same request must give the same reply everywhere.
std::uint64_t Fnv1a(std::string_view text) {
  std::uint64_t h = 1469598103934665603ull;
  for (unsigned char c : text) {
    h ^= c;
    h *= 1099511628211ull;
  }
  return h;
}

std::uint64_t Mix(std::uint64_t z) {
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
  return z ^ (z >> 31);
}

class Rng {
 public:
  explicit Rng(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() { return Mix(state_ += 0x9e3779b97f4a7c15ull); }
  double Unit() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }
  double Range(double lo, double hi) { return lo + (hi - lo) * Unit(); }
  int Int(int lo, int hi) {  // inclusive
    return lo + static_cast<int>(Next() % static_cast<std::uint64_t>(hi - lo + 1));
  }
  template <std::size_t N>
  std::string_view Pick(const std::array<std::string_view, N>& items) {
    return items[Next() % N];
  }

 private:
  std::uint64_t state_;
};

bool ContainsAny(std::string_view place, std::initializer_list<std::string_view> words) {
  return std::any_of(words.begin(), words.end(),
                     [&](std::string_view w) { return place.find(w) != std::string_view::npos; });
}

// What follows the last comma, trimmed: a trailing country code.
std::string_view LastSegment(std::string_view place) {
  std::size_t comma = place.rfind(',');
  std::string_view tail = comma == std::string_view::npos ? place : place.substr(comma + 1);
  while (!tail.empty() && tail.front() == ' ') tail.remove_prefix(1);
  return tail;
}

enum class Zone { Temperate, Tropical, Polar };

struct Climate {
  bool southern = false;
  Zone zone = Zone::Temperate;
  double meanTemp = 10;       // yearly mean of the daily mean, °C
  double seasonalSwing = 7;   // summer mean minus yearly mean
  double dailyRange = 8;      // typical max minus min on a dry day
  double wetness = 40;        // typical precipitation probability
  double windiness = 14;      // typical wind speed, km/h
  int prevailingWind = 240;   // degrees
  double dayLengthSwing = 4;  // hours the day grows from equinox to midsummer
  int solarNoon = 750;        // minutes after midnight, local clock
  double uvPeak = 7;          // clear-sky midsummer UV index
};

// A rough latitude from the name: a few well-known southern and tropical
// countries and cold regions; anything else is a temperate northern place.
Climate ClimateFor(const std::string& place) {
  Climate c;
  Rng r(Fnv1a(place));
  std::string_view code = LastSegment(place);
  c.southern =
      code == "nz" || code == "au" || code == "za" ||
      ContainsAny(place, {"new zealand", "aotearoa", "australia", "tasmania", "otago",      "south africa",
                          "argentina",   "chile",    "uruguay",   "paraguay", "brazil",     "peru",
                          "bolivia",     "lesotho",  "namibia",   "botswana", "antarctica", "falkland",
                          "patagonia",   "fiji",     "samoa"});
  if (ContainsAny(place, {"iceland", "greenland", "alaska", "svalbard", "yukon", "nunavut", "siberia",
                          "lapland", "antarctica", "faroe"})) {
    c.zone = Zone::Polar;
  } else if (ContainsAny(place, {"singapore", "malaysia", "indonesia",  "thailand", "philippines",
                                 "vietnam",   "cambodia", "sri lanka",  "hawaii",   "fiji",
                                 "samoa",     "jamaica",  "barbados",   "cuba",     "puerto rico",
                                 "colombia",  "ecuador",  "venezuela",  "kenya",    "nigeria",
                                 "ghana",     "panama",   "costa rica", "bali",     "brazil"})) {
    c.zone = Zone::Tropical;
  }
  switch (c.zone) {
    case Zone::Temperate:
      c.meanTemp = r.Range(7, 16);
      c.seasonalSwing = r.Range(5, 11);
      c.dailyRange = r.Range(6, 11);
      c.wetness = r.Range(25, 55);
      c.dayLengthSwing = r.Range(2.5, 4.5);
      c.uvPeak = r.Range(6, 8.5);
      break;
    case Zone::Tropical:
      c.meanTemp = r.Range(25.5, 28);
      c.seasonalSwing = r.Range(0.5, 2);
      c.dailyRange = r.Range(5, 9);
      c.wetness = r.Range(40, 65);
      c.dayLengthSwing = r.Range(0.3, 1);
      c.uvPeak = r.Range(10, 11);
      break;
    case Zone::Polar:
      c.meanTemp = r.Range(-6, 2);
      c.seasonalSwing = r.Range(7, 13);
      c.dailyRange = r.Range(3, 7);
      c.wetness = r.Range(35, 60);
      c.dayLengthSwing = r.Range(6, 8);
      c.uvPeak = r.Range(3, 5);
      break;
  }
  c.windiness = r.Range(8, 22);
  c.prevailingWind = r.Int(0, 359);
  c.solarNoon = r.Int(12 * 60, 13 * 60 + 45);
  return c;
}

constexpr double kYear = 365.25;

// +1 at the height of the local summer, -1 in midwinter. Temperature lags
// the sun by about four weeks; day length does not.
double Season(const Climate& c, int dayOfYear, int peakNorth) {
  int peak = c.southern ? peakNorth + 183 : peakNorth;
  return std::cos(2 * std::numbers::pi * (dayOfYear - peak) / kYear);
}

struct Day {
  int maxTenths = 0;
  int minTenths = 0;
  int precipitation = 0;  // percent
  int humidity = 0;       // percent
  int windTenths = 0;     // km/h
  int gustTenths = 0;
  int uvTenths = 0;
  int windDirection = 0;
  int sunrise = 0;  // minutes after midnight
  int sunset = 0;
  std::string_view forecast;
};

int Tenths(double x) { return static_cast<int>(std::lround(x * 10.0)); }

std::string FormatTenths(int tenths) {
  std::string s;
  if (tenths < 0) {
    s = "-";
    tenths = -tenths;
  }
  s += std::to_string(tenths / 10);
  s += '.';
  s += static_cast<char>('0' + tenths % 10);
  return s;
}

std::string FormatClock(int minutes) {
  minutes = std::clamp(minutes, 0, 23 * 60 + 59);
  std::string s;
  s += static_cast<char>('0' + minutes / 600);
  s += static_cast<char>('0' + minutes / 60 % 10);
  s += ':';
  s += static_cast<char>('0' + minutes % 60 / 10);
  s += static_cast<char>('0' + minutes % 10);
  return s;
}

// A sentence that agrees with the numbers: wet words only when rain is
// likely, snow only when it is cold enough, none at all on dry days.
std::string_view Sentence(Rng& r, const Day& d, double windKmh) {
  const double max = d.maxTenths / 10.0;
  const int p = d.precipitation;
  if (p >= 75) {
    if (max <= 1.5)
      return r.Pick(std::array<std::string_view, 2>{"Heavy snow at times", "Snow through the day, settling"});
    if (max <= 4)
      return r.Pick(
          std::array<std::string_view, 2>{"Sleet and rain, cold and raw", "Wintry showers with some sleet"});
    if (max >= 24)
      return r.Pick(std::array<std::string_view, 2>{"Thunderstorms with heavy downpours",
                                                    "Humid with thundery showers"});
    if (windKmh >= 30) return "Wind and rain, stormy at times";
    return r.Pick(std::array<std::string_view, 3>{"Rain for most of the day", "Steady rain, heavy at times",
                                                  "Persistent rain, clearing late"});
  }
  if (p >= 50) {
    if (max <= 1.5) return "Snow showers on and off";
    return r.Pick(std::array<std::string_view, 4>{"Showers, some heavy", "Light rain easing by evening",
                                                  "Scattered showers and bright spells",
                                                  "Morning rain, drier later"});
  }
  if (p >= 25) {
    if (max <= 1.5) return "Cloudy, a few flurries possible";
    return r.Pick(
        std::array<std::string_view, 4>{"Mostly cloudy, a passing shower", "Cloudy with a chance of drizzle",
                                        "Overcast, turning brighter later", "Grey start, brightening later"});
  }
  if (d.humidity >= 85)
    return r.Pick(
        std::array<std::string_view, 2>{"Morning fog, then sunny spells", "Misty start, bright afternoon"});
  if (max >= 30)
    return r.Pick(
        std::array<std::string_view, 3>{"Hot and sunny", "Sunny and very warm", "Hot, with hazy sunshine"});
  if (max <= 2)
    return r.Pick(std::array<std::string_view, 2>{"Crisp and clear, frost overnight", "Cold and bright"});
  if (windKmh >= 30)
    return r.Pick(std::array<std::string_view, 2>{"Breezy with sunny spells", "Blustery but dry"});
  return r.Pick(std::array<std::string_view, 5>{"Sunny with a light breeze", "Clear skies all day",
                                                "Partly cloudy", "Fair with high cloud",
                                                "Sunny spells, fair-weather cloud"});
}

using std::chrono::sys_days;

std::uint64_t DaySeed(const std::string& place, sys_days date, std::uint64_t salt) {
  auto n = static_cast<std::uint64_t>(date.time_since_epoch().count());
  return Mix(Fnv1a(place) ^ Mix(n * 0x100000001b3ull + salt));
}

int DayOfYear(sys_days date) {
  std::chrono::year_month_day ymd{date};
  return static_cast<int>((date - sys_days{ymd.year() / std::chrono::January / 1}).count()) + 1;
}

// The weather of one calendar day, independent of the day it is asked on.
Day WeatherOn(const std::string& place, const Climate& c, sys_days date) {
  Rng r(DaySeed(place, date, 1));
  Rng yesterday(DaySeed(place, date - std::chrono::days{1}, 1));
  const int doy = DayOfYear(date);
  const double warmth = Season(c, doy, 200);  // warmest around mid-July in the north
  const double light = Season(c, doy, 172);   // longest day at the June solstice in the north

  Day d;
  // Blend with yesterday's draw so that spells of weather last a little.
  const double spell = 0.65 * r.Range(-1, 1) + 0.35 * yesterday.Range(-1, 1);
  d.precipitation =
      std::clamp(static_cast<int>(std::lround(c.wetness + 55 * spell + r.Range(-12, 12))), 0, 100);
  const double wet = d.precipitation / 100.0;

  const double mean = c.meanTemp + c.seasonalSwing * warmth + r.Range(-3, 3) - (wet - 0.5) * 1.5;
  const double range = std::max(1.5, c.dailyRange * (1 - 0.45 * wet) + r.Range(-1, 1));
  d.maxTenths = Tenths(mean + range / 2);
  d.minTenths = std::min(Tenths(mean - range / 2), d.maxTenths - 10);

  const double humid = c.zone == Zone::Tropical ? 15 : 0;
  d.humidity = std::clamp(static_cast<int>(std::lround(45 + 45 * wet + humid + r.Range(-12, 12))), 10, 100);

  const double wind = c.windiness * r.Range(0.55, 1.5) + 8 * wet;
  d.windTenths = std::max(5, Tenths(wind));
  d.gustTenths = d.windTenths + std::max(10, Tenths(wind * r.Range(0.3, 0.9) + 3));
  d.windDirection = ((c.prevailingWind + r.Int(-100, 100)) % 360 + 360) % 360;

  const double sun = std::clamp(0.575 + 0.425 * light, 0.15, 1.0);
  d.uvTenths = std::clamp(Tenths(c.uvPeak * sun * (1 - 0.6 * wet) + r.Range(-0.4, 0.4)), 0, 110);

  const double hours = std::clamp(12 + c.dayLengthSwing * light, 3.0, 21.0);
  const int half = static_cast<int>(std::lround(hours * 30)) + r.Int(-2, 2);
  d.sunrise = c.solarNoon - half;
  d.sunset = c.solarNoon + half;

  d.forecast = Sentence(r, d, wind);
  return d;
}

sys_days ClampedDate(int year, int month, int day) {
  using namespace std::chrono;
  const int y = std::clamp(year, -30000, 30000);
  const unsigned m = static_cast<unsigned>(std::clamp(month, 1, 12));
  const int dd = std::clamp(day, 1, 31);
  return sys_days{std::chrono::year{y} / std::chrono::month{m} / 1} + days{dd - 1};
}

}  // namespace

std::string NormalisePlace(std::string_view raw) {
  auto hex = [](char ch) -> int {
    if (ch >= '0' && ch <= '9') return ch - '0';
    if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
    return -1;
  };
  std::string out;
  out.reserve(raw.size());
  for (std::size_t i = 0; i < raw.size(); ++i) {
    char ch = raw[i];
    if (ch == '%' && i + 2 < raw.size() && hex(raw[i + 1]) >= 0 && hex(raw[i + 2]) >= 0) {
      ch = static_cast<char>(hex(raw[i + 1]) * 16 + hex(raw[i + 2]));
      i += 2;
    }
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    out += ch;
  }
  const auto blank = [](char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n'; };
  while (!out.empty() && blank(out.back())) out.pop_back();
  std::size_t lead = 0;
  while (lead < out.size() && blank(out[lead])) ++lead;
  out.erase(0, lead);
  if (out.empty()) return NormalisePlace(kDefaultPlace);
  return out;
}

std::string WeatherReply(const std::string& rawPlace, int year, int month, int day) {
  const std::string place = NormalisePlace(rawPlace);
  const Climate climate = ClimateFor(place);
  const sys_days today = ClampedDate(year, month, day);

  std::vector<Day> days;
  for (int n = 0; n < 7; ++n) days.push_back(WeatherOn(place, climate, today + std::chrono::days{n}));
  const Day& d1 = days.front();

  // The current reading: somewhere inside today's range, and the apparent
  // temperature near it (wind chill when cold, humidity when hot).
  Rng now(DaySeed(place, today, 2));
  const int current =
      d1.minTenths + static_cast<int>(std::lround((d1.maxTenths - d1.minTenths) * now.Range(0.25, 0.9)));
  const double currentC = current / 10.0;
  double apparent = currentC + now.Range(-1.2, 0.8);
  if (currentC < 10) apparent -= d1.windTenths / 10.0 * now.Range(0.05, 0.15);
  if (currentC > 24 && d1.humidity > 60) apparent += now.Range(0.5, 3);
  apparent = std::clamp(apparent, currentC - 4.5, currentC + 3.5);

  std::string out = "{";
  bool first = true;
  auto add = [&](std::string_view key, const std::string& value) {
    if (!first) out += ",\n";
    first = false;
    out += '"';
    out += key;
    out += "\":";
    out += value;
  };
  auto quoted = [](std::string_view text) { return "\"" + std::string(text) + "\""; };
  auto each = [&](std::string_view suffix, auto valueOf) {
    for (int n = 0; n < 7; ++n)
      add("day" + std::to_string(n + 1) + std::string(suffix), valueOf(days[static_cast<std::size_t>(n)]));
  };

  add("current_temperature", FormatTenths(current));
  add("current_apparent_temperature", FormatTenths(Tenths(apparent)));
  each("_temperature_max", [](const Day& d) { return FormatTenths(d.maxTenths); });
  each("_temperature_min", [](const Day& d) { return FormatTenths(d.minTenths); });
  each("_forecast", [&](const Day& d) { return quoted(d.forecast); });
  each("_precipitation_probability_max", [](const Day& d) { return std::to_string(d.precipitation); });
  each("_humidity_probability_max", [](const Day& d) { return std::to_string(d.humidity); });
  add("day1_windspeed_max", FormatTenths(d1.windTenths));
  add("day1_windgusts_max", FormatTenths(d1.gustTenths));
  add("day1_uv_index_max", FormatTenths(d1.uvTenths));
  add("day1_winddirection_dominant", std::to_string(d1.windDirection));
  add("day1_sunrise", quoted(FormatClock(d1.sunrise)));
  add("day1_sunset", quoted(FormatClock(d1.sunset)));
  out += "}\n";
  return out;
}

}  // namespace standin
