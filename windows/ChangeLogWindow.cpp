#include "windows/ChangeLogWindow.h"

#include "framework/ui/Design.h"
#include "framework/ui/StaticText.h"

namespace {

class ChangeLogWindowView final : public Views::ChangeLogView {
 public:
  void Show(const std::string& changeLog) override {
    ChangeLogWindow& window = ChangeLogWindow::Instance();
    window.Show();
    window.Ctl<fw::StaticText>("ChangeLogText").SetText(changeLog);
  }
};

}  // namespace

Views::ChangeLogView& ChangeLogWindow::View() {
  static ChangeLogWindowView view;
  return view;
}

void ChangeLogWindow::Layout() {
  Apply({.title = "Update Available",
         .width = 300,
         .height = 160,
         .frame = 3,
         .placement = 2,
         .resizeable = true,
         .closeButton = true,
         .minimizeButton = true,
         .maximizeButton = true,
         .hasBackColor = true,
         .backColor = 0xFFFECC});
}

void ChangeLogWindow::CreateControls() {
  // The label does not follow the window when the user enlarges it.
  layout::Set(Add<fw::StaticText>("ChangeLogText", 4, 4, 292, 153)).Font("System", 9).Multiline();
}

bool ChangeLogWindow::Event_KeyDown(const std::string& key) {
  if (IsCloseKey(key)) Close();
  return false;
}
