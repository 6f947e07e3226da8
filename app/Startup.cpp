#include "app/Startup.h"

#include "app/App.h"
#include "app/MainWin.h"
#include "app/Menu.h"
#include "app/Pictures.h"
#include "core/Globals.h"
#include "core/Views.h"
#include "core/WeatherValues.h"
#include "framework/text/Exceptions.h"
#include "framework/ui/Window.h"
#include "windows/ChangeLogWindow.h"
#include "windows/DebugWin.h"
#include "windows/ForecastWin.h"
#include "windows/ServerMessageWindow.h"
#include "windows/SettingsWin.h"

namespace FileTypes {

std::shared_ptr<fw::FileType> pText;

void _Initialize() {
  pText = std::make_shared<fw::FileType>("text", std::vector<std::string>{}, "TEXT", "R*ch");
  fw::RegisterFileType(pText);
}

}  // namespace FileTypes

namespace {
// The application object lives from the start sequence until quit.
std::unique_ptr<App> g_app;
}  // namespace

void _RegisterViews() {
  Views::Register({.main = &MainWin::View(),
                   .forecast = &ForecastWin::View(),
                   .settings = &SettingsWin::View(),
                   .debug = &DebugWin::View(),
                   .changeLog = &ChangeLogWindow::View(),
                   .serverMessage = &ServerMessageWindow::View(),
                   .menu = &Menu::View()});
}

void _InitFileTypes() { FileTypes::_Initialize(); }

void _NewAppInstance() {
  auto app = std::make_unique<App>();
  app->SetMenuBar(&Menu::Menu::Instance());
  app->Register();
  g_app = std::move(app);
}

void _ApplicationAddMenuHandlers() {
  App& app = App::Get();
  app.AddMenuHandler("AboutMenuItem", [&app] { return app._AboutMenuItem_Action(); });
  app.AddMenuHandler("SettingsMenuItem", [&app] { return app._SettingsMenuItem_Action(); });
  app.AddMenuHandler("BreezelingMenuItem", [&app] { return app._BreezelingMenuItem_Action(); });
  app.AddMenuHandler("ForecastMenuItem", [&app] { return app._ForecastMenuItem_Action(); });
  app.AddMenuHandler("UpdatesMenuItem", [&app] { return app._UpdatesMenuItem_Action(); });
  app.AddMenuHandler("MoreMenuItem", [&app] { return app._MoreMenuItem_Action(); });
}

void _MakeDefaultView() { MainWin::Instance(); }

void _Main() {
  fw::Guarded([] {
    _RegisterViews();
    _InitFileTypes();
    _NewAppInstance();
    _ApplicationAddMenuHandlers();
    // The application's Open comes before the main window's: the window
    // shows what the application's Open has set up.
    App::Get().CallOpen();
    _MakeDefaultView();
    App::Get().Run();
  });
  _ReleaseAll();
}

void _ReleaseAll() {
  Pictures::ReleaseAll();
  fw::Window::CloseAll();
  MainWin::ForgetLastLook();
  fw::ReleaseFileTypes();
  FileTypes::pText.reset();
  if (g_app) g_app->SetMenuBar(nullptr);
  Menu::Menu::Release();
  Globals::Release();
  WeatherValues::Release();
  g_app.reset();
}
