// The stand-in's weather reply: complete, readable by the application's key
// rules, plausible and repeatable.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <string>
#include <vector>

#include "framework/text/Text.h"
#include "tools/standin/Weather.h"

namespace {

using standin::WeatherReply;

std::vector<std::string> AllKeys() {
  std::vector<std::string> keys = {
      "current_temperature", "current_apparent_temperature", "day1_windspeed_max", "day1_windgusts_max",
      "day1_uv_index_max",   "day1_winddirection_dominant",  "day1_sunrise",       "day1_sunset"};
  for (const char* family : {"_temperature_max", "_temperature_min", "_forecast",
                             "_precipitation_probability_max", "_humidity_probability_max"}) {
    for (int n = 1; n <= 7; ++n) keys.push_back("day" + std::to_string(n) + family);
  }
  return keys;
}

std::size_t Count(const std::string& text, const std::string& pattern) {
  std::size_t n = 0;
  for (std::size_t at = text.find(pattern); at != std::string::npos; at = text.find(pattern, at + 1)) ++n;
  return n;
}

// The value as the application reads it: quoted text up to the next quote,
// anything else up to the next comma (or the closing brace).
std::string Value(const std::string& reply, const std::string& key) {
  const std::size_t p = reply.find("\"" + key + "\":");
  if (p == std::string::npos) return "<missing>";
  const bool quoted = reply.compare(p + key.size() + 3, 1, "\"") == 0;
  const std::size_t start = p + key.size() + 3 + quoted;
  std::size_t end = reply.find(quoted ? '"' : ',', start);
  if (end == std::string::npos && !quoted) end = reply.find('}', start);
  return end == std::string::npos || end <= start ? std::string() : reply.substr(start, end - start);
}

double Number(const std::string& reply, const std::string& key) {
  const std::string text = Value(reply, key);
  double value = 0;
  auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  EXPECT_TRUE(ec == std::errc() && ptr == text.data() + text.size() && !text.empty())
      << key << " is not a bare number: \"" << text << "\"";
  return value;
}

bool HasOneDecimal(const std::string& text) {
  const std::size_t dot = text.find('.');
  return dot != std::string::npos && dot + 2 == text.size();
}

int Minutes(const std::string& clock) {
  EXPECT_EQ(clock.size(), 5u) << clock;
  if (clock.size() != 5 || clock[2] != ':') return -1;
  return std::stoi(clock.substr(0, 2)) * 60 + std::stoi(clock.substr(3, 2));
}

bool MentionsWet(const std::string& sentence) {
  for (const char* word : {"rain", "shower", "snow", "sleet", "storm", "drizzle", "flurr"}) {
    if (fw::InStr(sentence, word) > 0) return true;  // in any letter case
  }
  return false;
}

struct Case {
  std::string place;
  int year, month, day;
};

std::vector<Case> ManyCases() {
  const std::vector<std::string> places = {"Naseby, Otago, New Zealand",
                                           "Oslo",
                                           "Singapore",
                                           "Nuuk, Greenland",
                                           "Phoenix, Arizona",
                                           "",
                                           "%20%20",
                                           "a,b,,c",
                                           "Z\xC3\xBCrich",
                                           "\"quoted\"",
                                           "%zz%2",
                                           "\xff\xfe",
                                           "Hobart, Australia"};
  std::vector<Case> cases = {{"Oslo", 2024, 2, 29},
                             {"Oslo", 2025, 13, 40}};  // the last clamped, not rejected
  for (const auto& place : places) {
    for (int month = 1; month <= 12; ++month) cases.push_back({place, 2026, month, 3 + month * 2});
  }
  return cases;
}

TEST(StandinWeather, EveryReplyIsCompleteAndPlausible) {
  const std::vector<std::string> keys = AllKeys();
  ASSERT_EQ(keys.size(), 43u);
  for (const Case& c : ManyCases()) {
    SCOPED_TRACE("place \"" + c.place + "\" month " + std::to_string(c.month));
    const std::string reply = WeatherReply(c.place, c.year, c.month, c.day);
    ASSERT_EQ(reply.front(), '{');
    EXPECT_EQ(Count(reply, "\":"), keys.size()) << "unexpected extra pairs";
    EXPECT_EQ(Count(reply, ": "), 0u) << "blank after a colon";
    for (const auto& key : keys) EXPECT_EQ(Count(reply, "\"" + key + "\":"), 1u) << key;

    for (int n = 1; n <= 7; ++n) {
      const std::string d = "day" + std::to_string(n);
      const double max = Number(reply, d + "_temperature_max"), min = Number(reply, d + "_temperature_min");
      EXPECT_GE(max, min) << d;
      EXPECT_TRUE(max < 50 && min > -60) << d;
      EXPECT_TRUE(HasOneDecimal(Value(reply, d + "_temperature_max")));
      for (const char* pct : {"_precipitation_probability_max", "_humidity_probability_max"}) {
        const double v = Number(reply, d + pct);
        EXPECT_TRUE(v >= 0 && v <= 100 && v == static_cast<int>(v)) << d << pct << " " << v;
      }
      const std::string forecast = Value(reply, d + "_forecast");
      EXPECT_FALSE(forecast.empty());
      EXPECT_LT(forecast.size(), 45u) << forecast;
      const double rain = Number(reply, d + "_precipitation_probability_max");
      if (rain >= 50) {
        EXPECT_TRUE(MentionsWet(forecast)) << forecast << " at " << rain << "%";
      } else if (rain < 25) {
        EXPECT_FALSE(MentionsWet(forecast)) << forecast << " at " << rain << "%";
      }
    }

    const double current = Number(reply, "current_temperature");
    EXPECT_GE(current, Number(reply, "day1_temperature_min"));
    EXPECT_LE(current, Number(reply, "day1_temperature_max"));
    EXPECT_NEAR(Number(reply, "current_apparent_temperature"), current, 5.0);

    const double wind = Number(reply, "day1_windspeed_max");
    EXPECT_GT(wind, 0);
    EXPECT_GE(Number(reply, "day1_windgusts_max"), wind);
    EXPECT_TRUE(HasOneDecimal(Value(reply, "day1_windgusts_max")));
    const double uv = Number(reply, "day1_uv_index_max"),
                 direction = Number(reply, "day1_winddirection_dominant");
    EXPECT_TRUE(uv >= 0 && uv <= 11) << uv;
    EXPECT_TRUE(direction >= 0 && direction <= 359 && direction == static_cast<int>(direction));
    const int sunrise = Minutes(Value(reply, "day1_sunrise"));
    EXPECT_TRUE(sunrise >= 0 && sunrise < Minutes(Value(reply, "day1_sunset"))) << sunrise;

    // A quoted value that held a quote would end early and leave the rest
    // of its text dangling before the next pair.
    for (const auto& key : keys) {
      const std::size_t at = reply.find("\"" + key + "\":") + key.size() + 3;
      if (reply[at] != '"') continue;
      const std::size_t close = reply.find('"', at + 1);
      ASSERT_NE(close, std::string::npos);
      EXPECT_TRUE(reply.compare(close + 1, 2, ",\n") == 0 || reply.compare(close + 1, 1, "}") == 0) << key;
    }
  }
}

TEST(StandinWeather, SamePlaceAndDateGiveTheSameReply) {
  const std::string a = WeatherReply("New%20York", 2026, 3, 14);
  EXPECT_EQ(a, WeatherReply("New%20York", 2026, 3, 14));
  EXPECT_EQ(a, WeatherReply(" new york", 2026, 3, 14)) << "decoding and case must not matter";
  EXPECT_NE(a, WeatherReply("New%20Yorkshire", 2026, 3, 14));
  EXPECT_NE(a, WeatherReply("New%20York", 2026, 3, 15));
  EXPECT_EQ(WeatherReply("", 2026, 3, 14), WeatherReply(std::string(standin::kDefaultPlace), 2026, 3, 14));
}

TEST(StandinWeather, TomorrowsFirstDayIsTodaysSecond) {
  const std::string today = WeatherReply("Lyon", 2026, 12, 31);
  const std::string tomorrow = WeatherReply("Lyon", 2027, 1, 1);
  for (const std::string family :
       {"_temperature_max", "_temperature_min", "_forecast", "_precipitation_probability_max"}) {
    EXPECT_EQ(Value(today, "day2" + family), Value(tomorrow, "day1" + family)) << family;
  }
}

double MeanMax(const std::string& place, int month) {
  double sum = 0;
  for (int day = 1; day <= 28; day += 3)
    sum += Number(WeatherReply(place, 2026, month, day), "day1_temperature_max");
  return sum / 10;
}

TEST(StandinWeather, SeasonsFollowTheHemisphere) {
  for (const char* place : {"Naseby, Otago, New Zealand", "Perth, Australia", "Cordoba, Argentina"}) {
    EXPECT_GT(MeanMax(place, 12), MeanMax(place, 6) + 5) << place;
  }
  for (const char* place : {"Hamburg", "Toronto, Canada", "Sapporo"}) {
    EXPECT_GT(MeanMax(place, 7), MeanMax(place, 1) + 5) << place;
  }
  EXPECT_LT(std::abs(MeanMax("Singapore", 1) - MeanMax("Singapore", 7)), 5);
  EXPECT_GT(MeanMax("Singapore", 1), MeanMax("Nuuk, Greenland", 1) + 20);
}

}  // namespace
