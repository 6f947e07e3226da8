// The settings window: Save with its conversions, refills, request and
// file, the robot preview, Cancel and Command-W, and the product links.
#include <QApplication>
#include <QEvent>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "WindowsFixture.h"
#include "app/Menu.h"
#include "app/Pictures.h"
#include "core/Globals.h"
#include "core/Hosts.h"
#include "core/WeatherValues.h"
#include "framework/ui/Controls.h"
#include "framework/ui/Timer.h"
#include "support/Recorders.h"
#include "support/Wait.h"
#include "windows/AboutWindow.h"
#include "windows/DebugWin.h"
#include "windows/ForecastWin.h"
#include "windows/SettingsWin.h"

namespace {

using fw::PopupMenu;
using fw::StaticText;
using testsupport::Script;
using wintest::kDegree;

const std::string kDefaultPlace = "Naseby, Otago, New Zealand";
const std::string kC = kDegree + "C", kF = kDegree + "F";

std::vector<std::string> FileOf(const std::string& place, const std::string& temp,
                                const std::string& speed, const std::string& robot) {
  return {"userLocation", place, "userTempUnit", temp, "userSpeedUnit", speed, "userRobot", robot};
}

// Runs once, while a new about window is being made. Save's robot step makes
// one when the user has closed it, so a test can look at the main window
// between the refills before and after that step.
class AboutWindowBirth : public QObject {
 public:
  explicit AboutWindowBirth(std::function<void()> atBirth) : atBirth_(std::move(atBirth)) {
    qApp->installEventFilter(this);
  }
  ~AboutWindowBirth() override { qApp->removeEventFilter(this); }
  bool seen = false;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::ChildAdded && !seen && AboutWindow::IsLive()) {
      seen = true;
      atBirth_();
    }
    return false;
  }

 private:
  std::function<void()> atBirth_;
};

class SettingsTest : public wintest::WindowsTest {
 protected:
  void SetUp() override {
    WindowsTest::SetUp();
    // Weather on hand, in the start-up units (Celsius, km/h).
    ASSERT_TRUE(Fetch(Script::Reply(200, wintest::FullReply())));
  }
  static SettingsWin& Settings() { return SettingsWin::Instance(); }
  static void Choose(const std::string& popup, const std::string& row) {
    auto& menu = Settings().Ctl<PopupMenu>(popup);
    for (int i = 0; i < menu.ListCount(); ++i)
      if (menu.List(i) == row) menu.SetListIndex(i);
    ASSERT_EQ(menu.Text(), row);
  }
  static void Type(const std::string& place) { Settings().Ctl<fw::EditField>("Location").SetText(place); }
  static std::string Place() { return Settings().Ctl<fw::EditField>("Location").Text(); }
  static void Save() { Settings().Ctl<fw::PushButton>("PushButton1").Push(); }
  void OpenSettings() { Main().Ctl<fw::PushButton>("PushButton1").Push(); }
  // A request writes the status line at once.
  bool RequestStarted() { return MainText("Status") == "Connecting to server..."; }
  std::string RequestLine(int n) {
    const std::string request = WaitForRequest(n);
    return request.substr(0, request.find("\r\n"));
  }
  bool ReplyHandled() { return testsupport::WaitUntil([&] { return MainText("Status").empty(); }, 10000); }
};

TEST_F(SettingsTest, SaveWithNothingChangedRefillsRewritesTheFileAndHidesTheWindows) {
  Main().Ctl<fw::PushButton>("ForecastButton").Push();
  Main().RaiseKeyDown("d", true, true);
  OpenSettings();
  Main().Ctl<StaticText>("StaticText3").MouseDown(1, 1);
  const std::vector<fw::Window*> secondary = {&DebugWin::Instance(), &Settings(),
                                              &ForecastWin::Instance(), &AboutWindow::Instance()};
  for (fw::Window* win : secondary) ASSERT_TRUE(win->Visible()) << win->Title();
  Main().Ctl<StaticText>("Current").SetText("stale");
  ForecastWin::Instance().Ctl<StaticText>("Max1").SetText("stale");
  ASSERT_EQ(wintest::PreferencesLines(), FileOf("", "", "", ""));  // as made at start

  Save();
  EXPECT_FALSE(RequestStarted());
  EXPECT_EQ(WeatherValues::Day1TempCurrent, "20.0");
  EXPECT_EQ(MainText("Current"), "20.0" + kC);
  EXPECT_EQ(ForecastWin::Instance().Ctl<StaticText>("Max1").Text(), "21.5 " + kC);
  EXPECT_EQ(wintest::PreferencesLines(), FileOf(kDefaultPlace, "Celsius", "km/h", "Rivet"));
  for (fw::Window* win : secondary) EXPECT_FALSE(win->Visible()) << win->Title();
  EXPECT_TRUE(Globals::ForecastWinOpen);
}

