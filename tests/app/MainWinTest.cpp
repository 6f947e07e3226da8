// The main window: its controls, looks, keys, timers and animation.
#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>
#include <vector>

#include "AppFixture.h"
#include "app/App.h"
#include "app/MainWin.h"
#include "app/MainWindowFilling.h"
#include "app/Pictures.h"
#include "core/Globals.h"
#include "core/Hosts.h"
#include "core/WeatherValues.h"
#include "framework/text/Text.h"
#include "framework/ui/Controls.h"
#include "framework/ui/Environment.h"
#include "framework/ui/Timer.h"
#include "support/Recorders.h"
#include "support/Wait.h"
#include "support/net/ScriptedServer.h"

namespace {

using apptest::kDegree;
using apptest::kInfinity;
using apptest::StartWithoutLoop;
using fw::StaticText;

const std::vector<std::string> kValueLabels = {
    "Current",        "TempMaxLabel",       "TempMinLabel", "SunriseLabel",   "UVIndexLabel",
    "WindSpeedLabel", "PrecipitationLabel", "SunsetLabel",  "FeelsLikeLabel", "HumidityLabel"};

std::string TextOf(const std::string& name) {
  return MainWin::Instance().Ctl<StaticText>(name).Text();
}

TEST(MainWindow, HasItsControlsInCreationOrder) {
  StartWithoutLoop();
  const std::vector<std::string> expected = {
      "Status",         "BackgroundCanvas",   "RefreshButton",  "Canvas1",
      "LocationLabel",  "StaticText1",        "StaticText4",    "ForecastLabel",
      "Canvas3",        "Canvas4",            "TempMaxLabel",   "TempMinLabel",
      "StaticText5",    "Canvas5",            "UVIndexLabel",   "StaticText7",
      "Canvas6",        "WindSpeedLabel",     "Canvas7",        "FeelsLikeLabel",
      "HumidityLabel",  "WindDirectionLabel", "Canvas8",        "PrecipitationLabel",
      "PushButton1",    "RobotIcon",          "Canvas2",        "StaticText2",
      "Current",        "StaticText6",        "StaticText8",    "StaticText9",
      "Separator1",     "ForecastButton",     "StaticText3",    "DownloadUpdateButton",
      "UpdateCheckTimer", "UpdateCheckThread", "HTTPSock",      "Progress",
      "ChasingArrows1",
      "Digit",          "DigitFlip",          "DigitInit",      "ArrowIcon",
      "Canvas9",        "Canvas10",           "SunriseLabel",   "SunsetLabel",
      "StaticText12",   "StaticText13"};
  MainWin& win = MainWin::Instance();
  ASSERT_EQ(expected.size(), 51u);
  ASSERT_EQ(win.ControlCount(), static_cast<int>(expected.size()));
  for (int i = 0; i < win.ControlCount(); ++i) EXPECT_EQ(win.ControlAt(i).Name(), expected[i]) << i;
  EXPECT_EQ(win.Width(), 301);
  EXPECT_EQ(win.Height(), 210);
  EXPECT_EQ(win.Title(), "Breezeling");
}

TEST(MainWindow, OpensInTheLoadingLook) {
  StartWithoutLoop();
  MainWin& win = MainWin::Instance();
  EXPECT_EQ(TextOf("ForecastLabel"), "Loading..");
  for (const std::string& name : kValueLabels) EXPECT_EQ(TextOf(name), kInfinity) << name;
  EXPECT_EQ(TextOf("WindDirectionLabel"), "");
  EXPECT_TRUE(win.Ctl<fw::ChasingArrows>("ChasingArrows1").Visible());
  EXPECT_FALSE(win.Ctl<fw::Canvas>("ArrowIcon").Visible());
  EXPECT_EQ(win.Ctl<fw::BevelButton>("RefreshButton").Icon(), Pictures::Arrows());
  // The settings' defaults are in place: the first robot of the list.
  EXPECT_EQ(win.Ctl<fw::Canvas>("RobotIcon").Backdrop(), Pictures::Rivet());
  EXPECT_FALSE(win.Ctl<StaticText>("Digit").Visible());
  EXPECT_FALSE(win.Ctl<fw::BevelButton>("DownloadUpdateButton").Visible());
  EXPECT_EQ(TextOf("LocationLabel"), "Naseby");
}

TEST(MainWindowFilling, EndingTheLoadingLookOnlyHidesTheSpinner) {
  StartWithoutLoop();
  Globals::ToggleLoadingStates(false);
  EXPECT_FALSE(MainWin::Instance().Ctl<fw::ChasingArrows>("ChasingArrows1").Visible());
  EXPECT_EQ(TextOf("ForecastLabel"), "Loading..");
  for (const std::string& name : kValueLabels) EXPECT_EQ(TextOf(name), kInfinity) << name;
}

TEST(MainWindowFilling, WritesValuesWithTheirUnits) {
  StartWithoutLoop();
  struct Case {
    std::string temp, max, min, feels, wind, humidity, unitTemp, unitSpeed;
    std::vector<std::pair<std::string, std::string>> expected;
  };
  const std::vector<Case> cases = {
      {"12.5", "15.0", "3.2", "9.1", "10", "80", "C", "km/h",
       {{"Current", "12.5" + kDegree + "C"}, {"TempMaxLabel", "15.0" + kDegree + "C"},
        {"TempMinLabel", "3.2" + kDegree + "C"}, {"FeelsLikeLabel", "9.1" + kDegree + "C"},
        {"WindSpeedLabel", "10 km/h"}, {"HumidityLabel", "80%"}}},
      {"", "", "", "", "", "", "F", "mph",
       {{"Current", kDegree + "F"}, {"TempMaxLabel", kDegree + "F"},
        {"TempMinLabel", kDegree + "F"}, {"FeelsLikeLabel", kDegree + "F"},
        {"WindSpeedLabel", " mph"}, {"HumidityLabel", "%"}}},
  };
  for (const Case& c : cases) {
    WeatherValues::Day1TempCurrent = c.temp;
    WeatherValues::Day1TempMax = c.max;
    WeatherValues::Day1TempMin = c.min;
    WeatherValues::FeelsLikeCurrent = c.feels;
    WeatherValues::Day1WindspeedMax = c.wind;
    WeatherValues::Day1Humidity = c.humidity;
    WeatherValues::UnitTemp = c.unitTemp;
    WeatherValues::UnitSpeed = c.unitSpeed;
    Globals::PopulateMainWindow();
    for (const auto& [label, text] : c.expected) EXPECT_EQ(TextOf(label), text) << label;
  }
  // The labels the reply reader writes itself are left alone.
  for (const char* name : {"UVIndexLabel", "SunriseLabel", "SunsetLabel", "PrecipitationLabel"})
    EXPECT_EQ(TextOf(name), kInfinity) << name;
}

TEST(MainWindowFilling, ShowsTheUsersRobotOrTheApplicationIcon) {
  StartWithoutLoop();
  auto& robot = MainWin::Instance().Ctl<fw::Canvas>("RobotIcon");
  const std::vector<std::pair<std::string, fw::PicturePtr>> cases = {
      {"Gizmo", Pictures::Breezelingalt()}, {"wrenchy", Pictures::Wrenchy()},
      {"", Pictures::BreezelingIcon()},     {"Nobody", Pictures::BreezelingIcon()}};
  for (const auto& [name, picture] : cases) {
    Globals::UserRobot = name;
    Globals::SetUserRobot();
    EXPECT_EQ(robot.Backdrop(), picture) << name;
  }
}

TEST(MainWindow, BackdropFollowsTheMonthOnlyAboveEightBitsDepth) {
  struct Case {
    int depth, month;
    fw::PicturePtr (*expected)();
  };
  const std::vector<Case> cases = {{16, 10, &Pictures::background2}, {16, 11, &Pictures::background1},
                                   {16, 12, &Pictures::background3}, {24, 1, &Pictures::background1},
                                   {8, 10, nullptr}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "depth " << c.depth << " month " << c.month);
    fw::Window::CloseAll();
    fw::Screen::SetDepthOverride(c.depth);
    MainWin& win = MainWin::Instance();
    win.ShowBackdropForMonth(c.month);
    const fw::PicturePtr& backdrop = win.Ctl<fw::Canvas>("BackgroundCanvas").Backdrop();
    if (c.expected) {
      ASSERT_NE(backdrop, nullptr);
      EXPECT_EQ(backdrop, c.expected());
      EXPECT_EQ(backdrop->Transparent(), 0);
    } else {
      EXPECT_EQ(backdrop, nullptr);
    }
  }
}

