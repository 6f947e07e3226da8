// One QApplication per test binary; every test gets a fresh preferences
// folder, temporary folder and runtime folder, and fresh recorders.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "support/Recorders.h"
#include "support/TestHooks.h"

namespace {

class FreshState : public ::testing::EmptyTestEventListener {
 public:
  // Taken once: each test points TMPDIR at its own folder, which is gone
  // by the time the next test starts.
  explicit FreshState(QString base) : base_(std::move(base)) {}

  void OnTestStart(const ::testing::TestInfo&) override {
    root_ = std::make_unique<QTemporaryDir>(base_ + "/breezeling-test-XXXXXX");
    qputenv("XDG_CONFIG_HOME", (root_->path() + "/config").toUtf8());
    qputenv("TMPDIR", (root_->path() + "/tmp").toUtf8());
    qputenv("XDG_RUNTIME_DIR", (root_->path() + "/runtime").toUtf8());
    QDir().mkpath(root_->path() + "/config");
    QDir().mkpath(root_->path() + "/tmp");
    QDir().mkpath(root_->path() + "/runtime");
    QFile::setPermissions(root_->path() + "/runtime", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    testsupport::Recorders::Get().Clear();
    testsupport::Recorders::Get().Install();
    testsupport::RunHooks(testsupport::HookTime::BeforeTest);
  }
  void OnTestEnd(const ::testing::TestInfo&) override {
    testsupport::RunHooks(testsupport::HookTime::AfterTest);
    testsupport::Recorders::Get().Clear();
    root_.reset();
  }

 private:
  QString base_;
  std::unique_ptr<QTemporaryDir> root_;
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::UnitTest::GetInstance()->listeners().Append(new FreshState(QDir::tempPath()));
  return RUN_ALL_TESTS();
}
