// The main window's own HTTP client, carrying requests end to end against
// a scripted loopback server, and the window's handlers of its events.
#include "AppFixture.h"
#include "framework/ui/ChasingArrows.h"
#include "framework/ui/EditField.h"
#include "framework/ui/ProgressBar.h"
#include "framework/ui/StaticText.h"
#include "framework/ui/Thread.h"
#include "framework/ui/Timer.h"
#include "windows/DebugWin.h"

namespace {

using apptest::TextOf;
using testsupport::Script;
using testsupport::WaitUntil;

MainWin::HTTPSockControl& Sock() { return MainWin::Instance().Ctl<MainWin::HTTPSockControl>("HTTPSock"); }
std::string Status() { return TextOf("Status"); }

class HTTPSockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    apptest::StartWithoutLoop();
    // The window's own update check stays out of the way.
    MainWin::Instance().Ctl<fw::Timer>("UpdateCheckTimer").SetMode(fw::Timer::Off);
    MainWin::Instance().Ctl<fw::Thread>("UpdateCheckThread").RunEvent = [this] { ++updateChecks; };
  }
  testsupport::ScriptedServer server;
  int updateChecks = 0;
};

TEST_F(HTTPSockTest, AWeatherPageGoesToTheWeatherParser) {
  MainWin& win = MainWin::Instance();
  server.Enqueue(Script::Reply(200, "{\"current_temperature\":12.5,\n\"day1_forecast\":\"Rain\"}\n"));
  Globals::RequestType = "WEATHER";
  win.Ctl<fw::Timer>("DigitFlip").SetMode(fw::Timer::Multiple);
  win.Ctl<fw::StaticText>("Digit").SetVisible(true);
  Sock().Get(server.Url("/breezeling/weather?location=Naseby"));
  ASSERT_TRUE(WaitUntil([] { return WeatherValues::Day1TempCurrent == "12.5"; }));
  EXPECT_EQ(WeatherValues::Day1Forecast, "Rain");
  EXPECT_EQ(Globals::RawResponse, "{\"current_temperature\":12.5,\r\"day1_forecast\":\"Rain\"}\r");
  EXPECT_FALSE(win.Ctl<fw::ChasingArrows>("ChasingArrows1").Visible());
  EXPECT_FALSE(win.Ctl<fw::StaticText>("Digit").Visible());
  EXPECT_EQ(win.Ctl<fw::Timer>("DigitFlip").GetMode(), fw::Timer::Off);
  EXPECT_EQ(Status(), "");
  ASSERT_TRUE(WaitUntil([&] { return updateChecks == 1; }));
  EXPECT_NE(server.Requests().at(0).find("GET /breezeling/weather?location=Naseby HTTP/1.1\r\n"),
            std::string::npos);
}

TEST_F(HTTPSockTest, AnUpdatePageGoesToTheUpdateParserOnly) {
  WeatherValues::Day1TempCurrent = "untouched";
  server.Enqueue(Script::Reply(200, "currentX: 1.3.0\nxUrl: http://x.example/d\n"));
  Globals::RequestType = "UPDATE";
  Globals::InitialUpdateCheckRun = true;  // no weather request follows
  Sock().Get(server.Url("/updates/breezeling-remote.txt"));
  ASSERT_TRUE(
      WaitUntil([] { return Globals::RawResponse == "currentX: 1.3.0\rxUrl: http://x.example/d\r"; }));
  EXPECT_EQ(WeatherValues::Day1TempCurrent, "untouched");
  EXPECT_EQ(Status(), "");
  EXPECT_TRUE(testsupport::Recorders::Get().boxes.empty());
}

TEST_F(HTTPSockTest, FailuresShowInTheStatusLine) {
  server.Enqueue(Script::Reply(404, "missing"));
  Sock().Get(server.Url("/nothing"));
  ASSERT_TRUE(WaitUntil([] { return Status() == "Protocol Error: 404"; }));
  Sock().Get("http://127.0.0.1:" + std::to_string(testsupport::RefusedPort()) + "/x");
  ASSERT_TRUE(WaitUntil([] { return Status() == "TCP Error: 102"; }));
  Sock().Get("http://nodot/x");
  EXPECT_EQ(Status(), "Operation Error: Bad URL!");
}

