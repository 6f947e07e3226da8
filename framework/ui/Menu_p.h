#pragma once
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <memory>
#include <vector>

#include "framework/ui/Menu.h"

namespace fw {

struct MenuItem::Impl {
  std::unique_ptr<QAction> action;
  std::unique_ptr<QMenu> menu;  // made when the item gets children
};

struct MenuBar::Impl {
  std::vector<QPointer<QMenuBar>> bars;
};

// Builds the widgets of a menu bar into a window's QMenuBar.
void AttachMenuBar(MenuBar& bar, QMenuBar* widget);

}  // namespace fw
