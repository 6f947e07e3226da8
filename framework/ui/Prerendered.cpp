#include "framework/ui/Prerendered.h"

namespace fw {

namespace {

constexpr qsizetype kHeader = 8;

}  // namespace

QString PrerenderedDrawing(int number, QSize size, int ratio) {
  return QStringLiteral(":/prerendered/%1/%2x%3@%4")
      .arg(number)
      .arg(size.width())
      .arg(size.height())
      .arg(ratio);
}

QString PrerenderedSize(int number) { return QStringLiteral(":/prerendered/%1/size").arg(number); }

QByteArray EncodePrerendered(const QImage& image) {
  const QImage pixels = image.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
  if (pixels.isNull() || pixels.width() > 0xFFFF || pixels.height() > 0xFFFF) return QByteArray();
  QByteArray bytes("BZLI");
  for (int value : {pixels.width(), pixels.height()}) {
    bytes.append(static_cast<char>(value & 0xFF));
    bytes.append(static_cast<char>((value >> 8) & 0xFF));
  }
  for (int y = 0; y < pixels.height(); ++y)
    bytes.append(reinterpret_cast<const char*>(pixels.constScanLine(y)), qsizetype(pixels.width()) * 4);
  return bytes;
}

QImage DecodePrerendered(const QByteArray& bytes, QSize pixels) {
  if (pixels.isEmpty() || !bytes.startsWith("BZLI")) return QImage();
  if (bytes.size() != kHeader + qsizetype(pixels.width()) * pixels.height() * 4) return QImage();
  const auto at = [&](int i) {
    return static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8;
  };
  if (at(4) != pixels.width() || at(6) != pixels.height()) return QImage();
  const QImage view(reinterpret_cast<const uchar*>(bytes.constData()) + kHeader, pixels.width(),
                    pixels.height(), pixels.width() * 4, QImage::Format_RGBA8888_Premultiplied);
  // A copy of its own: the bytes go when the caller is done with them.
  return view.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

}  // namespace fw
