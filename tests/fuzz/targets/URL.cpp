// The HTTP client's URL handling: splitting a URL into credentials, host,
// port and path (directly and through a proxy), the encoders, and the text
// helpers that cut URLs and header values.
// Input: one byte of flags (bit 0: through a proxy), then the URL.
#include <cstddef>
#include <cstdint>
#include <string>

#include "http/BasicHTTP.h"
#include "http/HTTPModule.h"
#include "support/FuzzApp.h"

namespace {

// What may stand in a request line between the method and the version.
bool SafeInRequestLine(const std::string& s) {
  for (char c : s) {
    const auto b = static_cast<unsigned char>(c);
    if (b <= 32 || b >= 127) return false;
  }
  return true;
}

// What may stand in a header value (bytes beyond ASCII are UTF-8 text).
bool SafeInHeader(const std::string& s) {
  for (char c : s) {
    const auto b = static_cast<unsigned char>(c);
    if (b <= 32 || b == 127) return false;
  }
  return true;
}

bool EndsWith(const std::string& s, const std::string& end) {
  return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

void FuzzOne(const std::uint8_t* data, std::size_t size) {
  fuzz::StartApp();
  fuzz::Input input(data, size);
  const bool proxy = (input.Byte() & 1) != 0;
  const std::string url = input.Rest();

  BasicHTTP http;
  if (proxy) http.SetProxy("proxy.larkspire.example", 3128, "", "");
  int failures = 0;
  http.OperationError = [&failures](const std::string& message, bool) {
    FUZZ_CHECK(message == "Bad URL!", "unexpected error for a URL: " + message);
    ++failures;
  };
  if (http.ParseURL(url)) {
    FUZZ_CHECK(failures == 0, "a URL both accepted and refused");
    FUZZ_CHECK(SafeInRequestLine(http.Path), "a request target that breaks the request line: " + http.Path);
    FUZZ_CHECK(SafeInHeader(http.ServerAddress), "a host that breaks the Host header: " + http.ServerAddress);
    FUZZ_CHECK(http.ServerPort >= 1, "an accepted URL without a usable port");
  } else {
    FUZZ_CHECK(failures == 1, "a refused URL reported " + std::to_string(failures) + " times");
  }

  const std::string encoded = http.URLEncode(url, false, false);
  FUZZ_CHECK(SafeInRequestLine(encoded), "URLEncode left an unsafe byte: " + encoded);
  FUZZ_CHECK(SafeInRequestLine(http.FormEncode(url)), "FormEncode left an unsafe byte");
  FUZZ_CHECK(http.Base64(url).size() == (url.size() + 2) / 3 * 4, "Base64 of the wrong length");

  // The text helpers with the URL's own pieces as what they look for.
  const std::string find = url.substr(url.size() / 2, 3);
  const std::string after = HTTPModule::GetAfter(url, find);
  const std::string before = HTTPModule::GetBefore(url, find);
  FUZZ_CHECK(EndsWith(url, after), "GetAfter gave text that does not end the source");
  FUZZ_CHECK(url.compare(0, before.size(), before) == 0,
             "GetBefore gave text that does not begin the source");
  (void)HTTPModule::Unquote(url);
  (void)HTTPModule::IsIP(url);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzOne(data, size);
  // After FuzzOne's objects are gone, so that what they queued runs too.
  fuzz::Settle();
  return 0;
}
