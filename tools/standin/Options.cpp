#include "tools/standin/Options.h"

#include <charconv>
#include <chrono>
#include <optional>

#ifndef BREEZELING_STANDIN_PORT
#error "BREEZELING_STANDIN_PORT must be defined by the build"
#endif
#ifndef BREEZELING_STANDIN_UPDATE_FILE
#error "BREEZELING_STANDIN_UPDATE_FILE must be defined by the build"
#endif

namespace standin {
namespace {

std::optional<int> WholeNumber(std::string_view text, int lo, int hi) {
  int value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end || value < lo || value > hi) return std::nullopt;
  return value;
}

std::optional<Date> ParseDate(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  auto y = WholeNumber(text.substr(0, 4), 1, 9999);
  auto m = WholeNumber(text.substr(5, 2), 1, 12);
  auto d = WholeNumber(text.substr(8, 2), 1, 31);
  if (!y || !m || !d) return std::nullopt;
  const std::chrono::year_month_day ymd{std::chrono::year{*y}, std::chrono::month{static_cast<unsigned>(*m)},
                                        std::chrono::day{static_cast<unsigned>(*d)}};
  if (!ymd.ok()) return std::nullopt;
  return Date{*y, *m, *d};
}

}  // namespace

Settings DefaultSettings() {
  Settings s;
  s.port = BREEZELING_STANDIN_PORT;
  s.updateFile = BREEZELING_STANDIN_UPDATE_FILE;
  return s;
}

ParsedArguments ParseArguments(const std::vector<std::string>& args) {
  ParsedArguments out;
  out.settings = DefaultSettings();
  auto fail = [&](std::string message) {
    out.error = std::move(message);
    return out;
  };

  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string name = args[i];
    std::optional<std::string> value;
    if (const std::size_t eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
      value = name.substr(eq + 1);
      name.resize(eq);
    }
    const bool takesValue =
        name == "--port" || name == "--update-file" || name == "--status" || name == "--date";
    if (takesValue && !value) {
      if (i + 1 >= args.size()) return fail(name + " needs a value");
      value = args[++i];
    } else if (!takesValue && value) {
      return fail(name + " takes no value");
    }

    if (name == "--help" || name == "-h") {
      out.help = true;
    } else if (name == "--quiet") {
      out.settings.quiet = true;
    } else if (name == "--port") {
      auto port = WholeNumber(*value, 0, 65535);
      if (!port) return fail("--port wants a number from 0 to 65535, not \"" + *value + "\"");
      out.settings.port = *port;
    } else if (name == "--update-file") {
      if (value->empty()) return fail("--update-file needs a path");
      out.settings.updateFile = *value;
    } else if (name == "--date") {
      auto date = ParseDate(*value);
      if (!date) return fail("--date wants a date like 2024-12-25, not \"" + *value + "\"");
      out.settings.date = date;
    } else if (name == "--status") {
      // The last "=" splits, so a path may hold one itself.
      const std::size_t eq = value->rfind('=');
      if (eq == std::string::npos || value->empty() || value->front() != '/')
        return fail("--status wants PATH=CODE with PATH starting with /, not \"" + *value + "\"");
      const std::string path = value->substr(0, eq);
      if (path.find('?') != std::string::npos)
        return fail("--status matches the path only; drop the query in " + path);
      auto code = WholeNumber(std::string_view(*value).substr(eq + 1), 100, 599);
      if (!code) return fail("--status wants a status code from 100 to 599 in \"" + *value + "\"");
      out.settings.statusOverrides[path] = *code;
    } else {
      return fail("unknown option \"" + name + "\"");
    }
  }
  return out;
}

std::string Usage() {
  const Settings d = DefaultSettings();
  return "Usage: breezeling-standin [options]\n"
         "Answers for the weather proxy and the web host on 127.0.0.1.\n"
         "\n"
         "  --port N            port to listen on (default " +
         std::to_string(d.port) +
         "; 0 picks a free one)\n"
         "  --update-file PATH  update-information file, read on every request\n"
         "                      (default " +
         d.updateFile +
         ")\n"
         "  --status PATH=CODE  answer PATH (no query) with status CODE; repeatable\n"
         "  --date YYYY-MM-DD   make the weather for this date instead of today\n"
         "  --quiet             do not log requests\n"
         "  --help              show this text\n";
}

}  // namespace standin
