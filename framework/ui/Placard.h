#pragma once
#include "framework/ui/Control.h"

namespace fw {

// A flat panel.
class Placard : public Control {
 protected:
  void Attach() override;
};

}  // namespace fw
