#include "XSession.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QWidget>
#include <QWindow>

#include "app/App.h"
#include "app/Startup.h"
#include "core/Hosts.h"
#include "framework/ui/Control_p.h"
#include "support/TestHooks.h"
#include "support/Wait.h"

namespace x11test {

namespace {

void Reset() {
  _ReleaseAll();
  _RegisterViews();
  Hosts::SetForTesting(Host().HostPort(), Host().HostPort());
}

testsupport::RegisterHook before(testsupport::HookTime::BeforeTest, Reset);
testsupport::RegisterHook after(testsupport::HookTime::AfterTest, [] {
  _ReleaseAll();
  Hosts::ResetForTesting();
  // Whatever a test left open (a menu, a grab) is gone before the next.
  testsupport::WaitUntil([] { return QApplication::activePopupWidget() == nullptr; }, 2000);
});

}  // namespace

void StartApplication() {
  _InitFileTypes();
  _NewAppInstance();
  _ApplicationAddMenuHandlers();
  App::Get().CallOpen();
  _MakeDefaultView();
}

testsupport::ScriptedServer& Host() {
  // Kept for the whole run: closing it would end the requests still waiting
  // on it with errors, and their boxes, in a later test.
  static testsupport::ScriptedServer* const server = [] {
    auto* s = new testsupport::ScriptedServer();
    s->SetDefaultScript(testsupport::Script().WaitForRequest());
    return s;
  }();
  return *server;
}

int UpdateRequests() {
  int count = 0;
  for (const std::string& request : Host().Requests())
    if (request.find("GET /updates/breezeling-remote.txt") != std::string::npos) ++count;
  return count;
}

bool Xdo(const QStringList& args, int timeoutMs) {
  QProcess xdo;
  xdo.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  xdo.start(QStringLiteral("xdotool"), args);
  if (!xdo.waitForFinished(timeoutMs)) {
    xdo.kill();
    xdo.waitForFinished(1000);
    ADD_FAILURE() << "xdotool " << args.join(' ').toStdString() << " did not finish";
    return false;
  }
  return xdo.exitStatus() == QProcess::NormalExit && xdo.exitCode() == 0;
}

QWidget* FrameOf(fw::Window& window) {
  QWidget* content = fw::ContentOf(&window);
  return content ? content->window() : nullptr;
}

QString XidOf(fw::Window& window) {
  QWidget* frame = FrameOf(window);
  return frame ? QString::number(frame->winId()) : QString();
}

QMenuBar* MenuBarOf(fw::Window& window) {
  QWidget* frame = FrameOf(window);
  return frame ? frame->findChild<QMenuBar*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

bool WaitShown(fw::Window& window) {
  return testsupport::WaitUntil([&] {
    QWidget* frame = FrameOf(window);
    return frame && frame->isVisible() && frame->windowHandle() && frame->windowHandle()->isExposed();
  });
}

bool Activate(fw::Window& window) {
  if (!WaitShown(window)) return false;
  QWidget* frame = FrameOf(window);
  if (!Xdo({"windowactivate", "--sync", XidOf(window)})) return false;
  return testsupport::WaitUntil([frame] { return QApplication::activeWindow() == frame; });
}

bool Keys(const char* chord) { return Xdo({"key", "--clearmodifiers", QString::fromUtf8(chord)}); }

bool ClickAt(QWidget* widget, QPoint local) {
  if (!widget) return false;
  const QPoint at = widget->mapToGlobal(local);
  return Xdo({"mousemove", QString::number(at.x()), QString::number(at.y())}) && Xdo({"click", "1"});
}

QMenu* MenuOf(fw::Window& window, const QString& menu) {
  QMenuBar* bar = MenuBarOf(window);
  if (!bar) return nullptr;
  for (QAction* action : bar->actions())
    if (action->text() == menu) return action->menu();
  return nullptr;
}

::testing::AssertionResult ChooseMenuItem(fw::Window& window, const QString& menu, const QString& item) {
  QMenuBar* bar = MenuBarOf(window);
  const std::string where = "the window \"" + window.Title() + "\"";
  if (!bar) return ::testing::AssertionFailure() << where << " shows no menu bar";
  QMenu* popup = MenuOf(window, menu);
  if (!popup) return ::testing::AssertionFailure() << where << " has no menu " << menu.toStdString();
  if (!Activate(window)) return ::testing::AssertionFailure() << where << " did not become active";
  if (!ClickAt(bar, bar->actionGeometry(popup->menuAction()).center()) ||
      !testsupport::WaitUntil([popup] { return popup->isVisible(); })) {
    return ::testing::AssertionFailure()
           << "the menu " << menu.toStdString() << " of " << where << " did not open";
  }
  QAction* target = nullptr;
  for (QAction* action : popup->actions())
    if (action->text() == item) target = action;
  if (!target) {
    return ::testing::AssertionFailure()
           << "no item " << item.toStdString() << " in the menu " << menu.toStdString();
  }
  if (!ClickAt(popup, popup->actionGeometry(target).center()) ||
      !testsupport::WaitUntil([popup] { return !popup->isVisible(); })) {
    return ::testing::AssertionFailure() << "the item " << item.toStdString() << " was not chosen";
  }
  return ::testing::AssertionSuccess();
}

}  // namespace x11test
