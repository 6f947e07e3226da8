#pragma once
#include <QByteArray>
#include <QPixmap>
#include <QSize>

#include "framework/ui/Picture.h"

namespace fw {

struct Picture::Impl {
  QByteArray svg;       // vector artwork, drawn at the screen's pixel ratio
  QImage raster;        // raster artwork
  QSize size;
  mutable QPixmap cached;
  mutable qreal cachedRatio = 0;

  // The picture at its own size for a device with the given pixel ratio.
  QPixmap Pixmap(qreal ratio, bool opaqueOnWhite) const;
};

}  // namespace fw
