#include "framework/ui/Separator.h"

#include <QFrame>

#include "framework/ui/Control_p.h"

namespace fw {

void Separator::Attach() {
  auto* line = new QFrame(ContentOf(OwnerWindow()));
  line->setObjectName(QString::fromStdString(Name()));
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  impl_->widget = line;
}

}  // namespace fw
