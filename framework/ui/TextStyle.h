#pragma once
#include <cstdint>
#include <string>

namespace fw {

enum class Align { Default, Left, Center, Right };

// Shared text styling of the controls that show text.
struct TextStyle {
  std::string font = "System";
  int size = 0;  // pixels; 0 is the platform's size
  bool bold = false, italic = false, underline = false;
  std::uint32_t color = 0x000000;
  Align align = Align::Default;
};

}  // namespace fw
