#include "windows/AboutWindow.h"

#include <cstdint>

#include "app/Pictures.h"
#include "core/Hosts.h"
#include "framework/ui/Canvas.h"
#include "framework/ui/Design.h"
#include "framework/ui/ShowURL.h"
#include "framework/ui/StaticText.h"

namespace {

using fw::Canvas;
using fw::StaticText;
using layout::Set;

constexpr std::uint32_t kLinkColour = 0x070FFF;

}  // namespace

void AboutWindow::Layout() {
  Apply({.title = "About",
         .width = 300,
         .height = 90,
         .frame = 0,
         .placement = 1,
         .resizeable = true,
         .closeButton = true,
         .minimizeButton = true,
         .maximizeButton = true,
         .hasBackColor = false,
         .backColor = 0x000000});
}

void AboutWindow::CreateControls() {
  // name, left, top, width, height, then the design-time settings, in
  // creation order. Nothing follows the window's edges when it is resized.
  // Each link label shows the very address its click opens.
  Set(Add<StaticText>("AboutVersionLabel", 54, 23, 70, 20)).Font("System", 9).Text("v1.0");
  Set(Add<StaticText>("StaticText1", 54, 10, 100, 20)).Font("System", 12).Text("Breezeling");
  Set(Add<Canvas>("RobotIcon", 10, 8, 32, 32)).Backdrop(Pictures::BreezelingIcon());
  Set(Add<StaticText>("StaticText4", 145, 35, 150, 15))
      .Font("System", 9)
      .Underline()
      .Color(kLinkColour)
      .Text(Hosts::MakersSiteURL())
      .OnMouseDown([this](int x, int y) { return StaticText4_MouseDown(x, y); });
  Set(Add<StaticText>("StaticText5", 145, 48, 150, 15))
      .Font("System", 9)
      .Underline()
      .Color(kLinkColour)
      .Text(Hosts::AuthorURL())
      .OnMouseDown([this](int x, int y) { return StaticText5_MouseDown(x, y); });
}

// Every about window shows the version, not only the one made at start.
void AboutWindow::Event_Open() { Ctl<StaticText>("AboutVersionLabel").SetText(kVersionText); }

bool AboutWindow::Event_KeyDown(const std::string& key) {
  if (IsCloseKey(key)) Close();
  return false;
}

bool AboutWindow::StaticText4_MouseDown(int, int) {
  fw::ShowURL(Hosts::MakersSiteURL());
  return false;
}

bool AboutWindow::StaticText5_MouseDown(int, int) {
  fw::ShowURL(Hosts::AuthorURL());
  return false;
}
