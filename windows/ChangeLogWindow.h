#pragma once
// "Update Available": the change log of a newer version, in the label
// "ChangeLogText". The label keeps its size: a longer log is cut at its edge.
#include <string>

#include "framework/ui/Window.h"

class ChangeLogWindow : public fw::Window {
 public:
  // The one live update-available window, made (and shown) when there is none.
  static ChangeLogWindow& Instance() { return fw::ImplicitInstance<ChangeLogWindow>(); }
  static bool IsLive() { return fw::HasLiveInstance<ChangeLogWindow>(); }

 protected:
  void Layout() override;
  void CreateControls() override;
  bool Event_KeyDown(const std::string& key) override;
};
