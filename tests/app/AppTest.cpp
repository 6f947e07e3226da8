// The start sequence, the application object and the menu bar.
#include <gtest/gtest.h>

#include <QApplication>
#include <QChildEvent>
#include <QTimer>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "AppFixture.h"
#include "app/App.h"
#include "app/MainWin.h"
#include "app/Menu.h"
#include "app/Pictures.h"
#include "app/Startup.h"
#include "core/Globals.h"
#include "core/Hosts.h"
#include "core/WeatherValues.h"
#include "framework/text/Exceptions.h"
#include "framework/ui/Controls.h"
#include "framework/ui/Timer.h"
#include "framework/ui/Window.h"
#include "support/Recorders.h"
#include "support/Wait.h"

namespace {

using apptest::StartWithoutLoop;

// Notes what the application's Open had set up at the first moment the
// main window exists and receives a widget (its layout, before its Open).
class MainWindowBirthSpy : public QObject {
 public:
  std::optional<std::string> unitTempThen, crThen;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::ChildAdded && !unitTempThen && MainWin::IsLive()) {
      unitTempThen = WeatherValues::UnitTemp;
      crThen = Globals::CR;
    }
    return false;
  }
};

TEST(StartSequence, OpensTheApplicationBeforeTheMainWindowRunsTheLoopAndReleasesAtQuit) {
  MainWindowBirthSpy spy;
  qApp->installEventFilter(&spy);
  bool windowLiveInLoop = false, registeredInLoop = false, barSharedInLoop = false;
  QTimer::singleShot(0, [&] {
    windowLiveInLoop = MainWin::IsLive();
    const auto types = fw::RegisteredFileTypes();
    registeredInLoop = types.size() == 1 && types[0] == FileTypes::pText &&
                       types[0]->Name() == "text" && types[0]->Extensions().empty() &&
                       types[0]->MacType() == "TEXT" && types[0]->MacCreator() == "R*ch";
    barSharedInLoop = App::Get().GetMenuBar() == &Menu::Menu::Instance() &&
                      MainWin::Instance().GetMenuBar() == &Menu::Menu::Instance();
    Globals::UserLocation = "Naseby";
    App::Get().Quit();
  });
  _Main();
  qApp->removeEventFilter(&spy);

  ASSERT_TRUE(spy.unitTempThen.has_value());
  EXPECT_EQ(*spy.unitTempThen, "C");
  EXPECT_EQ(*spy.crThen, "\r");
  EXPECT_TRUE(windowLiveInLoop);
  EXPECT_TRUE(registeredInLoop);
  EXPECT_TRUE(barSharedInLoop);
  // The stop steps ran.
  EXPECT_TRUE(fw::Window::LiveWindows().empty());
  EXPECT_TRUE(fw::RegisteredFileTypes().empty());
  EXPECT_EQ(FileTypes::pText, nullptr);
  EXPECT_EQ(Globals::UserLocation, "");
  EXPECT_EQ(WeatherValues::UnitTemp, "");
  EXPECT_THROW(App::Get(), fw::NilObjectException);
}

TEST(AppOpen, SetsTheStartUpValues) {
  Globals::AppLocked = Globals::ForecastWinOpen = Globals::InitialUpdateCheckRun = true;
  WeatherValues::UnitTemp = "F";
  WeatherValues::UnitSpeed = "mph";
  StartWithoutLoop();
  EXPECT_FALSE(Globals::AppLocked);
  EXPECT_FALSE(Globals::ForecastWinOpen);
  EXPECT_FALSE(Globals::InitialUpdateCheckRun);
  EXPECT_EQ(Globals::CR, "\r");
  EXPECT_EQ(Globals::LF, "\n");
  EXPECT_EQ(WeatherValues::UnitTemp, "C");
  EXPECT_EQ(WeatherValues::UnitSpeed, "km/h");
  EXPECT_EQ(Globals::RequestType, "");  // no request is sent from here
}

TEST(AppObject, MissingApplicationOrMenuBarIsANilObject) {
  EXPECT_THROW(App::Get(), fw::NilObjectException);
  EXPECT_THROW(Menu::ForecastMenuItem(), fw::NilObjectException);
  App bare;
  bare.Register();
  EXPECT_EQ(&App::Get(), &bare);
  EXPECT_THROW(Menu::AboutMenuItem(), fw::NilObjectException);
}

struct ItemRow {
  const char* menu;
  const char* name;
  fw::MenuItem::Kind kind;
  const char* caption;
  const char* shortcut;
  bool autoEnable;
};

