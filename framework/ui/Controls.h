#pragma once
// Controls placed on windows. Positions are pixels from the top left
// corner of the window's content area. Text is always plain text; a CR, an
// LF or a CR LF pair breaks the line where it stands.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/ui/Picture.h"

namespace fw {

class Window;

enum class Align { Default, Left, Center, Right };

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

// Shared text styling of the controls that show text.
struct TextStyle {
  std::string font = "System";
  int size = 0;  // pixels; 0 is the platform's size
  bool bold = false, italic = false, underline = false;
  std::uint32_t color = 0x000000;
  Align align = Align::Default;
};

// A one-line label never cuts its text off at its edge: a text too wide
// for it is shown in a smaller size when the label allows one, and what
// still does not fit ends in an ellipsis, with the whole text as the
// label's tooltip and accessible description.
class StaticText : public Control {
 public:
  const std::string& Text() const { return text_; }
  void SetText(const std::string& text);
  StaticText& Font(const std::string& family, int size);
  // Lets a text too wide at the label's size be shown in a smaller one,
  // down to smallestSize pixels (0, the default: only at the label's size).
  StaticText& ShrinkToFit(int smallestSize);
  StaticText& Underline(bool on = true);
  StaticText& Bold(bool on = true);
  StaticText& TextColor(std::uint32_t rgb);
  StaticText& Alignment(Align align);
  StaticText& Multiline(bool on = true);
  const TextStyle& Style() const { return style_; }
  bool IsMultiline() const { return multiline_; }

  // Mouse button pressed on the label (x, y inside it); returns whether
  // the click was consumed.
  std::function<bool(int x, int y)> MouseDown;

 protected:
  void Attach() override;
  void Resized() override;

 private:
  void ApplyStyle();
  std::string text_;
  TextStyle style_;
  int smallestSize_ = 0;
  bool multiline_ = false;
};

class Canvas : public Control {
 public:
  // The picture drawn at the canvas's top left corner, at its own size.
  void SetBackdrop(PicturePtr picture);
  const PicturePtr& Backdrop() const { return backdrop_; }
  void Refresh(bool eraseBackground = true);
  std::function<bool(int x, int y)> MouseDown;

 protected:
  void Attach() override;

 private:
  PicturePtr backdrop_;
};

class EditField : public Control {
 public:
  std::string Text() const;
  void SetText(const std::string& text);
  EditField& Font(const std::string& family, int size);
  EditField& Multiline(bool on = true);
  EditField& ReadOnly(bool on = true);
  EditField& ScrollBars(bool vertical, bool horizontal);
  EditField& Border(bool on = true);
  bool IsMultiline() const { return multiline_; }
  bool IsReadOnly() const { return readOnly_; }

 protected:
  void Attach() override;

 private:
  void Rebuild();
  std::string text_;
  TextStyle style_;
  bool multiline_ = false, readOnly_ = false, vscroll_ = false, hscroll_ = false, border_ = true;
};

class PopupMenu : public Control {
 public:
  void AddRow(const std::string& text);
  void DeleteAllRows();
  int ListCount() const { return static_cast<int>(rows_.size()); }
  std::string List(int index) const;
  // -1 when no row is selected.
  int ListIndex() const { return index_; }
  void SetListIndex(int index);
  // The selected row's text; empty with no selection.
  std::string Text() const { return List(index_); }
  PopupMenu& Font(const std::string& family, int size);

  // The selection changed (by the user or by code).
  std::function<void()> Change;

 protected:
  void Attach() override;

 private:
  std::vector<std::string> rows_;
  int index_ = -1;
  TextStyle style_;
};

class PushButton : public Control {
 public:
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  PushButton& Font(const std::string& family, int size);
  // Return/Enter presses the default button, Escape the cancel button.
  PushButton& Default(bool on = true);
  PushButton& Cancel(bool on = true);
  bool IsDefault() const { return default_; }
  bool IsCancel() const { return cancel_; }
  // Clicks the button as the user would (nothing when disabled or hidden).
  void Push();
  std::function<void()> Action;

 protected:
  void Attach() override;

 private:
  std::string caption_;
  TextStyle style_;
  bool default_ = false, cancel_ = false;
};

class BevelButton : public Control {
 public:
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  BevelButton& CaptionSize(int size);
  void SetIcon(PicturePtr icon);
  const PicturePtr& Icon() const { return icon_; }
  void Push();
  std::function<void()> Action;

 protected:
  void Attach() override;

 private:
  std::string caption_;
  TextStyle style_;
  PicturePtr icon_;
};

class ProgressBar : public Control {
 public:
  int Value() const { return value_; }
  void SetValue(int value);
  int Maximum() const { return maximum_; }
  void SetMaximum(int maximum);

 protected:
  void Attach() override;

 private:
  int value_ = 0, maximum_ = 100;
};

// A spinner that turns while it is visible.
class ChasingArrows : public Control {
 protected:
  void Attach() override;
};

// A flat panel.
class Placard : public Control {
 protected:
  void Attach() override;
};

// A horizontal rule across its rectangle.
class Separator : public Control {
 protected:
  void Attach() override;
};

// A control made from a class that is not one (a socket, say), so that a
// window can hold it among its controls and find it by name.
template <class T>
class NonVisual : public Control, public T {};

}  // namespace fw
