#include <QIconEngine>
#include <QPainter>
#include <QPointer>

#include "framework/ui/FrameworkStyle_p.h"

namespace fw {

namespace {

// Stands for a standard icon of a style until the icon is first used.
class DeferredStandardIcon : public QIconEngine {
 public:
  DeferredStandardIcon(QStyle* style, QStyle::StandardPixmap which) : style_(style), which_(which) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    Real().paint(painter, rect, Qt::AlignCenter, mode, state);
  }
  QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return Real().actualSize(size, mode, state);
  }
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return Real().pixmap(size, 1.0, mode, state);
  }
  QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
    // QIcon asks with the size in device pixels.
    const QSize logical = scale > 0 ? (QSizeF(size) / scale).toSize() : size;
    return Real().pixmap(logical, scale, mode, state);
  }
  QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
    return Real().availableSizes(mode, state);
  }
  QIconEngine* clone() const override { return new DeferredStandardIcon(style_, which_); }
  QString key() const override { return QStringLiteral("fw-deferred-standard"); }
  bool isNull() override { return !style_; }

 private:
  const QIcon& Real() {
    if (!loaded_) {
      loaded_ = true;
      if (style_) real_ = style_->standardIcon(which_);
    }
    return real_;
  }

  QPointer<QStyle> style_;
  QStyle::StandardPixmap which_;
  bool loaded_ = false;
  QIcon real_;
};

}  // namespace

QIcon FrameworkStyle::standardIcon(StandardPixmap which, const QStyleOption* option,
                                   const QWidget* widget) const {
  if (which == SP_ToolBarHorizontalExtensionButton || which == SP_ToolBarVerticalExtensionButton)
    return QIcon(new DeferredStandardIcon(baseStyle(), which));
  return QProxyStyle::standardIcon(which, option, widget);
}

}  // namespace fw
