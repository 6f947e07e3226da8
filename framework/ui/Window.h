#pragma once
// Windows. Each window class has one implicit instance, made with its
// controls the first time it is used and made anew after it was closed.
// Controls are found by name; a missing one raises NilObjectException.
#include <cstdint>
#include <memory>
#include <string>
#include <typeindex>
#include <vector>

#include "framework/text/Exceptions.h"
#include "framework/ui/Control.h"
#include "framework/ui/WindowRecord.h"

namespace fw {

class MenuBar;

class Window {
 public:
  Window();
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // Applies a whole design-time record while the window is laid out.
  void Apply(const WindowRecord& record);

  // Window properties, set while the window is laid out. Sizes are those
  // of the content area, in pixels.
  void SetTitle(const std::string& title);
  const std::string& Title() const { return title_; }
  void SetSize(int width, int height);
  void SetMinSize(int width, int height);
  void SetMaxSize(int width, int height);
  int Width() const { return width_; }
  int Height() const { return height_; }
  // 0 document window, 3 floating window.
  void SetFrame(int frame);
  int Frame() const { return frame_; }
  // 1 centred on the front window, 2 centred on the main screen, 4 staggered.
  void SetPlacement(int placement) { placement_ = placement; }
  int Placement() const { return placement_; }
  void SetResizeable(bool value);
  bool Resizeable() const { return resizeable_; }
  void SetButtons(bool close, bool minimize, bool maximize);
  // Background colour as 0xRRGGBB; used only when HasBackColor is set.
  void SetBackColor(bool hasBackColor, std::uint32_t rgb);
  // Whether a new window shows itself once it is made.
  void SetVisibleWhenCreated(bool visible) { visible_ = visible; }
  void SetMenuBarVisible(bool visible) { menuBarVisible_ = visible; }
  // The menu bar the window shows (where menus live inside windows). A
  // window whose record shows the menu bar and whose Layout sets none
  // carries the application's.
  void SetMenuBar(MenuBar* bar);
  MenuBar* GetMenuBar() const { return menuBar_; }

  void Show();
  void Hide();
  // Closes the window: its Close event runs, it disappears, and the next
  // use of the class makes a new one. Safe inside the window's own handlers.
  void Close();
  bool Visible() const { return visible_ && !closed_; }
  bool IsClosed() const { return closed_; }

  // Controls, found by name.
  Control* FindControl(const std::string& name) const;
  template <class T>
  T& Ctl(const std::string& name) const {
    T* control = dynamic_cast<T*>(FindControl(name));
    if (!control) throw NilObjectException("no control \"" + name + "\" of that kind");
    return *control;
  }
  int ControlCount() const { return static_cast<int>(controls_.size()); }
  Control& ControlAt(int index) const { return *controls_.at(static_cast<std::size_t>(index)); }

  // Makes a control, registers it under its name and places it.
  template <class T>
  T& Add(const std::string& name, int left = 0, int top = 0, int width = 0, int height = 0) {
    auto control = std::make_unique<T>();
    T& ref = *control;
    Register(std::move(control), name);
    ref.SetBounds(left, top, width, height);
    return ref;
  }

  // Raises KeyDown as the framework does for a key typed in the window;
  // commandKey and shiftKey are the modifier keys held.
  bool RaiseKeyDown(const std::string& key, bool commandKey, bool shiftKey);

  // Closes every window (at quit).
  static void CloseAll();
  // The live windows.
  static std::vector<Window*> LiveWindows();
  // Implicit instances, one per class (used through ImplicitInstance).
  static Window* LiveInstance(std::type_index type);
  static void AdoptInstance(std::type_index type, std::unique_ptr<Window> window);

  // Makes the window's widgets (its frame, menu bar and the controls'
  // widgets) from what has been set so far. A window does so when it is
  // first shown, or when a control's widgets are first asked for
  // (Control::impl); one that stays hidden never needs them.
  void Realize();
  bool Realized() const;

  struct Impl;
  Impl& impl() const { return *impl_; }

 protected:
  // The framework's window events.
  virtual void Layout() {}
  virtual void CreateControls() {}
  virtual void Event_Open() {}
  virtual void Event_Close() {}
  virtual bool Event_KeyDown(const std::string& key) {
    (void)key;
    return false;
  }
  // Whether a key typed (as KeyDown has it) is the one that closes a
  // window: Command-W.
  static bool IsCloseKey(const std::string& key);

  // Runs Layout, CreateControls and Open, then shows the window when it is
  // visible. Called once by the implicit-instance accessor.
  void Construct();

  template <class W>
  friend W& ImplicitInstance();

 private:
  void Register(std::unique_ptr<Control> control, const std::string& name);
  void AttachControl(Control& control);
  void ApplyFlags();
  void ApplySize();
  void ApplyResizeable();
  void ApplyBackColor();

  std::string title_;
  int width_ = 300, height_ = 300;
  int minWidth_ = 64, minHeight_ = 64, maxWidth_ = 32000, maxHeight_ = 32000;
  int frame_ = 0, placement_ = 0;
  bool resizeable_ = false, hasBackColor_ = false;
  std::uint32_t backColor_ = 0x000000;
  bool closeButton_ = true, minimizeButton_ = false, maximizeButton_ = false;
  bool visible_ = true, menuBarVisible_ = true, closed_ = false, placed_ = false;
  MenuBar* menuBar_ = nullptr;
  std::vector<std::unique_ptr<Control>> controls_;
  std::unique_ptr<Impl> impl_;
};

// The one live instance of a window class, made when there is none.
template <class W>
W& ImplicitInstance() {
  if (Window* live = Window::LiveInstance(std::type_index(typeid(W)))) {
    return static_cast<W&>(*live);
  }
  auto window = std::make_unique<W>();
  W& ref = *window;
  // Registered before it is built: its own Open may reach it by class name.
  Window::AdoptInstance(std::type_index(typeid(W)), std::move(window));
  ref.Construct();
  return ref;
}

// Whether a live instance of the class exists (without making one).
template <class W>
bool HasLiveInstance() {
  return Window::LiveInstance(std::type_index(typeid(W))) != nullptr;
}

}  // namespace fw
