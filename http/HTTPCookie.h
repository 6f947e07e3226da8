#pragma once
// One cookie of the HTTP client: parsed from a "Set-Cookie" value, it says
// whether it applies to a host and request path, whether it has expired,
// and gives its name=value form for a "Cookie" request header. Names,
// domains and paths compare without regard to letter case.
#include <optional>
#include <string>

#include "framework/text/Date.h"

class HTTPCookie {
 public:
  std::string Name;
  std::optional<fw::Date> Expires;  // none: the cookie never expires
  std::string Domain, Path, Value;
  bool Secure = false;
  // Set when the cookie named no domain: it then goes back to this very
  // host only, never to the host's siblings or subdomains.
  std::string Host;

  // Name=Value.
  std::string Data() const;
  // Not expired, Path a character prefix of the cleaned request path, and
  // Domain (".example.com" or a numeric address) fits server: server is
  // example.com or ends in .example.com; for a host-only cookie, server is
  // Host itself.
  bool Match(const std::string& server, const std::string& path) const;
  // Resets every property, reads a "Set-Cookie" value (double quotes are
  // dropped wherever they stand), fills a missing domain and path from the
  // defaults and tells whether the cookie may be kept: Match(defaultDomain,
  // requestPath), or for a host-only cookie Match(its Host, requestPath).
  // A domain attribute without its leading dot gets one ("example.com" is
  // ".example.com"). A cookie without a domain attribute is host-only: its
  // Host is requestHost, or when that is empty the default domain without
  // its leading dot (which is right for every host but a "www." one, whose
  // default domain drops the "www").
  bool Parse(const std::string& text, const std::string& defaultDomain, const std::string& defaultPath,
             const std::string& requestPath, const std::string& requestHost = std::string());
  // Expires from a max-age in seconds from now, or from a date written
  // "Wdy, DD-Mon-YYYY HH:MM:SS GMT" or "Wdy, DD Mon YYYY HH:MM:SS GMT", read
  // as local time.
  void SetDate(const std::string& text, bool isMaxAge);
  // Expires at or before now.
  bool Expired() const;
  // Trimmed, one trailing "/" dropped (unless the path is just "/"), and
  // "/" put in front when missing: "" gives "/", "a" gives "/a".
  std::string CleanPath(const std::string& path) const;
  // Same name, domain and path; value, expiry and Secure do not count.
  bool Compare(const HTTPCookie& other) const;
};
