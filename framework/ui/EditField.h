#pragma once
#include <string>

#include "framework/ui/Control.h"
#include "framework/ui/TextStyle.h"

namespace fw {

class EditField : public Control {
 public:
  std::string Text() const;
  void SetText(const std::string& text);
  EditField& Font(const std::string& family, int size);
  EditField& Multiline(bool on = true);
  EditField& ReadOnly(bool on = true);
  EditField& ScrollBars(bool vertical, bool horizontal);
  EditField& Border(bool on = true);
  bool IsMultiline() const { return multiline_; }
  bool IsReadOnly() const { return readOnly_; }

 protected:
  void Attach() override;

 private:
  void Rebuild();
  std::string text_;
  TextStyle style_;
  bool multiline_ = false, readOnly_ = false, vscroll_ = false, hscroll_ = false, border_ = true;
};

}  // namespace fw
