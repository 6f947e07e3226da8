// The HTTP client's reply side on a real loopback connection: header
// blocks (interim ones included), status, cookies, redirections, and the
// body in memory or in a file, plain, with a length or chunked.
// Input: as fuzz::ReadReply reads it; bits 3-4 of the flags pick the
// starter (Get, GetHeaders, Download, Grab).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "framework/files/FolderItem.h"
#include "http/BasicHTTP.h"
#include "support/FuzzApp.h"
#include "support/Loopback.h"

namespace {

struct Outcome {
  int pages = 0;
  int files = 0;
  int cancelled = 0;
  bool headersComplete = false;  // a HEAD reply ends with its headers
  std::string content;
};

void Watch(BasicHTTP& http, Outcome& out) {
  http.PageReceived = [&out](const std::string&, const std::string& content, bool) {
    ++out.pages;
    out.content = content;
  };
  http.FileReceived = [&out](const std::string&, const std::optional<fw::FolderItem>&, bool) { ++out.files; };
  http.Cancelled = [&out] { ++out.cancelled; };
  http.GotHeaders = [&out](int, std::shared_ptr<HTTPHeaders> headers, bool, bool complete) {
    if (complete) out.headersComplete = true;
    (void)headers->Data();
  };
  // The reply itself is what is fuzzed: no second request goes out.
  http.HandleRedirection = [](const std::string&) { return true; };
  http.NeedAuthorization = [](std::string&, std::string&) { return false; };
  http.CookieReceived = [](std::shared_ptr<HTTPCookie> cookie, bool) { (void)cookie->Data(); };
}

void FuzzOne(const std::uint8_t* data, std::size_t size) {
  fuzz::StartApp();
  static fuzz::Loopback server;
  fuzz::Input input(data, size);
  const fuzz::ScriptedReply reply = fuzz::ReadReply(input);
  const int starter = (reply.flags >> 3) & 3;

  const std::string path = fuzz::ScratchFolder() + "/download";
  std::remove(path.c_str());
  const std::optional<fw::FolderItem> file = fw::FolderItem(path);

  server.Answer(reply);
  BasicHTTP http;
  Outcome out;
  Watch(http, out);
  const std::string url = server.Url("/updates/breezeling-remote.txt");
  switch (starter) {
    case 0:
      http.Get(url);
      break;
    case 1:
      http.GetHeaders(url);
      break;
    case 2:
      http.Download(url, file);
      break;
    default:
      http.Grab(url, file);
      break;
  }
  const auto ended = [&] { return out.pages + out.files + out.cancelled > 0 || out.headersComplete; };
  FUZZ_CHECK(fuzz::RunUntil([&] { return ended() && server.Finished(); }, 10000),
             "the transfer never ended although the server closed the connection");
  http.Cancel();

  FUZZ_CHECK(out.pages + out.files + out.cancelled <= 1,
             "a transfer ended " + std::to_string(out.pages + out.files + out.cancelled) + " times");
  FUZZ_CHECK(out.content.size() <= reply.bytes.size(), "a page longer than the reply");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzOne(data, size);
  // After FuzzOne's objects are gone, so that what they queued runs too.
  fuzz::Settle();
  return 0;
}
