#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "framework/ui/Control.h"
#include "framework/ui/TextStyle.h"

namespace fw {

// A one-line label never cuts its text off at its edge: a text too wide
// for it is shown in a smaller size when the label allows one, and what
// still does not fit ends in an ellipsis, with the whole text as the
// label's tooltip and accessible description.
class StaticText : public Control {
 public:
  const std::string& Text() const { return text_; }
  void SetText(const std::string& text);
  StaticText& Font(const std::string& family, int size);
  // Lets a text too wide at the label's size be shown in a smaller one,
  // down to smallestSize pixels (0, the default: only at the label's size).
  StaticText& ShrinkToFit(int smallestSize);
  StaticText& Underline(bool on = true);
  StaticText& Bold(bool on = true);
  StaticText& TextColor(std::uint32_t rgb);
  StaticText& Alignment(Align align);
  StaticText& Multiline(bool on = true);
  const TextStyle& Style() const { return style_; }
  bool IsMultiline() const { return multiline_; }

  // Mouse button pressed on the label (x, y inside it); returns whether
  // the click was consumed.
  std::function<bool(int x, int y)> MouseDown;

 protected:
  void Attach() override;
  void Resized() override;

 private:
  void ApplyStyle();
  std::string text_;
  TextStyle style_;
  int smallestSize_ = 0;
  bool multiline_ = false;
};

}  // namespace fw
