#pragma once
// The window icon: which built-in picture it is, and the sizes it is drawn
// at for the desktop. Task bars and switchers use 64 pixels at most, and
// X11 draws the icon twice for each new window, so fewer and smaller sizes
// than Qt's own choice (16 to 128) cost less at every window's start.
#include <QList>
#include <QSize>

namespace fw {

constexpr int kWindowIconPicture = 177;

inline QList<QSize> WindowIconSizes() {
  return {QSize(16, 16), QSize(24, 24), QSize(32, 32), QSize(48, 48), QSize(64, 64)};
}

}  // namespace fw
