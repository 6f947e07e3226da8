#pragma once
#include "framework/ui/Control.h"

namespace fw {

// A spinner that turns while it is visible.
class ChasingArrows : public Control {
 protected:
  void Attach() override;
};

}  // namespace fw
