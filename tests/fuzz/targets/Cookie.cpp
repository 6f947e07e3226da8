// The cookie parser: a "Set-Cookie" value with the defaults of the request
// that brought it, its dates, and the matching against hosts and paths.
// Input: up to five lines: the header value, the default domain, the default
// path, the request path and another host to match against.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "http/HTTPCookie.h"
#include "support/FuzzApp.h"

namespace {

void FuzzOne(const std::uint8_t* data, std::size_t size) {
  fuzz::StartApp();
  fuzz::Input input(data, size);
  std::vector<std::string> parts = input.RestSplit('\n', 5);
  parts.resize(5);
  const std::string& text = parts[0];
  const std::string domain = parts[1].empty() ? ".larkspire.example" : parts[1];
  const std::string& defaultPath = parts[2];
  const std::string& requestPath = parts[3];
  const std::string& otherHost = parts[4];

  HTTPCookie cookie;
  (void)cookie.Parse(text, domain, defaultPath, requestPath);
  (void)cookie.Data();
  (void)cookie.Match(otherHost, requestPath);

  // Both date forms straight from the input, with no attribute around them.
  HTTPCookie dated;
  dated.SetDate(text, false);
  (void)dated.Expired();
  dated.SetDate(text, true);
  (void)dated.Expired();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzOne(data, size);
  // After FuzzOne's objects are gone, so that what they queued runs too.
  fuzz::Settle();
  return 0;
}
