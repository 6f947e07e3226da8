#pragma once
// The Qt side of the controls, shared by the control classes and their window.
#include <QFont>
#include <QPointer>
#include <QWidget>
#include <functional>

#include "framework/ui/Control.h"
#include "framework/ui/TextStyle.h"

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

// Whether a button's font was set, rather than left to the platform's.
bool HasOwnFont(const TextStyle& style);

// Turns mouse presses on the widget into the control's MouseDown event.
void ForwardMouseDown(QWidget* widget, std::function<bool(int x, int y)>* handler);

}  // namespace fw
