// Quitting ends the program, whatever windows are open: the real program
// runs in a process of its own on the test's X server and gets real keys
// and clicks.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMap>
#include <QPoint>
#include <QProcess>
#include <QStringList>
#include <functional>
#include <vector>

#include "XSession.h"

using namespace x11test;

namespace {

// The program in its own process, and what it said about its windows.
class Program {
 public:
  ~Program() {
    if (process_.state() != QProcess::NotRunning) {
      process_.kill();
      process_.waitForFinished(5000);
    }
  }

  // Starts it and waits until its windows are on the screen.
  ::testing::AssertionResult Start(const QStringList& args) {
    process_.start(QCoreApplication::applicationDirPath() + "/x11_app_process", args);
    if (!process_.waitForStarted(10000)) return ::testing::AssertionFailure() << "the program did not start";
    for (;;) {
      const QString line = NextLine();
      if (line.isNull()) return ::testing::AssertionFailure() << "the program never got ready";
      const QStringList words = line.split(' ');
      if (words[0] == "ready") return ::testing::AssertionSuccess();
      if (words[0] == "window" && words.size() >= 3) windows_[words.mid(2).join(' ')] = words[1];
      if (words[0] == "menu" && words.size() == 5)
        menus_[words[1] + ' ' + words[2]] = QPoint(words[3].toInt(), words[4].toInt());
      if (words[0] == "error:") return ::testing::AssertionFailure() << line.toStdString();
    }
  }

  QString Xid(const QString& title) const { return windows_.value(title); }

  bool PressKeys(const QString& title, const char* chord) {
    return Xdo({"windowactivate", "--sync", Xid(title)}) && Keys(chord);
  }

  // Opens the menu in the window's menu bar and clicks its first item.
  ::testing::AssertionResult ChooseFirstItem(const QString& title, const QString& menu) {
    const QString key = Xid(title) + ' ' + menu;
    if (!menus_.contains(key))
      return ::testing::AssertionFailure() << "no menu " << menu.toStdString() << " in the window";
    const QPoint caption = menus_.value(key);
    if (!Xdo({"windowactivate", "--sync", Xid(title)}) || !Click(caption))
      return ::testing::AssertionFailure() << "could not click the menu";
    for (;;) {
      const QString line = NextLine();
      if (line.isNull()) return ::testing::AssertionFailure() << "the menu did not open";
      const QStringList words = line.split(' ');
      if (words[0] == "popup" && words.size() == 3) {
        if (!Click(QPoint(words[1].toInt(), words[2].toInt())))
          return ::testing::AssertionFailure() << "could not click the item";
        return ::testing::AssertionSuccess();
      }
    }
  }

  // Whether the process ends on its own within the time, and how.
  bool EndsWithin(int ms) { return process_.waitForFinished(ms); }
  int ExitCode() const { return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1; }
  QString Errors() { return QString::fromLocal8Bit(process_.readAllStandardError()); }

 private:
  static bool Click(QPoint at) {
    return Xdo({"mousemove", QString::number(at.x()), QString::number(at.y())}) && Xdo({"click", "1"});
  }

  // The next line of its output; null when none comes within 20 s.
  QString NextLine() {
    QElapsedTimer clock;
    clock.start();
    while (!process_.canReadLine()) {
      if (clock.elapsed() > 20000 || process_.state() == QProcess::NotRunning) return {};
      process_.waitForReadyRead(200);
    }
    return QString::fromUtf8(process_.readLine()).trimmed();
  }

  QProcess process_;
  QMap<QString, QString> windows_;
  QMap<QString, QPoint> menus_;
};

TEST(Quit, EndsTheProgramWithAnySetOfWindowsOpen) {
  struct Row {
    const char* what;
    QStringList args;
    std::function<::testing::AssertionResult(Program&)> quit;
  };
  const std::vector<Row> rows = {
      {"Cmd-Q in the main window, alone",
       {},
       [](Program& p) { return ::testing::AssertionResult(p.PressKeys("Breezeling", "ctrl+q")); }},
      {"Cmd-Q in the settings window with four windows open",
       {"--open", "settings,forecast,about"},
       [](Program& p) { return ::testing::AssertionResult(p.PressKeys("Settings", "ctrl+q")); }},
      {"File > Quit chosen with the pointer in the about window",
       {"--open", "settings,about"},
       [](Program& p) { return p.ChooseFirstItem("About", "File"); }},
      {"Cmd-Q in the settings window after the main window was closed",
       {"--open", "settings", "--close-main"},
       [](Program& p) { return ::testing::AssertionResult(p.PressKeys("Settings", "ctrl+q")); }},
      {"Cmd-Q in the debug window, the floating windows open too",
       {"--open", "debug,changelog,message"},
       [](Program& p) { return ::testing::AssertionResult(p.PressKeys("Debug", "ctrl+q")); }},
      // Not a way the program quits by itself; any way out must leave the
      // windows' memory alone.
      {"exit() with windows still open",
       {"--open", "settings,forecast", "--exit"},
       [](Program&) { return ::testing::AssertionSuccess(); }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Program program;
    ASSERT_TRUE(program.Start(row.args));
    ASSERT_TRUE(row.quit(program));
    EXPECT_TRUE(program.EndsWithin(10000)) << "the program is still running";
    EXPECT_EQ(program.ExitCode(), 0);
    const QString errors = program.Errors();
    EXPECT_FALSE(errors.contains("AddressSanitizer") || errors.contains("runtime error"))
        << errors.toStdString();
  }
}

}  // namespace
