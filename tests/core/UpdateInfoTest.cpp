// The update-information file: its reading, what it shows and locks, and
// the first weather request that its first result starts.
#include "CoreFixture.h"
#include "core/UpdateInfo.h"
#include "framework/ui/BevelButton.h"
#include "framework/ui/Canvas.h"
#include "framework/ui/ChasingArrows.h"
#include "framework/ui/PushButton.h"
#include "framework/ui/StaticText.h"
#include "framework/ui/Timer.h"
#include "windows/ChangeLogWindow.h"
#include "windows/ServerMessageWindow.h"

namespace {

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
    EXPECT_EQ(requests.empty() ? "" : RequestLine(requests.back()).substr(0, kWeatherRequest.size()),
              kWeatherRequest);
    return true;
  }

  fw::BevelButton& DownloadButton() { return Win().Ctl<fw::BevelButton>("DownloadUpdateButton"); }
  bool Locked() {
    return Globals::AppLocked && !Win().Ctl<fw::PushButton>("ForecastButton").Enabled() &&
           !Menu::ForecastMenuItem().Enabled() && !Win().Ctl<fw::BevelButton>("RefreshButton").Enabled() &&
           Label("ForecastLabel") == "Application Locked.";
  }
};

TEST_F(UpdateTest, VersionsCompareAsDecimalsWithoutTheirFirstDot) {
  const std::vector<std::pair<std::string, bool>> cases = {
      {"1.3.0", false}, {"\"1.3.0\"", false}, {"1.3", false},   {"1.2.9", false},   {"0.9", false},
      {"1.3.1", true},  {"\"1.3.1\"", true},  {"1.10.0", true}, {"1.4", true},      {"2.0.0", true},
      {"v2.0", false},  {"", false},          {"1.30", true},   {" 1.3.05 ", true},
  };
  Globals::InitialUpdateCheckRun = true;  // later checks: no weather request in the way
  for (const auto& [version, newer] : cases) {
    SCOPED_TRACE(version);
    DownloadButton().SetVisible(false);
    Globals::AppUpdateURL = "";
    Parse("currentX:" + version + "\rcurrentXChangeLog:\"Notes\"\rxUrl:\"http://h/dl\"\r");
    EXPECT_EQ(DownloadButton().Visible(), newer);
    EXPECT_EQ(Globals::AppUpdateURL, newer ? "http://h/dl" : "");
    EXPECT_EQ(ChangeLogWindow::IsLive(), newer);
    EXPECT_EQ(Globals::ChangeLogData, "Notes");  // set whether or not newer
    if (ChangeLogWindow::IsLive()) ChangeLogWindow::Instance().Close();
    EXPECT_FALSE(SentWeatherRequest());
  }
}

TEST_F(UpdateTest, TheRemoteLockDisablesTheWeatherAndSendsNoRequest) {
  const std::vector<std::pair<std::string, bool>> cases = {
      {"lockApplication:true", true},
      {"lockApplication:\"true\"", true},
      {"lockApplication: TRUE ", true},
      {"lockApplication:false", false},
      {"lockApplication:", false},
      {"lockApplication:truely", false},
      {"other:true", false},
  };
  for (const auto& [line, locks] : cases) {
    SCOPED_TRACE(line);
    // A freshly started program.
    Globals::InitialUpdateCheckRun = Globals::AppLocked = false;
    Win().Ctl<fw::PushButton>("ForecastButton").SetEnabled(true);
    Win().Ctl<fw::BevelButton>("RefreshButton").SetEnabled(true);
    Menu::ForecastMenuItem().Enable();
    Win().Ctl<fw::StaticText>("ForecastLabel").SetText("Loading..");
    Parse("currentX:1.3.0\rxUrl:u\r" + line + "\r");
    EXPECT_EQ(Locked(), locks);
    EXPECT_EQ(Globals::AppLocked, locks);
    EXPECT_TRUE(Globals::InitialUpdateCheckRun);
    EXPECT_EQ(SentWeatherRequest(), !locks);
  }
  // A lock that comes with a later check takes effect the same way.
  Parse("currentX:1.3.0\rxUrl:u\rlockApplication:true");
  EXPECT_TRUE(Locked());
  EXPECT_FALSE(SentWeatherRequest());
}

