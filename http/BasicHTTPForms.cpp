// Forms and the three encoders of BasicHTTP. The encoders work on bytes, so
// a character beyond ASCII is escaped (or Base64-encoded) as its UTF-8
// bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "http/BasicHTTP.h"

namespace {

bool InSet(char c, const char* set) {
  if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  for (const char* p = set; *p; ++p) {
    if (*p == c) return true;
  }
  return false;
}

bool IsUnreserved(char c) { return InSet(c, "abcdefghijklmnopqrstuvwxyz0123456789$-_.+!*(),"); }
bool IsReserved(char c) { return InSet(c, ";/?:@=&"); }
bool IsHexDigit(char c) { return InSet(c, "0123456789abcdef"); }

void AppendEscape(std::string& out, char c) {
  static const char kHex[] = "0123456789ABCDEF";
  const auto b = static_cast<unsigned char>(c);
  out += '%';
  out += kHex[b >> 4];
  out += kHex[b & 0x0F];
}

}  // namespace

std::string BasicHTTP::URLEncode(const std::string& text, bool keepEscapes, bool keepReserved) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (IsUnreserved(c)) {
      out += c;
    } else if (c == '%' && keepEscapes) {
      const bool escape = i + 2 < text.size() && IsHexDigit(text[i + 1]) && IsHexDigit(text[i + 2]);
      if (escape) {
        out += c;
      } else {
        AppendEscape(out, c);
      }
    } else if (keepReserved && IsReserved(c)) {
      out += c;
    } else {
      AppendEscape(out, c);
    }
  }
  return out;
}

std::string BasicHTTP::FormEncode(const std::string& text) {
  if (CRLF.empty()) {
    CR = "\r";
    LF = "\n";
    CRLF = CR + LF;
  }
  // Line ends become CR LF pairs, unless the text already uses pairs.
  std::string s;
  if (text.find("\r\n") == std::string::npos) {
    for (const char c : text) {
      if (c == '\r' || c == '\n') {
        s += "\r\n";
      } else {
        s += c;
      }
    }
  } else {
    s = text;
  }
  // A "%" of the text is always escaped: a value that happens to read like
  // an escape ("%41") must reach the server as written, not decoded.
  std::string out;
  out.reserve(s.size());
  for (const char c : s) {
    if (c == '+') {
      out += "%2B";
    } else if (c == ' ') {
      out += '+';
    } else if (IsUnreserved(c)) {
      out += c;
    } else {
      AppendEscape(out, c);
    }
  }
  return out;
}

void BasicHTTP::SetForm(const std::vector<std::string>& names, const std::vector<std::string>& values,
                        bool post) {
  FormContentType = "application/x-www-form-urlencoded";
  SendFormAfter = post;
  if (post) Command = "POST";
  for (std::size_t i = 1; i < names.size(); ++i) {
    if (i >= values.size() || names[i].empty() || values[i].empty()) continue;
    if (i != 1) FormData += "&";
    FormData += FormEncode(names[i]) + "=" + FormEncode(values[i]);
  }
}

void BasicHTTP::SetFormDirectly(const std::string& contentType, const std::string& data, bool post) {
  FormContentType = contentType;
  FormData = data;
  SendFormAfter = post;
}

void BasicHTTP::ClearForm() {
  FormData.clear();
  Command.clear();
}

std::string BasicHTTP::Base64(const std::string& text) {
  static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((text.size() + 2) / 3 * 4);
  std::size_t i = 0;
  for (; i + 3 <= text.size(); i += 3) {
    const std::uint32_t v = (static_cast<unsigned char>(text[i]) << 16) |
                            (static_cast<unsigned char>(text[i + 1]) << 8) |
                            static_cast<unsigned char>(text[i + 2]);
    out += kAlphabet[(v >> 18) & 63];
    out += kAlphabet[(v >> 12) & 63];
    out += kAlphabet[(v >> 6) & 63];
    out += kAlphabet[v & 63];
  }
  const std::size_t rest = text.size() - i;
  if (rest > 0) {
    std::uint32_t v = static_cast<std::uint32_t>(static_cast<unsigned char>(text[i])) << 16;
    if (rest == 2) v |= static_cast<std::uint32_t>(static_cast<unsigned char>(text[i + 1])) << 8;
    out += kAlphabet[(v >> 18) & 63];
    out += kAlphabet[(v >> 12) & 63];
    out += rest == 2 ? kAlphabet[(v >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}