TEST(MainWindow, CommandWClosesAndTheNextUseMakesAFreshWindow) {
  StartWithoutLoop();
  struct Key {
    char letter;
    bool command, shift, closes;
  };
  // Through the framework's KeyDown, then as a real key press.
  for (bool realKey : {false, true}) {
    for (const Key& key : {Key{'w', false, false, false}, Key{'d', true, false, false},
                           Key{'w', true, false, true}}) {
      SCOPED_TRACE(testing::Message() << key.letter << " command " << key.command << " real "
                                      << realKey);
      MainWin& win = MainWin::Instance();
      win.Ctl<StaticText>("ForecastLabel").SetText("Clear");
      auto& refresh = win.Ctl<fw::BevelButton>("RefreshButton");
      refresh.SetEnabled(false);
      if (realKey) {
        apptest::PressKeyOnMainWindow(key.letter, key.command, key.shift);
      } else {
        EXPECT_FALSE(win.RaiseKeyDown(std::string(1, key.letter), key.command, key.shift));
      }
      EXPECT_EQ(!MainWin::IsLive(), key.closes);
      if (!key.closes) continue;

      // "BreezeLing" brings up a new window: its Open runs again and a new
      // update check starts, whose thread holds the refresh button off.
      App::Get().HandleMenuCommand("BreezelingMenuItem");
      ASSERT_TRUE(MainWin::IsLive());
      MainWin& fresh = MainWin::Instance();
      EXPECT_EQ(fresh.Ctl<StaticText>("ForecastLabel").Text(), "Loading..");
      auto& timer = fresh.Ctl<fw::Timer>("UpdateCheckTimer");
      EXPECT_EQ(timer.GetMode(), fw::Timer::Single);
      EXPECT_EQ(timer.Period(), 10);
      auto& freshRefresh = fresh.Ctl<fw::BevelButton>("RefreshButton");
      freshRefresh.SetEnabled(false);
      EXPECT_TRUE(testsupport::WaitUntil([&] { return freshRefresh.Enabled(); }));
      EXPECT_EQ(timer.GetMode(), fw::Timer::Off);
    }
  }
}

