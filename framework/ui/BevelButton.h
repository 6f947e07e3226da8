#pragma once
#include <functional>
#include <string>

#include "framework/ui/Control.h"
#include "framework/ui/Picture.h"
#include "framework/ui/TextStyle.h"

namespace fw {

class BevelButton : public Control {
 public:
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  BevelButton& CaptionSize(int size);
  void SetIcon(PicturePtr icon);
  const PicturePtr& Icon() const { return icon_; }
  void Push();
  std::function<void()> Action;

 protected:
  void Attach() override;

 private:
  std::string caption_;
  TextStyle style_;
  PicturePtr icon_;
};

}  // namespace fw
