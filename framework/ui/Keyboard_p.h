#pragma once

namespace fw {

// The modifier keys of the key event being handled; the window sets them
// around its KeyDown event.
struct KeyState {
  bool active = false;
  bool command = false;
  bool shift = false;
};
KeyState& HandledKeys();

}  // namespace fw
