#include "windows/ServerMessageWindow.h"

#include "app/Design.h"
#include "framework/text/Text.h"
#include "framework/ui/Controls.h"
#include "framework/ui/Environment.h"

void ServerMessageWindow::Layout() {
  SetTitle("Message From Larkspire SW");
  SetSize(300, 144);
  SetMinSize(64, 64);
  SetMaxSize(32000, 32000);
  SetFrame(3);
  SetPlacement(4);
  SetResizeable(false);
  SetButtons(true, false, false);
  SetBackColor(true, 0xFFFECC);
  SetVisibleWhenCreated(true);
  SetMenuBarVisible(true);
}

void ServerMessageWindow::CreateControls() {
  layout::Set(Add<fw::StaticText>("ServerMessageText", 6, 6, 288, 129)).Font("System", 9)
      .Multiline();
}

bool ServerMessageWindow::Event_KeyDown(const std::string& key) {
  if (fw::StrEq(key, "w") && fw::Keyboard::CommandKey()) Close();
  return false;
}
