// The update-information file: its reading, what it shows and locks, and
// the first weather request that its first result starts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CoreFixture.h"
#include "app/Menu.h"
#include "core/Globals.h"
#include "core/UpdateInfo.h"
#include "core/WeatherValues.h"
#include "support/Recorders.h"
#include "support/Wait.h"
#include "windows/ChangeLogWindow.h"
#include "windows/ServerMessageWindow.h"

namespace {

using testsupport::Recorders;
using testsupport::Script;
using testsupport::WaitUntil;

const std::string kWeatherRequest = "GET /breezeling/weather?location=";
const std::string kNoUrlBox = "Update Error: Update URL key not found";
const std::string kFetchError = "Error: Couldn't fetch update information";

std::string RequestLine(const std::string& request) { return request.substr(0, request.find("\r\n")); }

class UpdateTest : public CoreTest {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    // Any weather request gets a reply with no values.
    server.SetDefaultScript(Script::Reply(200, "{}"));
    Win();
    Application();
  }

  // Reads the text as the transport hands an update reply over.
  void Parse(const std::string& text) {
    Globals::RequestType = "UPDATE";
    Globals::ParseUpdateInfo(text);
  }

  // Whether the last Parse started a weather request. A request started is
  // followed to its end at the server, so no reply is left for later.
  bool SentWeatherRequest() {
    const int before = server.ConnectionCount();
    if (Globals::RequestType != "WEATHER") {
      testsupport::RunEventsFor(50);
      EXPECT_EQ(server.ConnectionCount(), before);
      return false;
    }
    const int done = server.FinishedCount();
    EXPECT_TRUE(WaitUntil([&] { return server.FinishedCount() > done && Status().empty(); }));
    const auto requests = server.Requests();
    EXPECT_FALSE(requests.empty());
    if (!requests.empty()) {
      EXPECT_EQ(RequestLine(requests.back()).rfind(kWeatherRequest, 0), 0u);
    }
    return true;
  }

  fw::BevelButton& DownloadButton() { return Win().Ctl<fw::BevelButton>("DownloadUpdateButton"); }
  bool Locked() {
    return Globals::AppLocked && !Win().Ctl<fw::PushButton>("ForecastButton").Enabled() &&
           !Menu::ForecastMenuItem().Enabled() && !Win().Ctl<fw::BevelButton>("RefreshButton").Enabled() &&
           Label("ForecastLabel") == "Application Locked.";
  }
};

TEST_F(UpdateTest, NewerVersionShowsButtonChangeLogAndStartsTheWeather) {
  Parse("currentX:1.3.1\rcurrentXChangeLog:Fixes<br>More\rxUrl:path:to:file\rserverMessage:\r");
  EXPECT_TRUE(DownloadButton().Visible());
  ASSERT_TRUE(ChangeLogWindow::IsLive());
  EXPECT_TRUE(ChangeLogWindow::Instance().Visible());
  EXPECT_EQ(ChangeLogWindow::Instance().Ctl<fw::StaticText>("ChangeLogText").Text(), "Fixes\rMore");
  EXPECT_EQ(Globals::ChangeLogData, "Fixes\rMore");
  EXPECT_EQ(Globals::AppUpdateURL, "path:to:file");
  EXPECT_EQ(Globals::ServerMessage, "");
  EXPECT_FALSE(ServerMessageWindow::IsLive());
  EXPECT_TRUE(Globals::InitialUpdateCheckRun);
  EXPECT_TRUE(SentWeatherRequest());
  EXPECT_TRUE(Recorders::Get().boxes.empty());
  EXPECT_FALSE(Globals::AppLocked);
}

TEST_F(UpdateTest, VersionsCompareAsDecimalsWithoutTheirFirstDot) {
  struct Case {
    std::string version;
    bool newer;
  };
  const std::vector<Case> cases = {
      {"1.3.0", false}, {"\"1.3.0\"", false}, {"1.3", false},     {"1.2.9", false}, {"0.9", false},
      {"1.3.1", true},  {"\"1.3.1\"", true},  {"1.10.0", true},   {"1.4", true},    {"2.0.0", true},
      {"v2.0", false},  {"", false},          {"1.30", true},     {" 1.3.05 ", true},
  };
  Globals::InitialUpdateCheckRun = true;  // later checks: no weather request in the way
  for (const auto& c : cases) {
    SCOPED_TRACE(c.version);
    DownloadButton().SetVisible(false);
    Globals::AppUpdateURL = "";
    Parse("currentX:" + c.version + "\rcurrentXChangeLog:\"Notes\"\rxUrl:\"http://h/dl\"\r");
    EXPECT_EQ(DownloadButton().Visible(), c.newer);
    EXPECT_EQ(Globals::AppUpdateURL, c.newer ? "http://h/dl" : "");
    EXPECT_EQ(ChangeLogWindow::IsLive(), c.newer);
    EXPECT_EQ(Globals::ChangeLogData, "Notes");  // set whether or not newer
    if (ChangeLogWindow::IsLive()) ChangeLogWindow::Instance().Close();
    EXPECT_FALSE(SentWeatherRequest());
  }
}

