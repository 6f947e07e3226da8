#pragma once
#include "framework/ui/MenuItem.h"

namespace fw {

// Shown in the application's own menu where the platform has one (macOS);
// elsewhere it stays in the menu it was appended to.
class AppleMenuItem : public MenuItem {
 public:
  Kind ItemKind() const override { return Kind::Apple; }
};

}  // namespace fw
