#include "framework/ui/Picture.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>
#include <atomic>

#include "framework/ui/Picture_p.h"

namespace fw {

namespace {
std::atomic<int> g_reads{0};
}

Picture::Picture(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Picture::~Picture() = default;

int Picture::Width() const { return impl_->size.width(); }
int Picture::Height() const { return impl_->size.height(); }

QPixmap Picture::Impl::Pixmap(qreal ratio, bool opaqueOnWhite) const {
  if (ratio <= 0) ratio = 1;
  if (!cached.isNull() && cachedRatio == ratio) return cached;
  QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
  image.fill(opaqueOnWhite ? Qt::white : Qt::transparent);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    QRectF target(QPointF(0, 0), QSizeF(size) * ratio);
    if (!svg.isEmpty()) {
      QSvgRenderer renderer(svg);
      renderer.render(&painter, target);
    } else {
      painter.drawImage(target, raster);
    }
  }
  cached = QPixmap::fromImage(image);
  cached.setDevicePixelRatio(ratio);
  cachedRatio = ratio;
  return cached;
}

AppResources* AppResources::Get() {
  static AppResources resources;
  // The pictures are linked into the program; without them there is no
  // resource fork to speak of.
  if (!QFile::exists(QStringLiteral(":/pictures"))) return nullptr;
  return &resources;
}

int AppResources::ReadCount() { return g_reads.load(); }

PicturePtr AppResources::GetPicture(int number) const {
  const QString path = QStringLiteral(":/pictures/%1").arg(number);
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return nullptr;
  ++g_reads;
  QByteArray bytes = file.readAll();
  auto impl = std::make_unique<Picture::Impl>();
  if (bytes.trimmed().startsWith("<")) {
    QSvgRenderer renderer(bytes);
    if (!renderer.isValid()) return nullptr;
    impl->svg = bytes;
    impl->size = renderer.defaultSize();
  } else {
    impl->raster = QImage::fromData(bytes);
    if (impl->raster.isNull()) return nullptr;
    impl->size = impl->raster.size();
  }
  return PicturePtr(new Picture(std::move(impl)));
}

}  // namespace fw
