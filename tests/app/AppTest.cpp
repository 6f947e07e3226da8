// The start sequence, the application object and the menu bar.
#include <QApplication>
#include <QChildEvent>
#include <QTimer>
#include <map>
#include <optional>
#include <tuple>

#include "AppFixture.h"
#include "app/App.h"
#include "app/Startup.h"
#include "framework/text/Exceptions.h"
#include "framework/ui/Window.h"

namespace {

// Notes what the application's Open had set up at the first moment the
// main window exists and receives a widget (its layout, before its Open).
class MainWindowBirthSpy : public QObject {
 public:
  std::optional<std::string> valuesThen;
  bool flagsThen = true;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::ChildAdded && !valuesThen && MainWin::IsLive()) {
      valuesThen = WeatherValues::UnitTemp + " " + WeatherValues::UnitSpeed + Globals::CR + Globals::LF +
                   "[" + Globals::RequestType + "]";
      flagsThen = Globals::AppLocked || Globals::ForecastWinOpen || Globals::InitialUpdateCheckRun;
    }
    return false;
  }
};

TEST(StartSequence, OpensTheApplicationBeforeTheMainWindowRunsTheLoopAndReleasesAtQuit) {
  Globals::AppLocked = Globals::ForecastWinOpen = Globals::InitialUpdateCheckRun = true;
  WeatherValues::UnitTemp = "F";
  WeatherValues::UnitSpeed = "mph";
  MainWindowBirthSpy spy;
  qApp->installEventFilter(&spy);
  bool windowLiveInLoop = false, registeredInLoop = false, barSharedInLoop = false;
  QTimer::singleShot(0, [&] {
    windowLiveInLoop = MainWin::IsLive();
    const auto types = fw::RegisteredFileTypes();
    registeredInLoop = types.size() == 1 && types[0] == FileTypes::pText && types[0]->Name() == "text" &&
                       types[0]->Extensions().empty() && types[0]->MacType() == "TEXT" &&
                       types[0]->MacCreator() == "R*ch";
    barSharedInLoop = App::Get().GetMenuBar() == &Menu::Menu::Instance() &&
                      MainWin::Instance().GetMenuBar() == &Menu::Menu::Instance();
    Globals::UserLocation = "Naseby";
    App::Get().Quit();
  });
  _Main();
  qApp->removeEventFilter(&spy);

  // The application's Open had set the start-up values, and sent no request.
  EXPECT_EQ(spy.valuesThen, "C km/h\r\n[]");
  EXPECT_FALSE(spy.flagsThen);
  EXPECT_TRUE(windowLiveInLoop);
  EXPECT_TRUE(registeredInLoop);
  EXPECT_TRUE(barSharedInLoop);
  // The stop steps ran.
  EXPECT_TRUE(fw::Window::LiveWindows().empty());
  EXPECT_TRUE(fw::RegisteredFileTypes().empty());
  EXPECT_EQ(FileTypes::pText, nullptr);
  EXPECT_EQ(Globals::UserLocation + WeatherValues::UnitTemp, "");
  EXPECT_THROW(App::Get(), fw::NilObjectException);
}

TEST(AppObject, MissingApplicationOrMenuBarIsANilObject) {
  EXPECT_THROW(App::Get(), fw::NilObjectException);
  EXPECT_THROW(Menu::ForecastMenuItem(), fw::NilObjectException);
  App bare;
  bare.Register();
  EXPECT_EQ(&App::Get(), &bare);
  EXPECT_THROW(Menu::AboutMenuItem(), fw::NilObjectException);
}

TEST(MenuBar, HasFileEditWindowWithTheirItemsInOrder) {
  Menu::Menu& bar = Menu::Menu::Instance();
  const std::vector<std::pair<std::string, std::string>> menus = {
      {"UntitledMenu2", "File"}, {"UntitledMenu0", "Edit"}, {"WindowMenu", "Window"}};
  ASSERT_EQ(bar.Count(), 3);
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(bar.Item(i)->Name() + " " + bar.Item(i)->Text(), menus[i].first + " " + menus[i].second);

  using K = fw::MenuItem::Kind;
  // Menu, item name, kind, caption, shortcut, whether the item enables itself.
  const std::vector<std::tuple<std::string, std::string, K, std::string, std::string, bool>> rows = {
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
  for (const auto& [menu, name, kind, caption, shortcut, autoEnable] : rows) {
    SCOPED_TRACE(name);
    ASSERT_NE(bar.Child(menu), nullptr);
    fw::MenuItem* item = bar.Child(menu)->Item(position[menu]++);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->Name() + " | " + item->Text() + " | " + item->KeyboardShortcut(),
              name + " | " + caption + " | " + shortcut);
    EXPECT_EQ(item->ItemKind(), kind);
    EXPECT_EQ(item->AutoEnable(), autoEnable);
  }
  for (const auto& [menu, count] : position) EXPECT_EQ(bar.Child(menu)->Count(), count) << menu;
}

TEST(MenuBar, TheSixProgramItemsAreFoundEnabledAgainAndBound) {
  apptest::StartWithoutLoop();
  fw::MenuItem* window = Menu::Menu::Instance().Child("WindowMenu");
  ASSERT_NE(window, nullptr);
  const std::vector<std::pair<const char*, fw::MenuItem& (*)()>> items = {
      {"AboutMenuItem", []() -> fw::MenuItem& { return Menu::AboutMenuItem(); }},
      {"SettingsMenuItem", &Menu::SettingsMenuItem},
      {"BreezelingMenuItem", &Menu::BreezelingMenuItem},
      {"ForecastMenuItem", &Menu::ForecastMenuItem},
      {"UpdatesMenuItem", []() -> fw::MenuItem& { return Menu::UpdatesMenuItem(); }},
      {"MoreMenuItem", []() -> fw::MenuItem& { return Menu::MoreMenuItem(); }}};
  for (const auto& [name, item] : items) item().Disable();
  App::Get().PrepareMenus();
  for (const auto& [name, item] : items) {
    SCOPED_TRACE(name);
    EXPECT_EQ(&item(), window->Child(name));
    EXPECT_TRUE(item().Enabled());
    EXPECT_TRUE(App::Get().HandleMenuCommand(name));
  }
  EXPECT_FALSE(App::Get().HandleMenuCommand("EditClear"));
}

TEST(MenuHandlers, MoreCoolAppsOpensTheMakersSiteRoot) {
  Hosts::SetForTesting("proxy.invalid:1", "web.invalid:8080");
  apptest::StartWithoutLoop();
  EXPECT_FALSE(App::Get()._MoreMenuItem_Action());
  Menu::MoreMenuItem().Trigger();
  EXPECT_EQ(testsupport::Recorders::Get().links,
            (std::vector<std::string>{"http://web.invalid:8080", "http://web.invalid:8080"}));
}

}  // namespace
