#include "framework/ui/FrameworkInit.h"

#include <QApplication>

#include "framework/ui/AppResources.h"
#include "framework/ui/FrameworkStyle_p.h"
#include "framework/ui/Picture.h"
#include "framework/ui/Picture_p.h"
#include "framework/ui/Window.h"
#include "framework/ui/WindowIcon.h"

namespace fw {

namespace {

// Deleted by ShutdownFramework, never by the end of the process: a process
// that ends through exit() leaves the toolkit, like its windows, to the
// system (see the window registry).
QApplication*& OwnedApplication() {
  static QApplication* app = nullptr;
  return app;
}

}  // namespace

void InitFramework(int& argc, char** argv) {
  if (!QApplication::instance()) {
    // Qt's GLib-based loop served a timer that fell due while the first
    // window was being painted only after the next repaint: the update
    // check that starts the first request began 11-14 ms after the main
    // window was shown, against 5-9 ms with Qt's own loop. Nothing here
    // needs GLib's loop; programs started from here do not inherit the choice.
    const bool chosen = qEnvironmentVariableIsSet("QT_NO_GLIB");
    if (!chosen) qputenv("QT_NO_GLIB", "1");
    OwnedApplication() = new QApplication(argc, argv);
    if (!chosen) qunsetenv("QT_NO_GLIB");
  }
  QApplication::setApplicationName(QStringLiteral("Breezeling"));
  QApplication::setStyle(new FrameworkStyle);
  // A program built without its pictures simply has the platform's icon.
  // The icon is drawn from the artwork at each size the desktop asks for
  // (task bars, switchers), when it asks, and each size once.
  if (AppResources* resources = AppResources::Get()) {
    if (PicturePtr picture = resources->GetPicture(kWindowIconPicture)) {
      QApplication::setWindowIcon(IconOf(picture));
    }
  }
}

int ShutdownFramework() {
  // Windows still open go while the toolkit they are made of is there.
  Window::CloseAll();
  delete OwnedApplication();
  OwnedApplication() = nullptr;
  return 0;
}

}  // namespace fw
