#include "framework/ui/Canvas.h"

#include <QPainter>

#include "framework/ui/Control_p.h"
#include "framework/ui/Picture_p.h"

namespace fw {

namespace {

class CanvasWidget : public QWidget {
 public:
  explicit CanvasWidget(QWidget* parent) : QWidget(parent) { setFocusPolicy(Qt::NoFocus); }
  PicturePtr picture;

 protected:
  void paintEvent(QPaintEvent*) override {
    if (!picture) return;
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture->impl().Pixmap(devicePixelRatioF()));
  }
};

}  // namespace

void Canvas::Attach() {
  auto* canvas = new CanvasWidget(ContentOf(OwnerWindow()));
  canvas->setObjectName(QString::fromStdString(Name()));
  ForwardMouseDown(canvas, &MouseDown);
  canvas->picture = backdrop_;
  impl_->widget = canvas;
}

void Canvas::SetBackdrop(PicturePtr picture) {
  backdrop_ = std::move(picture);
  if (auto* canvas = static_cast<CanvasWidget*>(impl_->widget.data())) {
    canvas->picture = backdrop_;
    canvas->update();
  }
}

void Canvas::Refresh(bool) {
  if (impl_->widget) impl_->widget->repaint();
}

}  // namespace fw
