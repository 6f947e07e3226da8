#include "framework/ui/Placard.h"

#include <QFrame>

#include "framework/ui/Control_p.h"

namespace fw {

void Placard::Attach() {
  auto* frame = new QFrame(ContentOf(OwnerWindow()));
  frame->setObjectName(QString::fromStdString(Name()));
  frame->setFrameShape(QFrame::StyledPanel);
  frame->setFrameShadow(QFrame::Raised);
  frame->setAutoFillBackground(true);
  QPalette palette = frame->palette();
  palette.setColor(QPalette::Window, QColor(0xEE, 0xEE, 0xEE));
  frame->setPalette(palette);
  impl_->widget = frame;
}

}  // namespace fw
