// BasicHTTP requests: URL parsing, the starters and the exact bytes sent.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BasicHTTPProbe.h"

namespace {

using namespace httptest;

// Checks the bytes of the first request.
std::function<void(Probe&, ScriptedServer&)> Sent(std::string bytes) {
  return [bytes](Probe&, ScriptedServer& s) { EXPECT_EQ(RequestOf(s), bytes); };
}

const Events kEmptyPage = {"headers 200", "page "};

TEST(BasicHTTPRequest, RequestBytes) {
  RunTable({
      {"headers in order, cookies, extras", {Script::Reply(200, "ok")}, {"headers 200", "progress 2/2/2", "page "}, "ok",
       [](Probe& p, ScriptedServer& s) {
         p.cookieJar = std::make_shared<FixedCookies>(2, "a=1; b=2");
         p.http.Extras = std::make_shared<HTTPHeaders>();
         p.http.Extras->Add("Accept", "*/*");
         p.http.Get(s.Url("/a b/c.html?x=1&y=2;p=%41"));
       },
       Sent(Head("GET /a%20b/c.html?x=1&y=2;p=%41", "Cookie: a=1; b=2\r\nAccept: */*\r\n\r\n"))},
      {"no cookies, own client name", {Script::Reply(200, "")}, kEmptyPage, std::nullopt,
       [](Probe& p, ScriptedServer& s) {
         p.cookieJar = std::make_shared<FixedCookies>(0, "ignored=1");
         p.http.SetClient("a b/c", 3);
         p.http.Get(s.Url("/"));
       },
       Sent("GET / HTTP/1.1\r\nUser-Agent: abc/3.0\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n")},
      {"query form after an existing query", {Script::Reply(200, "")}, kEmptyPage, std::nullopt,
       [](Probe& p, ScriptedServer& s) {
         p.http.SetForm({"", "q", "n"}, {"", "a b", "1+1"}, false);
         p.http.Get(s.Url("/s?x=1"));
       },
       Sent(Head("GET /s?x=1?q=a+b&n=1%2B1"))},
      {"body form", {Script::Reply(200, "")}, kEmptyPage, std::nullopt,
       [](Probe& p, ScriptedServer& s) {
         p.http.SetForm({"", "name", "city"}, {"", "Zo\xC3\xAB", "a&b=c"}, true);
         p.http.Get(s.Url("/f"));
       },
       [](Probe& p, ScriptedServer& s) {
         EXPECT_EQ(RequestOf(s), Head("POST /f", "Content-Type: application/x-www-form-urlencoded\r\n"
                                                 "Content-Length: 28\r\n\r\nname=Zo%C3%AB&city=a%26b%3Dc"));
         EXPECT_EQ(p.http.FormData, "");  // a 2xx reply ends the form and the method
         EXPECT_EQ(p.http.Command, "");
       }},
      {"ready-made body with an empty method goes as GET, length in bytes", {Script::Reply(200, "")}, kEmptyPage,
       std::nullopt,
       [](Probe& p, ScriptedServer& s) {
         p.http.SetFormDirectly("application/json", "{\"a\":\"\xC3\xA9\"}", true);
         p.http.Get(s.Url("/j"));
       },
       Sent(Head("GET /j", "Content-Type: application/json\r\nContent-Length: 10\r\n\r\n{\"a\":\"\xC3\xA9\"}"))},
      {"POST without a form", {Script::Reply(200, "")}, kEmptyPage, std::nullopt,
       [](Probe& p, ScriptedServer& s) {
         p.http.Command = "POST";
         p.http.Get(s.Url("/p"));
       },
       Sent(Head("GET /p"))},
      {"credentials in the URL", {Script::Reply(200, "")}, kEmptyPage, std::nullopt,
       [](Probe& p, ScriptedServer& s) { p.http.Get("http://user:pw@" + s.HostPort() + "/x"); },
       Sent(Head("GET /x", "Authorization: Basic dXNlcjpwdw==\r\n\r\n"))},
      {"empty password", {Script::Reply(200, "")}, kEmptyPage, std::nullopt,
       [](Probe& p, ScriptedServer& s) { p.http.Get("http://user:@" + s.HostPort() + "/x"); }, Sent(Head("GET /x"))},
      {"resume asks for the rest", {Script::Reply(206, "5", {{"Content-Range", "bytes 4-4/5"}})},
       {"headers 206", "progress 5/5/1", "file "}, std::nullopt,
       [](Probe& p, ScriptedServer& s) { p.http.Resume(s.Url("/r"), Temp("r.bin", "1234")); },
       [](Probe& p, ScriptedServer& s) {
         EXPECT_EQ(RequestOf(s), Head("GET /r", "Range: bytes=4-\r\n\r\n"));
         EXPECT_EQ(ReadFile(Temp("r.bin")), "12345");
         EXPECT_EQ(p.http.Extras->Get("Range"), "bytes=4-");  // stays for later transfers
       }},
      {"resume into a missing file is a download", {Script::Reply(200, "")}, {"headers 200", "file "}, std::nullopt,
       [](Probe& p, ScriptedServer& s) { p.http.Resume(s.Url("/r"), Temp("none.bin")); }, Sent(Head("GET /r"))},
      {"redirect on a fresh object has no extra headers", {Script::Reply(200, "")}, kEmptyPage, std::nullopt,
       [](Probe& p, ScriptedServer& s) { p.http.Redirect(s.Url("/r")); },
       [](Probe& p, ScriptedServer& s) {
         EXPECT_EQ(p.http.Extras, nullptr);
         EXPECT_EQ(RequestOf(s), Head("GET /r"));
       }},
      {"download deletes the old file first", {}, {"tcp 102", "cancelled"}, std::nullopt,
       [](Probe& p, ScriptedServer& s) {
         p.http.Download(s.Url("/d"), Temp("old.bin", "old"));
         EXPECT_FALSE(Temp("old.bin").Exists());
       },
       [](Probe&, ScriptedServer&) { EXPECT_FALSE(Temp("old.bin").Exists()); }},
  });
}

TEST(BasicHTTPRequest, ProxyGetsTheAbsoluteURLAndHostNamesTheServer) {
  const std::vector<std::vector<std::string>> cases = {
      {"http://example.com/a/b.html?x=1", "GET http://example.com/a/b.html?x=1", "example.com"},
      {"example.com:8080/x", "GET http://example.com:8080/x", "example.com"},
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
  for (const std::string& url : {std::string("https://example.com/"), "http://localhost:" + std::to_string(server.Port()) + "/",
                                std::string("http://127.0.0.1:abc/"), std::string("http://127.0.0.1:0/"),
                                std::string(""), std::string("http://bad\r\nX-y.example.com/")}) {
    Probe p;
    p.http.Download(url, file);
    EXPECT_EQ(p.events, (Events{"operror Bad URL! 1", "cancelled"})) << url;
  }
  for (int starter = 0; starter < 3; ++starter) {
    Probe p;
    if (starter == 0) p.http.Download(server.Url("/"), std::nullopt);
    if (starter == 1) p.http.Grab(server.Url("/"), std::nullopt);
    if (starter == 2) p.http.Resume(server.Url("/"), fw::FolderItem());
    EXPECT_EQ(p.events, (Events{"operror Unable to write to file! 0", "cancelled"})) << starter;
  }
  testsupport::RunEventsFor(50);
  EXPECT_EQ(server.ConnectionCount(), 0);
  EXPECT_EQ(ReadFile(file), "old");
}

TEST(BasicHTTPRequest, ParseURLSplitsServerFieldsAndCookieDefaults) {
  // url, host, port, path, cookie domain, cookie path, user, password
  const std::vector<std::vector<std::string>> cases = {
      {"  http://www.example.com:8080/a/b.html ", "www.example.com", "8080", "/a/b.html", ".example.com", "/a/", "", ""},
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
    EXPECT_EQ((std::vector<std::string>{c[0], http.ServerAddress, std::to_string(http.ServerPort), http.ServerPath,
                                        http.CookieDomain, http.CookiePath, http.User, http.Pass}),
              c);
    EXPECT_EQ(http.Path, http.ServerPath);
    EXPECT_EQ(http.Address, http.ServerAddress);
    EXPECT_EQ(http.OriginalURL, fw::Trim(c[0]));
  }
}

}  // namespace
