#pragma once
// The Qt side of a menu bar, shared by the bar and the windows that show it.
#include <QMenuBar>
#include <QPointer>
#include <vector>

#include "framework/ui/MenuBar.h"

namespace fw {

struct MenuBar::Impl {
  std::vector<QPointer<QMenuBar>> bars;
};

// Builds the widgets of a menu bar into a window's QMenuBar.
void AttachMenuBar(MenuBar& bar, QMenuBar* widget);

}  // namespace fw
