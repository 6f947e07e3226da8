#include "app/MainWindowFilling.h"

#include <initializer_list>
#include <string>

#include "app/MainWin.h"
#include "app/Pictures.h"
#include "core/Globals.h"
#include "core/Units.h"
#include "core/WeatherTable.h"
#include "core/WeatherValues.h"
#include "framework/text/Text.h"
#include "framework/ui/Canvas.h"
#include "framework/ui/ChasingArrows.h"
#include "framework/ui/StaticText.h"
#include "windows/AboutWindow.h"
#include "windows/DebugWin.h"
#include "windows/ForecastWin.h"
#include "windows/SettingsWin.h"

namespace Globals {

namespace {

using WeatherTable::MainRow;
using WeatherTable::Unit;

// Mac OS Roman codes of the two signs the labels use.
constexpr int kInfinitySign = 176;
constexpr int kDegreeSign = 161;

// A value of today as the main window writes it: a temperature with the
// degree sign and the unit letter right after it, a speed after a blank
// with its unit, a percentage with "%", a direction as its compass point.
std::string Shown(const WeatherTable::Entry& entry) {
  const std::string& value = *entry.value;
  switch (entry.unit) {
    case Unit::Temperature:
      return value + fw::Chr(kDegreeSign) + WeatherValues::UnitTemp;
    case Unit::Speed:
      return value + " " + WeatherValues::UnitSpeed;
    case Unit::Percent:
      return value + "%";
    case Unit::Degrees:
      return AngleToCompassDirection(fw::ToInt32(fw::Val(value)));
    case Unit::None:
      break;
  }
  return value;
}

void Fill(std::initializer_list<MainRow> rows) {
  MainWin& win = MainWin::Instance();
  for (MainRow row : rows)
    win.Ctl<fw::StaticText>(MainWin::ValueLabel(row)).SetText(Shown(WeatherTable::At(row)));
}

}  // namespace

void ToggleLoadingStates(bool loading) {
  MainWin& win = MainWin::Instance();
  if (!loading) {
    win.Ctl<fw::ChasingArrows>("ChasingArrows1").SetVisible(false);
    return;
  }
  win.Ctl<fw::ChasingArrows>("ChasingArrows1").SetVisible(true);
  win.Ctl<fw::StaticText>(MainWin::ValueLabel(MainRow::Forecast)).SetText("Loading..");
  const std::string placeholder = fw::Chr(kInfinitySign);
  for (MainRow row : MainWin::kValueRows)
    win.Ctl<fw::StaticText>(MainWin::ValueLabel(row)).SetText(placeholder);
  win.Ctl<fw::StaticText>(MainWin::ValueLabel(MainRow::WindDirection)).SetText("");
}

void ShowReading() {
  Fill({MainRow::Forecast, MainRow::UVIndex, MainRow::WindDirection, MainRow::Sunrise, MainRow::Sunset,
        MainRow::Precipitation});
}

void PopulateMainWindow() {
  Fill({MainRow::Current, MainRow::High, MainRow::Low, MainRow::WindSpeed, MainRow::Humidity,
        MainRow::FeelsLike});
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
