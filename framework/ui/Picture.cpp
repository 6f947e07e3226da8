#include "framework/ui/Picture.h"

#include <QApplication>
#include <QFile>
#include <QIconEngine>
#include <QPainter>
#include <QResource>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>

#include "framework/ui/Picture_p.h"
#include "framework/ui/Prerendered.h"
#include "framework/ui/WindowIcon.h"

namespace fw {

namespace {

// Drawings kept per picture. A picture is asked for at its own size and,
// as the window icon, at a few icon sizes, on one or two screens: a few
// entries serve it, and a bound keeps any caller from growing it.
constexpr std::size_t kKeptDrawings = 12;

class PictureIconEngine : public QIconEngine {
 public:
  explicit PictureIconEngine(PicturePtr picture) : picture_(std::move(picture)) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    painter->drawPixmap(rect, scaledPixmap(rect.size() * ratio, mode, state, ratio));
  }

  QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }

  // Without a list, Qt draws the X11 window icon at 16 to 128 pixels.
  QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return WindowIconSizes(); }

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return scaledPixmap(size, mode, state, 1.0);
  }

  // size is in device pixels, as QIcon asks for it.
  QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State, qreal scale) override {
    if (scale <= 0) scale = 1.0;
    const QSize logical = (QSizeF(size) / scale).toSize();
    QPixmap drawn = picture_->impl().Drawn(logical, scale);
    if (mode == QIcon::Normal || mode == QIcon::Active || drawn.isNull()) return drawn;
    // A disabled or selected icon looks as the style makes it from the
    // normal one, as it does for any icon; the last one made is kept.
    if (styled_.isNull() || styledFrom_ != drawn.cacheKey() || styledMode_ != mode) {
      QStyleOption option;
      option.palette = QGuiApplication::palette();
      styled_ =
          QApplication::style() ? QApplication::style()->generatedIconPixmap(mode, drawn, &option) : drawn;
      styledFrom_ = drawn.cacheKey();
      styledMode_ = mode;
    }
    return styled_;
  }

  QIconEngine* clone() const override { return new PictureIconEngine(picture_); }
  QString key() const override { return QStringLiteral("fw-picture"); }
  bool isNull() override { return !picture_; }

 private:
  PicturePtr picture_;
  QPixmap styled_;
  qint64 styledFrom_ = 0;
  QIcon::Mode styledMode_ = QIcon::Normal;
};

}  // namespace

Picture::Picture(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Picture::~Picture() = default;

int Picture::Width() const { return impl_->Size().width(); }
int Picture::Height() const { return impl_->Size().height(); }

Picture::Impl::Impl() = default;
Picture::Impl::~Impl() = default;

QSvgRenderer* Picture::Impl::Renderer() const {
  if (!parsed_ && !svg.isEmpty()) {
    parsed_ = true;
    auto renderer = std::make_unique<QSvgRenderer>(svg);
    // Artwork that does not parse draws nothing and has no size.
    if (renderer->isValid()) renderer_ = std::move(renderer);
  }
  return renderer_.get();
}

QSize Picture::Impl::BuiltSize() const {
  if (!builtSizeRead_) {
    builtSizeRead_ = true;
    QFile file(PrerenderedSize(number));
    if (number > 0 && file.open(QIODevice::ReadOnly)) {
      const QList<QByteArray> parts = file.readAll().simplified().split(' ');
      bool wide = false, high = false;
      const int width = parts.size() == 2 ? parts[0].toInt(&wide) : 0;
      const int height = parts.size() == 2 ? parts[1].toInt(&high) : 0;
      if (wide && high && width > 0 && height > 0) builtSize_ = QSize(width, height);
    }
  }
  return builtSize_;
}

QImage Picture::Impl::BuiltDrawing(QSize size, qreal ratio) const {
  if (number <= 0 || (ratio != 1 && ratio != 2)) return QImage();
  const QResource drawing(PrerenderedDrawing(number, size, static_cast<int>(ratio)));
  if (!drawing.isValid()) return QImage();
  return DecodePrerendered(drawing.uncompressedData(), size * ratio);
}

QSize Picture::Impl::Size() const {
  if (!raster.isNull()) return raster.size();
  if (!parsed_ && BuiltSize().isValid()) return builtSize_;
  const QSvgRenderer* renderer = Renderer();
  return renderer ? renderer->defaultSize() : QSize();
}

QPixmap Picture::Impl::Drawn(QSize target, qreal ratio) const {
  if (!(ratio > 0)) ratio = 1;
  if (target.isEmpty()) return QPixmap();
  const QSize pixels = target * ratio;
  for (const Drawing& drawing : drawn_)
    if (drawing.pixels == pixels && drawing.ratio == ratio) return drawing.pixmap;

  QImage image = svg.isEmpty() ? QImage() : BuiltDrawing(target, ratio);
  if (image.isNull()) {
    image = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    // The artwork keeps its proportions, centred in the target.
    const QSize own = Size();
    QSizeF fitted = QSizeF(own).scaled(QSizeF(pixels), Qt::KeepAspectRatio);
    if (own.isEmpty()) fitted = QSizeF(pixels);
    const QRectF at(
        QPointF((pixels.width() - fitted.width()) / 2.0, (pixels.height() - fitted.height()) / 2.0), fitted);
    // What the artwork draws outside its own frame stays out, as it does
    // at its own size.
    painter.setClipRect(at);
    if (QSvgRenderer* renderer = Renderer()) {
      renderer->render(&painter, at);
    } else {
      painter.drawImage(at, raster);
    }
  }
  image.setDevicePixelRatio(ratio);
  if (drawn_.size() >= kKeptDrawings) drawn_.erase(drawn_.begin());
  drawn_.push_back({pixels, ratio, QPixmap::fromImage(std::move(image))});
  return drawn_.back().pixmap;
}

QIcon IconOf(const PicturePtr& picture) {
  if (!picture) return QIcon();
  return QIcon(new PictureIconEngine(picture));
}

}  // namespace fw