TEST(DigitAnimation, RobotClickShowsChangingDigitsUntilDigitInitActs) {
  StartWithoutLoop();
  MainWin& win = MainWin::Instance();
  auto& digit = win.Ctl<StaticText>("Digit");
  auto& flip = win.Ctl<fw::Timer>("DigitFlip");
  auto& init = win.Ctl<fw::Timer>("DigitInit");
  EXPECT_EQ(flip.Period(), 100);
  EXPECT_EQ(init.Period(), 3000);
  ASSERT_EQ(flip.GetMode(), fw::Timer::Off);
  ASSERT_EQ(init.GetMode(), fw::Timer::Off);

  EXPECT_FALSE(win.Ctl<fw::Canvas>("RobotIcon").MouseDown(3, 4));
  EXPECT_TRUE(digit.Visible());
  EXPECT_EQ(flip.GetMode(), fw::Timer::Multiple);
  EXPECT_EQ(init.GetMode(), fw::Timer::Single);

  // Flips come every 100 ms; every text is one of the table's patterns.
  const std::set<std::string> patterns = {"001010", "011001", "101000", "100011", "000110",
                                          "110010", "101001", "000000", "000100", "100000",
                                          "110100"};
  std::set<std::string> seen;
  digit.SetText("");
  ASSERT_TRUE(testsupport::WaitUntil([&] {
    if (!digit.Text().empty()) {
      seen.insert(digit.Text());
      digit.SetText("");
    }
    return seen.size() >= 2;
  }));
  for (const std::string& text : seen) EXPECT_TRUE(patterns.count(text)) << text;

  init.SetPeriod(200);  // the 3 s are the window's; the test need not wait them
  ASSERT_TRUE(testsupport::WaitUntil([&] { return !digit.Visible(); }, 5000));
  EXPECT_EQ(flip.GetMode(), fw::Timer::Off);
  EXPECT_EQ(init.GetMode(), fw::Timer::Off);
}

