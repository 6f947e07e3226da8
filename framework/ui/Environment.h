#pragma once
// The screen and the keyboard as the application asks about them.

namespace fw {

class Screen {
 public:
  explicit Screen(int index = 0) : index_(index) {}
  // Bits per pixel of the screen.
  int Depth() const;
  // Lets tests pretend to run on another screen; 0 restores the real one.
  static void SetDepthOverride(int depth);

 private:
  int index_;
};

// The modifier keys of the key event being handled (outside a key event,
// the keys held down now). The Command key is Control, except on macOS.
class Keyboard {
 public:
  static bool CommandKey();
  static bool ShiftKey();
};

}  // namespace fw
