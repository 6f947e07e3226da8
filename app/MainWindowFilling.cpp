#include "app/MainWindowFilling.h"

#include <string>

#include "app/MainWin.h"
#include "app/Pictures.h"
#include "core/Globals.h"
#include "core/WeatherValues.h"
#include "framework/text/Text.h"
#include "framework/ui/Controls.h"
#include "windows/AboutWindow.h"
#include "windows/DebugWin.h"
#include "windows/ForecastWin.h"
#include "windows/SettingsWin.h"

namespace Globals {

namespace {
// Mac OS Roman codes of the two signs the labels use.
constexpr int kInfinitySign = 176;
constexpr int kDegreeSign = 161;
}  // namespace

void ToggleLoadingStates(bool loading) {
  MainWin& win = MainWin::Instance();
  if (!loading) {
    win.Ctl<fw::ChasingArrows>("ChasingArrows1").SetVisible(false);
    return;
  }
  win.Ctl<fw::ChasingArrows>("ChasingArrows1").SetVisible(true);
  win.Ctl<fw::StaticText>("ForecastLabel").SetText("Loading..");
  const std::string placeholder = fw::Chr(kInfinitySign);
  for (const char* name : {"Current", "TempMaxLabel", "TempMinLabel", "SunriseLabel",
                           "UVIndexLabel", "WindSpeedLabel", "PrecipitationLabel", "SunsetLabel",
                           "FeelsLikeLabel", "HumidityLabel"}) {
    win.Ctl<fw::StaticText>(name).SetText(placeholder);
  }
  win.Ctl<fw::StaticText>("WindDirectionLabel").SetText("");
}

void PopulateMainWindow() {
  MainWin& win = MainWin::Instance();
  const std::string degrees = fw::Chr(kDegreeSign) + WeatherValues::UnitTemp;
  win.Ctl<fw::StaticText>("Current").SetText(WeatherValues::Day1TempCurrent + degrees);
  win.Ctl<fw::StaticText>("TempMaxLabel").SetText(WeatherValues::Day1TempMax + degrees);
  win.Ctl<fw::StaticText>("TempMinLabel").SetText(WeatherValues::Day1TempMin + degrees);
  win.Ctl<fw::StaticText>("WindSpeedLabel")
      .SetText(WeatherValues::Day1WindspeedMax + " " + WeatherValues::UnitSpeed);
  win.Ctl<fw::StaticText>("HumidityLabel").SetText(WeatherValues::Day1Humidity + "%");
  win.Ctl<fw::StaticText>("FeelsLikeLabel").SetText(WeatherValues::FeelsLikeCurrent + degrees);
}

void SetUserRobot() {
  fw::PicturePtr picture = Pictures::RobotPicture(UserRobot);
  if (!picture) picture = Pictures::BreezelingIcon();
  auto& robot = MainWin::Instance().Ctl<fw::Canvas>("RobotIcon");
  robot.SetBackdrop(picture);
  AboutWindow::Instance().Ctl<fw::Canvas>("RobotIcon").SetBackdrop(picture);
  robot.Refresh(true);
  AboutWindow::Instance().Hide();
}

void WindowsHide() {
  DebugWin::Instance().Hide();
  SettingsWin::Instance().Hide();
  ForecastWin::Instance().Hide();
  AboutWindow::Instance().Hide();
}

}  // namespace Globals
