#pragma once
#include <QFont>
#include <QPointer>
#include <QWidget>

#include "framework/ui/Controls.h"

namespace fw {

struct Control::Impl {
  QPointer<QWidget> widget;
};

// The window's content area, where controls live; asking for it makes the
// window's widgets if they are not made yet.
QWidget* ContentOf(Window* window);
// The same, or none while the window's widgets are not made.
QWidget* MadeContentOf(Window* window);

// A font as the layouts give it: sizes are pixel sizes, "System" is the
// platform's interface font and other families fall back to sans-serif.
QFont MakeFont(const TextStyle& style);

}  // namespace fw
