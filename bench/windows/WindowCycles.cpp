// Opens and closes every window of the program many times and prints how
// much the heap grew. The program is started as the real one starts
// (application object, its Open, the main window), offscreen and without
// the event loop's own run. Each window is shown and painted before it is
// closed, and the loop is pumped after every cycle so that closed windows
// are destroyed.
//
//   bench_window_cycles [CYCLES]      (default 1000)
//
// Prints "warmup-kib N", "growth-kib N" (the heap's growth over all the
// counted cycles), "per-cycle-bytes N", "first-cycle-kib N" and
// "second-half-kib N" (the growth in the first counted cycle and over the
// second half alone: where it happens) and "rss-growth-kib N". The first cycle is a
// warm-up, not counted: it closes the windows the start left hidden and
// loads fonts and pictures once.
//
// Every cycle begins with the main window: a new main window's Open makes
// the settings window (visible, as any window made anew) and the about
// window (hidden), and the cycle closes them again. So every cycle, the
// warm-up too, ends with no window at all, and the heap is compared
// between like states. (With the main window last, every counted cycle
// ended with those two windows open and the warm-up without them: the
// first counted cycle "grew" by two live windows.)
//
// The heap is counted with glibc's per-thread cache of freed blocks
// turned off (the program runs itself again with that setting): the count
// (mallinfo2) takes blocks in that cache for blocks in use, and the cache
// fills for a hundred cycles or so, which read as 100 KiB of growth that
// no allocation holds.
#include <malloc.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <type_traits>
#include <vector>

#include "app/App.h"
#include "app/MainWin.h"
#include "app/Startup.h"
#include "core/Hosts.h"
#include "framework/ui/MsgBox.h"
#include "framework/ui/ShowURL.h"
#include "framework/ui/Thread.h"
#include "framework/ui/Timer.h"
#include "windows/AboutWindow.h"
#include "windows/ChangeLogWindow.h"
#include "windows/DebugWin.h"
#include "windows/ForecastWin.h"
#include "windows/ServerMessageWindow.h"
#include "windows/SettingsWin.h"

namespace {

// Bytes handed out by malloc and not yet freed, mapped chunks included.
long long HeapInUse() {
  const struct mallinfo2 info = mallinfo2();
  return static_cast<long long>(info.uordblks) + static_cast<long long>(info.hblkhd);
}

long long RssKiB() {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    if (key == "VmRSS:") {
      long long kib = 0;
      status >> kib;
      return kib;
    }
    status.ignore(1 << 16, '\n');
  }
  return 0;
}

void Settle() {
  for (int i = 0; i < 3; ++i) {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

// The main window's own update check would fetch from the maker's host.
void QuietMainWindow() {
  MainWin& win = MainWin::Instance();
  win.Ctl<fw::Timer>("UpdateCheckTimer").SetMode(fw::Timer::Off);
  win.Ctl<fw::Thread>("UpdateCheckThread").RunEvent = [] {};
}

template <class W>
void OpenAndClose() {
  W& window = W::Instance();
  if constexpr (std::is_same_v<W, MainWin>) QuietMainWindow();
  window.Show();
  // Shown means painted: a window's pictures and styles are drawn, as a
  // person opening it would see them.
  QCoreApplication::processEvents();
  QCoreApplication::processEvents();
  window.Close();
}

void Cycle() {
  OpenAndClose<MainWin>();
  OpenAndClose<AboutWindow>();
  OpenAndClose<ChangeLogWindow>();
  OpenAndClose<DebugWin>();
  OpenAndClose<ForecastWin>();
  OpenAndClose<ServerMessageWindow>();
  OpenAndClose<SettingsWin>();
  Settle();
}

}  // namespace

// Runs the program again with glibc's per-thread cache off, unless it is.
void WithoutThreadCache(char** argv) {
  static const char kSetting[] = "glibc.malloc.tcache_count=0";
  const char* tunables = std::getenv("GLIBC_TUNABLES");
  if (tunables && std::strstr(tunables, kSetting)) return;
  std::string value = tunables && *tunables ? std::string(tunables) + ":" + kSetting : kSetting;
  setenv("GLIBC_TUNABLES", value.c_str(), 1);
  execv("/proc/self/exe", argv);
  std::perror("bench_window_cycles: running again without the thread cache");
}

int main(int argc, char** argv) {
  WithoutThreadCache(argv);
  const long cycles = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 1000;
  if (cycles <= 0) {
    std::fprintf(stderr, "usage: %s [CYCLES]\n", argv[0]);
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir root(QDir::tempPath() + "/breezeling-bench-XXXXXX");
  if (!root.isValid()) return 1;
  qputenv("XDG_CONFIG_HOME", (root.path() + "/config").toUtf8());
  QDir().mkpath(root.path() + "/config");

  QApplication app(argc, argv);
  fw::SetMsgBoxHandler([](const std::string&) {});
  fw::SetShowURLHandler([](const std::string&) {});
  Hosts::SetForTesting("127.0.0.1:9", "127.0.0.1:9");
  _RegisterViews();
  _InitFileTypes();
  _NewAppInstance();
  _ApplicationAddMenuHandlers();
  App::Get().CallOpen();
  _MakeDefaultView();
  QuietMainWindow();
  Settle();

  const long long start = HeapInUse();
  Cycle();
  const long long warm = HeapInUse();
  const long long rssWarm = RssKiB();
  long long first = 0, half = 0;
  for (long i = 0; i < cycles; ++i) {
    if (i == cycles / 2) half = HeapInUse();
    Cycle();
    if (i == 0) first = HeapInUse();
  }
  malloc_trim(0);
  const long long end = HeapInUse();
  const long long rssEnd = RssKiB();

  std::printf("cycles %ld\n", cycles);
  std::printf("warmup-kib %.1f\n", static_cast<double>(warm - start) / 1024.0);
  std::printf("growth-kib %.1f\n", static_cast<double>(end - warm) / 1024.0);
  std::printf("per-cycle-bytes %.1f\n", static_cast<double>(end - warm) / static_cast<double>(cycles));
  std::printf("first-cycle-kib %.1f\n", static_cast<double>(first - warm) / 1024.0);
  std::printf("second-half-kib %.1f\n", static_cast<double>(end - half) / 1024.0);
  std::printf("rss-growth-kib %lld\n", rssEnd - rssWarm);
  std::fflush(stdout);
  _ReleaseAll();
  return 0;
}
