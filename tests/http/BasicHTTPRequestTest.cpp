// BasicHTTP requests: URL parsing, the starters and the exact bytes sent.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "BasicHTTPProbe.h"

namespace {

using namespace httptest;
using namespace std::string_literals;

// A Get of the URL ("HOST" stands for the server) after the setup; the server
// answers with an empty page and the request bytes are checked.
Exchange Sends(
    std::string name, std::string url, std::function<void(Probe&)> setup, std::string bytes,
    Step check = [](Probe&, ScriptedServer&) {}) {
  const Step start = [url, setup](Probe& p, ScriptedServer& s) {
    setup(p);
    p.http.Get(fw::ReplaceAll(url, "HOST", s.HostPort()));
  };
  return {name,  {Script::Reply(200, "")}, {"headers 200", "page "}, std::nullopt,
          start, Both(Sent(bytes), check)};
}

TEST(BasicHTTPRequest, RequestBytes) {
  const auto none = [](Probe&) {};
  RunTable({
      Sends(
          "headers in order, cookies, extras", "http://HOST/a b/c.html?x=1&y=2;p=%41",
          [](Probe& p) {
            p.cookieJar = std::make_shared<FixedCookies>(2, "a=1; b=2");
            p.http.Extras = std::make_shared<HTTPHeaders>();
            p.http.Extras->Add("Accept", "*/*");
          },
          Head("GET /a%20b/c.html?x=1&y=2;p=%41", "Cookie: a=1; b=2\r\nAccept: */*\r\n\r\n")),
      Sends(
          "no cookies, own client name", "http://HOST/",
          [](Probe& p) {
            p.cookieJar = std::make_shared<FixedCookies>(0, "ignored=1");
            p.http.SetClient("a b/c", 3);
          },
          "GET / HTTP/1.1\r\nUser-Agent: abc/3.0\r\nHost: HOST\r\nConnection: close\r\n\r\n"),
      Sends(
          "query form after an existing query", "http://HOST/s?x=1",
          [](Probe& p) {
            p.http.SetForm({"", "q", "n"}, {"", "a b", "1+1"}, false);
          },
          Head("GET /s?x=1?q=a+b&n=1%2B1")),
      Sends(
          "body form", "http://HOST/f",
          [](Probe& p) {
            p.http.SetForm({"", "name", "city"}, {"", "Zo\xC3\xAB", "a&b=c"}, true);
          },
          Head("POST /f",
               "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: 28\r\n\r\n"
               "name=Zo%C3%AB&city=a%26b%3Dc"),
          [](Probe& p, ScriptedServer&) {  // a 2xx reply ends the form and the method
            EXPECT_EQ(p.http.FormData, "");
            EXPECT_EQ(p.http.Command, "");
          }),
      Sends(
          "ready-made body with an empty method goes as GET, length in bytes", "http://HOST/j",
          [](Probe& p) { p.http.SetFormDirectly("application/json", "{\"a\":\"\xC3\xA9\"}", true); },
          Head("GET /j", "Content-Type: application/json\r\nContent-Length: 10\r\n\r\n{\"a\":\"\xC3\xA9\"}")),
      Sends(
          "POST without a form", "http://HOST/p", [](Probe& p) { p.http.Command = "POST"; }, Head("GET /p")),
      Sends("credentials in the URL", "http://user:pw@HOST/x", none,
            Head("GET /x", "Authorization: Basic dXNlcjpwdw==\r\n\r\n")),
      Sends("empty password", "http://user:@HOST/x", none, Head("GET /x")),
      {"redirect on a fresh object has no extra headers",
       {Script::Reply(200, "")},
       {"headers 200", "page "},
       std::nullopt,
       [](Probe& p, ScriptedServer& s) { p.http.Redirect(s.Url("/r")); },
       Both(Sent(Head("GET /r")), [](Probe& p, ScriptedServer&) { EXPECT_EQ(p.http.Extras, nullptr); })},
      {"download deletes the old file first",
       {},
       {"tcp 102", "cancelled"},
       std::nullopt,
       [](Probe& p, ScriptedServer& s) {
         p.http.Download(s.Url("/d"), Temp("old.bin", "old"));
         EXPECT_FALSE(Temp("old.bin").Exists());
       }},
  });
}

TEST(BasicHTTPRequest, ProxyGetsTheAbsoluteURLAndHostNamesTheServer) {
  const std::vector<std::vector<std::string>> cases = {
      {"http://example.com/a/b.html?x=1", "GET http://example.com/a/b.html?x=1", "example.com"},
      // The port goes with the host, unless it is the default one.
      {"example.com:8080/x", "GET http://example.com:8080/x", "example.com:8080"},
      {"http://example.com:80/x", "GET http://example.com:80/x", "example.com"},
      {"ftp://files.example.com/f.txt", "GET ftp://files.example.com/f.txt", "files.example.com"},
      {"http://example.com/a b", "GET http://example.com/a%20b", "example.com"},  // no raw blank in the line
  };
  for (const auto& c : cases) {
    ScriptedServer proxy;
    proxy.Enqueue(Script::Reply(200, ""));
    Probe p;
    p.http.SetProxy("127.0.0.1", proxy.Port(), "pu", "pp");
    p.http.Get(c[0]);
    ASSERT_TRUE(p.WaitEnd()) << c[0];
    EXPECT_EQ(RequestOf(proxy), Head(c[1], "Proxy-Authorization: Basic cHU6cHA=\r\n\r\n", c[2]));
  }
}

TEST(BasicHTTPRequest, UnusableURLsAndMissingFilesAreRefusedBeforeAnythingHappens) {
  ScriptedServer server;
  const fw::FolderItem file = Temp("keep.bin", "old");
  for (const std::string& url :
       {"https://example.com/"s, "http://localhost:" + std::to_string(server.Port()) + "/",
        "http://127.0.0.1:abc/"s, "http://127.0.0.1:0/"s, ""s, "http://bad\r\nX-y.example.com/"s}) {
    Probe p;
    p.http.Download(url, file);
    EXPECT_EQ(p.events, (Events{"operror Bad URL! 1", "cancelled"})) << url;
  }
  const std::function<void(BasicHTTP&)> starters[] = {
      [&](BasicHTTP& h) { h.Download(server.Url("/"), std::nullopt); },
      [&](BasicHTTP& h) { h.Grab(server.Url("/"), std::nullopt); },
      [&](BasicHTTP& h) { h.Resume(server.Url("/"), fw::FolderItem()); },
  };
  for (const auto& start : starters) {
    Probe p;
    start(p.http);
    EXPECT_EQ(p.events, (Events{"operror Unable to write to file! 0", "cancelled"}));
  }
  testsupport::RunEventsFor(50);
  EXPECT_EQ(server.ConnectionCount(), 0);
  EXPECT_EQ(ReadFile(file), "old");
}

TEST(BasicHTTPRequest, ParseURLSplitsServerFieldsAndCookieDefaults) {
  // url, host, port, path, cookie domain, cookie path, user, password
  const std::vector<std::vector<std::string>> cases = {
      {"  http://www.example.com:8080/a/b.html ", "www.example.com", "8080", "/a/b.html", ".example.com",
       "/a/", "", ""},
      {"ftp://example.com", "example.com", "80", "/", ".example.com", "", "", ""},
      {"example.com/a/b/", "example.com", "80", "/a/b/", ".example.com", "/a/b", "", ""},
      {"http://10.0.0.1/index.html", "10.0.0.1", "80", "/index.html", "10.0.0.1", "/", "", ""},
      {"http://u:p@example.com/x", "example.com", "80", "/x", ".example.com", "/x", "u", "p"},
      {"http://u@example.com/x", "u@example.com", "80", "/x", ".u@example.com", "/x", "", ""},
      // An "@" in the path is no credential, even when the host has a port.
      {"http://example.com:8080/m/a@b", "example.com", "8080", "/m/a@b", ".example.com", "/m/a@b", "", ""},
      {"http://example.com/%41%zz/\xC3\xA9", "example.com", "80", "/%41%25zz/%C3%A9", ".example.com",
       "/%41%25zz/%C3%A9", "", ""},
  };
  for (const auto& c : cases) {
    BasicHTTP http;
    ASSERT_TRUE(http.ParseURL(c[0])) << c[0];
    EXPECT_EQ(
        (std::vector<std::string>{c[0], http.ServerAddress, std::to_string(http.ServerPort), http.ServerPath,
                                  http.CookieDomain, http.CookiePath, http.User, http.Pass}),
        c);
    EXPECT_EQ(http.Path, http.ServerPath);
    EXPECT_EQ(http.Address, http.ServerAddress);
    EXPECT_EQ(http.OriginalURL, fw::Trim(c[0]));
  }
}

TEST(BasicHTTPForms, Encoders) {
  // text, keep escapes, keep reserved characters, expected
  const std::tuple<std::string, bool, bool, std::string> urls[] = {
      {"/a/b.html?x=1&y=2", true, true, "/a/b.html?x=1&y=2"},
      {"/a b", true, true, "/a%20b"},
      {"%41%aF%4", true, true, "%41%aF%254"},  // existing escapes stay, a stray "%" does not
      {"%41", false, true, "%2541"},
      {"a;b/c?d:e@f=g&h", true, false, "a%3Bb%2Fc%3Fd%3Ae%40f%3Dg%26h"},
      {"ABCxyz019$-_.+!*(),", false, false, "ABCxyz019$-_.+!*(),"},
      {"~'#\n", true, true, "%7E%27%23%0A"},
      {std::string("a\0b", 3), false, false, "a%00b"},
      {"\xC3\xA9", true, true, "%C3%A9"},  // UTF-8 bytes, one escape each
      {"%", true, true, "%25"},
  };
  BasicHTTP http;
  for (const auto& [text, keepEscapes, keepReserved, expected] : urls) {
    EXPECT_EQ(http.URLEncode(text, keepEscapes, keepReserved), expected) << text;
  }
  const std::pair<std::string, std::string> forms[] = {
      {"a+b c=d&e", "a%2Bb+c%3Dd%26e"},
      {"AZ09", "AZ09"},
      {"l1\nl2\n", "l1%0D%0Al2%0D%0A"},
      {"l1\rl2", "l1%0D%0Al2"},
      {"l1\r\nl2", "l1%0D%0Al2"},
      {"l1\r\nl2\nl3", "l1%0D%0Al2%0Al3"},  // a text with pairs keeps its line ends as they are
      {"100%41", "100%2541"},               // text that looks like an escape is sent as written
      {"\xC3\xA9t\xC3\xA9", "%C3%A9t%C3%A9"},
  };
  for (const auto& [text, expected] : forms) EXPECT_EQ(http.FormEncode(text), expected) << text;
  const std::pair<std::string, std::string> base64[] = {
      {"", ""},
      {"f", "Zg=="},
      {"fo", "Zm8="},
      {"foo", "Zm9v"},
      {"foob", "Zm9vYg=="},
      {"fooba", "Zm9vYmE="},
      {"foobar", "Zm9vYmFy"},
      {"\xFF\xFE\xFD", "//79"},
      {"\xC3\xA9", "w6k="},
  };
  for (const auto& [text, expected] : base64) EXPECT_EQ(http.Base64(text), expected) << text;
  EXPECT_EQ(http.CRLF, "\r\n");
  EXPECT_EQ(http.Command, "");  // nothing else of the object is touched
}

TEST(BasicHTTPForms, SetFormAppendsPairsFromIndexOne) {
  BasicHTTP http;
  http.SetForm({"", "a", "b"}, {"", "1", "x y"}, true);
  EXPECT_EQ(http.FormData, "a=1&b=x+y");
  EXPECT_EQ(http.Command, "POST");
  EXPECT_TRUE(http.SendFormAfter);
  EXPECT_EQ(http.FormContentType, "application/x-www-form-urlencoded");
  // No "&" before the first pair of a second form.
  http.SetForm({"", "c"}, {"", "3"}, false);
  EXPECT_EQ(http.FormData, "a=1&b=x+yc=3");
  EXPECT_FALSE(http.SendFormAfter);
  EXPECT_EQ(http.Command, "POST");
  http.ClearForm();
  EXPECT_EQ(http.FormData, "");
  EXPECT_EQ(http.Command, "");
  // A skipped first pair leaves the "&" of the second; values shorter than
  // names skip the pairs they lack.
  http.SetForm({"", "", "b", "c", "d"}, {"", "x", "2", ""}, false);
  EXPECT_EQ(http.FormData, "&b=2");
  EXPECT_EQ(http.Command, "");
  http.SetFormDirectly("text/xml", "<a b='1'/>", true);
  EXPECT_EQ(http.FormData, "<a b='1'/>");
  EXPECT_EQ(http.FormContentType, "text/xml");
  EXPECT_TRUE(http.SendFormAfter);
  EXPECT_EQ(http.Command, "");
}

}  // namespace
