#pragma once
// Menus: a menu bar holds menus, a menu holds items; each item has a name
// by which code and handler bindings find it.
#include <memory>
#include <string>
#include <vector>

namespace fw {

class MenuItem {
 public:
  enum class Kind { Plain, Apple, Quit };

  MenuItem();
  virtual ~MenuItem();
  MenuItem(const MenuItem&) = delete;
  MenuItem& operator=(const MenuItem&) = delete;

  const std::string& Name() const { return name_; }
  void SetName(const std::string& name) { name_ = name; }
  // The framework enables such an item by itself when it prepares the menus.
  bool AutoEnable() const { return autoEnable_; }
  void SetAutoEnable(bool value) { autoEnable_ = value; }
  // The caption; "-" makes the item a separator line.
  const std::string& Text() const { return text_; }
  void SetText(const std::string& text);
  // "Cmd+" and a letter (Command is Control except on macOS); empty for none.
  const std::string& KeyboardShortcut() const { return shortcut_; }
  void SetKeyboardShortcut(const std::string& shortcut);

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  void Enable() { SetEnabled(true); }
  void Disable() { SetEnabled(false); }

  bool IsSeparator() const { return text_ == "-"; }
  virtual Kind ItemKind() const { return Kind::Plain; }

  // Children (the items of a menu).
  int Count() const { return static_cast<int>(children_.size()); }
  MenuItem* Item(int index) const;
  // The direct child of that name, or none.
  MenuItem* Child(const std::string& name) const;
  // The item of that name anywhere below this one, or none.
  MenuItem* Lookup(const std::string& name) const;
  MenuItem* Append(std::unique_ptr<MenuItem> item);
  MenuItem* Parent() const { return parent_; }

  // Carries the item out as a choice of the user.
  void Trigger();

  struct Impl;
  Impl& impl() const { return *impl_; }

 private:
  std::string name_, text_, shortcut_;
  bool autoEnable_ = false;
  bool enabled_ = true;
  MenuItem* parent_ = nullptr;
  std::vector<std::unique_ptr<MenuItem>> children_;
  std::unique_ptr<Impl> impl_;
};

// Shown in the application's own menu where the platform has one (macOS);
// elsewhere it stays in the menu it was appended to.
class AppleMenuItem : public MenuItem {
 public:
  Kind ItemKind() const override { return Kind::Apple; }
};

// Choosing it quits the application.
class QuitMenuItem : public MenuItem {
 public:
  Kind ItemKind() const override { return Kind::Quit; }
};

class MenuBar {
 public:
  MenuBar();
  virtual ~MenuBar();
  MenuBar(const MenuBar&) = delete;
  MenuBar& operator=(const MenuBar&) = delete;

  int Count() const { return root_.Count(); }
  MenuItem* Item(int index) const { return root_.Item(index); }
  MenuItem* Child(const std::string& name) const { return root_.Child(name); }
  MenuItem* Lookup(const std::string& name) const { return root_.Lookup(name); }
  MenuItem* Append(std::unique_ptr<MenuItem> menu) { return root_.Append(std::move(menu)); }

  // The framework's preparation of the menus: AutoEnable items are enabled,
  // then the application's EnableMenuItems event runs.
  void PrepareMenus();

  struct Impl;
  Impl& impl() const { return *impl_; }

 private:
  MenuItem root_;
  std::unique_ptr<Impl> impl_;
};

}  // namespace fw
