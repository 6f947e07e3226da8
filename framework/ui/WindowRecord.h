#pragma once
#include <cstdint>
#include <string>

namespace fw {

// A window's design-time properties. Sizes are those of the content area;
// the limits, visibility and menu bar default to what every window of the
// application uses.
struct WindowRecord {
  std::string title;
  int width = 300, height = 300;
  int frame = 0;      // 0 document window, 3 floating window
  int placement = 0;  // 1 front window, 2 main screen, 4 staggered
  bool resizeable = false;
  bool closeButton = true, minimizeButton = false, maximizeButton = false;
  bool hasBackColor = false;
  std::uint32_t backColor = 0x000000;
  int minWidth = 64, minHeight = 64, maxWidth = 32000, maxHeight = 32000;
  bool visible = true, menuBarVisible = true;
};

}  // namespace fw
