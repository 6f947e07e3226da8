#pragma once
// The base of the controls placed on windows. Positions are pixels from
// the top left corner of the window's content area. Text is always plain
// text; a CR, an LF or a CR LF pair breaks the line where it stands.
#include <memory>
#include <string>

namespace fw {

class Window;

class Control {
 public:
  Control();
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& Name() const { return name_; }
  Window* OwnerWindow() const { return window_; }

  void SetBounds(int left, int top, int width, int height);
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }

  void SetVisible(bool visible);
  bool Visible() const { return visible_; }
  void SetEnabled(bool enabled);
  bool Enabled() const { return enabled_; }

  // Locked edges keep their distance to the window's edges when it is resized.
  void SetLocks(bool left, bool top, bool right, bool bottom);

  // The control as the window lays it out again after a resize.
  void FollowWindow(int oldWidth, int oldHeight, int newWidth, int newHeight);

  // The control's Qt side. Its window makes its widgets when first asked
  // for them (see Window::Realize).
  struct Impl;
  Impl& impl() const;

 protected:
  // Makes the control's widget inside the window from the control's
  // settings so far; nothing for non-visual ones. The window places it,
  // enables or disables it and shows or hides it.
  virtual void Attach() {}
  // The control's rectangle has changed (also while its window is hidden).
  virtual void Resized() {}
  void ApplyGeometry();
  std::unique_ptr<Impl> impl_;

 private:
  friend class Window;
  std::string name_;
  Window* window_ = nullptr;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true, enabled_ = true;
  bool lockLeft_ = true, lockTop_ = true, lockRight_ = false, lockBottom_ = false;
};

}  // namespace fw
