#pragma once
// The menu bar: the menus of the application, shown in its windows.
#include <memory>
#include <string>
#include <utility>

#include "framework/ui/MenuItem.h"

namespace fw {

class MenuBar {
 public:
  MenuBar();
  virtual ~MenuBar();
  MenuBar(const MenuBar&) = delete;
  MenuBar& operator=(const MenuBar&) = delete;

  int Count() const { return root_.Count(); }
  MenuItem* Item(int index) const { return root_.Item(index); }
  MenuItem* Child(const std::string& name) const { return root_.Child(name); }
  MenuItem* Lookup(const std::string& name) const { return root_.Lookup(name); }
  MenuItem* Append(std::unique_ptr<MenuItem> menu) { return root_.Append(std::move(menu)); }

  // The framework's preparation of the menus: AutoEnable items are enabled,
  // then the application's EnableMenuItems event runs.
  void PrepareMenus();

 private:
  MenuItem root_;
};

}  // namespace fw
