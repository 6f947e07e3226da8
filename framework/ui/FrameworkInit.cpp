#include "framework/ui/FrameworkInit.h"

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include "framework/ui/Picture.h"
#include "framework/ui/Picture_p.h"
#include "framework/ui/Window.h"

namespace fw {

namespace {

constexpr int kIconPicture = 177;

// Deleted by ShutdownFramework, never by the end of the process: a process
// that ends through exit() leaves the toolkit, like its windows, to the
// system (see the window registry).
QApplication*& OwnedApplication() {
  static QApplication* app = nullptr;
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
  if (!QApplication::instance()) OwnedApplication() = new QApplication(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Breezeling"));
  // A program built without its pictures simply has the platform's icon.
  if (AppResources* resources = AppResources::Get()) {
    if (PicturePtr picture = resources->GetPicture(kIconPicture)) {
      QApplication::setWindowIcon(IconOf(*picture));
    }
  }
}

int ShutdownFramework() {
  // Windows still open go while the toolkit they are made of is there.
  Window::CloseAll();
  delete OwnedApplication();
  OwnedApplication() = nullptr;
  return 0;
}

}  // namespace fw
