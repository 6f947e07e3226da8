// The request transport: status line, failure reports and reply dispatch,
// against real sockets.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "CoreFixture.h"
#include "core/Globals.h"
#include "core/MyHTTPSocket.h"
#include "core/Weather.h"
#include "core/WeatherValues.h"
#include "support/Recorders.h"
#include "support/Wait.h"

namespace {

using testsupport::Recorders;
using testsupport::Script;
using testsupport::WaitUntil;

// Notes the status text after every step of its request, and opens the
// error handler to direct calls.
class ProbeSocket : public MyHTTPSocket {
 public:
  void Start(const std::string& url) {
    GetURL(url);
    Note();
  }
  void Event_Error(int code) override {
    MyHTTPSocket::Event_Error(code);
    Note();
    done = true;
  }
  std::vector<std::string> trail;  // consecutive repeats collapsed
  bool done = false;

 protected:
  void Event_Connected() override {
    MyHTTPSocket::Event_Connected();
    Note();
  }
  void Event_HeadersReceived(const fw::InternetHeaders& headers, int httpStatus) override {
    MyHTTPSocket::Event_HeadersReceived(headers, httpStatus);
    Note();
  }
  void Event_ReceiveProgress(int got, int total, const std::string& data) override {
    MyHTTPSocket::Event_ReceiveProgress(got, total, data);
    Note();
  }
  void Event_PageReceived(const std::string& url, int httpStatus, const fw::InternetHeaders& headers,
                          const std::string& content) override {
    MyHTTPSocket::Event_PageReceived(url, httpStatus, headers, content);
    Note();
    done = true;
  }