TEST_F(SettingsTest, AChangedUnitConvertsTheValuesOnceAndIsKept) {
  struct Step {
    const char *popup, *unit;
    std::string current, wind, gusts;
  };
  // Each row saves once; saving the same unit again converts nothing.
  const std::vector<Step> steps = {
      {"Temp", "Fahrenheit", "68.0", "100", "50"}, {"Temp", "Fahrenheit", "68.0", "100", "50"},
      {"Speed", "mph", "68.0", "62.1", "31.1"},    {"Speed", "mph", "68.0", "62.1", "31.1"},
      {"Temp", "Celsius", "20.0", "62.1", "31.1"}, {"Speed", "km/h", "20.0", "99.9", "50.1"}};
  for (const Step& step : steps) {
    SCOPED_TRACE(std::string(step.popup) + " " + step.unit);
    OpenSettings();
    Choose(step.popup, step.unit);
    Save();
    EXPECT_FALSE(RequestStarted());
    EXPECT_EQ(WeatherValues::Day1TempCurrent, step.current);
    EXPECT_EQ(WeatherValues::Day1WindspeedMax, step.wind);
    EXPECT_EQ(WeatherValues::Day1WindgustsMax, step.gusts);
    EXPECT_EQ(MainText("Current"), step.current + kDegree + WeatherValues::UnitTemp);
    EXPECT_EQ(MainText("WindSpeedLabel"), step.wind + " " + Globals::UserSpeedUnit);
    const auto file = wintest::PreferencesLines();
    EXPECT_EQ(std::vector<std::string>({file.at(3), file.at(5)}),
              std::vector<std::string>({Globals::UserTempUnit, Globals::UserSpeedUnit}));
  }
  EXPECT_EQ(Globals::UserTempUnit + " " + Globals::UserSpeedUnit, "Celsius km/h");
}

TEST_F(SettingsTest, AStoredUnitThatNoValueWasConvertedToIsNotUndone) {
  // The settings say Fahrenheit, but the values on hand are still Celsius.
  Globals::UserTempUnit = "Fahrenheit";
  Choose("Temp", "Celsius");
  Save();
  EXPECT_EQ(MainText("Current"), "20.0" + kC);
}

struct RefillCase {
  const char *name, *temp, *speed;
  std::string currentThen, windThen;  // on the main window at the robot step
  std::string currentAfter, windAfter;
};

void PrintTo(const RefillCase& c, std::ostream* os) { *os << c.name; }

class SaveRefills : public SettingsTest, public ::testing::WithParamInterface<RefillCase> {};

TEST_P(SaveRefills, ASpeedChangeRefillsBeforeTheRobotStepAndEverySaveAfterIt) {
  const RefillCase& c = GetParam();
  OpenSettings();
  Choose("Temp", c.temp);
  Choose("Speed", c.speed);
  Choose("Robot", "Gizmo");
  AboutWindow::Instance().RaiseKeyDown("w", true, false);  // the robot step makes a new one
  for (const char* label : {"Current", "WindSpeedLabel"}) Main().Ctl<StaticText>(label).SetText("stale");
  std::string currentThen, windThen;
  AboutWindowBirth birth([&] {
    currentThen = MainText("Current");
    windThen = MainText("WindSpeedLabel");
    for (const char* label : {"Current", "WindSpeedLabel"}) Main().Ctl<StaticText>(label).SetText("probe");
  });
  Save();
  ASSERT_TRUE(birth.seen);
  EXPECT_EQ(currentThen, c.currentThen);
  EXPECT_EQ(windThen, c.windThen);
  EXPECT_EQ(MainText("Current"), c.currentAfter);
  EXPECT_EQ(MainText("WindSpeedLabel"), c.windAfter);
  // The new robot is on both windows; the about window made for it is hidden.
  EXPECT_EQ(Main().Ctl<fw::Canvas>("RobotIcon").Backdrop(), Pictures::Breezelingalt());
  EXPECT_EQ(AboutWindow::Instance().Ctl<fw::Canvas>("RobotIcon").Backdrop(), Pictures::Breezelingalt());
  EXPECT_FALSE(AboutWindow::Instance().Visible());
}

