#include "http/HTTPCookie.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "framework/text/Date.h"

namespace {

TEST(HTTPCookie, ParseFillsPropertiesAndAnswersMatch) {
  // text, default domain, default path, request path; accepted; name, value, domain, path; secure
  struct Case {
    std::string text, defaultDomain, defaultPath, requestPath;
    bool accepted;
    std::string name, value, domain, path;
    bool secure;
  } const cases[] = {
      {"  id=\"x y\"; path=/ ", ".b.c", "", "/q", true, "id", "x y", ".b.c", "/", false},
      {"id=a=b; domain=.b.c", ".a.b.c", "/", "/", true, "id", "a=b", ".b.c", "/", false},
      {"id=1; Path=/docs/", ".a.b", "/", "/docs/a.html", true, "id", "1", ".a.b", "/docs", false},
      {"id=1; PATH=/docs/", ".a.b", "/", "/other", false, "id", "1", ".a.b", "/docs", false},
      {"id=1; path =/x", ".a.b", "/p/", "/p/q", true, "id", "1", ".a.b", "/p", false},  // "path " ignored
      {"id=1; path=/a; path=/b", ".a.b", "/", "/b/c", true, "id", "1", ".a.b", "/b", false},
      {"id=1; domain=.c", ".b.c", "/", "/", false, "id", "1", ".c", "/", false},
      // A domain without its leading dot gets one; two labels at least.
      {"id=1; domain=b.c", ".a.b.c", "/", "/", true, "id", "1", ".b.c", "/", false},
      {"id=1; Domain=c", ".b.c", "/", "/", false, "id", "1", ".c", "/", false},
      {"id=1; domain=.x.com", ".a.b.c", "/", "/", false, "id", "1", ".x.com", "/", false},
      {"id=1", ".host", "/", "/", false, "id", "1", ".host", "/", false},  // single-label host
      {"id=1", "10.0.0.1", "", "/", true, "id", "1", "10.0.0.1", "/", false},
      {"id=1; domain=1.2.3.4", "11.2.3.4", "/", "/", false, "id", "1", "1.2.3.4", "/", false},
      {"id=1; secure", ".a.b", "/", "/", true, "id", "1", ".a.b", "/", true},
      {"id=1; Secure=1", ".a.b", "/", "/", true, "id", "1", ".a.b", "/", true},
      {"id=1; secure ; x", ".a.b", "/", "/", true, "id", "1", ".a.b", "/", false},
      {"flag", ".a.b", "/", "/", true, "flag", "", ".a.b", "/", false},
  };
  for (const auto& c : cases) {
    HTTPCookie k;
    k.Secure = true;  // Parse starts afresh
    k.Expires = fw::Date();
    EXPECT_EQ(k.Parse(c.text, c.defaultDomain, c.defaultPath, c.requestPath), c.accepted) << c.text;
    EXPECT_EQ(k.Data(), c.name + "=" + c.value) << c.text;
    EXPECT_EQ(k.Domain + " " + k.Path, c.domain + " " + c.path) << c.text;
    EXPECT_EQ(k.Secure, c.secure) << c.text;
    EXPECT_FALSE(k.Expires.has_value() || k.Expired()) << c.text;
  }
}

TEST(HTTPCookie, ExpiresIsReadFieldByFieldAsLocalTimeAndMaxAgeCounts) {
  const std::pair<std::string, std::vector<int>> cases[] = {
      {"Thu, 01-Jan-2037 00:00:00 GMT", {2037, 1, 1, 0, 0, 0}},
      {"Sat, 29-feb-2020 23:59:58 GMT", {2020, 2, 29, 23, 59, 58}},
      {"Thu, 01-Jan-37 00:00:00 GMT", {37, 1, 1, 0, 0, 0}},      // no century added
      {"Thu, 01 Jan 2037 00:00:00 GMT", {2037, 1, 1, 0, 0, 0}},  // the form servers send today
      {"Wed, 09 Jun 2027 10:18:14 GMT", {2027, 6, 9, 10, 18, 14}},
      {"Wed,  9  jun  2027  10:18:14 GMT", {2027, 6, 9, 10, 18, 14}},
      {"01-Jan-2037 00:00:00 GMT", {0, 12, 31, 0, 0, 0}},        // no weekday: every field 0
      {"Thu, 31-Apr-2037 00:00:00 GMT", {2037, 5, 1, 0, 0, 0}},  // impossible dates carry
      {"Thu, 05-Jan-2037 25:00:61 GMT", {2037, 1, 6, 1, 1, 1}},
  };
  for (const auto& [text, fields] : cases) {
    HTTPCookie k;
    k.SetDate(text, false);
    ASSERT_TRUE(k.Expires.has_value()) << text;
    const fw::Date& d = *k.Expires;
    EXPECT_EQ(std::vector<int>({d.Year(), d.Month(), d.Day(), d.Hour(), d.Minute(), d.Second()}), fields)
        << text;
  }
  for (const std::string date : {"Thu, 01 Jan 37 00:00:00 GMT", "Thu, 01-Jan-37 00:00:00 GMT", "", "x"}) {
    HTTPCookie k;
    EXPECT_FALSE(k.Parse("id=1; expires=" + date, ".a.b", "/", "/")) << date;
    EXPECT_TRUE(k.Expired()) << date;
  }
  for (const std::string date : {"Fri, 31-Dec-9999 23:59:59 GMT", "Fri, 31 Dec 9999 23:59:59 GMT"}) {
    HTTPCookie future;
    EXPECT_TRUE(future.Parse("id=1; expires=" + date, ".a.b", "/", "/")) << date;
    EXPECT_FALSE(future.Expired()) << date;
  }
  // Max-Age counts from now; of Max-Age and Expires, the one written last wins.
  HTTPCookie k;
  EXPECT_FALSE(k.Parse("id=1; max-age=0", ".a.b", "/", "/"));
  EXPECT_TRUE(k.Expired());
  const double before = fw::Date::Now().TotalSeconds();
  EXPECT_TRUE(k.Parse("id=1; Max-Age=60", ".a.b", "/", "/"));
  const double after = fw::Date::Now().TotalSeconds();
  ASSERT_TRUE(k.Expires.has_value());
  EXPECT_GE(k.Expires->TotalSeconds(), before + 60);
  EXPECT_LE(k.Expires->TotalSeconds(), after + 60);
  EXPECT_FALSE(k.Parse("id=1; max-age=60; expires=Thu, 01-Jan-1970 00:00:00 GMT", ".a.b", "/", "/"));
  EXPECT_TRUE(k.Parse("id=1; expires=Thu, 01-Jan-1970 00:00:00 GMT; max-age=60", ".a.b", "/", "/"));
}

// A cookie that names no domain goes back to the host that set it and to
// no other: not its siblings, not its subdomains.
TEST(HTTPCookie, ACookieWithoutDomainGoesBackOnlyToItsHost) {
  // Set-Cookie, default domain, request host, host asked about, match
  const std::tuple<std::string, std::string, std::string, std::string, bool> cases[] = {
      {"id=1", ".example.com", "www.example.com", "www.example.com", true},
      {"id=1", ".example.com", "www.example.com", "WWW.Example.com", true},
      {"id=1", ".example.com", "www.example.com", "shop.example.com", false},
      {"id=1", ".example.com", "www.example.com", "example.com", false},
      {"id=1", ".a.example.com", "a.example.com", "b.example.com", false},
      {"id=1", ".a.example.com", "a.example.com", "x.a.example.com", false},
      {"id=1", ".a.example.com", "", "a.example.com", true},  // the host read from the default domain
      {"id=1", ".a.example.com", "", "x.a.example.com", false},
      {"id=1", "10.0.0.1", "10.0.0.1", "10.0.0.1", true},
      // Naming the domain shares the cookie with every host in it.
      {"id=1; domain=example.com", ".example.com", "www.example.com", "shop.example.com", true},
      {"id=1; domain=.example.com", ".example.com", "www.example.com", "example.com", true},
  };
  for (const auto& [text, defaultDomain, host, asked, match] : cases) {
    SCOPED_TRACE(text + " from " + host + " asked for " + asked);
    HTTPCookie k;
    EXPECT_TRUE(k.Parse(text, defaultDomain, "/", "/", host));
    EXPECT_EQ(k.Match(asked, "/"), match);
  }
}

TEST(HTTPCookie, MatchCleanPathAndCompare) {
  HTTPCookie k;
  k.Path = "/a";
  k.Domain = ".b.c";
  const std::tuple<std::string, std::string, bool> cases[] = {
      {".a.b.c", "/a/b", true}, {".a.b.c", "/ab", true}, {".a.b.c", "/A/", true},
      {".a.b.c", "a", true},    {".a.b.c", "/", false},  {".b.c", "/a", true},
      {"xb.c", "/a", false},    {"b.c", "/a", true},     {".b.d", "/a", false},
  };
  for (const auto& [server, path, match] : cases)
    EXPECT_EQ(k.Match(server, path), match) << server << " " << path;
  k.Domain = "1.2.3.4";  // a numeric address fits only itself
  EXPECT_TRUE(k.Match("1.2.3.4", "/a"));
  EXPECT_FALSE(k.Match("11.2.3.4", "/a"));
  for (const auto& [in, out] : std::vector<std::pair<std::string, std::string>>{
           {"", "/"}, {"/", "/"}, {"a", "/a"}, {"/a/b/", "/a/b"}, {" /x/ ", "/x"}, {"//", "/"}}) {
    EXPECT_EQ(k.CleanPath(in), out) << in;
  }
  HTTPCookie a, b;
  a.Name = "id", a.Value = "1", a.Domain = ".a.b", a.Path = "/p";
  b.Name = "ID", b.Value = "2", b.Domain = ".A.b", b.Path = "/p", b.Secure = true, b.Expires = fw::Date();
  EXPECT_TRUE(a.Compare(b));
  b.Path = "/q";
  EXPECT_FALSE(a.Compare(b));
  b.Path = "/p", b.Domain = ".c.d";
  EXPECT_FALSE(a.Compare(b));
}

}  // namespace
