#pragma once
// The Qt side of a menu item, shared by the item and the menu bar.
#include <QAction>
#include <QMenu>
#include <QPointer>
#include <memory>
#include <vector>

#include "framework/ui/MenuItem.h"

namespace fw {

struct MenuItem::Impl {
  // The item's one definition (caption, keys, role, enabling); no bar shows it.
  std::unique_ptr<QAction> action;
  // What each window's bar shows of the item, kept in step with the
  // definition. Every bar has actions of its own: the accessibility tree
  // knows an action by one bar only, and would report it there in every
  // window, or nowhere once that window has gone.
  std::vector<QPointer<QAction>> shown;
};

// The item as one more bar shows it, owned by `owner` (the bar, or the menu
// it sits in): an action that carries the item out, or for a menu (always
// so at the top of a bar) a menu of its own with its own items.
QAction* ShowItem(MenuItem& item, QWidget* owner, bool asMenu);

// Prepares the menus of the application as one of them is about to show.
void PrepareFromQt();

}  // namespace fw
