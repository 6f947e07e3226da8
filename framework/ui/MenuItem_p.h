#pragma once
// The Qt side of a menu item, shared by the item and the menu bar.
#include <QAction>
#include <QMenu>
#include <memory>

#include "framework/ui/MenuItem.h"

namespace fw {

struct MenuItem::Impl {
  std::unique_ptr<QAction> action;
  std::unique_ptr<QMenu> menu;  // made when the item gets children
};

// Prepares the menus of the application as one of them is about to show.
void PrepareFromQt();

}  // namespace fw
