// Draws the program's pictures when it is built, at the sizes a start shows
// them: each at its own size for pixel ratios 1 and 2, and the window icon
// at the sizes the desktop asks for. It draws them exactly as the running
// program would (the same drawing code), writes each in the form that
// fw::EncodePrerendered gives it, each picture's own size as text, and a
// resource file that lists them all.
//
//   breezeling-prerender OUT_DIR ARTWORK.svg...   (each file named NUMBER.svg)
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QSaveFile>
#include <cstdio>

#include "framework/ui/Picture_p.h"
#include "framework/ui/Prerendered.h"
#include "framework/ui/WindowIcon.h"

namespace {

bool Fail(const QString& what) {
  std::fprintf(stderr, "breezeling-prerender: %s\n", qPrintable(what));
  return false;
}

bool Save(const QString& path, const QByteArray& bytes) {
  QSaveFile out(path);
  if (out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size() && out.commit()) return true;
  return Fail(QStringLiteral("cannot write %1").arg(path));
}

class Output {
 public:
  explicit Output(QString dir) : dir_(std::move(dir)) {}

  // Keeps the bytes under the resource path the program asks for.
  bool Add(const QString& resourcePath, const QByteArray& bytes) {
    const QString alias = resourcePath.mid(QStringLiteral(":/prerendered/").size());
    QString file = alias;
    file.replace(QChar('/'), QChar('-')).replace(QChar('@'), QChar('_'));
    if (!Save(dir_ + QChar('/') + file, bytes)) return false;
    qrc_ += QStringLiteral("    <file alias=\"%1\">%2</file>\n").arg(alias, file).toUtf8();
    return true;
  }

  bool AddDrawing(const fw::Picture::Impl& picture, int number, QSize size, int ratio) {
    const QByteArray drawing = fw::EncodePrerendered(picture.Drawn(size, ratio).toImage());
    if (drawing.isEmpty())
      return Fail(QStringLiteral("cannot draw picture %1 at %2 x %3, ratio %4")
                      .arg(number)
                      .arg(size.width())
                      .arg(size.height())
                      .arg(ratio));
    return Add(fw::PrerenderedDrawing(number, size, ratio), drawing);
  }

  // The list goes last: the build takes its date as the date of the whole.
  bool Finish() {
    return Save(dir_ + QStringLiteral("/prerendered.qrc"),
                "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n  <qresource prefix=\"/prerendered\">\n" + qrc_ +
                    "  </qresource>\n</RCC>\n");
  }

 private:
  QString dir_;
  QByteArray qrc_;
};

bool Prerender(Output& out, const QString& path) {
  bool numbered = false;
  const int number = QFileInfo(path).completeBaseName().toInt(&numbered);
  QFile file(path);
  if (!numbered || number <= 0) return Fail(QStringLiteral("%1 is not named after its number").arg(path));
  if (!file.open(QIODevice::ReadOnly)) return Fail(QStringLiteral("cannot read %1").arg(path));
  fw::Picture::Impl picture;
  picture.svg = file.readAll();  // no number: drawn from the artwork itself
  const QSize own = picture.Size();
  if (own.isEmpty()) return Fail(QStringLiteral("%1 does not parse").arg(path));
  if (!out.Add(fw::PrerenderedSize(number),
               QByteArray::number(own.width()) + ' ' + QByteArray::number(own.height())))
    return false;
  for (int ratio : {1, 2})
    if (!out.AddDrawing(picture, number, own, ratio)) return false;
  if (number == fw::kWindowIconPicture)
    for (const QSize& size : fw::WindowIconSizes())
      if (size != own && !out.AddDrawing(picture, number, size, 1)) return false;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: breezeling-prerender OUT_DIR ARTWORK.svg...\n");
    return 2;
  }
  Output out(QString::fromLocal8Bit(argv[1]));
  for (int i = 2; i < argc; ++i)
    if (!Prerender(out, QString::fromLocal8Bit(argv[i]))) return 1;
  return out.Finish() ? 0 : 1;
}