TEST_F(HTTPSockTest, OnlyAbsoluteRedirectionsAreFollowed) {
  EXPECT_TRUE(Sock().HandleRedirection("/next"));
  EXPECT_FALSE(Sock().HandleRedirection("http://127.0.0.1/next"));
  EXPECT_FALSE(Sock().HandleRedirection("HTTP://127.0.0.1/next"));
  // The client resolves a relative location before the handler sees it, so
  // it is followed like any other.
  server.Enqueue(Script::Reply(302, "moved", {{"Location", "/next"}}));
  server.Enqueue(Script::Reply(200, "arrived"));
  Globals::RequestType = "WEATHER";
  Sock().Get(server.Url("/breezeling/weather?location=x"));
  ASSERT_TRUE(WaitUntil([] { return Globals::RawResponse == "arrived"; }));
  EXPECT_EQ(server.ConnectionCount(), 2);
}

TEST_F(HTTPSockTest, HeadersOfAHeadReplyGoToTheDebugWindow) {
  server.Enqueue(Script::Reply(200, "", {{"X-Test", "1"}}));
  Sock().GetHeaders(server.Url("/"));
  ASSERT_TRUE(WaitUntil([] { return Status() == "Headers Received!"; }));
  const std::string text = DebugWin::Instance().Ctl<fw::EditField>("Response").Text();
  EXPECT_EQ(text.rfind("Code: 200\r", 0), 0u) << text;
  EXPECT_NE(text.find("X-Test: 1\r"), std::string::npos);
  EXPECT_EQ(text.find('\n'), std::string::npos);
}

TEST_F(HTTPSockTest, TheProgressBarCountsKilobytesOfLargeReplies) {
  auto& bar = MainWin::Instance().Ctl<fw::ProgressBar>("Progress");
  Sock().DataProgress(1000, 5120, 1000);
  EXPECT_EQ(bar.Maximum(), 100) << "small replies leave the bar alone";
  Sock().DataProgress(5120, 10240, 5120);
  EXPECT_EQ(bar.Maximum(), 10);
  EXPECT_EQ(bar.Value(), 5);
  EXPECT_FALSE(bar.Visible()) << "the bar's visibility is not the handler's business";
}

TEST_F(HTTPSockTest, APageIsHandledAsTheKindOfTheRequestItCarried) {
  const std::string weather = R"({"day1_forecast":"Sunny"})";
  const std::string update = "currentX:1.3.1\nxUrl:http://h/dl\n";
  Globals::InitialUpdateCheckRun = true;
  for (const bool carriesWeather : {true, false}) {
    SCOPED_TRACE(carriesWeather ? "weather" : "update");
    WeatherValues::Day1Forecast = Globals::AppUpdateURL = "before";
    server.Enqueue(Script::Reply(200, carriesWeather ? weather : update));
    Globals::RequestType = carriesWeather ? "WEATHER" : "UPDATE";
    Sock().Get(server.Url("/x"));
    // As a request of the other kind started meanwhile would leave it.
    Globals::RequestType = carriesWeather ? "UPDATE" : "WEATHER";
    ASSERT_TRUE(WaitUntil([&] { return Status().empty() && Globals::RawResponse != "before"; }));
    EXPECT_EQ(WeatherValues::Day1Forecast, carriesWeather ? "Sunny" : "before");
    EXPECT_EQ(Globals::AppUpdateURL, carriesWeather ? "before" : "http://h/dl");
    Globals::RawResponse = "before";
  }
}

TEST_F(HTTPSockTest, APageOverItsKindsLimitEndsTheTransferUnread) {
  constexpr std::size_t KiB = 1024, MiB = 1024 * 1024;
  struct Row {
    const char* kind;
    std::size_t size;
    bool announced;  // with Content-Length; without it the connection stays open
    bool refused;
  };
  const std::vector<Row> rows = {
      {"WEATHER", MiB, true, false},      {"WEATHER", 2 * MiB, false, true},
      {"UPDATE", 256 * KiB, true, false}, {"UPDATE", 256 * KiB + 1, true, true},
      {"UPDATE", MiB, false, true},
  };
  Globals::InitialUpdateCheckRun = true;
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.kind) + " " + std::to_string(row.size));
    Globals::RawResponse = "before";
    Script script;
    script.WaitForRequest().Send(Script::Response(200, std::string(row.size, 'x'), {}, row.announced));
    if (row.announced) script.Close();
    server.Enqueue(std::move(script));
    Globals::RequestType = row.kind;
    Sock().Get(server.Url("/x"));
    if (row.refused) {
      ASSERT_TRUE(WaitUntil([] { return Status() == "TCP Error: 100"; }, 10000)) << Status();
      EXPECT_EQ(Globals::RawResponse, "before");
      EXPECT_FALSE(Sock().Connected);
    } else {
      ASSERT_TRUE(WaitUntil([] { return Status().empty(); }, 10000)) << Status();
      EXPECT_EQ(Globals::RawResponse.size(), row.size);
    }
  }
}

}  // namespace
