#include "framework/ui/ShowURL.h"

#include <QDesktopServices>
#include <QUrl>

namespace fw {

namespace {
ShowURLHandler& Handler() {
  static ShowURLHandler handler;
  return handler;
}
}  // namespace

void SetShowURLHandler(ShowURLHandler handler) { Handler() = std::move(handler); }

void ShowURL(const std::string& url) {
  if (Handler()) {
    ShowURLHandler handler = Handler();
    handler(url);
    return;
  }
  QDesktopServices::openUrl(QUrl::fromUserInput(QString::fromStdString(url)));
}

}  // namespace fw
