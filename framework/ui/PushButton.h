#pragma once
#include <functional>
#include <string>

#include "framework/ui/Control.h"
#include "framework/ui/TextStyle.h"

namespace fw {

class PushButton : public Control {
 public:
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  PushButton& Font(const std::string& family, int size);
  // Return/Enter presses the default button, Escape the cancel button.
  PushButton& Default(bool on = true);
  PushButton& Cancel(bool on = true);
  bool IsDefault() const { return default_; }
  bool IsCancel() const { return cancel_; }
  // Clicks the button as the user would (nothing when disabled or hidden).
  void Push();
  std::function<void()> Action;

 protected:
  void Attach() override;

 private:
  std::string caption_;
  TextStyle style_;
  bool default_ = false, cancel_ = false;
};

}  // namespace fw
