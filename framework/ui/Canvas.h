#pragma once
#include <functional>

#include "framework/ui/Control.h"
#include "framework/ui/Picture.h"

namespace fw {

class Canvas : public Control {
 public:
  // The picture drawn at the canvas's top left corner, at its own size.
  void SetBackdrop(PicturePtr picture);
  const PicturePtr& Backdrop() const { return backdrop_; }
  void Refresh(bool eraseBackground = true);
  std::function<bool(int x, int y)> MouseDown;

 protected:
  void Attach() override;

 private:
  PicturePtr backdrop_;
};

}  // namespace fw
