// How pictures are drawn: once per size and screen, shared by every canvas,
// button and window icon that shows them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QToolButton>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "framework/ui/AppResources.h"
#include "framework/ui/BevelButton.h"
#include "framework/ui/Control_p.h"
#include "framework/ui/Picture.h"
#include "framework/ui/Picture_p.h"
#include "framework/ui/Prerendered.h"
#include "framework/ui/Window.h"
#include "support/TestHooks.h"

namespace {

static testsupport::RegisterHook closeWindows(testsupport::HookTime::AfterTest,
                                              [] { fw::Window::CloseAll(); });

constexpr int kArrows = 182;    // 16 x 16
constexpr int kIcon = 177;      // 32 x 32
constexpr int kBackdrop = 189;  // 302 x 50, drawn edge to edge

fw::PicturePtr Load(int number) {
  fw::AppResources* resources = fw::AppResources::Get();
  return resources ? resources->GetPicture(number) : nullptr;
}

// Whether any pixel of the pixmap is drawn at all.
bool HasInk(const QPixmap& pixmap) {
  const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qAlpha(image.pixel(x, y)) != 0) return true;
  return false;
}

class IconWin : public fw::Window {
 public:
  static IconWin& Instance() { return fw::ImplicitInstance<IconWin>(); }

 protected:
  void Layout() override { SetSize(100, 60); }
};

QIcon IconOfButton(fw::BevelButton& button) {
  return qobject_cast<QToolButton*>(button.impl().widget.data())->icon();
}

TEST(Pictures, EachSizeAndPixelRatioIsDrawnOnceWhateverTheOrderOfAsking) {
  fw::PicturePtr arrows = Load(kArrows);
  ASSERT_NE(arrows, nullptr);
  const auto& impl = arrows->impl();
  // Asked at ratio 1, then 2, then 1 again (as a canvas and a button on
  // screens of two kinds ask): the first drawing at each ratio serves later.
  const std::vector<qreal> ratios = {1.0, 2.0, 1.0, 2.0, 1.0};
  std::vector<qint64> firstKey(3, 0);
  for (qreal ratio : ratios) {
    SCOPED_TRACE(ratio);
    const QPixmap drawn = impl.Pixmap(ratio);
    EXPECT_EQ(drawn.size(), QSize(16, 16) * ratio);
    EXPECT_EQ(drawn.devicePixelRatio(), ratio);
    EXPECT_TRUE(HasInk(drawn));
    qint64& key = firstKey[static_cast<std::size_t>(ratio)];
    if (key == 0) key = drawn.cacheKey();
    EXPECT_EQ(drawn.cacheKey(), key);
  }
  EXPECT_EQ(impl.DrawnCount(), 2);
}

TEST(Pictures, ButtonsOfEveryNewWindowShareTheDrawingsOfTheirIcon) {
  fw::PicturePtr arrows = Load(kArrows);
  ASSERT_NE(arrows, nullptr);
  std::vector<qint64> normal, disabled;
  // The same picture on three windows made one after the other, as a main
  // window closed and made anew carries its refresh button's arrows.
  for (int round = 0; round < 3; ++round) {
    IconWin& win = IconWin::Instance();
    auto& button = win.Add<fw::BevelButton>("Refresh", 6, 6, 20, 20);
    button.SetIcon(arrows);
    const QIcon icon = IconOfButton(button);
    normal.push_back(icon.pixmap(QSize(16, 16), 1.0).cacheKey());
    disabled.push_back(icon.pixmap(QSize(16, 16), 1.0, QIcon::Disabled).cacheKey());
    EXPECT_EQ(icon.pixmap(QSize(16, 16), 1.0, QIcon::Disabled).cacheKey(), disabled.back());
    win.Close();
    QApplication::sendPostedEvents();
    QApplication::processEvents();
  }
  for (int round = 1; round < 3; ++round) EXPECT_EQ(normal[round], normal[0]) << round;
  EXPECT_NE(disabled[0], normal[0]);  // a disabled button greys its icon
  EXPECT_EQ(arrows->impl().DrawnCount(), 1);
}

TEST(Pictures, TheWindowIconIsDrawnAtEachSizeAskedForAndKept) {
  fw::PicturePtr picture = Load(kIcon);
  ASSERT_NE(picture, nullptr);
  const QIcon icon = fw::IconOf(picture);
  EXPECT_FALSE(icon.isNull());
  EXPECT_EQ(picture->impl().DrawnCount(), 0);  // nothing drawn until asked
  for (int side : {16, 32, 64, 128, 256, 32}) {
    SCOPED_TRACE(side);
    const QPixmap pixmap = icon.pixmap(QSize(side, side), 1.0);
    EXPECT_EQ(pixmap.size(), QSize(side, side));
    EXPECT_TRUE(HasInk(pixmap));
  }
  EXPECT_EQ(picture->impl().DrawnCount(), 5);
  EXPECT_TRUE(fw::IconOf(nullptr).isNull());
}

