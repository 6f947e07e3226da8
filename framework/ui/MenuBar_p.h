#pragma once
// The Qt side of a menu bar, shared by the bar and the windows that show it.
#include <QMenuBar>

#include "framework/ui/MenuBar.h"

namespace fw {

// Builds a window's own widgets of a menu bar into its QMenuBar.
void AttachMenuBar(MenuBar& bar, QMenuBar* widget);

}  // namespace fw
