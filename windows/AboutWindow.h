#pragma once
// The about window: the user's robot ("RobotIcon"), the product name, the
// version ("AboutVersionLabel") and links to the maker's and the author's
// web sites.
#include <string>

#include "framework/ui/Window.h"

class AboutWindow : public fw::Window {
 public:
  // The one live about window, made when there is none.
  static AboutWindow& Instance() { return fw::ImplicitInstance<AboutWindow>(); }
  static bool IsLive() { return fw::HasLiveInstance<AboutWindow>(); }

  // What "AboutVersionLabel" shows once the window is made.
  static constexpr const char* kVersionText = "UB v1.3.0";

 protected:
  void Layout() override;
  void CreateControls() override;
  void Event_Open() override;
  bool Event_KeyDown(const std::string& key) override;

 private:
  bool StaticText4_MouseDown(int x, int y);
  bool StaticText5_MouseDown(int x, int y);
};
