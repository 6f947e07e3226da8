// The settings window: Save with its conversions, refills, request and
// file, the robot preview, Cancel and Command-W, and the product links.
#include <QAccessible>
#include <QAccessibleEditableTextInterface>
#include <QApplication>
#include <QEvent>
#include <array>
#include <functional>

#include "WindowsFixture.h"
#include "app/App.h"
#include "core/UpdateInfo.h"
#include "core/Weather.h"
#include "framework/text/Text.h"
#include "framework/ui/BevelButton.h"
#include "framework/ui/Canvas.h"
#include "framework/ui/ChasingArrows.h"
#include "framework/ui/Control_p.h"
#include "framework/ui/EditField.h"
#include "framework/ui/PopupMenu.h"
#include "framework/ui/PushButton.h"
#include "framework/ui/StaticText.h"
#include "framework/ui/Thread.h"
#include "framework/ui/Timer.h"
#include "windows/AboutWindow.h"
#include "windows/DebugWin.h"
#include "windows/ForecastWin.h"
#include "windows/SettingsWin.h"

namespace {

using fw::PopupMenu;
using wintest::kDegree;

const std::string kDefaultPlace = "Naseby, Otago, New Zealand";
const std::string kC = kDegree + "C", kF = kDegree + "F";

std::vector<std::string> FileOf(const std::string& place, const std::string& temp, const std::string& speed,
                                const std::string& robot) {
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
    ASSERT_TRUE(FetchFull());  // weather on hand, in the start-up units (Celsius, km/h)
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
  static std::string WeatherRequest(const std::string& query) {
    return "GET /breezeling/weather?location=" + query + " HTTP/1.0";
  }
  bool ReplyHandled() {
    return testsupport::WaitUntil([&] { return MainText("Status").empty(); }, 10000);
  }
};

TEST_F(SettingsTest, SaveWithNothingChangedRefillsRewritesTheFileAndHidesTheWindows) {
  Main().Ctl<fw::PushButton>("ForecastButton").Push();
  Main().RaiseKeyDown("d", true, true);
  OpenSettings();
  Main().Ctl<StaticText>("StaticText3").MouseDown(1, 1);
  const std::vector<fw::Window*> secondary = {&DebugWin::Instance(), &Settings(), &ForecastWin::Instance(),
                                              &AboutWindow::Instance()};
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

TEST_F(SettingsTest, AChangedUnitIsConvertedOnceAndKeptAndASpeedChangeRefillsBeforeTheRobotStep) {
  // Units and robot chosen (each row's robot differs from the row before);
  // the values after Save (current, wind, gusts); the main window's
  // temperature and wind at the robot step, and at the end.
  const std::vector<std::array<std::string, 6>> rows = {
      {"Fahrenheit", "km/h", "Gizmo", "68.0 100 50", "stale stale", "68.0" + kF + " 100 km/h"},
      {"Fahrenheit", "km/h", "Wrenchy", "68.0 100 50", "stale stale", "68.0" + kF + " 100 km/h"},
      {"Fahrenheit", "mph", "Tinker", "68.0 62.1 31.1", "68.0" + kF + " 62.1 mph", "68.0" + kF + " 62.1 mph"},
      {"Fahrenheit", "mph", "Rivet", "68.0 62.1 31.1", "stale stale", "68.0" + kF + " 62.1 mph"},
      {"Celsius", "mph", "Gizmo", "20.0 62.1 31.1", "stale stale", "20.0" + kC + " 62.1 mph"},
      {"Celsius", "km/h", "Wrenchy", "20.0 99.9 50.1", "20.0" + kC + " 99.9 km/h",
       "20.0" + kC + " 99.9 km/h"},
      {"Fahrenheit", "mph", "Tinker", "68.0 62.1 31.1", "68.0" + kF + " 62.1 mph",
       "68.0" + kF + " 62.1 mph"}};
  const auto shown = [&] { return MainText("Current") + " " + MainText("WindSpeedLabel"); };
  const auto mark = [&](const char* text) {
    for (const char* label : {"Current", "WindSpeedLabel"}) Main().Ctl<StaticText>(label).SetText(text);
  };
  for (const auto& [temp, speed, robot, values, then, after] : rows) {
    SCOPED_TRACE(temp + " " + speed + " " + robot);
    OpenSettings();
    Choose("Temp", temp);
    Choose("Speed", speed);
    Choose("Robot", robot);
    AboutWindow::Instance().RaiseKeyDown("w", true, false);  // the robot step makes a new one
    mark("stale");
    std::string atRobotStep;
    AboutWindowBirth birth([&] {
      atRobotStep = shown();
      mark("probe");
    });
    Save();
    EXPECT_FALSE(RequestStarted());
    ASSERT_TRUE(birth.seen);
    EXPECT_EQ(atRobotStep, then);
    EXPECT_EQ(shown(), after);
    EXPECT_EQ(WeatherValues::Day1TempCurrent + " " + WeatherValues::Day1WindspeedMax + " " +
                  WeatherValues::Day1WindgustsMax,
              values);
    const auto file = wintest::PreferencesLines();
    EXPECT_EQ(file.at(3) + " " + file.at(5) + " " + file.at(7), temp + " " + speed + " " + robot);
    // The new robot is on both windows; the about window made for it is hidden.
    EXPECT_EQ(Main().Ctl<fw::Canvas>("RobotIcon").Backdrop(), Pictures::RobotPicture(robot));
    EXPECT_EQ(AboutWindow::Instance().Ctl<fw::Canvas>("RobotIcon").Backdrop(), Pictures::RobotPicture(robot));
    EXPECT_FALSE(AboutWindow::Instance().Visible());
  }
  EXPECT_EQ(Globals::UserTempUnit + " " + Globals::UserSpeedUnit, "Fahrenheit mph");

  // A stored unit that no value was converted to is not undone.
  Globals::UserTempUnit = "Celsius";
  Choose("Temp", "Fahrenheit");
  Save();
  EXPECT_EQ(MainText("Current"), "68.0" + kF);
}

TEST_F(SettingsTest, AChangedPlaceIsFetchedAsTypedAndOnlyALongEnoughOneIsKept) {
  // Typed, then the request's query, the place stored and kept, and the label.
  const std::vector<std::array<std::string, 5>> cases = {
      {"", "", kDefaultPlace, kDefaultPlace, "Naseby"},
      {"X", "X", kDefaultPlace, kDefaultPlace, "Naseby"},
      {"Oz", "Oz", "Oz", kDefaultPlace, "Naseby"},
      {"Dunedin, NZ", "Dunedin,%20NZ", "Dunedin, NZ", "Dunedin, NZ", "Dunedin"},
      // A pasted line break or other control character is dropped first.
      {"Dun\r\nedin", "Dunedin", "Dunedin", "Dunedin", "Dunedin"},
      {"\tMosgiel\x7f, NZ\n", "Mosgiel,%20NZ", "Mosgiel, NZ", "Mosgiel, NZ", "Mosgiel"},
      {"\rO\nz", "Oz", "Oz", kDefaultPlace, "Naseby"},
  };
  int requests = 1;
  for (const auto& [typed, query, stored, kept, label] : cases) {
    SCOPED_TRACE("\"" + typed + "\"");
    OpenSettings();
    Type(typed);
    server.Enqueue(Script::Reply(200, wintest::FullReply()));
    Save();
    EXPECT_TRUE(RequestStarted());
    EXPECT_EQ(RequestLine(++requests), WeatherRequest(query));
    EXPECT_EQ(wintest::PreferencesLines().at(1), stored);
    EXPECT_EQ(Place() + " | " + Globals::UserLocation, kept + " | " + kept);
    EXPECT_EQ(MainText("LocationLabel"), label);
    ASSERT_TRUE(ReplyHandled());
  }
  // Unchanged and short: no request, the default place is put in and stored.
  Globals::UserLocation = "Q";
  Type("Q");
  Save();
  EXPECT_FALSE(RequestStarted());
  EXPECT_EQ(Place() + " | " + Globals::UserLocation, kDefaultPlace + " | " + kDefaultPlace);
  EXPECT_EQ(wintest::PreferencesLines().at(1), kDefaultPlace);
}

TEST_F(SettingsTest, WhileLockedNeitherRefreshNorSaveSendsAWeatherRequest) {
  Globals::ParseUpdateInfo("currentX:1.3.0\rxUrl:http://h/dl\rlockApplication:true\r");
  ASSERT_TRUE(Globals::AppLocked);
  const std::vector<std::pair<const char*, std::function<void()>>> paths = {
      // An update check enables the button again while it runs.
      {"refresh during an update check",
       [this] {
         Main().Ctl<fw::BevelButton>("RefreshButton").SetEnabled(true);
         Main().Ctl<fw::BevelButton>("RefreshButton").Push();
       }},
      {"save with a new place",
       [this] {
         OpenSettings();
         Type("Dunedin");
         Save();
       }},
  };
  for (const auto& [name, path] : paths) {
    SCOPED_TRACE(name);
    const int connections = server.ConnectionCount();
    path();
    EXPECT_FALSE(RequestStarted());
    testsupport::RunEventsFor(100);
    EXPECT_EQ(server.ConnectionCount(), connections);
    EXPECT_EQ(MainText("ForecastLabel"), "Application Locked.");
    EXPECT_FALSE(Main().Ctl<fw::ChasingArrows>("ChasingArrows1").Visible());
  }
  // The new place is still kept for later.
  EXPECT_EQ(wintest::PreferencesLines().at(1), "Dunedin");
}

TEST_F(SettingsTest, APlaceSetThroughTheAccessibilityInterfaceIsWhatSaveStoresAndFetches) {
  // As a screen reader or voice input sets it: through the field's editable text.
  OpenSettings();
  auto* access =
      QAccessible::queryAccessibleInterface(Settings().Ctl<fw::EditField>("Location").impl().widget);
  access->editableTextInterface()->replaceText(0, 6, "Dunedin");
  server.Enqueue(Script::Reply(200, wintest::FullReply()));
  Save();
  const std::string place = "Dunedin, Otago, New Zealand";
  EXPECT_EQ(RequestLine(2), WeatherRequest(fw::ReplaceAll(place, " ", "%20")));
  EXPECT_EQ(wintest::PreferencesLines().at(1), place);
  EXPECT_EQ(Globals::UserLocation + " | " + Place(), place + " | " + place);
  ASSERT_TRUE(ReplyHandled());
}

TEST_F(SettingsTest, WhateverBringsTheMainWindowBackShowsItWhole) {
  const std::vector<std::string> labels = {"ForecastLabel", "Current",        "TempMaxLabel",
                                           "TempMinLabel",  "FeelsLikeLabel", "SunriseLabel",
                                           "UVIndexLabel",  "WindSpeedLabel", "PrecipitationLabel",
                                           "HumidityLabel", "SunsetLabel",    "WindDirectionLabel"};
  const auto shown = [&] {
    std::vector<std::string> texts;
    for (const auto& name : labels) texts.push_back(MainText(name));
    texts.push_back(Main().Ctl<fw::ChasingArrows>("ChasingArrows1").Visible() ? "spinning" : "still");
    return texts;
  };
  // The main window after the reply, and while a request is under way.
  const std::vector<std::string> values = shown();
  ASSERT_EQ(values.front(), "Forecast 1");
  std::vector<std::string> loading(labels.size(), wintest::kInfinity);
  loading.front() = "Loading..";
  loading.at(labels.size() - 1) = "";
  loading.push_back("spinning");

  // The new window's own update check is not looked at here.
  const auto quiet = [this] {
    Main().Ctl<fw::Timer>("UpdateCheckTimer").SetMode(fw::Timer::Off);
    Main().Ctl<fw::Thread>("UpdateCheckThread").RunEvent = [] {};
  };
  // What brings the window back: Save in the settings, or the menu item.
  const std::vector<std::pair<const char*, std::function<void()>>> bringers = {
      {"Save", [this] { Save(); }},
      {"BreezeLing", [] { App::Get().HandleMenuCommand("BreezelingMenuItem"); }}};
  for (const auto& [name, bringBack] : bringers) {
    SCOPED_TRACE(name);
    OpenSettings();
    Main().RaiseKeyDown("w", true, false);
    ASSERT_FALSE(MainWin::IsLive());
    bringBack();
    ASSERT_TRUE(MainWin::IsLive());
    quiet();
    EXPECT_EQ(shown(), values);
  }

  // Closed while a reply is awaited, it comes back waiting, then filled.
  // Nothing arrives before the test hands the loop back.
  server.Enqueue(Script::Reply(200, wintest::FullReply()));
  Globals::GetForecast();
  Main().RaiseKeyDown("w", true, false);
  ASSERT_FALSE(MainWin::IsLive());
  App::Get().HandleMenuCommand("BreezelingMenuItem");
  quiet();
  EXPECT_EQ(shown(), loading);
  ASSERT_TRUE(testsupport::WaitUntil([&] { return shown().back() == "still"; }, 10000));
  EXPECT_EQ(shown(), values);
}

TEST_F(SettingsTest, ARequestForAPlaceTooShortTakesTheFieldForTheNextOne) {
  const std::vector<std::vector<std::string>> cases = {
      {"", "", "Dunedin"}, {"Q", "Q", "Dunedin"}, {"Oz", "Oz", "Oz"}};
  int requests = 1;
  for (const auto& c : cases) {
    Type("Dunedin");
    Globals::UserLocation = c[0];
    ASSERT_TRUE(FetchFull());
    EXPECT_EQ(RequestLine(++requests), WeatherRequest(c[1]));
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
  // The menu item shows the window as it is, a half-typed place included.
  Type("Half-typed");
  Menu::SettingsMenuItem().Trigger();
  EXPECT_TRUE(Settings().Visible());
  EXPECT_EQ(Place(), "Half-typed");
}

TEST_F(SettingsTest, TheTwoProductTilesOpenTheirPagesAndTheThirdDoesNothing) {
  Hosts::SetForTesting(server.HostPort(), "web.invalid");
  OpenSettings();
  SettingsWin& win = Settings();
  for (const char* name : {"Canvas3", "Canvas1"}) EXPECT_FALSE(win.Ctl<fw::Canvas>(name).MouseDown(4, 4));
  for (const char* name : {"StaticText8", "StaticText5"})
    EXPECT_FALSE(win.Ctl<StaticText>(name).MouseDown(4, 4));
  EXPECT_EQ(Recorders::Get().links,
            (std::vector<std::string>{"http://web.invalid/funcrate", "http://web.invalid/sagewick",
                                      "http://web.invalid/funcrate", "http://web.invalid/sagewick"}));
  EXPECT_FALSE(win.Ctl<fw::Canvas>("Canvas2").MouseDown);
  EXPECT_FALSE(win.Ctl<StaticText>("StaticText7").MouseDown);
  EXPECT_TRUE(win.Visible());
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
  EXPECT_EQ(RequestLine(2), WeatherRequest("Dunedin"));
  // The reply for the new place comes in the kept unit.
  ASSERT_TRUE(ReplyHandled());
  EXPECT_EQ(MainText("WindSpeedLabel"), "62.1 mph");
}

}  // namespace
