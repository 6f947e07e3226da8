#include "framework/ui/FrameworkInit.h"

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <memory>

#include "framework/ui/Picture.h"
#include "framework/ui/Picture_p.h"

namespace fw {

namespace {

constexpr int kIconPicture = 177;

std::unique_ptr<QApplication>& OwnedApplication() {
  static std::unique_ptr<QApplication> app;
  return app;
}

// The icon at the sizes window managers and task bars ask for, drawn from
// the artwork rather than scaled from one small bitmap.
QIcon IconOf(const Picture& picture) {
  QIcon icon;
  for (int side : {16, 24, 32, 48, 64, 128, 256}) {
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF target(0, 0, side, side);
    if (!picture.impl().svg.isEmpty()) {
      QSvgRenderer renderer(picture.impl().svg);
      renderer.setAspectRatioMode(Qt::KeepAspectRatio);
      renderer.render(&painter, target);
    } else if (!picture.impl().raster.isNull()) {
      QImage scaled = picture.impl().raster.scaled(side, side, Qt::KeepAspectRatio,
                                                   Qt::SmoothTransformation);
      painter.drawImage(QPointF((side - scaled.width()) / 2.0, (side - scaled.height()) / 2.0),
                        scaled);
    }
    painter.end();
    icon.addPixmap(QPixmap::fromImage(image));
  }
  return icon;
}

}  // namespace

void InitFramework(int& argc, char** argv) {
  if (!QApplication::instance()) OwnedApplication() = std::make_unique<QApplication>(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Breezeling"));
  // A program built without its pictures simply has the platform's icon.
  if (AppResources* resources = AppResources::Get()) {
    if (PicturePtr picture = resources->GetPicture(kIconPicture)) {
      QApplication::setWindowIcon(IconOf(*picture));
    }
  }
}

int ShutdownFramework() {
  OwnedApplication().reset();
  return 0;
}

}  // namespace fw
