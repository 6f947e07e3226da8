#include "tools/standin/Http.h"

#include <algorithm>
#include <array>
#include <utility>

namespace standin {
namespace {

bool IsTokenChar(char ch) {
  if ((ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9')) return true;
  return std::string_view("!#$%&'*+-.^_`|~").find(ch) != std::string_view::npos;
}

// Raw UTF-8 (bytes from 0x80) is allowed in the target: the application
// sends the place name unencoded. Control characters are not.
bool IsLineByte(unsigned char ch) { return ch == ' ' || (ch > 0x20 && ch != 0x7f); }

bool ParseRequestLine(std::string_view line, Request& out) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  const std::size_t firstSpace = line.find(' ');
  const std::size_t lastSpace = line.rfind(' ');
  if (firstSpace == std::string_view::npos || firstSpace == lastSpace) return false;
  std::string_view method = line.substr(0, firstSpace);
  std::string_view version = line.substr(lastSpace + 1);
  std::string_view target = line.substr(firstSpace + 1, lastSpace - firstSpace - 1);
  // Be lenient about blanks inside the target: a hand-typed request may not
  // encode the blank in a place name.
  while (!target.empty() && target.front() == ' ') target.remove_prefix(1);
  while (!target.empty() && target.back() == ' ') target.remove_suffix(1);

  if (method.empty() || !std::all_of(method.begin(), method.end(), IsTokenChar)) return false;
  if (version.size() != 8 || version.substr(0, 7) != "HTTP/1." || version[7] < '0' || version[7] > '9')
    return false;
  const bool originForm = !target.empty() && target.front() == '/';
  const bool absoluteForm = target.substr(0, 7) == "http://";
  if (!originForm && !absoluteForm && target != "*") return false;

  out.method = std::string(method);
  out.target = std::string(target);
  out.version = std::string(version);
  return true;
}

}  // namespace

HeadResult ParseRequestHead(std::string_view received, std::size_t limit) {
  HeadResult result;
  // Empty lines before the request line are tolerated, as HTTP/1.1 asks.
  std::size_t start = 0;
  while (start < received.size() && (received[start] == '\r' || received[start] == '\n')) ++start;

  const std::size_t lineEnd = received.find('\n', start);
  std::string_view line =
      received.substr(start, lineEnd == std::string_view::npos ? std::string_view::npos : lineEnd - start);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (!std::all_of(line.begin(), line.end(),
                   [](char c) { return IsLineByte(static_cast<unsigned char>(c)); })) {
    result.status = HeadStatus::Bad;
    return result;
  }
  if (lineEnd == std::string_view::npos) {
    result.status = received.size() > limit ? HeadStatus::TooLarge : HeadStatus::Incomplete;
    return result;
  }
  if (lineEnd > limit) {
    result.status = HeadStatus::TooLarge;
    return result;
  }
  if (!ParseRequestLine(line, result.request)) {
    result.request = Request{};
    result.status = HeadStatus::Bad;
    return result;
  }

  // The head ends at the first empty line; the request line's own line end
  // starts the search so that a head without headers is found too.
  const std::size_t crlf = received.find("\n\r\n", lineEnd);
  const std::size_t lf = received.find("\n\n", lineEnd);
  const std::size_t end = std::min(crlf, lf);
  if (end == std::string_view::npos) {
    result.status = received.size() > limit ? HeadStatus::TooLarge : HeadStatus::Incomplete;
  } else {
    result.status = end > limit ? HeadStatus::TooLarge : HeadStatus::Complete;
  }
  if (result.status != HeadStatus::Complete) result.request = Request{};
  return result;
}

std::string_view ReasonPhrase(int status) {
  static constexpr std::array<std::pair<int, std::string_view>, 24> kPhrases{{
      {100, "Continue"},
      {101, "Switching Protocols"},
      {102, "Processing"},
      {200, "OK"},
      {201, "Created"},
      {204, "No Content"},
      {301, "Moved Permanently"},
      {302, "Found"},
      {304, "Not Modified"},
      {400, "Bad Request"},
      {401, "Unauthorized"},
      {403, "Forbidden"},
      {404, "Not Found"},
      {405, "Method Not Allowed"},
      {408, "Request Timeout"},
      {410, "Gone"},
      {429, "Too Many Requests"},
      {431, "Request Header Fields Too Large"},
      {500, "Internal Server Error"},
      {501, "Not Implemented"},
      {502, "Bad Gateway"},
      {503, "Service Unavailable"},
      {504, "Gateway Timeout"},
      {505, "HTTP Version Not Supported"},
  }};
  for (const auto& [code, phrase] : kPhrases)
    if (code == status) return phrase;
  return "Status";
}

Response TextResponse(int status, std::string_view text) {
  Response r;
  r.status = status;
  r.body = std::string(text);
  if (r.body.empty() || r.body.back() != '\n') r.body += '\n';
  return r;
}

std::string SerializeResponse(const Response& response, bool withBody) {
  std::string out = "HTTP/1.0 " + std::to_string(response.status) + " " +
                    std::string(ReasonPhrase(response.status)) + "\r\n";
  out += "Content-Type: " + response.contentType + "\r\n";
  out += "Content-Length: " + std::to_string(response.body.size()) + "\r\n";
  if (response.status == 405) out += "Allow: GET, HEAD\r\n";
  out += "Connection: close\r\n\r\n";
  if (withBody) out += response.body;
  return out;
}

}  // namespace standin
