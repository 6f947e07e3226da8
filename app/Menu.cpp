#include "app/Menu.h"

#include <memory>
#include <optional>
#include <string>

#include "app/App.h"
#include "framework/text/Exceptions.h"
#include "framework/ui/QuitMenuItem.h"

namespace Menu {

namespace {

// Released by the stop steps (Release). Not by the end of the process:
// after an exit() the windows that show the bar are still there, and
// taking their menus away from them then would reach into a toolkit that
// is half gone.
Menu*& ImplicitInstance() {
  static Menu* instance = nullptr;
  return instance;
}

// Separators are given no shortcut at all, not an empty one.
using Shortcut = std::optional<std::string>;

template <class Item>
void AddItem(fw::MenuBar& bar, const std::string& menuName, const std::string& name, bool autoEnable,
             const std::string& text, const Shortcut& shortcut) {
  auto item = std::make_unique<Item>();
  item->SetName(name);
  item->SetAutoEnable(autoEnable);
  item->SetText(text);
  if (shortcut) item->SetKeyboardShortcut(*shortcut);
  fw::MenuItem* menu = bar.Child(menuName);
  if (!menu) throw fw::NilObjectException("no menu \"" + menuName + "\" in the menu bar");
  menu->Append(std::move(item));
}

void AddMenu(fw::MenuBar& bar, const std::string& name, const std::string& text) {
  auto menu = std::make_unique<fw::MenuItem>();
  menu->SetName(name);
  menu->SetAutoEnable(false);
  menu->SetText(text);
  menu->SetKeyboardShortcut("");
  bar.Append(std::move(menu));
}

template <class Item>
Item& FindItem(const std::string& name) {
  fw::MenuBar* bar = App::Get().GetMenuBar();
  if (!bar) throw fw::NilObjectException("the application has no menu bar");
  auto* item = dynamic_cast<Item*>(bar->Lookup(name));
  if (!item) throw fw::NilObjectException("no menu item \"" + name + "\" of that kind");
  return *item;
}

}  // namespace

Menu::Menu() {
  Untitled1();
  Untitled2();
  Untitled3();
}

Menu& Menu::Instance() {
  auto& instance = ImplicitInstance();
  if (!instance) instance = new Menu();
  return *instance;
}

void Menu::Release() {
  delete ImplicitInstance();
  ImplicitInstance() = nullptr;
}

void Menu::Untitled1() {
  AddMenu(*this, "UntitledMenu2", "File");
  AddItem<fw::QuitMenuItem>(*this, "UntitledMenu2", "FileQuit", true, "Quit", "Cmd+Q");
}

void Menu::Untitled2() {
  AddMenu(*this, "UntitledMenu0", "Edit");
  AddItem<fw::MenuItem>(*this, "UntitledMenu0", "EditUndo", false, "Undo", "Cmd+Z");
  AddItem<fw::MenuItem>(*this, "UntitledMenu0", "UntitledMenu1", false, "-", std::nullopt);
  AddItem<fw::MenuItem>(*this, "UntitledMenu0", "EditCut", false, "Cut", "Cmd+X");
  AddItem<fw::MenuItem>(*this, "UntitledMenu0", "EditCopy", false, "Copy", "Cmd+C");
  AddItem<fw::MenuItem>(*this, "UntitledMenu0", "EditPaste", false, "Paste", "Cmd+V");
  AddItem<fw::MenuItem>(*this, "UntitledMenu0", "EditClear", false, "Clear", "");
}

void Menu::Untitled3() {
  AddMenu(*this, "WindowMenu", "Window");
  AddItem<fw::MenuItem>(*this, "WindowMenu", "SettingsMenuItem", false, "Settings", "");
  AddItem<fw::MenuItem>(*this, "WindowMenu", "BreezelingMenuItem", false, "BreezeLing", "");
  AddItem<fw::MenuItem>(*this, "WindowMenu", "ForecastMenuItem", false, "7 Day Forecast", "");
  AddItem<fw::AppleMenuItem>(*this, "WindowMenu", "AboutMenuItem", false, "About Breezeling", "");
  AddItem<fw::AppleMenuItem>(*this, "WindowMenu", "UpdatesMenuItem", false, "Check For Updates", "Cmd+U");
  AddItem<fw::AppleMenuItem>(*this, "WindowMenu", "UntitledMenu4", false, "-", std::nullopt);
  AddItem<fw::AppleMenuItem>(*this, "WindowMenu", "MoreMenuItem", false, "More Cool Apps!", "");
}

fw::AppleMenuItem& AboutMenuItem() { return FindItem<fw::AppleMenuItem>("AboutMenuItem"); }
fw::MenuItem& SettingsMenuItem() { return FindItem<fw::MenuItem>("SettingsMenuItem"); }
fw::MenuItem& BreezelingMenuItem() { return FindItem<fw::MenuItem>("BreezelingMenuItem"); }
fw::MenuItem& ForecastMenuItem() { return FindItem<fw::MenuItem>("ForecastMenuItem"); }
fw::AppleMenuItem& UpdatesMenuItem() { return FindItem<fw::AppleMenuItem>("UpdatesMenuItem"); }
fw::AppleMenuItem& MoreMenuItem() { return FindItem<fw::AppleMenuItem>("MoreMenuItem"); }

namespace {

class MenuBarView final : public Views::MenuView {
 public:
  void DisableForecastItem() override { ForecastMenuItem().Disable(); }
};

}  // namespace

Views::MenuView& View() {
  static MenuBarView view;
  return view;
}

}  // namespace Menu
