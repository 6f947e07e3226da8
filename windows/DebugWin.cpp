#include "windows/DebugWin.h"

#include "core/Globals.h"
#include "framework/ui/Design.h"
#include "framework/ui/EditField.h"
#include "framework/ui/StaticText.h"

namespace {

class DebugWinView final : public Views::DebugView {
 public:
  void ShowResponse(const std::string& text) override {
    DebugWin::Instance().Ctl<fw::EditField>("Response").SetText(text);
  }
};

}  // namespace

Views::DebugView& DebugWin::View() {
  static DebugWinView view;
  return view;
}

void DebugWin::Layout() {
  Apply({.title = "Debug",
         .width = 300,
         .height = 172,
         .frame = 0,
         .placement = 4,
         .resizeable = true,
         .closeButton = true,
         .minimizeButton = true,
         .maximizeButton = true,
         .hasBackColor = false,
         .backColor = 0x000000});
}

void DebugWin::CreateControls() {
  using layout::Set;
  // name, left, top, width, height, then the design-time settings. The
  // field grows with the window and wraps long lines, so a whole reply can
  // be read by scrolling down.
  Set(Add<fw::StaticText>("StaticText1", 20, 14, 100, 20)).Font("System", 12).Text("Response:");
  Set(Add<fw::EditField>("Response", 20, 37, 260, 116))
      .Font("System", 12)
      .Multiline()
      .ReadOnly()
      .ScrollBars(true, false)
      .Locks(true, true, true, true);
}

void DebugWin::Event_Open() {
  Ctl<fw::EditField>("Response").SetText(Globals::RawResponse);
  Globals::DebugWInOpen = true;
}

void DebugWin::Event_Close() { Globals::DebugWInOpen = false; }

bool DebugWin::Event_KeyDown(const std::string& key) {
  if (IsCloseKey(key)) Close();
  return false;
}
