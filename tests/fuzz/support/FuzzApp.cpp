#include "FuzzApp.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "framework/files/FolderItem.h"
#include "framework/ui/MsgBox.h"
#include "framework/ui/ShowURL.h"

namespace fuzz {

namespace {

std::vector<std::string>& BoxList() {
  static std::vector<std::string> boxes;
  return boxes;
}

std::string& Scratch() {
  static std::string path;
  return path;
}

}  // namespace

void StartApp() {
  static bool started = false;
  if (started) return;
  started = true;

  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // In memory where possible: the file targets write several files per
  // input, and a disk makes that the slowest part of a run. Removed at a
  // normal exit; a crash leaves it for the post-mortem.
  QString base = qEnvironmentVariable("FUZZ_SCRATCH");
  if (base.isEmpty()) base = QFileInfo("/dev/shm").isWritable() ? "/dev/shm" : QDir::tempPath();
  static QTemporaryDir scratch(base + "/breezeling-fuzz-XXXXXX");
  if (!scratch.isValid()) Fail("cannot make a scratch folder under " + base.toStdString());
  Scratch() = scratch.path().toStdString();
  QDir().mkpath(scratch.path() + "/config");
  QDir().mkpath(scratch.path() + "/tmp");
  QDir().mkpath(scratch.path() + "/runtime");
  QFile::setPermissions(scratch.path() + "/runtime",
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  qputenv("XDG_CONFIG_HOME", (scratch.path() + "/config").toUtf8());
  qputenv("TMPDIR", (scratch.path() + "/tmp").toUtf8());
  qputenv("XDG_RUNTIME_DIR", (scratch.path() + "/runtime").toUtf8());

  // Kept for the whole process: the engine ends it with exit(), and Qt's
  // own teardown is no part of what is fuzzed.
  static int argc = 1;
  static char name[] = "breezeling-fuzz";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);

  fw::SetMsgBoxHandler([](const std::string& text) { BoxList().push_back(text); });
  fw::SetShowURLHandler([](const std::string&) {});
  fw::SetLaunchHandler([](const fw::FolderItem&, bool) {});
}

const std::string& ScratchFolder() { return Scratch(); }

const std::vector<std::string>& Boxes() { return BoxList(); }

void ClearBoxes() { BoxList().clear(); }

void Fail(const std::string& what) {
  std::fprintf(stderr, "fuzz check failed: %s\n", what.c_str());
  std::fflush(stderr);
  std::abort();
}

void Settle() {
  // Twice: what the first round runs may post more (a deletion after a
  // zero timer).
  for (int round = 0; round < 2; ++round) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

bool RunUntil(const std::function<bool()>& done, int timeoutMs) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() >= timeoutMs) return done();
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  return true;
}

std::uint8_t Input::Byte() { return pos_ < size_ ? data_[pos_++] : 0; }

std::string Input::Rest() {
  std::string rest(reinterpret_cast<const char*>(data_) + pos_, size_ - pos_);
  pos_ = size_;
  return rest;
}

std::vector<std::string> Input::RestSplit(char separator, std::size_t maxParts) {
  const std::string rest = Rest();
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (parts.size() + 1 < maxParts) {
    const std::size_t at = rest.find(separator, start);
    if (at == std::string::npos) break;
    parts.push_back(rest.substr(start, at - start));
    start = at + 1;
  }
  parts.push_back(rest.substr(start));
  return parts;
}

std::vector<std::string> CutInPieces(const std::string& text, const std::vector<std::size_t>& sizes) {
  std::vector<std::string> pieces;
  std::size_t pos = 0;
  for (std::size_t size : sizes) {
    if (pos >= text.size()) break;
    const std::size_t take = std::min(size, text.size() - pos);
    if (take > 0) pieces.push_back(text.substr(pos, take));
    pos += take;
  }
  if (pos < text.size()) pieces.push_back(text.substr(pos));
  return pieces;
}

}  // namespace fuzz
