#include <QDesktopServices>
#include <QUrl>

#include "framework/files/FolderItem.h"

namespace fw {

namespace {
LaunchHandler& Handler() {
  static LaunchHandler handler;
  return handler;
}
}  // namespace

void SetLaunchHandler(LaunchHandler handler) { Handler() = std::move(handler); }

void FolderItem::Launch(bool activate) const {
  if (Handler()) {
    LaunchHandler handler = Handler();
    handler(*this, activate);
    return;
  }
  // The system picks the application by the file's kind; it comes to the
  // front on its own.
  QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path_)));
}

}  // namespace fw
