#include "framework/ui/MsgBox.h"

#include <QApplication>
#include <QMessageBox>

#include "framework/ui/PlainText.h"

namespace fw {

namespace {
MsgBoxHandler& Handler() {
  static MsgBoxHandler handler;
  return handler;
}
}  // namespace

void SetMsgBoxHandler(MsgBoxHandler handler) { Handler() = std::move(handler); }

void MsgBox(const std::string& text) {
  if (Handler()) {
    // Copy first: the handler may replace itself while it runs.
    MsgBoxHandler handler = Handler();
    handler(text);
    return;
  }
  QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), DisplayText(text),
                  QMessageBox::Ok);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

}  // namespace fw
