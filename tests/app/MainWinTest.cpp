// The main window: its controls, looks, keys, timers and animation.
#include <array>
#include <set>
#include <tuple>

#include "AppFixture.h"
#include "app/App.h"
#include "app/MainWindowFilling.h"
#include "framework/text/Text.h"
#include "framework/ui/BevelButton.h"
#include "framework/ui/Canvas.h"
#include "framework/ui/ChasingArrows.h"
#include "framework/ui/Screen.h"
#include "framework/ui/StaticText.h"
#include "framework/ui/Timer.h"

namespace {

using apptest::kDegree;
using apptest::kInfinity;
using apptest::StartWithoutLoop;
using apptest::TextOf;
using fw::StaticText;

TEST(MainWindow, HasItsControlsInCreationOrder) {
  StartWithoutLoop();
  const std::vector<std::string> expected = {"Status",           "BackgroundCanvas",
                                             "RefreshButton",    "Canvas1",
                                             "LocationLabel",    "StaticText1",
                                             "StaticText4",      "ForecastLabel",
                                             "Canvas3",          "Canvas4",
                                             "TempMaxLabel",     "TempMinLabel",
                                             "StaticText5",      "Canvas5",
                                             "UVIndexLabel",     "StaticText7",
                                             "Canvas6",          "WindSpeedLabel",
                                             "Canvas7",          "FeelsLikeLabel",
                                             "HumidityLabel",    "WindDirectionLabel",
                                             "Canvas8",          "PrecipitationLabel",
                                             "PushButton1",      "RobotIcon",
                                             "Canvas2",          "StaticText2",
                                             "Current",          "StaticText6",
                                             "StaticText8",      "StaticText9",
                                             "Separator1",       "ForecastButton",
                                             "StaticText3",      "DownloadUpdateButton",
                                             "UpdateCheckTimer", "UpdateCheckThread",
                                             "HTTPSock",         "Progress",
                                             "ChasingArrows1",   "Digit",
                                             "DigitFlip",        "DigitInit",
                                             "ArrowIcon",        "Canvas9",
                                             "Canvas10",         "SunriseLabel",
                                             "SunsetLabel",      "StaticText12",
                                             "StaticText13"};
  MainWin& win = MainWin::Instance();
  ASSERT_EQ(win.ControlCount(), static_cast<int>(expected.size()));
  for (int i = 0; i < win.ControlCount(); ++i) EXPECT_EQ(win.ControlAt(i).Name(), expected[i]) << i;
  EXPECT_EQ(win.Title() + " " + fw::Str(win.Width()) + "x" + fw::Str(win.Height()), "Breezeling 301x210");
}

TEST(MainWindow, OpensInTheLoadingLookAndItsEndOnlyHidesTheSpinner) {
  StartWithoutLoop();
  MainWin& win = MainWin::Instance();
  auto& spinner = win.Ctl<fw::ChasingArrows>("ChasingArrows1");
  EXPECT_FALSE(win.Ctl<fw::Canvas>("ArrowIcon").Visible());
  EXPECT_EQ(win.Ctl<fw::BevelButton>("RefreshButton").Icon(), Pictures::Arrows());
  // The settings' defaults are in place: the first robot of the list.
  EXPECT_EQ(win.Ctl<fw::Canvas>("RobotIcon").Backdrop(), Pictures::Rivet());
  EXPECT_FALSE(win.Ctl<StaticText>("Digit").Visible());
  EXPECT_FALSE(win.Ctl<fw::BevelButton>("DownloadUpdateButton").Visible());
  EXPECT_EQ(TextOf("LocationLabel"), "Naseby");
  EXPECT_EQ(TextOf("WindDirectionLabel"), "");
  // As the window opened, then once the loading look has ended.
  for (bool loading : {true, false}) {
    if (!loading) Globals::ToggleLoadingStates(false);
    EXPECT_EQ(spinner.Visible(), loading);
    EXPECT_EQ(TextOf("ForecastLabel"), "Loading..");
    for (const char* name :
         {"Current", "TempMaxLabel", "TempMinLabel", "SunriseLabel", "UVIndexLabel", "WindSpeedLabel",
          "PrecipitationLabel", "SunsetLabel", "FeelsLikeLabel", "HumidityLabel"})
      EXPECT_EQ(TextOf(name), kInfinity) << name;
  }
}

TEST(MainWindowFilling, WritesValuesWithTheirUnitsAndTheRobot) {
  StartWithoutLoop();
  const std::string degC = kDegree + "C", degF = kDegree + "F";
  // Current, high, low, feels-like, wind and humidity: values, labels, units.
  using Texts = std::vector<std::string>;
  const std::vector<std::tuple<Texts, Texts, std::string, std::string>> cases = {
      {{"12.5", "15.0", "3.2", "9.1", "10", "80"},
       {"12.5" + degC, "15.0" + degC, "3.2" + degC, "9.1" + degC, "10 km/h", "80%"},
       "C",
       "km/h"},
      {{"", "", "", "", "", ""}, {degF, degF, degF, degF, " mph", "%"}, "F", "mph"}};
  for (const auto& [values, expected, unitTemp, unitSpeed] : cases) {
    std::tie(WeatherValues::Day1TempCurrent, WeatherValues::Day1TempMax, WeatherValues::Day1TempMin,
             WeatherValues::FeelsLikeCurrent, WeatherValues::Day1WindspeedMax, WeatherValues::Day1Humidity) =
        std::tie(values[0], values[1], values[2], values[3], values[4], values[5]);
    WeatherValues::UnitTemp = unitTemp;
    WeatherValues::UnitSpeed = unitSpeed;
    Globals::PopulateMainWindow();
    Texts shown;
    for (const char* label :
         {"Current", "TempMaxLabel", "TempMinLabel", "FeelsLikeLabel", "WindSpeedLabel", "HumidityLabel"})
      shown.push_back(TextOf(label));
    EXPECT_EQ(shown, expected);
  }
  // The labels the reply reader writes itself are left alone.
  for (const char* name : {"UVIndexLabel", "SunriseLabel", "SunsetLabel", "PrecipitationLabel"})
    EXPECT_EQ(TextOf(name), kInfinity) << name;

  auto& robot = MainWin::Instance().Ctl<fw::Canvas>("RobotIcon");
  const std::vector<std::pair<std::string, fw::PicturePtr>> robots = {{"Gizmo", Pictures::Breezelingalt()},
                                                                      {"wrenchy", Pictures::Wrenchy()},
                                                                      {"", Pictures::BreezelingIcon()},
                                                                      {"Nobody", Pictures::BreezelingIcon()}};
  for (const auto& [name, picture] : robots) {
    Globals::UserRobot = name;
    Globals::SetUserRobot();
    EXPECT_EQ(robot.Backdrop(), picture) << name;
  }
}

TEST(MainWindow, BackdropFollowsTheMonthOnlyAboveEightBitsDepth) {
  // Screen depth, month and the backdrop.
  const std::vector<std::tuple<int, int, fw::PicturePtr (*)()>> cases = {{16, 10, &Pictures::background2},
                                                                         {16, 11, &Pictures::background1},
                                                                         {16, 12, &Pictures::background3},
                                                                         {24, 1, &Pictures::background1},
                                                                         {8, 10, nullptr}};
  for (const auto& [depth, month, expected] : cases) {
    SCOPED_TRACE(testing::Message() << "depth " << depth << " month " << month);
    fw::Window::CloseAll();
    fw::Screen::SetDepthOverride(depth);
    MainWin& win = MainWin::Instance();
    win.ShowBackdropForMonth(month);
    const fw::PicturePtr& backdrop = win.Ctl<fw::Canvas>("BackgroundCanvas").Backdrop();
    EXPECT_EQ(backdrop, expected ? expected() : nullptr);
    EXPECT_EQ(backdrop ? backdrop->Transparent() : 0, 0);
  }
}

TEST(MainWindow, CommandWClosesAndTheNextUseMakesAFreshWindow) {
  StartWithoutLoop();
  // Letter, Command, whether it closes; through the framework's KeyDown,
  // then as a real key press.
  const std::vector<std::tuple<char, bool, bool>> keys = {
      {'w', false, false}, {'d', true, false}, {'w', true, true}};
  for (bool realKey : {false, true}) {
    for (const auto& [letter, command, closes] : keys) {
      SCOPED_TRACE(testing::Message() << letter << " command " << command << " real " << realKey);
      MainWin& win = MainWin::Instance();
      win.Ctl<StaticText>("ForecastLabel").SetText("Clear");
      win.Ctl<fw::BevelButton>("RefreshButton").SetEnabled(false);
      if (realKey) {
        apptest::PressKeyOnMainWindow(letter, command, false);
      } else {
        EXPECT_FALSE(win.RaiseKeyDown(std::string(1, letter), command, false));
      }
      EXPECT_EQ(!MainWin::IsLive(), closes);
      if (!closes) continue;

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
      // "Check For Updates" runs the same thread again.
      freshRefresh.SetEnabled(false);
      Menu::UpdatesMenuItem().Trigger();
      EXPECT_TRUE(testsupport::WaitUntil([&] { return freshRefresh.Enabled(); }));
    }
  }
}

TEST(DigitAnimation, RobotClickStartsTheFlipsUntilDigitInitEndsThem) {
  StartWithoutLoop();
  MainWin& win = MainWin::Instance();
  auto& digit = win.Ctl<StaticText>("Digit");
  auto& flip = win.Ctl<fw::Timer>("DigitFlip");
  auto& init = win.Ctl<fw::Timer>("DigitInit");
  EXPECT_EQ(std::vector<int>({flip.Period(), init.Period()}), std::vector<int>({100, 3000}));
  EXPECT_FALSE(win.Ctl<fw::Canvas>("RobotIcon").MouseDown(3, 4));
  EXPECT_TRUE(digit.Visible());
  EXPECT_EQ(flip.GetMode(), fw::Timer::Multiple);
  EXPECT_EQ(init.GetMode(), fw::Timer::Single);
  init.SetPeriod(200);  // the 3 s are the window's; the test need not wait them
  ASSERT_TRUE(testsupport::WaitUntil([&] { return !digit.Visible(); }, 5000));
  EXPECT_EQ(flip.GetMode(), fw::Timer::Off);
  EXPECT_EQ(init.GetMode(), fw::Timer::Off);
}

TEST(DigitAnimation, FlipPicksThePatternByTruncatedRandomTimesTwelve) {
  StartWithoutLoop();
  auto& flip = MainWin::Instance().Ctl<fw::Timer>("DigitFlip");
  const std::array<const char*, 12> table = {"001010", "011001", "101000", "100011", "000110", "110010",
                                             "101001", "000000", "000100", "100000", "001010", "110100"};
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

TEST(RefreshButton, StartsAWeatherRequestWithItsAnimation) {
  StartWithoutLoop();
  MainWin& win = MainWin::Instance();
  win.Ctl<fw::BevelButton>("RefreshButton").Push();
  EXPECT_EQ(Globals::RequestType, "WEATHER");
  EXPECT_EQ(TextOf("Status"), "Connecting to server...");
  EXPECT_TRUE(win.Ctl<StaticText>("Digit").Visible());
}

}  // namespace
