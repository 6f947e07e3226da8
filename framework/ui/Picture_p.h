#pragma once
#include <QByteArray>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSize>
#include <memory>
#include <vector>

#include "framework/ui/Picture.h"

class QSvgRenderer;

namespace fw {

struct Picture::Impl {
  Impl();
  ~Impl();

  QByteArray svg;  // vector artwork, as read; parsed when first drawn or measured
  QImage raster;   // raster artwork
  int number = 0;  // its resource number; 0 for artwork from elsewhere

  // The picture's own size.
  QSize Size() const;

  // The picture drawn to fill a square or rectangle of the given size
  // (keeping its proportions, centred) for a device with the given pixel
  // ratio. Each drawing is kept: every canvas, button and window icon that
  // shows the picture at that size shares one pixmap, which Qt's own
  // caches then know by one key.
  QPixmap Drawn(QSize size, qreal ratio) const;
  // At the picture's own size.
  QPixmap Pixmap(qreal ratio) const { return Drawn(Size(), ratio); }
  // How many drawings are kept (lets tests prove they are shared).
  int DrawnCount() const { return static_cast<int>(drawn_.size()); }
  // Whether the vector artwork has been parsed (lets tests prove that the
  // drawings made when the program was built served).
  bool Parsed() const { return parsed_; }

 private:
  struct Drawing {
    QSize pixels;
    qreal ratio;
    QPixmap pixmap;
  };
  mutable std::vector<Drawing> drawn_;
  // The vector artwork parsed, once: a picture that is never shown (the
  // hidden windows' at start) is never parsed.
  QSvgRenderer* Renderer() const;
  mutable std::unique_ptr<QSvgRenderer> renderer_;
  mutable bool parsed_ = false;
  // The own size as written when the program was built, read once.
  mutable QSize builtSize_;
  mutable bool builtSizeRead_ = false;
  QSize BuiltSize() const;
  // The drawing made when the program was built, if there is one.
  QImage BuiltDrawing(QSize size, qreal ratio) const;
};

// An icon that draws the picture at whatever size is asked of it, when it
// is asked: a window icon or a button icon costs nothing until shown.
QIcon IconOf(const PicturePtr& picture);

}  // namespace fw
