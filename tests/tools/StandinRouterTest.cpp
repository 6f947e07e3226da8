// The stand-in's request handling without sockets: request heads, routes,
// status overrides, the update file and the command line.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "tools/standin/Http.h"
#include "tools/standin/Options.h"
#include "tools/standin/Router.h"
#include "tools/standin/Weather.h"

namespace {

using namespace standin;

TEST(StandinHttp, RequestHeadsAndWireFormat) {
  const std::string huge(kMaxRequestHead + 10, 'a');
  const std::tuple<std::string, HeadStatus, std::string> rows[] = {
      {"GET /a?b=c HTTP/1.1\r\nHost: x\r\n\r\n", HeadStatus::Complete, "/a?b=c"},
      {"\r\nGET / HTTP/1.0\n\n", HeadStatus::Complete, "/"},
      {"GET /?location=New York,\xC3\xA9 HTTP/1.0\r\n\r\n", HeadStatus::Complete,
       "/?location=New York,\xC3\xA9"},
      {"GET http://h:1/x HTTP/1.1\r\n\r\n", HeadStatus::Complete, "http://h:1/x"},
      {"GET / HTTP/1.1\r\nHost: x\r\n", HeadStatus::Incomplete, ""},
      {"GET /partial", HeadStatus::Incomplete, ""},
      {"", HeadStatus::Incomplete, ""},
      {"\x16\x03\x01\x02", HeadStatus::Bad, ""},
      {"GET /a\tb HTTP/1.1", HeadStatus::Bad, ""},
      {"HELLO\r\n\r\n", HeadStatus::Bad, ""},
      {"GET / HTTP/2.0\r\n\r\n", HeadStatus::Bad, ""},
      {"GET nopath HTTP/1.1\r\n\r\n", HeadStatus::Bad, ""},
      {"G(T / HTTP/1.1\r\n\r\n", HeadStatus::Bad, ""},
      {"GET /" + huge, HeadStatus::TooLarge, ""},
      {"GET / HTTP/1.1\r\nX: " + huge + "\r\n\r\n", HeadStatus::TooLarge, ""},
      {"GET / HTTP/1.1\r\nX: " + huge, HeadStatus::TooLarge, ""},
  };
  for (const auto& [received, status, target] : rows) {
    const HeadResult r = ParseRequestHead(received);
    EXPECT_EQ(r.status, status) << received.substr(0, 60);
    EXPECT_EQ(r.request.target, target) << received.substr(0, 60);
  }
  EXPECT_EQ(ParseRequestHead("GET / HTTP/1.1\r\n\r\n").request.method, "GET");

  Response r = TextResponse(404, "gone");
  EXPECT_EQ(SerializeResponse(r),
            "HTTP/1.0 404 Not Found\r\nContent-Type: text/plain; charset=utf-8\r\n"
            "Content-Length: 5\r\nConnection: close\r\n\r\ngone\n");
  EXPECT_EQ(SerializeResponse(r, false).find("gone"), std::string::npos);
  EXPECT_NE(SerializeResponse(r, false).find("Content-Length: 5\r\n"), std::string::npos);
  r.status = 599;
  EXPECT_EQ(SerializeResponse(r).rfind("HTTP/1.0 599 Status\r\n", 0), 0u);
}

class StandinRouter : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    settings_.updateFile = dir_.filePath("remote.txt").toStdString();
    settings_.date = Date{2026, 12, 8};
  }
  Response Get(const std::string& target, const std::string& method = "GET") {
    return Route(Request{method, target, "HTTP/1.0"}, settings_);
  }
  QTemporaryDir dir_;
  Settings settings_;
};

TEST_F(StandinRouter, Paths) {
  // method, target, status, start of the content type, part of the body
  const std::tuple<std::string, std::string, int, std::string, std::string> rows[] = {
      {"GET", "/", 200, "text/html", "Larkspire SW"},
      {"GET", "/funcrate", 200, "text/html", "Funcrate"},
      {"HEAD", "/sagewick/", 200, "text/html", "Sagewick"},
      {"GET", "/downloads/breezeling-1.3.0", 200, "text/html", "breezeling-1.3.0"},
      {"GET", "/downloads/<i>", 200, "text/html", "&lt;i&gt;"},
      {"GET", "/breezeling/weather?location=Oslo", 200, "application/json", "\"day7_forecast\":"},
      {"GET", "http://127.0.0.1:1/funcrate?x", 200, "text/html", "Funcrate"},
      {"GET", "/breezeling/weather/", 404, "text/plain", "/breezeling/weather/"},
      {"GET", "/updates/", 404, "text/plain", "Not found"},
      {"GET", "*", 404, "text/plain", "Not found"},
      {"POST", "/", 405, "text/plain", "GET"},
      {"get", "/", 405, "text/plain", "GET"},
  };
  for (const auto& [method, target, status, type, bodyHas] : rows) {
    SCOPED_TRACE(method + " " + target);
    const Response r = Get(target, method);
    EXPECT_EQ(r.status, status);
    EXPECT_EQ(r.contentType.rfind(type, 0), 0u) << r.contentType;
    EXPECT_NE(r.body.find(bodyHas), std::string::npos) << r.body;
  }
  EXPECT_EQ(Get("/downloads/<i>").body.find("<i>"), std::string::npos) << "path text must be escaped";
}

