#pragma once

namespace fw {

// The modifier keys of the key event being handled (outside a key event,
// the keys held down now). The Command key is Control, except on macOS.
class Keyboard {
 public:
  static bool CommandKey();
  static bool ShiftKey();
};

}  // namespace fw
