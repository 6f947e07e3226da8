#include "windows/ServerMessageWindow.h"

#include "framework/ui/Design.h"
#include "framework/ui/StaticText.h"

namespace {

class ServerMessageWindowView final : public Views::ServerMessageView {
 public:
  void Show(const std::string& message) override {
    ServerMessageWindow& window = ServerMessageWindow::Instance();
    window.Show();
    window.Ctl<fw::StaticText>("ServerMessageText").SetText(message);
  }
};

}  // namespace

Views::ServerMessageView& ServerMessageWindow::View() {
  static ServerMessageWindowView view;
  return view;
}

void ServerMessageWindow::Layout() {
  Apply({.title = "Message From Larkspire SW",
         .width = 300,
         .height = 144,
         .frame = 3,
         .placement = 4,
         .resizeable = false,
         .closeButton = true,
         .minimizeButton = false,
         .maximizeButton = false,
         .hasBackColor = true,
         .backColor = 0xFFFECC});
}

void ServerMessageWindow::CreateControls() {
  layout::Set(Add<fw::StaticText>("ServerMessageText", 6, 6, 288, 129)).Font("System", 9).Multiline();
}

bool ServerMessageWindow::Event_KeyDown(const std::string& key) {
  if (IsCloseKey(key)) Close();
  return false;
}
