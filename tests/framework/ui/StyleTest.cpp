// The framework's style draws what the platform's style draws.
#include <gtest/gtest.h>

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QStyleFactory>
#include <memory>

#include "framework/ui/FrameworkStyle_p.h"

namespace {

QImage Drawn(const QIcon& icon, int side, QIcon::Mode mode = QIcon::Normal) {
  return icon.pixmap(QSize(side, side), 1.0, mode).toImage().convertToFormat(QImage::Format_ARGB32);
}

TEST(Style, StandardIconsLookAsThePlatformStyleDrawsThem) {
  auto* style = new fw::FrameworkStyle;  // owns the platform's style it wraps
  std::unique_ptr<QStyle> owner(style);
  QStyle* platform = style->baseStyle();
  ASSERT_NE(platform, nullptr);
  // The overflow arrows, read when drawn, and icons passed straight through.
  for (QStyle::StandardPixmap which :
       {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_ToolBarVerticalExtensionButton,
        QStyle::SP_MessageBoxWarning, QStyle::SP_TitleBarCloseButton}) {
    SCOPED_TRACE(static_cast<int>(which));
    const QIcon ours = style->standardIcon(which);
    const QIcon theirs = platform->standardIcon(which);
    EXPECT_EQ(ours.isNull(), theirs.isNull());
    for (int side : {8, 16, 32}) {
      EXPECT_EQ(Drawn(ours, side), Drawn(theirs, side)) << side;
      EXPECT_EQ(Drawn(ours, side, QIcon::Disabled), Drawn(theirs, side, QIcon::Disabled)) << side;
    }
    EXPECT_EQ(ours.availableSizes(), theirs.availableSizes());
  }
}

}  // namespace