INSTANTIATE_TEST_SUITE_P(
    Units, SaveRefills,
    ::testing::Values(
        RefillCase{"TemperatureOnly", "Fahrenheit", "km/h", "stale", "stale", "68.0" + kF, "100 km/h"},
        RefillCase{"SpeedOnly", "Celsius", "mph", "20.0" + kC, "62.1 mph", "20.0" + kC, "62.1 mph"},
        RefillCase{"Both", "Fahrenheit", "mph", "68.0" + kF, "62.1 mph", "68.0" + kF, "62.1 mph"}),
    [](const ::testing::TestParamInfo<RefillCase>& info) { return std::string(info.param.name); });

TEST_F(SettingsTest, AChangedPlaceIsFetchedAsTypedAndOnlyALongEnoughOneIsKept) {
  struct Case {
    std::string typed, query, stored, kept, label;
  };
  const std::vector<Case> cases = {
      {"", "", kDefaultPlace, kDefaultPlace, "Naseby"},
      {"X", "X", kDefaultPlace, kDefaultPlace, "Naseby"},
      {"Oz", "Oz", "Oz", kDefaultPlace, "Naseby"},
      {"Dunedin, NZ", "Dunedin,%20NZ", "Dunedin, NZ", "Dunedin, NZ", "Dunedin"},
  };
  int requests = 1;
  for (const Case& c : cases) {
    SCOPED_TRACE("\"" + c.typed + "\"");
    OpenSettings();
    Type(c.typed);
    server.Enqueue(Script::Reply(200, wintest::FullReply()));
    Save();
    EXPECT_TRUE(RequestStarted());
    EXPECT_EQ(RequestLine(++requests), "GET /breezeling/weather?location=" + c.query + " HTTP/1.0");
    EXPECT_EQ(wintest::PreferencesLines().at(1), c.stored);
    EXPECT_EQ(Place(), c.kept);
    EXPECT_EQ(Globals::UserLocation, c.kept);
    EXPECT_EQ(MainText("LocationLabel"), c.label);
    ASSERT_TRUE(ReplyHandled());
  }
  // Unchanged and short: no request, the default place is put in and stored.
  Globals::UserLocation = "Q";
  Type("Q");
  Save();
  EXPECT_FALSE(RequestStarted());
  EXPECT_EQ(Place() + "|" + Globals::UserLocation, kDefaultPlace + "|" + kDefaultPlace);
  EXPECT_EQ(wintest::PreferencesLines().at(1), kDefaultPlace);
}

TEST_F(SettingsTest, ARequestForAPlaceTooShortTakesTheFieldForTheNextOne) {
  const std::vector<std::vector<std::string>> cases = {{"", "", "Dunedin"}, {"Q", "Q", "Dunedin"},
                                                       {"Oz", "Oz", "Oz"}};
  int requests = 1;
  for (const auto& c : cases) {
    Type("Dunedin");
    Globals::UserLocation = c[0];
    ASSERT_TRUE(Fetch(Script::Reply(200, wintest::FullReply())));
    EXPECT_EQ(RequestLine(++requests), "GET /breezeling/weather?location=" + c[1] + " HTTP/1.0");
    EXPECT_EQ(Globals::UserLocation, c[2]);
  }
}

