#pragma once
// Tests that need a real X server: keys, the pointer, focus and window
// states arrive as a desktop session delivers them (XTest input through
// xdotool, a window manager), not as events posted to a widget. The test
// command runs this binary under tests/x11/with-x-server.sh.
#include <gtest/gtest.h>

#include <QPoint>
#include <QString>
#include <QStringList>
#include <string>

#include "app/Startup.h"
#include "framework/ui/Window.h"
#include "support/net/ScriptedServer.h"

class QMenu;
class QMenuBar;
class QWidget;

namespace x11test {

// The start sequence up to the main window, without the event loop (the
// tests run the loop themselves while they wait).
void StartApplication();

// The server the maker's hosts point at during each test: it takes every
// request and never answers, so no reply, box or status text interferes.
testsupport::ScriptedServer& Host();
// How many requests for the update-information file have reached Host().
int UpdateRequests();

// Runs xdotool; true when it ended with status 0 within the time limit.
bool Xdo(const QStringList& args, int timeoutMs = 10000);

// The top-level widget of a window, and its X window.
QWidget* FrameOf(fw::Window& window);
QString XidOf(fw::Window& window);
// The menu bar the window shows, or none.
QMenuBar* MenuBarOf(fw::Window& window);

// Waits until the window is mapped and laid out by the window manager.
bool WaitShown(fw::Window& window);
// Makes the window the active one through the window manager, as a click
// on its title would, and waits until the application sees it active.
bool Activate(fw::Window& window);
// Types a chord such as "ctrl+u" on the real keyboard: it goes to
// whatever has the keyboard focus.
bool Keys(const char* chord);
// Moves the real pointer over the point of the widget and clicks.
bool ClickAt(QWidget* widget, QPoint local);
// Opens the menu of that caption in the window's own menu bar with the
// pointer and clicks the item. On failure, says what was missing.
::testing::AssertionResult ChooseMenuItem(fw::Window& window, const QString& menu, const QString& item);
// The menu of that caption in the window's menu bar, or none.
QMenu* MenuOf(fw::Window& window, const QString& menu);

}  // namespace x11test
