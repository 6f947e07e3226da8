#include "AppFixture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "app/App.h"
#include "app/Startup.h"
#include "framework/ui/Screen.h"
#include "support/TestHooks.h"

namespace apptest {

namespace {

// Takes every request and never answers, so the update check that each
// main window starts as it opens brings no reply, box or status text into
// this test or a later one. Kept for the whole run: closing it would end
// the requests still waiting on it with errors.
std::string SilentHost() {
  static testsupport::ScriptedServer* const server = [] {
    auto* s = new testsupport::ScriptedServer();
    s->SetDefaultScript(testsupport::Script().WaitForRequest());
    return s;
  }();
  return server->HostPort();
}

void Reset() {
  _ReleaseAll();
  _RegisterViews();
  Hosts::SetForTesting(SilentHost(), SilentHost());
  fw::Screen::SetDepthOverride(24);
}

testsupport::RegisterHook before(testsupport::HookTime::BeforeTest, Reset);
testsupport::RegisterHook after(testsupport::HookTime::AfterTest, [] {
  _ReleaseAll();
  Hosts::ResetForTesting();
  fw::Screen::SetDepthOverride(0);
});

QWidget* MainWindowWidget() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->windowTitle() == QStringLiteral("Breezeling") && widget->findChild<QWidget*>("Status"))
      return widget;
  }
  return nullptr;
}

}  // namespace

void StartWithoutLoop() {
  _InitFileTypes();
  _NewAppInstance();
  _ApplicationAddMenuHandlers();
  App::Get().CallOpen();
  _MakeDefaultView();
}

void PressKeyOnMainWindow(char letter, bool command, bool shift) {
  QWidget* target = MainWindowWidget();
  if (!target) return;
  Qt::KeyboardModifiers modifiers;
  if (command) modifiers |= Qt::ControlModifier;
  if (shift) modifiers |= Qt::ShiftModifier;
  const int key = Qt::Key_A + (letter - 'a');
  QKeyEvent press(QEvent::KeyPress, key, modifiers, QString(QChar(letter)));
  // The framework acts on each key event once; a new time stamp makes
  // every press its own event.
  static quint64 stamp = 1000;
  press.setTimestamp(++stamp);
  QApplication::sendEvent(target, &press);
}

}  // namespace apptest
