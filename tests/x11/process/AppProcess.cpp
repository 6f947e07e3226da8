// The program as the tests of quitting run it in a process of its own: the
// real main (framework start, start sequence, event loop, stop steps,
// framework shut-down), with the maker's hosts pointed at a local server
// that takes requests and never answers.
//
//   x11_app_process [--open settings,forecast,about,debug,changelog,message]
//                   [--close-main] [--exit]
//
// Once the event loop runs it shows the windows named by --open (through
// the application's own menu handlers where it has them), closes the main
// window when asked, and when every shown window is on the screen prints
//   window <xid> <title>
//   menu <xid> <caption> <x> <y>     (centre of each menu-bar caption)
//   ready
// on standard output. Whenever a menu opens it prints
//   popup <x> <y>                    (centre of its first item)
// With --exit it then leaves through exit() with its windows still open.
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QStringList>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/App.h"
#include "app/MainWin.h"
#include "app/Startup.h"
#include "core/Hosts.h"
#include "framework/ui/Control_p.h"
#include "framework/ui/FrameworkInit.h"
#include "framework/ui/Window.h"
#include "support/net/ScriptedServer.h"
#include "windows/ChangeLogWindow.h"
#include "windows/DebugWin.h"
#include "windows/ServerMessageWindow.h"

namespace {

void Say(const QString& line) {
  std::fputs((line + QLatin1Char('\n')).toUtf8().constData(), stdout);
  std::fflush(stdout);
}

class PopupReporter : public QObject {
 protected:
  bool eventFilter(QObject* object, QEvent* event) override {
    auto* menu = qobject_cast<QMenu*>(object);
    if (menu && event->type() == QEvent::Show) {
      for (QAction* action : menu->actions()) {
        if (action->isSeparator()) continue;
        const QPoint at = menu->mapToGlobal(menu->actionGeometry(action).center());
        Say(QStringLiteral("popup %1 %2").arg(at.x()).arg(at.y()));
        break;
      }
    }
    return false;
  }
};

void Open(const QString& name) {
  App& app = App::Get();
  if (name == "settings")
    app._SettingsMenuItem_Action();
  else if (name == "forecast")
    app._ForecastMenuItem_Action();
  else if (name == "about")
    app._AboutMenuItem_Action();
  else if (name == "debug")
    DebugWin::Instance().Show();
  else if (name == "changelog")
    ChangeLogWindow::Instance().Show();
  else if (name == "message")
    ServerMessageWindow::Instance().Show();
  else
    Say(QStringLiteral("error: no window called %1").arg(name));
}

// Reports the shown windows once each is on the screen; true when done.
bool ReportWhenShown() {
  const auto windows = fw::Window::LiveWindows();
  for (fw::Window* window : windows) {
    QWidget* frame = fw::ContentOf(window)->window();
    if (window->Visible() && !(frame->windowHandle() && frame->windowHandle()->isExposed())) return false;
  }
  for (fw::Window* window : windows) {
    if (!window->Visible()) continue;
    QWidget* frame = fw::ContentOf(window)->window();
    const QString xid = QString::number(frame->winId());
    Say(QStringLiteral("window %1 %2").arg(xid, QString::fromStdString(window->Title())));
    if (auto* bar = frame->findChild<QMenuBar*>()) {
      for (QAction* action : bar->actions()) {
        const QPoint at = bar->mapToGlobal(bar->actionGeometry(action).center());
        Say(QStringLiteral("menu %1 %2 %3 %4").arg(xid, action->text()).arg(at.x()).arg(at.y()));
      }
    }
  }
  Say(QStringLiteral("ready"));
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  fw::InitFramework(argc, argv);
  const QStringList args = QCoreApplication::arguments();
  QStringList toOpen;
  if (int at = static_cast<int>(args.indexOf("--open")); at >= 0 && at + 1 < args.size())
    toOpen = args.at(at + 1).split(',', Qt::SkipEmptyParts);
  const bool closeMain = args.contains("--close-main");
  const bool exitAtOnce = args.contains("--exit");

  auto host = std::make_unique<testsupport::ScriptedServer>();
  host->SetDefaultScript(testsupport::Script().WaitForRequest());
  Hosts::SetForTesting(host->HostPort(), host->HostPort());
  PopupReporter popups;
  qApp->installEventFilter(&popups);

  QTimer poll;
  QTimer::singleShot(0, [&] {
    for (const QString& name : toOpen) Open(name);
    if (closeMain) MainWin::Instance().Close();
    QObject::connect(&poll, &QTimer::timeout, [&] {
      if (!ReportWhenShown()) return;
      poll.stop();
      if (exitAtOnce) std::exit(0);
    });
    poll.start(20);
  });
  _Main();
  qApp->removeEventFilter(&popups);
  host.reset();
  return fw::ShutdownFramework();
}
