// The HTTP client's header parsing without a connection: the header list's
// own parser with each line end, and the reply-header reader that acts on
// status, type, length, ranges, redirections, chunking and cookies.
// Input: one byte picking the line end (CR LF, LF or CR), then the block.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "framework/text/Text.h"
#include "http/BasicHTTP.h"
#include "http/HTTPHeaders.h"
#include "support/FuzzApp.h"

namespace {

void FuzzOne(const std::uint8_t* data, std::size_t size) {
  fuzz::StartApp();
  fuzz::Input input(data, size);
  static const char* const kLineEnds[] = {"\r\n", "\n", "\r"};
  const std::string lineEnd = kLineEnds[input.Byte() % 3];
  const std::string block = input.Rest();

  HTTPHeaders headers;
  headers.Parse(block, lineEnd);
  FUZZ_CHECK(headers.Field.size() == headers.Value.size(), "names and values out of step");
  FUZZ_CHECK(headers.Count() <= fw::CountFields(block, lineEnd), "more headers than lines");
  const std::string text = headers.Data();
  for (int k = 1; k <= headers.Count(); ++k) (void)headers.Get(headers.Field[k]);
  headers.Combine(headers);
  if (headers.Count() > 0) headers.Remove(headers.Field[1]);

  // A reply's header block as it reaches the reader, with everything that
  // could start another transfer answered with "no".
  BasicHTTP http;
  http.Init();
  http.EndLine = lineEnd;
  http.HandleRedirection = [](const std::string&) { return true; };
  http.NeedAuthorization = [](std::string&, std::string&) { return false; };
  http.CookieReceived = [](std::shared_ptr<HTTPCookie> cookie, bool) { (void)cookie->Data(); };
  http.ParseHeader(block);
  FUZZ_CHECK(http.Size >= 0, "a negative body length was taken from the headers");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzOne(data, size);
  // After FuzzOne's objects are gone, so that what they queued runs too.
  fuzz::Settle();
  return 0;
}
