#pragma once
// Text helpers of the HTTP client: cutting header lines, URLs and cookie
// attributes. Searches ignore letter case, as HTTP names do.
#include <string>

namespace HTTPModule {

// The text after the first occurrence of find; "" when find does not occur.
std::string GetAfter(const std::string& source, const std::string& find);
// The text before the first occurrence of find; "" (not source) when find
// does not occur, so a bare cookie attribute such as "secure" has no name.
std::string GetBefore(const std::string& source, const std::string& find);
// s without one pair of surrounding double quotes; unchanged unless it both
// begins and ends with one. Nothing is trimmed and inner quotes stay.
std::string Unquote(const std::string& s);
// True for a dotted numeric address of exactly four fields. Only the form
// is checked, not the range: "256.1.1.1" and "1x.2.3.4" pass, an empty field
// or a word does not.
bool IsIP(const std::string& s);

// The URL that reference names when it is read relative to the absolute URL
// base, by the rules of RFC 3986 (section 5.2): "/next" keeps the base's
// scheme and host, "next" and "../next" are taken from the base's folder,
// "//host/next" keeps only the scheme, "?q" only replaces the query. Dot
// segments are removed and the fragment is dropped, since it is never sent.
// A reference with a scheme of its own ("http://...", "ftp://...",
// "mailto:...") is absolute already and comes back unchanged.
std::string ResolveURL(const std::string& base, const std::string& reference);

}  // namespace HTTPModule
