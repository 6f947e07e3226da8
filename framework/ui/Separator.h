#pragma once
#include "framework/ui/Control.h"

namespace fw {

// A horizontal rule across its rectangle.
class Separator : public Control {
 protected:
  void Attach() override;
};

}  // namespace fw
