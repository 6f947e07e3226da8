#include "framework/ui/ChasingArrows.h"

#include <QPainter>
#include <QTimer>
#include <algorithm>

#include "framework/ui/Control_p.h"

namespace fw {

namespace {

class SpinnerWidget : public QWidget {
 public:
  explicit SpinnerWidget(QWidget* parent) : QWidget(parent) {
    // It turns over other controls (the refresh button): clicks go through.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    timer_.setInterval(80);
    QObject::connect(&timer_, &QTimer::timeout, this, [this] {
      step_ = (step_ + 1) % 12;
      update();
    });
  }

 protected:
  void showEvent(QShowEvent*) override { timer_.start(); }
  void hideEvent(QHideEvent*) override { timer_.stop(); }
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(width() / 2.0, height() / 2.0);
    const qreal radius = std::min(width(), height()) / 2.0 - 1.5;
    for (int i = 0; i < 12; ++i) {
      int age = (step_ - i + 12) % 12;
      QColor colour(40, 40, 40, 255 - age * 19);
      painter.save();
      painter.translate(centre);
      painter.rotate(i * 30.0);
      painter.setPen(QPen(colour, 1.6, Qt::SolidLine, Qt::RoundCap));
      painter.drawLine(QPointF(0, -radius * 0.45), QPointF(0, -radius));
      painter.restore();
    }
  }

 private:
  QTimer timer_;
  int step_ = 0;
};

}  // namespace

void ChasingArrows::Attach() {
  auto* spinner = new SpinnerWidget(ContentOf(OwnerWindow()));
  spinner->setObjectName(QString::fromStdString(Name()));
  impl_->widget = spinner;
}

}  // namespace fw
