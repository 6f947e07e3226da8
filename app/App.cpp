#include "app/App.h"

#include "app/MainWin.h"
#include "app/Menu.h"
#include "core/Globals.h"
#include "core/Hosts.h"
#include "core/Preferences.h"
#include "core/WeatherValues.h"
#include "framework/text/Exceptions.h"
#include "framework/text/Text.h"
#include "framework/ui/ShowURL.h"
#include "framework/ui/StaticText.h"
#include "windows/AboutWindow.h"
#include "windows/DebugWin.h"
#include "windows/ForecastFilling.h"
#include "windows/ForecastWin.h"
#include "windows/SettingsWin.h"

App& App::Get() {
  auto* app = dynamic_cast<App*>(fw::Application::Instance());
  if (!app) throw fw::NilObjectException("no application object");
  return *app;
}

void App::Event_Open() {
  // Made and closed at once, so no debug window is open when the first
  // request goes out.
  DebugWin::Instance().Close();
  Globals::AppLocked = false;
  Globals::ForecastWinOpen = false;
  Globals::InitialUpdateCheckRun = false;
  // The secondary windows exist, hidden, from here on.
  SettingsWin::Instance().Hide();
  ForecastWin::Instance().Hide();
  AboutWindow::Instance().Hide();
  Globals::CR = fw::Chr(13);
  Globals::LF = fw::Chr(10);
  WeatherValues::UnitTemp = "C";
  WeatherValues::UnitSpeed = "km/h";
  Globals::CreateAppDataDirectories();
  Globals::CreatePreferencesFile();
  AboutWindow::Instance().Ctl<fw::StaticText>("AboutVersionLabel").SetText(AboutWindow::kVersionText);
  Globals::SetDayNames();
}

void App::Event_EnableMenuItems() {
  // Whatever disabled an item since (the remote lock does), the program's
  // commands are offered again every time the menus are prepared.
  Menu::AboutMenuItem().Enable();
  Menu::SettingsMenuItem().Enable();
  Menu::BreezelingMenuItem().Enable();
  Menu::UpdatesMenuItem().Enable();
  Menu::MoreMenuItem().Enable();
  Menu::ForecastMenuItem().Enable();
}

bool App::_AboutMenuItem_Action() {
  AboutWindow::Instance().Show();
  return false;
}

bool App::_SettingsMenuItem_Action() {
  SettingsWin::Instance().Show();
  return false;
}

bool App::_BreezelingMenuItem_Action() {
  MainWin::Instance().Show();
  return false;
}

// The same as the main window's "7 Day Forecast" button.
bool App::_ForecastMenuItem_Action() {
  Globals::ForecastWinOpen = true;
  Globals::PopulateForecastWindow();
  ForecastWin::Instance().Show();
  return false;
}

bool App::_UpdatesMenuItem_Action() {
  MainWin::Instance().RunUpdateCheck();
  return false;
}

bool App::_MoreMenuItem_Action() {
  fw::ShowURL(Hosts::MakersSiteURL());
  return false;
}
