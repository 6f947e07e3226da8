#include "http/HTTPCookie.h"

#include <array>
#include <optional>
#include <string>
#include <utility>

#include "framework/text/Text.h"
#include "http/HTTPModule.h"

namespace {

int MonthNumber(const std::string& name) {
  static const std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  for (std::size_t i = 0; i < kMonths.size(); ++i) {
    if (fw::StrEq(name, kMonths[i])) return static_cast<int>(i) + 1;
  }
  return 0;
}

int WholeNumber(const std::string& s) { return fw::ToInt32(fw::Val(s)); }

}  // namespace

std::string HTTPCookie::Data() const { return Name + "=" + Value; }

bool HTTPCookie::Match(const std::string& server, const std::string& path) const {
  if (Expired()) return false;

  const std::string p = CleanPath(path);
  if (!fw::StrEq(fw::Left(p, fw::Len(Path)), Path)) return false;

  const bool dotted = fw::Left(Domain, 1) == ".";
  if (!dotted && !HTTPModule::IsIP(Domain)) return false;
  // ".com" (two fields) would cover a whole top-level domain.
  if (fw::CountFields(Domain, ".") <= 2) return false;

  if (!Host.empty()) return fw::StrEq(server, Host);
  // A numeric address has no subdomains: only the very same address fits.
  // As a suffix test, the cookie of 1.2.3.4 would also go to 11.2.3.4.
  if (!dotted) return fw::StrEq(server, Domain);
  // ".example.com" covers example.com itself and every host below it.
  return fw::StrEq(fw::Right(server, fw::Len(Domain)), Domain) || fw::StrEq("." + server, Domain);
}

bool HTTPCookie::Parse(const std::string& text, const std::string& defaultDomain,
                       const std::string& defaultPath, const std::string& requestPath,
                       const std::string& requestHost) {
  Name.clear();
  Domain.clear();
  Path.clear();
  Value.clear();
  Secure = false;
  Expires.reset();
  Host.clear();

  const std::string s = fw::ReplaceAll(fw::Trim(text), fw::Chr(34), "");

  // The ";"-separated fields in one walk: asking for the i-th field each
  // time would search the text again from its start.
  std::size_t end = fw::FindBytes(s, ";");
  const std::string pair = fw::LTrim(s.substr(0, end));
  Name = fw::NthField(pair, "=", 1);
  Value = HTTPModule::GetAfter(pair, "=");

  // Of "expires" and "max-age" only the last counts; it is read once, after
  // the walk, since every reading of a date asks the system for the time.
  std::optional<std::pair<std::string, bool>> expiry;
  while (end != std::string::npos) {
    const std::size_t start = end + 1;
    end = fw::FindBytes(s, ";", start);
    // Only the left side is trimmed: "path =/" names "path " and is ignored.
    const std::string attribute =
        fw::LTrim(s.substr(start, end == std::string::npos ? std::string::npos : end - start));
    const std::string value = HTTPModule::GetAfter(attribute, "=");
    const std::string name = HTTPModule::GetBefore(attribute, "=");
    if (fw::StrEq(name, "expires")) {
      expiry.emplace(value, false);
    } else if (fw::StrEq(name, "path")) {
      Path = CleanPath(value);
    } else if (fw::StrEq(name, "domain")) {
      Domain = value;
    } else if (fw::StrEq(name, "max-age")) {
      expiry.emplace(value, true);
    } else if (fw::StrEq(name, "secure") || fw::StrEq(attribute, "secure")) {
      Secure = true;
    }
  }

  if (expiry) SetDate(expiry->first, expiry->second);

  if (Domain.empty()) {
    Domain = defaultDomain;
    Host = requestHost.empty()
               ? (fw::Left(defaultDomain, 1) == "." ? fw::Mid(defaultDomain, 2) : defaultDomain)
               : requestHost;
  } else if (fw::Left(Domain, 1) != "." && !HTTPModule::IsIP(Domain)) {
    Domain = "." + Domain;
  }
  if (Path.empty()) Path = CleanPath(defaultPath);
  return Match(Host.empty() ? defaultDomain : Host, requestPath);
}

void HTTPCookie::SetDate(const std::string& text, bool isMaxAge) {
  fw::Date date;  // now
  if (isMaxAge) {
    date.AddSeconds(fw::Val(text));
    Expires = date;
    return;
  }

  // The fields are cut off one after the other; without the expected
  // separators the rest of the text runs dry and the fields read 0.
  std::string s = fw::Trim(HTTPModule::GetAfter(text, ","));
  // "09-Jun-2027" or, as servers write it today, "09 Jun 2027".
  const std::string dateSeparator = fw::InStr(fw::NthField(s, " ", 1), "-") > 0 ? "-" : " ";
  const int day = WholeNumber(fw::NthField(s, dateSeparator, 1));
  s = fw::LTrim(HTTPModule::GetAfter(s, dateSeparator));
  const int month = MonthNumber(fw::NthField(s, dateSeparator, 1));
  s = fw::LTrim(HTTPModule::GetAfter(s, dateSeparator));
  const int year = WholeNumber(fw::NthField(s, " ", 1));  // "37" stays year 37
  s = fw::LTrim(HTTPModule::GetAfter(s, " "));
  const int hour = WholeNumber(fw::NthField(s, ":", 1));
  s = HTTPModule::GetAfter(s, ":");
  const int minute = WholeNumber(fw::NthField(s, ":", 1));
  s = HTTPModule::GetAfter(s, ":");
  const int second = WholeNumber(fw::NthField(s, " ", 1));

  // Set in the order read, starting from the epoch. 1904 is a leap year,
  // so every valid day fits its month there before the year moves on; only
  // impossible dates carry (31 April is 1 May, an unknown month 0 is
  // December).
  date.SetTotalSeconds(0);
  date.SetDay(day);
  date.SetMonth(month);
  date.SetYear(year);
  date.SetHour(hour);
  date.SetMinute(minute);
  date.SetSecond(second);
  Expires = date;
}

bool HTTPCookie::Expired() const {
  if (!Expires) return false;
  return Expires->TotalSeconds() <= fw::Date::Now().TotalSeconds();
}

std::string HTTPCookie::CleanPath(const std::string& path) const {
  std::string s = fw::Trim(path);
  if (fw::Right(s, 1) == "/" && fw::Len(s) > 1) s = fw::Left(s, fw::Len(s) - 1);
  if (fw::Left(s, 1) != "/") s = "/" + s;
  return s;
}

bool HTTPCookie::Compare(const HTTPCookie& other) const {
  return fw::StrEq(other.Name, Name) && fw::StrEq(other.Domain, Domain) && fw::StrEq(other.Path, Path);
}