TEST_F(SettingsTest, ARobotChoiceShowsInThePreviewAndCancelOrCommandWDropsEveryEdit) {
  auto preview = [] { return Settings().Ctl<fw::Canvas>("RobotPreview").Backdrop(); };
  const std::vector<std::pair<const char*, void (*)()>> ways = {
      {"Cancel", [] { Settings().Ctl<fw::PushButton>("PushButton2").Push(); }},
      {"Command-W", [] { EXPECT_FALSE(Settings().RaiseKeyDown("w", true, false)); }}};
  for (const auto& [name, cancel] : ways) {
    SCOPED_TRACE(name);
    OpenSettings();
    EXPECT_EQ(preview(), Pictures::Rivet());
    Choose("Robot", "Wrenchy");
    EXPECT_EQ(preview(), Pictures::Wrenchy());
    Settings().Ctl<PopupMenu>("Robot").SetListIndex(-1);  // names no robot: the preview stays
    EXPECT_EQ(preview(), Pictures::Wrenchy());
    Choose("Speed", "mph");
    Type("Dunedin");
    EXPECT_FALSE(Settings().RaiseKeyDown("w", false, false));  // only a letter
    ASSERT_TRUE(SettingsWin::IsLive());

    cancel();
    EXPECT_FALSE(SettingsWin::IsLive());
    EXPECT_FALSE(RequestStarted());
    EXPECT_EQ(Main().Ctl<fw::Canvas>("RobotIcon").Backdrop(), Pictures::Rivet());
    EXPECT_EQ(Globals::UserRobot + "|" + Globals::UserSpeedUnit + "|" + Globals::UserLocation,
              "Rivet|km/h|" + kDefaultPlace);
    EXPECT_EQ(WeatherValues::Day1WindspeedMax, "100");
  }
}

TEST_F(SettingsTest, TheTwoProductTilesOpenTheirPagesAndTheThirdDoesNothing) {
  Hosts::SetForTesting(server.HostPort(), "web.invalid");
  OpenSettings();
  SettingsWin& win = Settings();
  for (const char* name : {"Canvas3", "Canvas1"}) EXPECT_FALSE(win.Ctl<fw::Canvas>(name).MouseDown(4, 4));
  for (const char* name : {"StaticText8", "StaticText5"}) EXPECT_FALSE(win.Ctl<StaticText>(name).MouseDown(4, 4));
  EXPECT_EQ(testsupport::Recorders::Get().links,
            (std::vector<std::string>{"http://web.invalid/funcrate", "http://web.invalid/sagewick",
                                      "http://web.invalid/funcrate", "http://web.invalid/sagewick"}));
  EXPECT_FALSE(win.Ctl<fw::Canvas>("Canvas2").MouseDown);
  EXPECT_FALSE(win.Ctl<StaticText>("StaticText7").MouseDown);
  EXPECT_TRUE(win.Visible());
}

TEST_F(SettingsTest, TheMenuItemShowsTheWindowAsItIs) {
  Type("Half-typed");
  Menu::SettingsMenuItem().Trigger();
  EXPECT_TRUE(Settings().Visible());
  EXPECT_EQ(Place(), "Half-typed");
}

TEST_F(SettingsTest, SaveAfterTheMainWindowWasClosedKeepsEveryChoice) {
  OpenSettings();
  Main().RaiseKeyDown("w", true, false);
  ASSERT_FALSE(MainWin::IsLive());
  Choose("Speed", "mph");
  Type("Dunedin");
  server.Enqueue(Script::Reply(200, wintest::FullReply()));
  Save();
  ASSERT_TRUE(MainWin::IsLive());
  // The new window's own update check is not looked at here.
  Main().Ctl<fw::Timer>("UpdateCheckTimer").SetMode(fw::Timer::Off);
  Main().Ctl<fw::Thread>("UpdateCheckThread").RunEvent = [] {};
  EXPECT_EQ(Settings().Ctl<PopupMenu>("Speed").Text(), "mph");
  EXPECT_EQ(wintest::PreferencesLines(), FileOf("Dunedin", "Celsius", "mph", "Rivet"));
  EXPECT_EQ(RequestLine(2), "GET /breezeling/weather?location=Dunedin HTTP/1.0");
  // The reply for the new place comes in the kept unit.
  ASSERT_TRUE(ReplyHandled());
  EXPECT_EQ(MainText("WindSpeedLabel"), "62.1 mph");
}

}  // namespace
