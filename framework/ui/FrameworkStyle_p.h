#pragma once
#include <QProxyStyle>

namespace fw {

// The platform's style, except that the arrows a menu bar shows when its
// menus do not fit are read from the style's image files only when they
// are drawn. Every window's menu bar makes that button (hidden unless the
// menus overflow), and reading the first image file loads every image
// format plug-in the toolkit has: milliseconds of a start that shows none.
class FrameworkStyle : public QProxyStyle {
 public:
  QIcon standardIcon(StandardPixmap which, const QStyleOption* option = nullptr,
                     const QWidget* widget = nullptr) const override;
};

}  // namespace fw
