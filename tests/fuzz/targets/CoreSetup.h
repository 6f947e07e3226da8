#pragma once
// The state the weather core expects around a reply: the application object
// with its menu bar, the main window without its own start-up update check,
// hosts nobody listens on, and the line ends set at start.
#include <cstdlib>

#include "app/App.h"
#include "app/MainWin.h"
#include "app/Menu.h"
#include "app/Startup.h"
#include "core/Globals.h"
#include "core/Hosts.h"
#include "framework/text/Text.h"
#include "framework/ui/Thread.h"
#include "framework/ui/Timer.h"
#include "framework/ui/Window.h"
#include "support/FuzzApp.h"

namespace fuzz {

inline void StartCore() {
  static bool started = false;
  if (started) return;
  started = true;
  StartApp();
  // Port 9 on loopback: should anything start a request, it goes nowhere.
  Hosts::SetForTesting("127.0.0.1:9", "127.0.0.1:9");
  _RegisterViews();
  // Never destroyed: the engine ends the process with exit().
  App* app = new App;
  app->SetMenuBar(&Menu::Menu::Instance());
  app->Register();
  MainWin& win = MainWin::Instance();
  // The windows go before the statics that track them; registered after
  // the first window, this runs ahead of those statics' destructors.
  std::atexit([] { fw::Window::CloseAll(); });
  win.Ctl<fw::Timer>("UpdateCheckTimer").SetMode(fw::Timer::Off);
  win.Ctl<fw::Thread>("UpdateCheckThread").RunEvent = [] {};
  Globals::CR = fw::Chr(13);
  Globals::LF = fw::Chr(10);
  Globals::CRLF = Globals::CR + Globals::LF;
}

}  // namespace fuzz