TEST_F(UpdateTest, TheRemoteLockDisablesTheWeatherAndSendsNoRequest) {
  struct Case {
    std::string line;
    bool locks;
  };
  const std::vector<Case> cases = {
      {"lockApplication:true", true},  {"lockApplication:\"true\"", true}, {"lockApplication: TRUE ", true},
      {"lockApplication:false", false}, {"lockApplication:", false},        {"lockApplication:truely", false},
      {"other:true", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    // A freshly started program.
    Globals::InitialUpdateCheckRun = Globals::AppLocked = false;
    Win().Ctl<fw::PushButton>("ForecastButton").SetEnabled(true);
    Win().Ctl<fw::BevelButton>("RefreshButton").SetEnabled(true);
    Menu::ForecastMenuItem().Enable();
    Win().Ctl<fw::StaticText>("ForecastLabel").SetText("Loading..");

    Parse("currentX:1.3.0\rxUrl:u\r" + c.line + "\r");
    EXPECT_EQ(Locked(), c.locks);
    EXPECT_EQ(Globals::AppLocked, c.locks);
    EXPECT_TRUE(Globals::InitialUpdateCheckRun);
    EXPECT_EQ(SentWeatherRequest(), !c.locks);
  }
  // A lock that comes with a later check takes effect the same way.
  Parse("currentX:1.3.0\rxUrl:u\rlockApplication:true");
  EXPECT_TRUE(Locked());
  EXPECT_FALSE(SentWeatherRequest());
}

TEST_F(UpdateTest, KeysAndValuesAreTrimmedAndTheLastLineNeedsNoLineEnd) {
  Globals::InitialUpdateCheckRun = true;
  struct Case {
    const char* what;
    std::string text, url;
  };
  const std::vector<Case> cases = {
      {"blanks around", "currentX:1.4\r  xUrl :  a b  \r", "a b"},
      {"last line without line end", "currentX:1.4\rxUrl:http://h/x:8080/y", "http://h/x:8080/y"},
      {"blank lines and CR pairs", "\r\rcurrentX:1.4\r\r\r\rxUrl:after blanks\r\r", "after blanks"},
      {"CR LF not turned into CR", "currentX:1.4\r\nxUrl:crlf\r\n", "crlf"},
      {"LF alone", "currentX:1.4\nxUrl:lf\n", "lf"},
      {"mixed line ends end at the first", "currentX:1.4\nxUrl:mixed\rother:x\r", "mixed"},
      {"tabs around", "\tcurrentX\t:\t1.4\t\rxUrl:\ttab\t", "tab"},
      {"repeated key, first wins", "currentX:1.4\rxUrl:first\rxUrl:second\r", "first"},
      {"key letter case", "CURRENTX:1.4\rXURL:upper\r", "upper"},
      {"quotes anywhere in the value", "currentX:1.4\rxUrl:\"ht\"tp://q\"", "http://q"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Globals::AppUpdateURL = "";
    Parse(c.text);
    EXPECT_EQ(Globals::AppUpdateURL, c.url);
  }
  EXPECT_TRUE(Recorders::Get().boxes.empty());
}

TEST_F(UpdateTest, LinesWithoutAColonFindNothing) {
  Globals::InitialUpdateCheckRun = true;
  // A line without a colon runs on into the next key, which then matches
  // nothing; text after the last colon without one of its own is no pair.
  Parse("# comment\rcurrentX:1.4\rxUrl:u\r");
  EXPECT_EQ(Status(), kFetchError);
  Parse("currentX:1.3.0\rxUrl");
  Parse("currentX:1.3.0\rxUrl\r");
  Parse("no colon at all");
  EXPECT_EQ(Status(), kFetchError);
  EXPECT_EQ(Recorders::Get().boxes, (std::vector<std::string>{kNoUrlBox, kNoUrlBox}));
}

TEST_F(UpdateTest, EmptyTextIsAFailedFetchThatStillStartsTheFirstWeatherRequest) {
  Globals::AppUpdateURL = "kept";
  Globals::ChangeLogData = "kept";
  Globals::ServerMessage = "kept";
  Parse("");
  EXPECT_TRUE(Globals::InitialUpdateCheckRun);
  EXPECT_TRUE(SentWeatherRequest());

  // A later check: the status stays and no request follows.
  Parse("");
  EXPECT_EQ(Status(), kFetchError);
  EXPECT_FALSE(SentWeatherRequest());
  EXPECT_EQ(Globals::AppUpdateURL, "kept");
  EXPECT_EQ(Globals::ChangeLogData, "kept");
  EXPECT_EQ(Globals::ServerMessage, "kept");
  EXPECT_FALSE(DownloadButton().Visible());
  EXPECT_FALSE(ChangeLogWindow::IsLive());
  EXPECT_FALSE(ServerMessageWindow::IsLive());
  EXPECT_TRUE(Recorders::Get().boxes.empty());
}

TEST_F(UpdateTest, SecondCheckStartsNoWeatherRequestAndMissingUrlIsReportedEveryTime) {
  Parse("currentX:1.3.0\r");
  EXPECT_TRUE(SentWeatherRequest());
  Parse("currentX:1.3.0\r");
  EXPECT_FALSE(SentWeatherRequest());
  EXPECT_EQ(Recorders::Get().boxes, (std::vector<std::string>{kNoUrlBox, kNoUrlBox}));

  // A newer version without an address: the button shows, with no address.
  Recorders::Get().boxes.clear();
  Globals::AppUpdateURL = "old";
  Parse("currentX:1.3.1\r");
  EXPECT_TRUE(DownloadButton().Visible());
  EXPECT_EQ(Globals::AppUpdateURL, "");
  EXPECT_FALSE(ChangeLogWindow::IsLive());
  EXPECT_EQ(Recorders::Get().boxes, std::vector<std::string>{kNoUrlBox});

  // Once shown, the button stays when a later file announces nothing newer.
  Parse("currentX:1.2.0\rxUrl:u\r");
  EXPECT_TRUE(DownloadButton().Visible());
  EXPECT_EQ(Globals::AppUpdateURL, "");
}

TEST_F(UpdateTest, ServerMessageIsShownOnEveryCheckInOneWindow) {
  Globals::InitialUpdateCheckRun = true;
  Parse("currentX:1.3.0\rxUrl:u\rserverMessage:\"Maintenance\"<br>Sunday\r");
  ASSERT_TRUE(ServerMessageWindow::IsLive());
  ServerMessageWindow& window = ServerMessageWindow::Instance();
  EXPECT_TRUE(window.Visible());
  EXPECT_EQ(window.Ctl<fw::StaticText>("ServerMessageText").Text(), "Maintenance\rSunday");
  EXPECT_EQ(Globals::ServerMessage, "Maintenance\rSunday");

  window.Hide();
  Parse("currentX:1.3.0\rxUrl:u\rserverMessage:Second\r");
  EXPECT_EQ(&ServerMessageWindow::Instance(), &window);
  EXPECT_TRUE(window.Visible());
  EXPECT_EQ(window.Ctl<fw::StaticText>("ServerMessageText").Text(), "Second");

  // An empty message shows nothing and changes nothing in the window.
  window.Hide();
  Parse("currentX:1.3.0\rxUrl:u\rserverMessage:\"\"\r");
  EXPECT_FALSE(window.Visible());
  EXPECT_EQ(window.Ctl<fw::StaticText>("ServerMessageText").Text(), "Second");
  EXPECT_EQ(Globals::ServerMessage, "");
}

TEST(FindKey, FirstEqualKeyOrMinusOne) {
  const std::vector<std::string> keys = {"currentX", "xUrl", "CURRENTX", ""};
  EXPECT_EQ(Globals::FindKey(keys, "currentX"), 0);
  EXPECT_EQ(Globals::FindKey(keys, "currentx"), 0);
  EXPECT_EQ(Globals::FindKey(keys, "xUrl"), 1);
  EXPECT_EQ(Globals::FindKey(keys, ""), 3);
  EXPECT_EQ(Globals::FindKey(keys, "currentXChangeLog"), -1);
  EXPECT_EQ(Globals::FindKey(keys, "xUr"), -1);
  EXPECT_EQ(Globals::FindKey({}, "currentX"), -1);
}

// Through the transport, against the scripted server.
class UpdateRoadTest : public CoreTest {
 protected:
  // The server has played `count` scripts and the last weather reply has
  // been handled (the loading look ends with it).
  bool WeatherHandled(int count) {
    return WaitUntil(
        [&] {
          return server.FinishedCount() == count && Status().empty() &&
                 !Win().Ctl<fw::ChasingArrows>("ChasingArrows1").Visible();
        },
        10000);
  }
};

TEST_F(UpdateRoadTest, UpdateFileFromTheServerStartsTheFirstWeatherRequest) {
  Win();
  server.Enqueue(Script::Reply(200, "currentX: 1.3.1\ncurrentXChangeLog: A<br>B\nxUrl: http://h/dl\n"));
  server.Enqueue(Script::Reply(200, R"({"day1_forecast":"Sunny","current_temperature":21})"));
  Globals::GetUpdateData();
  EXPECT_EQ(Globals::RequestType, "UPDATE");
  EXPECT_EQ(Status(), "Connecting to server...");
  ASSERT_TRUE(WeatherHandled(2)) << Status();
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(RequestLine(requests[0]), "GET /updates/breezeling-remote.txt HTTP/1.0");
  EXPECT_EQ(RequestLine(requests[1]), kWeatherRequest + "Naseby,%20Otago,%20New%20Zealand HTTP/1.0");
  EXPECT_EQ(Globals::AppUpdateURL, "http://h/dl");
  EXPECT_EQ(ChangeLogWindow::Instance().Ctl<fw::StaticText>("ChangeLogText").Text(), "A\rB");
  ASSERT_TRUE(WaitUntil([&] { return WeatherValues::Day1Forecast == "Sunny"; }));
  EXPECT_EQ(Label("ForecastLabel"), "Sunny");
  EXPECT_TRUE(Recorders::Get().boxes.empty());
  testsupport::RunEventsFor(50);
  EXPECT_EQ(updateChecks, 0);  // the weather reply came after the first update result
}

TEST_F(UpdateRoadTest, FailedUpdateFetchIsReportedAndTheWeatherStillFollows) {
  Win();
  server.Enqueue(Script::Reply(404, "gone"));
  server.Enqueue(Script::Reply(200, "{}"));
  Globals::GetUpdateData();
  ASSERT_TRUE(WeatherHandled(2)) << Status();
  EXPECT_EQ(Recorders::Get().boxes,
            std::vector<std::string>{"Something went wrong..\r\rThe update service is not available."});
  EXPECT_EQ(RequestLine(server.Requests().at(1)).rfind(kWeatherRequest, 0), 0u);
  EXPECT_TRUE(Globals::InitialUpdateCheckRun);
}

TEST_F(UpdateRoadTest, MainWindowChecksForUpdatesAsItOpensAndThenFetchesTheWeather) {
  server.Enqueue(
      Script::Reply(200, "currentX: 1.3.0\nxUrl: http://h/dl\nserverMessage:\nlockApplication: false\n"));
  server.Enqueue(Script::Reply(200, R"({"day1_forecast":"Showers","day1_winddirection_dominant":95})"));
  // The real window, whose timer runs the update-check thread.
  MainWin& win = MainWin::Instance();
  ASSERT_TRUE(WaitUntil([&] { return server.FinishedCount() == 2 && WeatherValues::Day1Forecast == "Showers"; },
                        10000));
  ASSERT_TRUE(WaitUntil([&] { return win.Ctl<fw::StaticText>("Status").Text().empty(); }));
  EXPECT_EQ(RequestLine(server.Requests().at(0)), "GET /updates/breezeling-remote.txt HTTP/1.0");
  EXPECT_EQ(win.Ctl<fw::StaticText>("ForecastLabel").Text(), "Showers");
  EXPECT_EQ(win.Ctl<fw::StaticText>("WindDirectionLabel").Text(), "E");
  EXPECT_FALSE(win.Ctl<fw::BevelButton>("DownloadUpdateButton").Visible());
  EXPECT_TRUE(win.Ctl<fw::BevelButton>("RefreshButton").Enabled());
  EXPECT_TRUE(Recorders::Get().boxes.empty());
  testsupport::RunEventsFor(50);
  EXPECT_EQ(server.ConnectionCount(), 2);
}

}  // namespace
