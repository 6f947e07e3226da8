#pragma once
// An item of a menu, or a menu itself: a menu bar holds menus, a menu holds
// items; each item has a name by which code and handler bindings find it.
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
  // Brings what the bars show of the item in step with its definition.
  void ShowChanges();

  std::string name_, text_, shortcut_;
  bool autoEnable_ = false;
  bool enabled_ = true;
  MenuItem* parent_ = nullptr;
  std::vector<std::unique_ptr<MenuItem>> children_;
  std::unique_ptr<Impl> impl_;
};

}  // namespace fw
