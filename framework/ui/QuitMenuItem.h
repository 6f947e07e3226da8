#pragma once
#include "framework/ui/MenuItem.h"

namespace fw {

// Choosing it quits the application.
class QuitMenuItem : public MenuItem {
 public:
  Kind ItemKind() const override { return Kind::Quit; }
};

}  // namespace fw
