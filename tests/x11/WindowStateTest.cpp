// Window states as a window manager keeps them: a window chosen from the
// Window menu comes back from the task bar, on top and active.
#include <gtest/gtest.h>

#include <QApplication>
#include <QProcess>
#include <QWidget>
#include <functional>
#include <vector>

#include "XSession.h"
#include "app/MainWin.h"
#include "support/Wait.h"
#include "windows/AboutWindow.h"
#include "windows/ForecastWin.h"
#include "windows/SettingsWin.h"

using testsupport::WaitUntil;
using namespace x11test;

namespace {

TEST(WindowMenu, ShowRestoresRaisesAndActivatesAMinimisedWindow) {
  struct Row {
    const char* item;
    std::function<fw::Window&()> shown;    // the window the item shows
    std::function<fw::Window&()> chooser;  // the window whose menu is used
  };
  const std::vector<Row> rows = {
      {"About Breezeling", []() -> fw::Window& { return AboutWindow::Instance(); },
       []() -> fw::Window& { return MainWin::Instance(); }},
      {"Settings", []() -> fw::Window& { return SettingsWin::Instance(); },
       []() -> fw::Window& { return MainWin::Instance(); }},
      {"7 Day Forecast", []() -> fw::Window& { return ForecastWin::Instance(); },
       []() -> fw::Window& { return MainWin::Instance(); }},
      {"BreezeLing", []() -> fw::Window& { return MainWin::Instance(); },
       []() -> fw::Window& { return SettingsWin::Instance(); }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.item);
    StartApplication();
    fw::Window& shown = row.shown();
    fw::Window& chooser = row.chooser();
    shown.Show();
    chooser.Show();
    ASSERT_TRUE(WaitShown(shown));
    QWidget* frame = FrameOf(shown);
    // Minimised through the window manager, as its title-bar button does.
    ASSERT_TRUE(Xdo({"windowminimize", "--sync", XidOf(shown)}));
    ASSERT_TRUE(WaitUntil([frame] { return frame->isMinimized(); }));

    ASSERT_TRUE(ChooseMenuItem(chooser, "Window", row.item));
    EXPECT_TRUE(WaitUntil([frame] {
      return !frame->isMinimized() && frame->isVisible() && QApplication::activeWindow() == frame;
    })) << "minimised "
        << frame->isMinimized() << ", active " << (QApplication::activeWindow() == frame);
    // The window manager agrees: it is the active window on the screen.
    QProcess active;
    active.start(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow")});
    ASSERT_TRUE(active.waitForFinished(10000));
    EXPECT_EQ(active.readAllStandardOutput().trimmed().toStdString(), XidOf(shown).toStdString());
    _ReleaseAll();
  }
}

}  // namespace
