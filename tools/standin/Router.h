#pragma once
// Which reply a request gets. Plain functions, so every path can be tried
// without a socket.
#include <map>
#include <optional>
#include <string>

#include "tools/standin/Http.h"

namespace standin {

struct Date {
  int year = 2000;
  int month = 1;
  int day = 1;
};

struct Settings {
  int port = 0;
  // Read on every request, so it can be edited while the server runs.
  std::string updateFile;
  // Path (without query) -> status to answer it with, whatever it is.
  std::map<std::string, int> statusOverrides;
  bool quiet = false;
  // The weather is made for this date; today's local date when unset.
  std::optional<Date> date;
};

// Paths served:
//   /breezeling/weather?location=PLACE   the weather reply (application/json)
//   /updates/breezeling-remote.txt       the update file, fresh from disk
//   /, /funcrate, /sagewick, /downloads/...  small HTML pages
// Anything else is 404; methods other than GET and HEAD are 405; a path named
// in statusOverrides gets that status first, whatever the method.
Response Route(const Request& request, const Settings& settings);

// The place named by a weather query: everything after "location=" when the
// query starts with it (or after "&location=" otherwise), because the
// application does not encode "&" or "=" in a place name. Empty when absent.
std::string LocationParameter(const std::string& query);

}  // namespace standin
