// The framework's HTTP socket reading a reply from a real loopback
// connection: status line, header block and body, as the server chose to
// cut them into packets, ended by a close or a reset.
// Input: as fuzz::ReadReply reads it.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "framework/net/HTTPSocket.h"
#include "support/FuzzApp.h"
#include "support/Loopback.h"

namespace {

class Probe : public fw::HTTPSocket {
 public:
  int headerEvents = 0;
  int pages = 0;
  int errors = 0;
  int status = 0;
  std::string content;
  std::string length;    // Content-Length as the page's headers give it
  std::string encoding;  // Transfer-Encoding as the page's headers give it

 protected:
  void Event_HeadersReceived(const fw::InternetHeaders&, int) override { ++headerEvents; }
  void Event_PageReceived(const std::string&, int httpStatus, const fw::InternetHeaders& headers,
                          const std::string& body) override {
    ++pages;
    status = httpStatus;
    content = body;
    length = headers.Value("Content-Length");
    encoding = headers.Value("Transfer-Encoding");
    // Read by name and by position alike.
    for (int i = -1; i <= headers.Count(); ++i) {
      (void)headers.Name(i);
      (void)headers.ValueAt(i);
    }
  }
  void Event_Error(int) override { ++errors; }
};

bool PlainNumber(const std::string& s) {
  if (s.empty() || s.size() > 15) return false;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

void FuzzOne(const std::uint8_t* data, std::size_t size) {
  fuzz::StartApp();
  static fuzz::Loopback server;
  fuzz::Input input(data, size);
  const fuzz::ScriptedReply reply = fuzz::ReadReply(input);

  server.Answer(reply);
  const auto probe = std::make_shared<Probe>();
  probe->Get(server.Url("/breezeling/weather?location=Naseby"));
  const bool ended =
      fuzz::RunUntil([&] { return probe->pages + probe->errors > 0 && server.Finished(); }, 10000);
  FUZZ_CHECK(ended, "the request never ended although the server closed the connection");
  probe->Close();

  FUZZ_CHECK(probe->pages + probe->errors == 1, "a request ended with " + std::to_string(probe->pages) +
                                                    " pages and " + std::to_string(probe->errors) +
                                                    " errors");
  FUZZ_CHECK(probe->headerEvents <= 1, "the headers were reported more than once");
  if (probe->pages == 1) {
    FUZZ_CHECK(probe->headerEvents == 1, "a page came without its headers");
    FUZZ_CHECK(probe->content.size() <= reply.bytes.size(), "a page longer than the reply");
    if (PlainNumber(probe->length) && probe->encoding.empty()) {
      FUZZ_CHECK(
          probe->content.size() == std::stoull(probe->length),
          "a page of " + std::to_string(probe->content.size()) + " bytes announced as " + probe->length);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzOne(data, size);
  // After FuzzOne's objects are gone, so that what they queued runs too.
  fuzz::Settle();
  return 0;
}