TEST(Pictures, AWideArtworkKeepsItsProportionsCentredInASquare) {
  fw::PicturePtr backdrop = Load(kBackdrop);
  ASSERT_NE(backdrop, nullptr);
  // 302 x 50 in a 100 x 100 square: 100 x 17 across the middle, nothing
  // above or below.
  const QImage image = backdrop->impl().Drawn(QSize(100, 100), 1.0).toImage();
  ASSERT_EQ(image.size(), QSize(100, 100));
  for (const auto& [y, inked] : std::vector<std::pair<int, bool>>{
           {0, false}, {40, false}, {45, true}, {50, true}, {55, true}, {59, false}, {99, false}}) {
    for (int x : {0, 50, 99}) EXPECT_EQ(qAlpha(image.pixel(x, y)) != 0, inked) << x << "," << y;
  }
}

// The largest difference of any channel of any pixel.
int Difference(const QImage& a, const QImage& b) {
  const QImage x = a.convertToFormat(QImage::Format_ARGB32);
  const QImage y = b.convertToFormat(QImage::Format_ARGB32);
  if (x.size() != y.size()) return 256;
  int most = 0;
  for (int row = 0; row < x.height(); ++row)
    for (int col = 0; col < x.width(); ++col) {
      const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
      for (int d : {qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q), qAlpha(p) - qAlpha(q)})
        most = std::max(most, std::abs(d));
    }
  return most;
}

TEST(Pictures, TheDrawingsMadeWhenTheProgramWasBuiltServeAStartAndMatchTheArtwork) {
  int pictures = 0;
  for (int number = 1; number < 400; ++number) {
    fw::PicturePtr built = Load(number);
    if (!built) continue;
    ++pictures;
    SCOPED_TRACE("picture " + std::to_string(number));
    const auto& impl = built->impl();
    // The same artwork with nothing made in advance: drawn now.
    fw::Picture::Impl artwork;
    artwork.svg = impl.svg;
    const QSize own = artwork.Size();
    ASSERT_FALSE(own.isEmpty());

    EXPECT_EQ(built->Width(), own.width());
    EXPECT_EQ(built->Height(), own.height());
    std::vector<std::pair<QSize, qreal>> sizes = {{own, 1.0}, {own, 2.0}};
    if (number == kIcon)
      for (int side : {16, 24, 48, 64}) sizes.push_back({QSize(side, side), 1.0});
    for (const auto& [size, ratio] : sizes) {
      const QImage ready = impl.Drawn(size, ratio).toImage();
      EXPECT_LE(Difference(ready, artwork.Drawn(size, ratio).toImage()), 2)
          << size.width() << "x" << size.height() << " at " << ratio;
      EXPECT_EQ(ready.devicePixelRatio(), ratio);
    }
    EXPECT_FALSE(impl.Parsed()) << "measured and drawn at start sizes without reading the artwork";
    // Any other size is drawn from the artwork.
    const QImage other = impl.Drawn(QSize(20, 20), 1.0).toImage();
    EXPECT_TRUE(impl.Parsed());
    EXPECT_EQ(Difference(other, artwork.Drawn(QSize(20, 20), 1.0).toImage()), 0);
  }
  EXPECT_EQ(pictures, 28);
}

TEST(Pictures, ADrawingKeptInAdvanceIsReadBackWholeOrNotAtAll) {
  QImage image(3, 2, QImage::Format_ARGB32_Premultiplied);
  image.fill(qRgba(10, 20, 30, 128));
  image.setPixel(2, 1, qRgba(200, 100, 0, 255));
  const QByteArray kept = fw::EncodePrerendered(image);
  EXPECT_EQ(Difference(fw::DecodePrerendered(kept, QSize(3, 2)), image), 0);
  const std::vector<std::pair<const char*, QByteArray>> broken = {
      {"empty", QByteArray()},       {"cut short", kept.left(kept.size() - 1)},
      {"one byte more", kept + 'x'}, {"other mark", QByteArray("XZLI") + kept.mid(4)},
      {"header only", kept.left(8)},
  };
  for (const auto& [what, bytes] : broken)
    EXPECT_TRUE(fw::DecodePrerendered(bytes, QSize(3, 2)).isNull()) << what;
  EXPECT_TRUE(fw::DecodePrerendered(kept, QSize(2, 3)).isNull()) << "other size";
  EXPECT_TRUE(fw::DecodePrerendered(kept, QSize()).isNull()) << "no size";
}

}  // namespace
