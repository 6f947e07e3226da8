#pragma once
// Every secondary-window test starts from a freshly started program (the
// application object, its Open and the main window, without the event loop)
// with the maker's hosts at a scripted server and the main window's own
// update check switched off.
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

using fw::StaticText;
using testsupport::Recorders;
using testsupport::Script;

namespace wintest {

inline const std::string kDegree = "\xC2\xB0";
inline const std::string kInfinity = "\xE2\x88\x9E";

// A weather reply with every key. Day N: forecast "Forecast N",
// precipitation 1N, humidity 6N, high 2N.5, low N.5; current 20.0,
// wind 100, gusts 50.
std::string FullReply();
// The forecast window's labels of day N (forecast, precipitation, humidity,
// high, low) after FullReply, in Celsius.
std::vector<std::string> ExpectedDay(int n);

std::vector<std::string> PreferencesLines();
void PressCloseButton(const std::string& title);
// Enlarges the visible window with the title as the user would, and waits
// until the platform has given it the new size.
::testing::AssertionResult EnlargeFrame(const std::string& title, int dw, int dh);

class WindowsTest : public ::testing::Test {
 protected:
  void SetUp() override;
  MainWin& Main() { return MainWin::Instance(); }
  std::string MainText(const std::string& name) { return Main().Ctl<StaticText>(name).Text(); }
  // A weather request as the refresh button starts it, answered by the
  // script; true once the reply has been handled.
  ::testing::AssertionResult Fetch(testsupport::Script script);
  ::testing::AssertionResult FetchFull() { return Fetch(Script::Reply(200, FullReply())); }
  // The first line of the n-th request the server received, once it is complete.
  std::string RequestLine(int n);

  testsupport::ScriptedServer server;
};

}  // namespace wintest
