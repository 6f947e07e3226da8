// Keys typed on the real keyboard while a text field has the focus: the
// menus' key equivalents come first, in every window, and other keys still
// reach the field.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "XSession.h"
#include "app/MainWin.h"
#include "framework/ui/Control_p.h"
#include "support/Wait.h"
#include "windows/DebugWin.h"
#include "windows/ForecastWin.h"
#include "windows/SettingsWin.h"

using testsupport::WaitUntil;
using namespace x11test;

namespace {

std::string ShownText(QWidget* field) {
  if (auto* line = qobject_cast<QLineEdit*>(field)) return line->text().toStdString();
  if (auto* text = qobject_cast<QPlainTextEdit*>(field)) return text->toPlainText().toStdString();
  return "(not a text field)";
}

TEST(MenuKeys, WinOverTheFocusedTextFieldInEveryWindow) {
  struct Row {
    const char* what;
    std::function<fw::Window&()> window;
    const char* field;
    bool closeMainFirst;
    const char* chord;
    const char* added;  // what the key adds to the field's text
    bool updateCheck;   // whether the chord ran "Check For Updates"
  };
  const std::vector<Row> rows = {
      {"Cmd-U in the place field", []() -> fw::Window& { return SettingsWin::Instance(); }, "Location", false,
       "ctrl+u", "", true},
      {"Cmd-U in the place field with the main window closed",
       []() -> fw::Window& { return SettingsWin::Instance(); }, "Location", true, "ctrl+u", "", true},
      {"Cmd-U in the debug window's text", []() -> fw::Window& { return DebugWin::Instance(); }, "Response",
       false, "ctrl+u", "", true},
      {"a letter still goes into the field", []() -> fw::Window& { return SettingsWin::Instance(); },
       "Location", false, "x", "x", false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const int requestsAtStart = UpdateRequests();
    StartApplication();
    // The main window's own update check has gone out before the row starts.
    ASSERT_TRUE(WaitUntil([&] { return UpdateRequests() > requestsAtStart; }));
    if (row.closeMainFirst) {
      // Closed the way a person does it: Cmd-W in the main window.
      ASSERT_TRUE(Activate(MainWin::Instance()));
      ASSERT_TRUE(Keys("ctrl+w"));
      ASSERT_TRUE(WaitUntil([] { return !MainWin::IsLive(); }));
    }
    ForecastWin::Instance().Show();  // one more window with the menu bar
    fw::Window& window = row.window();
    window.Show();
    ASSERT_TRUE(Activate(window));
    QWidget* field = window.FindControl(row.field)->impl().widget;
    ASSERT_TRUE(ClickAt(field, QPoint(field->width() - 4, field->height() / 2)));
    ASSERT_TRUE(WaitUntil([field] { return QApplication::focusWidget() == field; }));
    if (auto* line = qobject_cast<QLineEdit*>(field)) {
      ASSERT_FALSE(line->text().isEmpty()) << "a key that wipes the line would not show";
      line->end(false);
    }

    const std::string textAfter = ShownText(field) + row.added;
    const int requestsBefore = UpdateRequests();
    ASSERT_TRUE(Keys(row.chord));
    if (row.updateCheck) {
      EXPECT_TRUE(WaitUntil([&] { return UpdateRequests() > requestsBefore; }))
          << "the key did not run Check For Updates";
    } else {
      EXPECT_TRUE(WaitUntil([&] { return ShownText(field) == textAfter; }));
    }
    // Whatever the key did, it reached the field or the menu, not both.
    testsupport::RunEventsFor(100);
    EXPECT_EQ(ShownText(field), textAfter);
    // Once, however many windows carry the menu bar (a main window made
    // anew also runs its own check at start).
    if (!row.closeMainFirst) {
      EXPECT_EQ(UpdateRequests(), requestsBefore + (row.updateCheck ? 1 : 0));
    }
    _ReleaseAll();
  }
}

}  // namespace
