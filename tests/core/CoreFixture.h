#pragma once
// What the weather-core tests share: fresh module state, the real main
// window with its update-check thread counted instead of run, and a scripted
// server that the maker's hosts point at.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/App.h"
#include "app/MainWin.h"
#include "app/Menu.h"
#include "core/Globals.h"
#include "core/Hosts.h"
#include "core/WeatherValues.h"
#include "framework/ui/ChasingArrows.h"
#include "framework/ui/StaticText.h"
#include "framework/ui/Thread.h"
#include "framework/ui/Timer.h"
#include "support/Recorders.h"
#include "support/Wait.h"
#include "support/net/ScriptedServer.h"

using testsupport::Recorders;
using testsupport::Script;
using testsupport::WaitUntil;

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

inline std::vector<std::string> Boxes() { return Recorders::Get().boxes; }

class CoreTest : public ::testing::Test {
 protected:
  void SetUp() override { Hosts::SetForTesting(server.HostPort(), server.HostPort()); }
  void TearDown() override {
    if (app_) {
      app_->SetMenuBar(nullptr);
      app_.reset();
      Menu::Menu::Release();
    }
  }

  // A registered application object with the menu bar, for code that
  // reaches menu items; gone again after the test.
  App& Application() {
    if (!app_) {
      app_ = std::make_unique<App>();
      app_->SetMenuBar(&Menu::Menu::Instance());
      app_->Register();
    }
    return *app_;
  }

  // The main window, made on first use. Its own start-up check would run
  // the thread 10 ms after it opens; it is switched off so that every run
  // the test sees comes from the code under test.
  MainWin& Win() {
    MainWin& win = MainWin::Instance();
    if (!prepared_) {
      prepared_ = true;
      win.Ctl<fw::Timer>("UpdateCheckTimer").SetMode(fw::Timer::Off);
      win.Ctl<fw::Thread>("UpdateCheckThread").RunEvent = [this] { ++updateChecks; };
    }
    return win;
  }
  std::string Label(const std::string& name) { return Win().Ctl<fw::StaticText>(name).Text(); }
  std::string Status() { return Label("Status"); }
  bool LoadingLook() { return Win().Ctl<fw::ChasingArrows>("ChasingArrows1").Visible(); }

  testsupport::ScriptedServer server;
  int updateChecks = 0;

 private:
  bool prepared_ = false;
  std::unique_ptr<App> app_;
};
