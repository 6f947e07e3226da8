#pragma once
// "Update Available": the change log of a newer version, in one label that
// keeps its size: a longer log is cut at its edge.
#include <string>

#include "core/Views.h"
#include "framework/ui/Window.h"

class ChangeLogWindow : public fw::Window {
 public:
  // The one live update-available window, made (and shown) when there is none.
  static ChangeLogWindow& Instance() { return fw::ImplicitInstance<ChangeLogWindow>(); }
  static bool IsLive() { return fw::HasLiveInstance<ChangeLogWindow>(); }
  // The window as the core sees it; each call reaches the window of the
  // moment through Instance().
  static Views::ChangeLogView& View();

 protected:
  void Layout() override;
  void CreateControls() override;
  bool Event_KeyDown(const std::string& key) override;
};