TEST_F(UpdateTest, KeysAndValuesAreTrimmedAndTheLastLineNeedsNoLineEnd) {
  Globals::InitialUpdateCheckRun = true;
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"currentX:1.4\r  xUrl :  http://h/a b  \r", "http://h/a b"},             // blanks around
      {"currentX:1.4\rxUrl:http://h/x:8080/y", "http://h/x:8080/y"},            // no last line end
      {"\r\rcurrentX:1.4\r\r\r\rxUrl:http://h/blanks\r\r", "http://h/blanks"},  // blank lines
      {"currentX:1.4\r\nxUrl:http://h/crlf\r\n", "http://h/crlf"},              // CR LF
      {"currentX:1.4\nxUrl:http://h/lf\n", "http://h/lf"},                      // LF alone
      {"currentX:1.4\nxUrl:http://h/mixed\rother:x\r", "http://h/mixed"},       // mixed: ends at the first
      {"\tcurrentX\t:\t1.4\t\rxUrl:\thttp://h/tab\t", "http://h/tab"},          // tabs around
      {"currentX:1.4\rxUrl:http://h/1\rxUrl:http://h/2\r", "http://h/1"},       // repeated key: first wins
      {"CURRENTX:1.4\rXURL:http://h/upper\r", "http://h/upper"},                // key letter case
      {"currentX:1.4\rxUrl:\"ht\"tp://q\"", "http://q"},                        // quotes anywhere
      {"currentX:1.4\rxUr:http://h/s\rxUrlx:http://h/l\rxUrl:http://h/w\r", "http://h/w"},  // keys whole
  };
  for (const auto& [text, url] : cases) {
    SCOPED_TRACE(text);
    Globals::AppUpdateURL = "";
    Parse(text);
    EXPECT_EQ(Globals::AppUpdateURL, url);
  }
  EXPECT_TRUE(Boxes().empty());
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
  EXPECT_EQ(Boxes(), (std::vector<std::string>{kNoUrlBox, kNoUrlBox}));
}

TEST_F(UpdateTest, OnlyTheFirstResultGoodOrNotStartsTheWeatherAndAMissingUrlIsReportedEveryTime) {
  Globals::AppUpdateURL = Globals::ChangeLogData = Globals::ServerMessage = "kept";
  Parse("");  // a failed fetch
  EXPECT_TRUE(Globals::InitialUpdateCheckRun);
  EXPECT_TRUE(SentWeatherRequest());

  // A later one: the status stays, nothing else changes and no request follows.
  Parse("");
  EXPECT_EQ(Status(), kFetchError);
  EXPECT_FALSE(SentWeatherRequest());
  EXPECT_EQ(Globals::AppUpdateURL + Globals::ChangeLogData + Globals::ServerMessage, "keptkeptkept");
  EXPECT_FALSE(DownloadButton().Visible() || ChangeLogWindow::IsLive() || ServerMessageWindow::IsLive());
  EXPECT_TRUE(Boxes().empty());
  Parse("currentX:1.3.0\r");
  EXPECT_FALSE(SentWeatherRequest());
  EXPECT_EQ(Boxes(), std::vector<std::string>{kNoUrlBox});

  // A newer version without an address: nothing to download from.
  Parse("currentX:1.3.1\r");
  EXPECT_FALSE(DownloadButton().Visible());
  EXPECT_EQ(Globals::AppUpdateURL, "kept");
  EXPECT_FALSE(ChangeLogWindow::IsLive());
  EXPECT_EQ(Boxes(), (std::vector<std::string>{kNoUrlBox, kNoUrlBox}));

  // Once shown, the button stays when a later file announces nothing newer.
  Parse("currentX:1.3.1\rxUrl:http://h/dl\r");
  Parse("currentX:1.2.0\rxUrl:http://h/other\r");
  EXPECT_TRUE(DownloadButton().Visible());
  EXPECT_EQ(Globals::AppUpdateURL, "http://h/dl");
}

