// The application's menus in every window, on a real X server.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "XSession.h"
#include "app/MainWin.h"
#include "app/Menu.h"
#include "core/Globals.h"
#include "framework/ui/Control.h"
#include "framework/ui/Control_p.h"
#include "support/Wait.h"
#include "windows/AboutWindow.h"
#include "windows/ChangeLogWindow.h"
#include "windows/DebugWin.h"
#include "windows/ForecastWin.h"
#include "windows/ServerMessageWindow.h"
#include "windows/SettingsWin.h"

using testsupport::WaitUntil;
using namespace x11test;

namespace {

struct WindowKind {
  const char* name;
  std::function<fw::Window&()> instance;
  int width, height;  // the content area of the window's record
};

const std::vector<WindowKind>& AllWindows() {
  static const std::vector<WindowKind> kinds = {
      {"MainWin", []() -> fw::Window& { return MainWin::Instance(); }, 301, 210},
      {"SettingsWin", []() -> fw::Window& { return SettingsWin::Instance(); }, 300, 276},
      {"ForecastWin", []() -> fw::Window& { return ForecastWin::Instance(); }, 300, 290},
      {"AboutWindow", []() -> fw::Window& { return AboutWindow::Instance(); }, 300, 90},
      {"ChangeLogWindow", []() -> fw::Window& { return ChangeLogWindow::Instance(); }, 300, 160},
      {"ServerMessageWindow", []() -> fw::Window& { return ServerMessageWindow::Instance(); }, 300, 144},
      {"DebugWin", []() -> fw::Window& { return DebugWin::Instance(); }, 300, 172},
  };
  return kinds;
}

// What a menu shows, one line per entry; a separator is "---".
std::vector<std::string> Entries(QMenu* menu) {
  std::vector<std::string> entries;
  for (QAction* action : menu->actions())
    entries.push_back(action->isSeparator() ? "---" : action->text().toStdString());
  return entries;
}

std::vector<std::string> Entries(const fw::MenuItem& menu) {
  std::vector<std::string> entries;
  for (int i = 0; i < menu.Count(); ++i)
    entries.push_back(menu.Item(i)->IsSeparator() ? "---" : menu.Item(i)->Text());
  return entries;
}

TEST(MenuBars, EveryWindowShowsTheApplicationsMenusAboveItsUnmovedContent) {
  StartApplication();
  const Menu::Menu& appBar = Menu::Menu::Instance();
  for (const WindowKind& kind : AllWindows()) {
    SCOPED_TRACE(kind.name);
    fw::Window& window = kind.instance();
    window.Show();
    ASSERT_TRUE(WaitShown(window));
    QMenuBar* bar = MenuBarOf(window);
    ASSERT_NE(bar, nullptr) << "no menu bar";
    ASSERT_TRUE(bar->isVisible());

    std::vector<std::string> captions;
    for (QAction* action : bar->actions()) captions.push_back(action->text().toStdString());
    EXPECT_EQ(captions, (std::vector<std::string>{"File", "Edit", "Window"}));
    for (int i = 0; i < appBar.Count(); ++i) {
      QMenu* menu = MenuOf(window, QString::fromStdString(appBar.Item(i)->Text()));
      ASSERT_NE(menu, nullptr) << appBar.Item(i)->Text();
      EXPECT_EQ(Entries(menu), Entries(*appBar.Item(i)));
    }

    // The bar sits above the content area, which keeps the record's size;
    // the window grows by the bar's height and no control moves.
    QWidget* frame = FrameOf(window);
    QWidget* content = fw::ContentOf(&window);
    const int barHeight = bar->height();
    EXPECT_GT(barHeight, 0);
    EXPECT_EQ(bar->geometry().top(), 0);
    EXPECT_EQ(content->mapTo(frame, QPoint(0, 0)), QPoint(0, barHeight));
    EXPECT_EQ(content->size(), QSize(kind.width, kind.height));
    EXPECT_EQ(frame->size(), QSize(kind.width, kind.height + barHeight));
    for (int i = 0; i < window.ControlCount(); ++i) {
      const fw::Control& control = window.ControlAt(i);
      QWidget* widget = control.impl().widget;
      if (!widget) continue;
      EXPECT_EQ(widget->mapTo(content, QPoint(0, 0)), QPoint(control.Left(), control.Top()))
          << control.Name();
    }
  }
}

// Each window's bar carries the application's own items: the handlers
// run and the items are enabled as the application prepares them, from
// whichever window the menu is opened.
TEST(MenuBars, ItemsChosenFromAnyWindowRunTheApplicationsHandlers) {
  struct Row {
    const char* what;
    std::function<fw::Window&()> from;
    const char* item;
    std::function<void()> before;
    std::function<bool()> done;
  };
  int requestsBefore = 0;
  const std::vector<Row> rows = {
      {"BreezeLing brings back the closed main window",
       []() -> fw::Window& { return SettingsWin::Instance(); }, "BreezeLing",
       [] { MainWin::Instance().Close(); },
       [] { return MainWin::IsLive() && FrameOf(MainWin::Instance())->isVisible(); }},
      {"7 Day Forecast, disabled by the remote lock, is enabled again as the menu opens",
       []() -> fw::Window& { return AboutWindow::Instance(); }, "7 Day Forecast",
       [] { Menu::ForecastMenuItem().Disable(); },
       [] { return FrameOf(ForecastWin::Instance())->isVisible() && Globals::ForecastWinOpen; }},
      {"Settings from the forecast window", []() -> fw::Window& { return ForecastWin::Instance(); },
       "Settings", [] {}, [] { return FrameOf(SettingsWin::Instance())->isVisible(); }},
      {"Check For Updates from the debug window", []() -> fw::Window& { return DebugWin::Instance(); },
       "Check For Updates", [&] { requestsBefore = UpdateRequests(); },
       [&] { return UpdateRequests() > requestsBefore; }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const int requestsAtStart = UpdateRequests();
    StartApplication();
    // The main window's own update check has gone out before the row starts.
    ASSERT_TRUE(WaitUntil([&] { return UpdateRequests() > requestsAtStart; }));
    fw::Window& from = row.from();
    from.Show();
    ASSERT_TRUE(WaitShown(from));
    row.before();
    EXPECT_TRUE(ChooseMenuItem(from, "Window", row.item));
    EXPECT_TRUE(WaitUntil(row.done));
    _ReleaseAll();
  }
}

// What a screen reader reads: each bar's own items, inside that bar, in
// whichever windows are open.
TEST(MenuBars, EachBarReportsItsOwnItemsToTheAccessibilityTree) {
  StartApplication();
  const auto topItems = [](fw::Window& window) {
    QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(MenuBarOf(window));
    std::vector<std::string> inside;
    for (int i = 0; bar && i < bar->childCount(); ++i) {
      QAccessibleInterface* item = bar->child(i);
      if (item && item->isValid() && bar->rect().contains(item->rect()))
        inside.push_back(item->text(QAccessible::Name).toStdString());
    }
    return inside;
  };
  const std::vector<std::string> all = {"File", "Edit", "Window"};
  MainWin& main = MainWin::Instance();
  ForecastWin& forecast = ForecastWin::Instance();
  forecast.Show();
  ASSERT_TRUE(WaitShown(main) && WaitShown(forecast));
  FrameOf(forecast)->move(FrameOf(main)->frameGeometry().topRight() + QPoint(40, 40));
  ASSERT_TRUE(WaitUntil([&] { return FrameOf(forecast)->x() > FrameOf(main)->x() + 100; }));
  EXPECT_EQ(topItems(main), all);
  EXPECT_EQ(topItems(forecast), all);
  main.Close();
  testsupport::RunEventsFor(100);
  EXPECT_EQ(topItems(forecast), all);
}

// A separator is a thin line, not an entry of its own with a caption.
TEST(MenuBars, SeparatorsAreLinesWithoutCaptions) {
  StartApplication();
  MainWin& main = MainWin::Instance();
  ASSERT_TRUE(Activate(main));
  for (const char* caption : {"Edit", "Window"}) {
    SCOPED_TRACE(caption);
    QMenuBar* bar = MenuBarOf(main);
    QMenu* menu = MenuOf(main, caption);
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(ClickAt(bar, bar->actionGeometry(menu->menuAction()).center()));
    ASSERT_TRUE(WaitUntil([menu] { return menu->isVisible(); }));
    int separators = 0, itemHeight = 0;
    for (QAction* action : menu->actions())
      if (!action->isSeparator()) itemHeight = std::max(itemHeight, menu->actionGeometry(action).height());
    for (QAction* action : menu->actions()) {
      if (!action->isSeparator()) {
        EXPECT_NE(action->text(), "-");
        continue;
      }
      ++separators;
      EXPECT_TRUE(action->text().isEmpty())
          << "a separator shows the caption \"" << action->text().toStdString() << "\"";
      EXPECT_LT(menu->actionGeometry(action).height(), itemHeight / 2);
    }
    EXPECT_EQ(separators, 1);
    menu->hide();
    ASSERT_TRUE(WaitUntil([menu] { return !menu->isVisible(); }));
  }
}

}  // namespace