 private:
  void Note() {
    const std::string now = MainWin::Instance().Ctl<fw::StaticText>("Status").Text();
    if (trail.empty() || trail.back() != now) trail.push_back(now);
  }
};

class TransportTest : public CoreTest {
 protected:
  // Runs one request on a probe socket and waits for its last event.
  std::shared_ptr<ProbeSocket> Fetch(const std::string& path, Script script) {
    Win();
    server.Enqueue(std::move(script));
    auto socket = std::make_shared<ProbeSocket>();
    socket->Start(server.Url(path));
    EXPECT_TRUE(WaitUntil([&] { return socket->done; }));
    return socket;
  }
  // Notes the status text at the moment each box comes up.
  void WatchBoxes() {
    seen.clear();
    Recorders::Get().onBox = [this](const std::string&) { seen.push_back(Status()); };
  }
  std::vector<std::string> seen;
  bool LoadingLook() { return Win().Ctl<fw::ChasingArrows>("ChasingArrows1").Visible(); }
};

const std::string kWeatherPath = "/breezeling/weather?location=Naseby";
const std::string kUnhandled = "Error: Unhandled request type.";

TEST_F(TransportTest, StatusLineFollowsTheRequest) {
  Globals::InitialUpdateCheckRun = true;  // the reply starts no weather request
  Globals::RequestType = "UPDATE";
  auto socket = Fetch("/x", Script::Reply(200, "line1\nline2\n"));
  const std::vector<std::string> expected = {"Connecting to server...", "Waiting for response...",
                                             "Status: 200", "Waiting for response...", ""};
  EXPECT_EQ(socket->trail, expected);
  EXPECT_EQ(Globals::RawResponse, "line1\rline2\r");
  EXPECT_TRUE(Recorders::Get().boxes.empty());
}

struct PageRow {
  int status;
  std::string path, body, box, statusText;
};

TEST_F(TransportTest, EveryReplyStatusRow) {
  const std::vector<PageRow> rows = {
      {429, kWeatherPath, "",
       "Weather server overloaded.\r\rThe weather API is currently overloaded. Please try again soon.",
       "OpenAI API overloaded. Try again."},
      {400, kWeatherPath, "no\nplace", "Couldn't retrieve a response.\r\rno\nplace",
       "Couldn't retrieve response."},
      {504, kWeatherPath, "",
       "Server Timeout\r\rThe weather server took too long to respond and the connection timed out.",
       "Server Timeout: 504"},
      {500, kWeatherPath, "boom",
       "A Server Error Occurred\r\rSomething unexpected happened with the server's response. Please let "
       "Larkspire "
       "SW know if this issue persists.\r\rError: boom",
       "Server Error: 500"},
      {102, kWeatherPath, "",
       "The Server Was Unreachable\r\rThe server may be undergoing maintennance. Wait a minute or two and "
       "try "
       "again.",
       "Server undergoing maintennance."},
      {404, "/updates/breezeling-remote.txt", "gone",
       "Something went wrong..\r\rThe update service is not available.", "Update service unavailable."},
      {503, "/breezeling/", "",
       "Something went wrong..\r\rThe proxy server is unavailable. Please try again soon.",
       "Server Unavailable."},
      {404, kWeatherPath, "Not\nhere",
       "An error occured while waiting for a response.\r\rNot\nhere\r\rIf you are using a custom proxy "
       "server, "
       "please ensure the address is correct.",
       "Unknown Network Error"},
      // The proxy's own row is for its base address only.
      {404, "/breezeling/x", "",
       "An error occured while waiting for a response.\r\r\r\rIf you are using a custom proxy server, please "
       "ensure the address is correct.",
       "Unknown Network Error"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::to_string(row.status) + " " + row.path);
    // No request kind: the unhandled box follows the row's box, and shows
    // what the status line held once the row's box was dismissed.
    Globals::RequestType = "";
    Recorders::Get().boxes.clear();
    WatchBoxes();
    Fetch(row.path, Script::Reply(row.status, row.body));
    EXPECT_EQ(Recorders::Get().boxes, (std::vector<std::string>{row.box, kUnhandled}));
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_NE(seen[0], row.statusText);
    EXPECT_EQ(seen[1], row.statusText);
    EXPECT_EQ(Status(), "");
  }
}

struct ErrorRow {
  int code;
  std::string box, statusText;  // box empty: none
};

TEST_F(TransportTest, EverySocketErrorRow) {
  const std::vector<ErrorRow> rows = {
      {102,
       "The proxy server was unreachable, it may be undergoing maintennance. Wait a minute or two and try "
       "again.",
       "Error: Try again soon."},
      {103, "The proxy server was unreachable.", "Error: Proxy server may be misconfigured."},
      {-3162, "The server was unreachable\r\rPlease check your internet connection.",
       "Error: Check Internet Connection."},
      {100, "", "Error: 100"},
      {-1, "", "Error: -1"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.code);
    Win().Ctl<fw::StaticText>("Status").SetText("before");
    Recorders::Get().boxes.clear();
    WatchBoxes();
    std::make_shared<ProbeSocket>()->Event_Error(row.code);
    if (row.box.empty()) {
      EXPECT_TRUE(Recorders::Get().boxes.empty());
    } else {
      EXPECT_EQ(Recorders::Get().boxes, std::vector<std::string>{row.box});
      EXPECT_EQ(seen, std::vector<std::string>{"before"});
    }
    EXPECT_EQ(Status(), row.statusText);  // kept: nothing empties it
  }
}

TEST_F(TransportTest, RefusedWeatherRequestKeepsTheLoadingLook) {
  Hosts::SetForTesting("127.0.0.1:" + std::to_string(testsupport::RefusedPort()), server.HostPort());
  WeatherValues::Day1Forecast = "Old";
  Win();
  Globals::GetForecast();
  ASSERT_TRUE(WaitUntil([&] { return Status() == "Error: Try again soon."; })) << "status: " << Status();
  EXPECT_EQ(Recorders::Get().boxes.size(), 1u);
  EXPECT_TRUE(LoadingLook());
  EXPECT_EQ(Label("ForecastLabel"), "Loading..");
  EXPECT_EQ(WeatherValues::Day1Forecast, "Old");
  testsupport::RunEventsFor(50);
  EXPECT_EQ(updateChecks, 0);
}

TEST_F(TransportTest, WeatherReplyIsParsedAndEndsTheRequest) {
  Win();
  server.Enqueue(Script::Reply(200, "{\n\"current_temperature\":12.5,\n\"day1_forecast\":\"Fine\"\n}"));
  Globals::GetForecast();
  ASSERT_TRUE(WaitUntil([&] { return Status().empty() && updateChecks == 1; })) << "status: " << Status();
  EXPECT_EQ(Recorders::Get().boxes, std::vector<std::string>{});
  EXPECT_EQ(WeatherValues::Day1Forecast, "Fine");
  EXPECT_EQ(WeatherValues::Day1TempCurrent, "12.5");
  EXPECT_EQ(Label("ForecastLabel"), "Fine");
  EXPECT_FALSE(LoadingLook());
  EXPECT_EQ(Win().Ctl<fw::Timer>("DigitInit").GetMode(), fw::Timer::Off);
  EXPECT_EQ(Win().Ctl<fw::Timer>("DigitFlip").GetMode(), fw::Timer::Off);
  EXPECT_FALSE(Win().Ctl<fw::StaticText>("Digit").Visible());

  // Once the first update check has been run, a reply starts no other.
  Globals::InitialUpdateCheckRun = true;
  server.Enqueue(Script::Reply(200, "{}"));
  Globals::GetForecast();
  ASSERT_TRUE(WaitUntil([&] { return server.FinishedCount() == 2 && Status().empty(); }))
      << "status: " << Status();
  testsupport::RunEventsFor(50);
  EXPECT_EQ(updateChecks, 1);
}

TEST_F(TransportTest, FailedWeatherReplyEndsLoadingWithEmptyValues) {
  WeatherValues::Day1Forecast = "Old";
  WeatherValues::Day1TempCurrent = "5";
  WeatherValues::FeelsLikeCurrent = "4";
  Win();
  server.Enqueue(Script::Reply(404, R"({"day1_forecast":"Not this"})"));
  Globals::GetForecast();
  ASSERT_TRUE(WaitUntil([&] { return Status().empty() && updateChecks == 1; })) << "status: " << Status();
  ASSERT_EQ(Recorders::Get().boxes.size(), 1u);
  EXPECT_EQ(Recorders::Get().boxes[0].rfind("An error occured while waiting for a response.", 0), 0u);
  EXPECT_EQ(WeatherValues::Day1Forecast, "");
  EXPECT_EQ(WeatherValues::Day1TempCurrent, "");
  EXPECT_EQ(WeatherValues::FeelsLikeCurrent, "");
  EXPECT_EQ(Label("ForecastLabel"), "");
  EXPECT_EQ(Label("PrecipitationLabel"), "%");
  EXPECT_FALSE(LoadingLook());
}

TEST_F(TransportTest, UpdateReplyGoesToTheUpdateReader) {
  WeatherValues::Day1Forecast = "Old";
  Globals::InitialUpdateCheckRun = true;  // a later check: no weather request follows
  Globals::RequestType = "UPDATE";
  Fetch("/updates/breezeling-remote.txt", Script::Reply(404, ""));
  EXPECT_EQ(Recorders::Get().boxes,
            std::vector<std::string>{"Something went wrong..\r\rThe update service is not available."});

  Fetch("/updates/breezeling-remote.txt", Script::Reply(200, "currentX:1.3.1\nxUrl:u\n"));
  EXPECT_EQ(Recorders::Get().boxes.size(), 1u);
  EXPECT_EQ(Globals::RawResponse, "currentX:1.3.1\rxUrl:u\r");
  EXPECT_EQ(Globals::AppUpdateURL, "u");
  EXPECT_TRUE(Win().Ctl<fw::BevelButton>("DownloadUpdateButton").Visible());
  EXPECT_EQ(WeatherValues::Day1Forecast, "Old");
  EXPECT_TRUE(LoadingLook());  // as the new window opened: no weather reply ended it
  EXPECT_EQ(Status(), "");
  testsupport::RunEventsFor(50);
  EXPECT_EQ(updateChecks, 0);
}

TEST_F(TransportTest, UnknownRequestKindIsReported) {
  Globals::RequestType = "FORECAST";
  Fetch("/x", Script::Reply(200, "{}"));
  EXPECT_EQ(Recorders::Get().boxes, std::vector<std::string>{kUnhandled});
  EXPECT_EQ(Status(), "");
}

}  // namespace
