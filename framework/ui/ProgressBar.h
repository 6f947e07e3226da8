#pragma once
#include "framework/ui/Control.h"

namespace fw {

class ProgressBar : public Control {
 public:
  int Value() const { return value_; }
  void SetValue(int value);
  int Maximum() const { return maximum_; }
  void SetMaximum(int maximum);

 protected:
  void Attach() override;

 private:
  int value_ = 0, maximum_ = 100;
};

}  // namespace fw