TEST(MenuBar, HasFileEditWindowWithTheirItemsInOrder) {
  Menu::Menu& bar = Menu::Menu::Instance();
  const std::vector<std::pair<std::string, std::string>> menus = {
      {"UntitledMenu2", "File"}, {"UntitledMenu0", "Edit"}, {"WindowMenu", "Window"}};
  ASSERT_EQ(bar.Count(), 3);
  for (int i = 0; i < 3; ++i) {
    fw::MenuItem* menu = bar.Item(i);
    EXPECT_EQ(menu->Name(), menus[i].first);
    EXPECT_EQ(menu->Text(), menus[i].second);
    EXPECT_EQ(menu->ItemKind(), fw::MenuItem::Kind::Plain);
    EXPECT_FALSE(menu->AutoEnable());
    EXPECT_EQ(menu->KeyboardShortcut(), "");
  }

  using K = fw::MenuItem::Kind;
  const std::vector<ItemRow> rows = {
      {"UntitledMenu2", "FileQuit", K::Quit, "Quit", "Cmd+Q", true},
      {"UntitledMenu0", "EditUndo", K::Plain, "Undo", "Cmd+Z", false},
      {"UntitledMenu0", "UntitledMenu1", K::Plain, "-", "", false},
      {"UntitledMenu0", "EditCut", K::Plain, "Cut", "Cmd+X", false},
      {"UntitledMenu0", "EditCopy", K::Plain, "Copy", "Cmd+C", false},
      {"UntitledMenu0", "EditPaste", K::Plain, "Paste", "Cmd+V", false},
      {"UntitledMenu0", "EditClear", K::Plain, "Clear", "", false},
      {"WindowMenu", "SettingsMenuItem", K::Plain, "Settings", "", false},
      {"WindowMenu", "BreezelingMenuItem", K::Plain, "BreezeLing", "", false},
      {"WindowMenu", "ForecastMenuItem", K::Plain, "7 Day Forecast", "", false},
      {"WindowMenu", "AboutMenuItem", K::Apple, "About Breezeling", "", false},
      {"WindowMenu", "UpdatesMenuItem", K::Apple, "Check For Updates", "Cmd+U", false},
      {"WindowMenu", "UntitledMenu4", K::Apple, "-", "", false},
      {"WindowMenu", "MoreMenuItem", K::Apple, "More Cool Apps!", "", false},
  };
  std::map<std::string, int> position;
  for (const ItemRow& row : rows) {
    SCOPED_TRACE(row.name);
    fw::MenuItem* menu = bar.Child(row.menu);
    ASSERT_NE(menu, nullptr);
    int index = position[row.menu]++;
    fw::MenuItem* item = menu->Item(index);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->Name(), row.name);
    EXPECT_EQ(item->ItemKind(), row.kind);
    EXPECT_EQ(item->Text(), row.caption);
    EXPECT_EQ(item->KeyboardShortcut(), row.shortcut);
    EXPECT_EQ(item->AutoEnable(), row.autoEnable);
    EXPECT_EQ(item->IsSeparator(), std::string(row.caption) == "-");
  }
  for (const auto& [menu, count] : position) EXPECT_EQ(bar.Child(menu)->Count(), count) << menu;
}

TEST(MenuBar, AccessorsFindItemsInsideTheMenusThroughTheApplication) {
  StartWithoutLoop();
  fw::MenuItem* window = Menu::Menu::Instance().Child("WindowMenu");
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(&Menu::ForecastMenuItem(), window->Child("ForecastMenuItem"));
  EXPECT_EQ(&Menu::SettingsMenuItem(), window->Child("SettingsMenuItem"));
  EXPECT_EQ(&Menu::BreezelingMenuItem(), window->Child("BreezelingMenuItem"));
  EXPECT_EQ(static_cast<fw::MenuItem*>(&Menu::AboutMenuItem()), window->Child("AboutMenuItem"));
  EXPECT_EQ(static_cast<fw::MenuItem*>(&Menu::UpdatesMenuItem()), window->Child("UpdatesMenuItem"));
  EXPECT_EQ(static_cast<fw::MenuItem*>(&Menu::MoreMenuItem()), window->Child("MoreMenuItem"));
}

TEST(MenuBar, PreparingTheMenusEnablesTheSixProgramItemsAgain) {
  StartWithoutLoop();
  std::vector<fw::MenuItem*> items = {&Menu::AboutMenuItem(),    &Menu::SettingsMenuItem(),
                                      &Menu::BreezelingMenuItem(), &Menu::UpdatesMenuItem(),
                                      &Menu::MoreMenuItem(),     &Menu::ForecastMenuItem()};
  for (fw::MenuItem* item : items) item->Disable();
  App::Get().PrepareMenus();
  for (fw::MenuItem* item : items) EXPECT_TRUE(item->Enabled()) << item->Name();
}

TEST(MenuHandlers, MoreCoolAppsOpensTheMakersSiteRoot) {
  Hosts::SetForTesting("proxy.invalid:1", "web.invalid:8080");
  StartWithoutLoop();
  EXPECT_FALSE(App::Get()._MoreMenuItem_Action());
  Menu::MoreMenuItem().Trigger();
  EXPECT_EQ(testsupport::Recorders::Get().links,
            (std::vector<std::string>{"http://web.invalid:8080", "http://web.invalid:8080"}));
}

TEST(MenuHandlers, EveryProgramItemIsBound) {
  StartWithoutLoop();
  for (const char* bound : {"AboutMenuItem", "SettingsMenuItem", "BreezelingMenuItem",
                            "ForecastMenuItem", "UpdatesMenuItem", "MoreMenuItem"})
    EXPECT_TRUE(App::Get().HandleMenuCommand(bound)) << bound;
  EXPECT_FALSE(App::Get().HandleMenuCommand("EditClear"));
}

TEST(MenuHandlers, CheckForUpdatesRunsTheUpdateCheckThread) {
  StartWithoutLoop();
  MainWin& win = MainWin::Instance();
  // Let the window's own check at opening finish first.
  ASSERT_TRUE(testsupport::WaitUntil([&] {
    return win.Ctl<fw::Timer>("UpdateCheckTimer").GetMode() == fw::Timer::Off &&
           win.Ctl<fw::Thread>("UpdateCheckThread").Pending() == 0;
  }));
  auto& refresh = win.Ctl<fw::BevelButton>("RefreshButton");
  refresh.SetEnabled(false);
  Menu::UpdatesMenuItem().Trigger();
  EXPECT_TRUE(testsupport::WaitUntil([&] { return refresh.Enabled(); }));
}

}  // namespace
