#pragma once
// "Update Available": the change log of a newer version, in one label that
// keeps its size: a longer log is cut at its edge. Instance() makes the
// window and shows it when there is none.
#include <string>

#include "core/Views.h"
#include "framework/ui/SingleInstanceWindow.h"

class ChangeLogWindow : public fw::SingleInstanceWindow<ChangeLogWindow> {
 public:
  // The window as the core sees it; each call reaches the window of the
  // moment through Instance().
  static Views::ChangeLogView& View();

 protected:
  void Layout() override;
  void CreateControls() override;
  bool Event_KeyDown(const std::string& key) override;
};
