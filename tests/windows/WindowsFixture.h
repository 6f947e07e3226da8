#pragma once
// Every secondary-window test starts from a freshly started program (the
// application object, its Open and the main window, without the event loop)
// with the maker's hosts at a scripted server and the main window's own
// update check switched off.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/MainWin.h"
#include "support/net/ScriptedServer.h"

namespace wintest {

inline const std::string kDegree = "\xC2\xB0";

// A weather reply with every key. Day N: forecast "Forecast N",
// precipitation 1N, humidity 6N, high 2N.5, low N.5; current 20.0,
// wind 100, gusts 50.
std::string FullReply();
struct DayTexts {
  std::string fore, pre, hum, max, min;
};
// The forecast window's labels of day N after FullReply, in Celsius.
DayTexts ExpectedDay(int n);

std::vector<std::string> PreferencesLines();
void PressCloseButton(const std::string& title);

class WindowsTest : public ::testing::Test {
 protected:
  void SetUp() override;
  MainWin& Main() { return MainWin::Instance(); }
  std::string MainText(const std::string& name);
  // A weather request as the refresh button starts it, answered by the
  // script; true once the reply has been handled.
  ::testing::AssertionResult Fetch(testsupport::Script script);
  // The n-th request the server received, once it is complete.
  std::string WaitForRequest(int n);

  testsupport::ScriptedServer server;
};

}  // namespace wintest
