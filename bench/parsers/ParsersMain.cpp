// The parser benchmarks run inside a started program: the application
// object, its Open and the main window exist (offscreen), as when a reply
// arrives, but nothing is fetched. Preferences and temporary files go to a
// folder of the run's own.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include "app/App.h"
#include "app/MainWin.h"
#include "app/Startup.h"
#include "core/Globals.h"
#include "core/Hosts.h"
#include "framework/ui/MsgBox.h"
#include "framework/ui/ShowURL.h"
#include "framework/ui/Thread.h"
#include "framework/ui/Timer.h"

int main(int argc, char** argv) {
  // Freed memory stays with the process. Otherwise a large input's buffers
  // go back to the system after every call and are faulted in again on the
  // next, while a small input's are reused: the ten-times ratio would then
  // measure the allocator's trim policy rather than the parser.
  mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
  mallopt(M_TRIM_THRESHOLD, 512 * 1024 * 1024);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir root(QDir::tempPath() + "/breezeling-bench-XXXXXX");
  if (!root.isValid()) return 1;
  qputenv("XDG_CONFIG_HOME", (root.path() + "/config").toUtf8());
  qputenv("TMPDIR", (root.path() + "/tmp").toUtf8());
  QDir().mkpath(root.path() + "/config");
  QDir().mkpath(root.path() + "/tmp");

  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

  // A box would wait for a click; nothing here should reach a server.
  fw::SetMsgBoxHandler([](const std::string&) {});
  fw::SetShowURLHandler([](const std::string&) {});
  Hosts::SetForTesting("127.0.0.1:9", "127.0.0.1:9");
  _RegisterViews();
  _InitFileTypes();
  _NewAppInstance();
  _ApplicationAddMenuHandlers();
  App::Get().CallOpen();
  _MakeDefaultView();
  MainWin::Instance().Ctl<fw::Timer>("UpdateCheckTimer").SetMode(fw::Timer::Off);
  MainWin::Instance().Ctl<fw::Thread>("UpdateCheckThread").RunEvent = [] {};
  // The start-up check has been answered: an update reply starts no weather.
  Globals::InitialUpdateCheckRun = true;

  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  _ReleaseAll();
  return 0;
}
