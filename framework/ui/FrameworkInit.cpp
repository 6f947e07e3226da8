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
// Sets an environment variable nobody has set, until it goes.
class TemporaryEnvironment {
 public:
  TemporaryEnvironment(const char* name, const char* value)
      : name_(name), set_(!qEnvironmentVariableIsSet(name)) {
    if (set_) qputenv(name_, value);
  }
  ~TemporaryEnvironment() {
    if (set_) qunsetenv(name_);
  }
  TemporaryEnvironment(const TemporaryEnvironment&) = delete;
  TemporaryEnvironment& operator=(const TemporaryEnvironment&) = delete;

 private:
  const char* name_;
  bool set_;
};

QApplication*& OwnedApplication() {
  static QApplication* app = nullptr;
  return app;
}

}  // namespace

void InitFramework(int& argc, char** argv) {
  if (!QApplication::instance()) {
    // Two of Qt's defaults cost every start time on X11, and neither serves
    // windows as small as ours:
    // - Its GLib-based loop served a timer that fell due while the first
    //   window was being painted only after the next repaint: the update
    //   check that starts the first request began 11-14 ms after the main
    //   window was shown, against 5-9 ms with Qt's own loop.
    // - With shared-memory images each repaint first waits for the X server
    //   to finish the one before: the status line's four changes during the
    //   first two requests added about 6 ms to them. A few hundred kilobytes
    //   sent over the X connection cost less.
    // Whoever sets either variable decides; programs started from here do
    // not inherit the choice.
    TemporaryEnvironment noGlib("QT_NO_GLIB", "1");
    TemporaryEnvironment noSharedImages("QT_XCB_NO_MITSHM", "1");
    OwnedApplication() = new QApplication(argc, argv);
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
