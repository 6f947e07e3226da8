#pragma once
// The application object and the event loop. Everything (events, menu
// choices, timers, sockets, thread steps) runs on the one loop thread.
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "framework/ui/MenuBar.h"

namespace fw {

class Application {
 public:
  Application();
  virtual ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // The registered application object, or none.
  static Application* Instance();
  // Makes this object the application object.
  void Register();

  MenuBar* GetMenuBar() const { return menuBar_; }
  void SetMenuBar(MenuBar* bar) { menuBar_ = bar; }

  // Binds a handler to the menu item of that name.
  void AddMenuHandler(const std::string& itemName, std::function<bool()> handler);
  // Runs the handler bound to the item; false when none is bound.
  bool HandleMenuCommand(const std::string& itemName);

  // Raises Open (once).
  void CallOpen();
  // Prepares the menus: AutoEnable items, then EnableMenuItems.
  void PrepareMenus();

  // Runs the event loop until Quit; returns the exit status.
  int Run();
  void Quit();
  // Whether Run is running the event loop.
  bool Running() const { return running_; }

 protected:
  virtual void Event_Open() {}
  virtual void Event_EnableMenuItems() {}

 private:
  MenuBar* menuBar_ = nullptr;
  std::map<std::string, std::function<bool()>> handlers_;
  bool opened_ = false;
  bool running_ = false;
};

}  // namespace fw