TEST_F(StandinRouter, WeatherUsesTheLocationAndTheDate) {
  EXPECT_EQ(Get("/breezeling/weather?location=Naseby,%20Otago").body,
            WeatherReply("Naseby, Otago", 2026, 12, 8));
  // The application does not encode "&" or "=" in a place.
  EXPECT_EQ(Get("/breezeling/weather?location=Tom%20&%20Jerry=1").body,
            WeatherReply("Tom & Jerry=1", 2026, 12, 8));
  EXPECT_EQ(Get("/breezeling/weather?x=1&location=Lima").body, WeatherReply("Lima", 2026, 12, 8));
  for (const char* query : {"", "?location=", "?place=Lima"}) {
    EXPECT_EQ(Get(std::string("/breezeling/weather") + query).body, WeatherReply("", 2026, 12, 8)) << query;
  }
  settings_.date = Date{2026, 12, 9};
  EXPECT_NE(Get("/breezeling/weather?location=Lima").body, WeatherReply("Lima", 2026, 12, 8));
}

TEST_F(StandinRouter, StatusOverridesWinForTheirPathOnly) {
  settings_.statusOverrides = {{"/breezeling/weather", 500}, {"/nowhere", 429}, {"/", 102}};
  const Response weather = Get("/breezeling/weather?location=Oslo");
  EXPECT_EQ(weather.status, 500);
  EXPECT_EQ(weather.body.find("current_temperature"), std::string::npos);
  EXPECT_EQ(Get("/nowhere", "POST").status, 429);
  EXPECT_EQ(Get("/?q").status, 102);
  EXPECT_EQ(Get("/funcrate").status, 200);
  EXPECT_EQ(Get("/breezeling/weatherX").status, 404);
}

TEST_F(StandinRouter, UpdateFileIsReadFreshOnEveryRequest) {
  const std::string path = "/updates/breezeling-remote.txt";
  EXPECT_EQ(Get(path).status, 404) << "no file yet";
  for (const std::string text : {"currentX: 1.3.0\nlockApplication: false\n",
                                 "currentX: 1.4.0\r\nserverMessage: \"Hi\"<br>there\r\n"}) {
    std::ofstream(settings_.updateFile, std::ios::binary | std::ios::trunc) << text;
    const Response r = Get(path);
    EXPECT_EQ(r.status, 200);
    EXPECT_EQ(r.body, text);
  }
}

TEST(StandinFiles, DefaultUpdateFileAnnouncesNothing) {
  const Settings defaults = DefaultSettings();
  const Response r = Route(Request{"GET", "/updates/breezeling-remote.txt", "HTTP/1.0"}, defaults);
  ASSERT_EQ(r.status, 200) << defaults.updateFile;
  EXPECT_EQ(r.body.find("#"), std::string::npos);
  for (const char* line :
       {"currentX: 1.3.0\n", "\nserverMessage:\n", "\nlockApplication: false\n",
        "\nxUrl: http://127.0.0.1:", "/downloads/breezeling-1.3.0\n", "\ncurrentXChangeLog: "}) {
    EXPECT_NE(r.body.find(line), std::string::npos) << line;
  }
}

TEST(StandinOptions, CommandLine) {
  ParsedArguments p =
      ParseArguments({"--port", "5000", "--status", "/breezeling/weather=500", "--status=/a=b=429", "--quiet",
                      "--update-file=/tmp/u.txt", "--date", "2024-02-29"});
  ASSERT_EQ(p.error, "");
  EXPECT_EQ(p.settings.port, 5000);
  EXPECT_EQ(p.settings.statusOverrides,
            (std::map<std::string, int>{{"/breezeling/weather", 500}, {"/a=b", 429}}));
  EXPECT_TRUE(p.settings.quiet);
  EXPECT_EQ(p.settings.updateFile, "/tmp/u.txt");
  ASSERT_TRUE(p.settings.date.has_value());
  EXPECT_EQ(p.settings.date->day, 29);
  p = ParseArguments({});
  EXPECT_EQ(p.error, "");
  EXPECT_EQ(p.settings.port, DefaultSettings().port);
  EXPECT_TRUE(ParseArguments({"--help"}).help);
  const std::vector<std::vector<std::string>> bad = {
      {"--port"},
      {"--port", "abc"},
      {"--port", "65536"},
      {"--port", "-1"},
      {"--status", "/x"},
      {"--status", "x=500"},
      {"--status", "/x=99"},
      {"--status", "/x=5000"},
      {"--status", "/x?q=1=500"},
      {"--date", "2025-02-29"},
      {"--date", "26-1-1"},
      {"--bogus"},
      {"--quiet=yes"},
      {"--update-file="},
      {"stray"},
  };
  for (const auto& args : bad) EXPECT_NE(ParseArguments(args).error, "") << args.front();
}

}  // namespace
