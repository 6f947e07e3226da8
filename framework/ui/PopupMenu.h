#pragma once
#include <functional>
#include <string>
#include <vector>

#include "framework/ui/Control.h"
#include "framework/ui/TextStyle.h"

namespace fw {

class PopupMenu : public Control {
 public:
  void AddRow(const std::string& text);
  void DeleteAllRows();
  int ListCount() const { return static_cast<int>(rows_.size()); }
  std::string List(int index) const;
  // -1 when no row is selected.
  int ListIndex() const { return index_; }
  void SetListIndex(int index);
  // The selected row's text; empty with no selection.
  std::string Text() const { return List(index_); }
  PopupMenu& Font(const std::string& family, int size);

  // The selection changed (by the user or by code).
  std::function<void()> Change;

 protected:
  void Attach() override;

 private:
  std::vector<std::string> rows_;
  int index_ = -1;
  TextStyle style_;
};

}  // namespace fw
