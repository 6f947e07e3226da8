#include "windows/ChangeLogWindow.h"

#include "app/Design.h"
#include "framework/text/Text.h"
#include "framework/ui/Controls.h"
#include "framework/ui/Environment.h"

void ChangeLogWindow::Layout() {
  SetTitle("Update Available");
  SetSize(300, 160);
  SetMinSize(64, 64);
  SetMaxSize(32000, 32000);
  SetFrame(3);
  SetPlacement(2);
  SetResizeable(true);
  SetButtons(true, true, true);
  SetBackColor(true, 0xFFFECC);
  SetVisibleWhenCreated(true);
  SetMenuBarVisible(true);
}

void ChangeLogWindow::CreateControls() {
  // The label does not follow the window when the user enlarges it.
  layout::Set(Add<fw::StaticText>("ChangeLogText", 4, 4, 292, 153)).Font("System", 9).Multiline();
}

bool ChangeLogWindow::Event_KeyDown(const std::string& key) {
  if (fw::StrEq(key, "w") && fw::Keyboard::CommandKey()) Close();
  return false;
}