TEST_F(UpdateTest, OnlyAWebAddressIsTakenForTheDownload) {
  // The "xUrl" value of a newer version, and the address taken ("": none,
  // and the button stays hidden).
  const std::vector<std::pair<std::string, std::string>> rows = {
      {"http://h/dl", "http://h/dl"},
      {"HTTPS://h/dl?v=1.3.1", "HTTPS://h/dl?v=1.3.1"},
      {"\"https://h/dl\"", "https://h/dl"},
      {"http://h", "http://h"},
      {"file:///etc/passwd", ""},
      {"javascript:alert(1)", ""},
      {"/usr/bin/xterm", ""},
      {"path:to:file", ""},
      {"ftp://h/dl", ""},
      {"http:h/dl", ""},
      {"http://", ""},
      {"http:///etc/passwd", ""},
      {"http://h/a\x01b", ""},
      {"http://h/a\tb", ""},
      {" http ://h/dl", ""},
      {"", ""},
  };
  Globals::InitialUpdateCheckRun = true;
  for (const auto& [value, taken] : rows) {
    SCOPED_TRACE(value);
    DownloadButton().SetVisible(false);
    Globals::AppUpdateURL = "";
    Parse("currentX:1.3.1\rxUrl:" + value + "\r");
    EXPECT_EQ(Globals::AppUpdateURL, taken);
    EXPECT_EQ(DownloadButton().Visible(), !taken.empty());
  }
}

// Through the transport, against the scripted server.
using UpdateRoadTest = CoreTest;

TEST_F(UpdateRoadTest, MainWindowChecksForUpdatesAsItOpensAndThenFetchesTheWeather) {
  server.Enqueue(Script::Reply(200,
                               "currentX: 1.3.1\ncurrentXChangeLog: A<br>B\nxUrl: http://h/dl\n"
                               "serverMessage:\nlockApplication: false\n"));
  server.Enqueue(Script::Reply(200, R"({"day1_forecast":"Showers","day1_winddirection_dominant":95})"));
  // The real window, whose timer runs the update-check thread.
  MainWin& win = MainWin::Instance();
  const auto label = [&](const char* name) { return win.Ctl<fw::StaticText>(name).Text(); };
  ASSERT_TRUE(
      WaitUntil([&] { return server.FinishedCount() == 2 && label("ForecastLabel") == "Showers"; }, 10000));
  ASSERT_TRUE(WaitUntil([&] { return label("Status").empty(); }));
  const auto requests = server.Requests();
  EXPECT_EQ(RequestLine(requests.at(0)), "GET /updates/breezeling-remote.txt HTTP/1.0");
  EXPECT_EQ(RequestLine(requests.at(1)), kWeatherRequest + "Naseby,%20Otago,%20New%20Zealand HTTP/1.0");
  EXPECT_EQ(Globals::AppUpdateURL, "http://h/dl");
  EXPECT_TRUE(win.Ctl<fw::BevelButton>("DownloadUpdateButton").Visible());
  EXPECT_EQ(ChangeLogWindow::Instance().Ctl<fw::StaticText>("ChangeLogText").Text(), "A\rB");
  EXPECT_EQ(label("WindDirectionLabel"), "E");
  EXPECT_TRUE(win.Ctl<fw::BevelButton>("RefreshButton").Enabled());
  EXPECT_TRUE(Boxes().empty());
  // The weather reply came after the first update result: no other check.
  testsupport::RunEventsFor(50);
  EXPECT_EQ(server.ConnectionCount(), 2);
}

TEST_F(UpdateRoadTest, ALockedStartEndsTheLoadingLookAndTheAnimation) {
  server.Enqueue(Script::Reply(200, "currentX: 1.3.0\nxUrl: http://h/dl\nlockApplication: true\n"));
  Application();
  // The real window, whose timer runs the update-check thread. It opens in
  // the loading look; the robot is set chattering.
  MainWin& win = MainWin::Instance();
  auto& spinner = win.Ctl<fw::ChasingArrows>("ChasingArrows1");
  ASSERT_TRUE(spinner.Visible());
  win.Ctl<fw::Canvas>("RobotIcon").MouseDown(1, 1);
  const auto status = [&] { return win.Ctl<fw::StaticText>("Status").Text(); };
  ASSERT_TRUE(WaitUntil([&] { return Globals::AppLocked && status().empty(); })) << status();
  EXPECT_EQ(win.Ctl<fw::StaticText>("ForecastLabel").Text(), "Application Locked.");
  EXPECT_FALSE(spinner.Visible());
  EXPECT_EQ(win.Ctl<fw::Timer>("DigitInit").GetMode(), fw::Timer::Off);
  EXPECT_EQ(win.Ctl<fw::Timer>("DigitFlip").GetMode(), fw::Timer::Off);
  EXPECT_FALSE(win.Ctl<fw::StaticText>("Digit").Visible());
  testsupport::RunEventsFor(50);
  EXPECT_EQ(server.ConnectionCount(), 1);
}

}  // namespace
