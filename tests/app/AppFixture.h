#pragma once
// Shared set-up of the application tests: each test starts with no
// application object, no windows, no cached pictures and empty module
// state, on a pretend 24-bit screen, with the maker's hosts pointing at a
// server that takes requests and never answers them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/MainWin.h"
#include "app/Menu.h"
#include "app/Pictures.h"
#include "core/Globals.h"
#include "core/Hosts.h"
#include "core/WeatherValues.h"
#include "framework/ui/StaticText.h"
#include "support/Recorders.h"
#include "support/Wait.h"
#include "support/net/ScriptedServer.h"

namespace apptest {

// The start sequence up to and including the main window, without the
// event loop: file type, application object, handler bindings, the
// application's Open and the default window.
void StartWithoutLoop();

// The key as the framework delivers a real key press to the main window's
// top-level widget (with Control as the Command key).
void PressKeyOnMainWindow(char letter, bool command, bool shift);

// The UTF-8 text of the two signs the main window shows.
inline const std::string kInfinity = "\xE2\x88\x9E";
inline const std::string kDegree = "\xC2\xB0";

inline std::string TextOf(const std::string& name) {
  return MainWin::Instance().Ctl<fw::StaticText>(name).Text();
}

}  // namespace apptest
