#pragma once
// The about window: the user's robot ("RobotIcon"), the product name, the
// version ("AboutVersionLabel") and links to the maker's and the author's
// web sites.
#include <string>

#include "framework/ui/SingleInstanceWindow.h"

class AboutWindow : public fw::SingleInstanceWindow<AboutWindow> {
 public:
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
