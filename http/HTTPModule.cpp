#include "http/HTTPModule.h"

#include "framework/text/Text.h"

namespace HTTPModule {

namespace {

struct URLParts {
  std::string scheme;  // without ":"; empty when there is none
  bool hasAuthority = false;
  std::string authority;
  std::string path;
  bool hasQuery = false;
  std::string query;
};

bool IsAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

URLParts Split(std::string url) {
  URLParts out;
  url = url.substr(0, url.find('#'));
  // A scheme is a letter, then letters, digits, "+", "-" or ".", then ":",
  // all before any "/", "?" or "#".
  const std::size_t colon = url.find(':');
  if (colon != std::string::npos && colon > 0 && IsAlpha(url[0]) && colon < url.find_first_of("/?")) {
    bool scheme = true;
    for (std::size_t i = 1; i < colon && scheme; ++i) {
      const char c = url[i];
      scheme = IsAlpha(c) || IsDigit(c) || c == '+' || c == '-' || c == '.';
    }
    if (scheme) {
      out.scheme = url.substr(0, colon);
      url.erase(0, colon + 1);
    }
  }
  if (url.rfind("//", 0) == 0) {
    const std::size_t end = url.find_first_of("/?", 2);
    out.hasAuthority = true;
    out.authority = url.substr(2, end == std::string::npos ? std::string::npos : end - 2);
    url.erase(0, end == std::string::npos ? url.size() : end);
  }
  const std::size_t question = url.find('?');
  out.path = url.substr(0, question);
  if (question != std::string::npos) {
    out.hasQuery = true;
    out.query = url.substr(question + 1);
  }
  return out;
}

// Removes "." and ".." segments (RFC 3986, section 5.2.4), in one pass.
std::string RemoveDotSegments(const std::string& path) {
  std::string out;
  std::size_t i = 0;
  while (i < path.size()) {
    if (path.compare(i, 3, "../") == 0) {
      i += 3;
    } else if (path.compare(i, 2, "./") == 0) {
      i += 2;
    } else if (path.compare(i, 3, "/./") == 0) {
      i += 2;
    } else if (path.compare(i, 2, "/.") == 0 && i + 2 == path.size()) {
      out += '/';
      i += 2;
    } else if (path.compare(i, 4, "/../") == 0 || (path.compare(i, 3, "/..") == 0 && i + 3 == path.size())) {
      const std::size_t cut = out.rfind('/');
      out.erase(cut == std::string::npos ? 0 : cut);
      if (i + 3 == path.size()) {
        out += '/';
        i += 3;
      } else {
        i += 3;  // the "/" that follows starts the next segment
      }
    } else if ((path.compare(i, 1, ".") == 0 && i + 1 == path.size()) ||
               (path.compare(i, 2, "..") == 0 && i + 2 == path.size())) {
      i = path.size();
    } else {
      const std::size_t next = path.find('/', i + 1);
      const std::size_t end = next == std::string::npos ? path.size() : next;
      out.append(path, i, end - i);
      i = end;
    }
  }
  return out;
}

}  // namespace

std::string ResolveURL(const std::string& base, const std::string& reference) {
  const URLParts r = Split(reference);
  if (!r.scheme.empty()) return reference;
  const URLParts b = Split(base);

  URLParts t;
  t.scheme = b.scheme;
  if (r.hasAuthority) {
    t.hasAuthority = true;
    t.authority = r.authority;
    t.path = RemoveDotSegments(r.path);
    t.hasQuery = r.hasQuery;
    t.query = r.query;
  } else {
    t.hasAuthority = b.hasAuthority;
    t.authority = b.authority;
    if (r.path.empty()) {
      t.path = b.path;
      t.hasQuery = r.hasQuery || b.hasQuery;
      t.query = r.hasQuery ? r.query : b.query;
    } else {
      if (r.path[0] == '/') {
        t.path = RemoveDotSegments(r.path);
      } else if (b.hasAuthority && b.path.empty()) {
        t.path = RemoveDotSegments("/" + r.path);
      } else {
        const std::size_t slash = b.path.rfind('/');
        t.path = RemoveDotSegments((slash == std::string::npos ? "" : b.path.substr(0, slash + 1)) + r.path);
      }
      t.hasQuery = r.hasQuery;
      t.query = r.query;
    }
  }

  std::string out = t.scheme.empty() ? std::string() : t.scheme + ":";
  if (t.hasAuthority) out += "//" + t.authority;
  out += t.path;
  if (t.hasQuery) out += "?" + t.query;
  return out;
}

std::string GetAfter(const std::string& source, const std::string& find) {
  const int p = fw::InStr(source, find);
  if (p > 0) return fw::Mid(source, p + fw::Len(find));
  return "";
}

std::string GetBefore(const std::string& source, const std::string& find) {
  if (fw::InStr(source, find) > 0) return fw::NthField(source, find, 1);
  return "";
}

std::string Unquote(const std::string& s) {
  const std::string quote = fw::Chr(34);
  // A lone quote is both first and last character, so it unquotes to "".
  if (fw::Left(s, 1) == quote && fw::Right(s, 1) == quote) return fw::Mid(s, 2, fw::Len(s) - 2);
  return s;
}

bool IsIP(const std::string& s) {
  if (fw::CountFields(s, ".") != 4) return false;
  for (int i = 1; i <= 4; ++i) {
    const std::string field = fw::NthField(s, ".", i);
    if (fw::Val(field) == 0 && field != "0") return false;
  }
  return true;
}

}  // namespace HTTPModule
