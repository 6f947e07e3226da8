#pragma once
// Made-up but plausible weather for any place and date, in the flat reply
// format the application reads: one pair per line, no blank after a colon.
#include <string>
#include <string_view>

namespace standin {

// Answered for when a request names no place (the application's own default).
inline constexpr std::string_view kDefaultPlace = "Naseby, Otago, New Zealand";

// The form a place is identified by: %XX sequences decoded, ASCII letters
// lower-cased, surrounding blanks dropped; the default place when nothing is
// left. "New%20York" and " new york" are the same place.
std::string NormalisePlace(std::string_view raw);

// The reply for a place (raw as it arrives in the query, or already decoded)
// on a date. The same place and date always give the same text; day N of the
// reply is the weather of date + N - 1, so tomorrow's day 1 is today's day 2.
// Out-of-range months and days are clamped rather than rejected.
std::string WeatherReply(const std::string& place, int year, int month, int day);

}  // namespace standin
