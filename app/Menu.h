#pragma once
// The application's menu bar: File, Edit and Window. The program's own
// commands live in the Window menu and are bound to App's handlers by the
// items' names.
#include "core/Views.h"
#include "framework/ui/AppleMenuItem.h"
#include "framework/ui/MenuBar.h"

namespace Menu {

class Menu : public fw::MenuBar {
 public:
  Menu();

  // The one menu bar, made on first use; the application object and the
  // main window share it.
  static Menu& Instance();
  // Drops the instance (at quit); the next use makes a new one.
  static void Release();

 private:
  void Untitled1();  // File
  void Untitled2();  // Edit
  void Untitled3();  // Window
};

// The program's items, found by name anywhere in the application's menu
// bar. No application object, no menu bar or no such item raises
// fw::NilObjectException.
fw::AppleMenuItem& AboutMenuItem();
fw::MenuItem& SettingsMenuItem();
fw::MenuItem& BreezelingMenuItem();
fw::MenuItem& ForecastMenuItem();
fw::AppleMenuItem& UpdatesMenuItem();
fw::AppleMenuItem& MoreMenuItem();

// The menu bar as the core sees it.
Views::MenuView& View();

}  // namespace Menu
