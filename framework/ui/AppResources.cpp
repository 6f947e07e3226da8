#include "framework/ui/AppResources.h"

#include <QFile>
#include <atomic>

#include "framework/ui/Picture_p.h"

namespace fw {

namespace {

std::atomic<int> g_reads{0};

}  // namespace

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
  impl->number = number;
  if (bytes.trimmed().startsWith("<")) {
    impl->svg = std::move(bytes);
  } else {
    impl->raster = QImage::fromData(bytes);
    if (impl->raster.isNull()) return nullptr;
  }
  return PicturePtr(new Picture(std::move(impl)));
}

}  // namespace fw
