#pragma once

namespace fw {

// The screen as the application asks about it.
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

}  // namespace fw
