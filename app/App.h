#pragma once
// The application object: start-up state of the shared module properties,
// the enabling of the program's menu items, and the menu handlers.
#include "framework/ui/Application.h"

class App : public fw::Application {
 public:
  // The registered application object; fw::NilObjectException when there
  // is none, or when it is not an App.
  static App& Get();

  // Menu handlers, bound by item name at start. Each returns false.
  bool _AboutMenuItem_Action();
  bool _SettingsMenuItem_Action();
  bool _BreezelingMenuItem_Action();
  bool _ForecastMenuItem_Action();
  bool _UpdatesMenuItem_Action();
  bool _MoreMenuItem_Action();

 protected:
  void Event_Open() override;
  void Event_EnableMenuItems() override;
};