TEST(DigitAnimation, FlipPicksThePatternByTruncatedRandomTimesTwelve) {
  StartWithoutLoop();
  auto& flip = MainWin::Instance().Ctl<fw::Timer>("DigitFlip");
  const std::array<const char*, 12> table = {"001010", "011001", "101000", "100011",
                                             "000110", "110010", "101001", "000000",
                                             "000100", "100000", "001010", "110100"};
  std::set<int> indices;
  for (std::uint64_t seed = 1; seed <= 400 && indices.size() < 12; ++seed) {
    fw::SetRndSeed(seed);
    const double r = fw::Rnd();
    const int index = static_cast<int>(r * 12.0);
    indices.insert(index);
    fw::SetRndSeed(seed);
    flip.Action();
    EXPECT_EQ(TextOf("Digit"), table[static_cast<std::size_t>(index)]) << r;
  }
  EXPECT_EQ(indices.size(), 12u);
}

TEST(RefreshButton, FetchesTheWeatherAndFillsTheWindow) {
  testsupport::ScriptedServer server;
  server.Enqueue(testsupport::Script::Reply(
      200,
      "{\"current_temperature\":12.5,\"day1_forecast\":\"Rain, heavy at times\","
      "\"day1_temperature_max\":15.0,\"day1_temperature_min\":3.2,\"day1_windspeed_max\":10,"
      "\"day1_humidity_probability_max\":80,\"current_apparent_temperature\":9.1}"));
  Hosts::SetForTesting(server.HostPort(), Hosts::WebHost());
  StartWithoutLoop();
  Globals::UserLocation = "Naseby";
  MainWin& win = MainWin::Instance();
  // No update check meanwhile: its request kind would take the weather
  // reply to the update reader (the two share Globals::RequestType).
  win.Ctl<fw::Timer>("UpdateCheckTimer").SetMode(fw::Timer::Off);
  win.Ctl<fw::BevelButton>("RefreshButton").Push();
  EXPECT_EQ(Globals::RequestType, "WEATHER");
  EXPECT_TRUE(win.Ctl<StaticText>("Digit").Visible());
  ASSERT_TRUE(testsupport::WaitUntil(
      [&] { return !win.Ctl<fw::ChasingArrows>("ChasingArrows1").Visible(); }, 10000));
  EXPECT_EQ(TextOf("ForecastLabel"), "Rain, heavy at times");
  EXPECT_EQ(TextOf("Current"), "12.5" + kDegree + "C");
  EXPECT_EQ(TextOf("WindSpeedLabel"), "10 km/h");
  EXPECT_EQ(TextOf("HumidityLabel"), "80%");
  EXPECT_TRUE(testsupport::Recorders::Get().boxes.empty());
}

}  // namespace
