#pragma once
// The little HTTP the stand-in speaks: it reads one request head and answers
// with an HTTP/1.0 reply, then closes the connection.
#include <cstddef>
#include <string>
#include <string_view>

namespace standin {

struct Request {
  std::string method;   // as sent, case kept ("GET", "HEAD", ...)
  std::string target;   // as sent: path plus optional query, raw bytes kept
  std::string version;  // "HTTP/1.0" or "HTTP/1.1"
};

struct Response {
  int status = 200;
  std::string contentType = "text/plain; charset=utf-8";
  std::string body;
};

inline constexpr std::size_t kMaxRequestHead = 64 * 1024;

enum class HeadStatus {
  Incomplete,  // wait for more bytes
  Complete,    // request parsed; headers are read past and ignored
  Bad,         // not an HTTP/1.x request line (answer 400)
  TooLarge,    // head longer than the limit (answer 431)
};

struct HeadResult {
  HeadStatus status = HeadStatus::Incomplete;
  Request request;  // filled when Complete
};

// Looks at everything received so far on a connection. A request line that
// is already broken is rejected before the head ends, so binary junk gets its
// 400 at once instead of waiting for a blank line that never comes.
HeadResult ParseRequestHead(std::string_view received, std::size_t limit = kMaxRequestHead);

// "Not Found" for 404 and so on; "Status" for codes without a common phrase.
std::string_view ReasonPhrase(int status);

// A reply with a short plain-text body.
Response TextResponse(int status, std::string_view text);

// The bytes on the wire: status line, Content-Type, Content-Length,
// "Connection: close", blank line, then the body unless withBody is false
// (HEAD requests: the length still describes the body a GET would get).
std::string SerializeResponse(const Response& response, bool withBody = true);

}  // namespace standin
