#pragma once
// "Message From Larkspire SW": the free message of the update information,
// in one label, cut at the label's edge when longer.
#include <string>

#include "core/Views.h"
#include "framework/ui/Window.h"

class ServerMessageWindow : public fw::Window {
 public:
  // The one live message window, made (and shown) when there is none.
  static ServerMessageWindow& Instance() { return fw::ImplicitInstance<ServerMessageWindow>(); }
  static bool IsLive() { return fw::HasLiveInstance<ServerMessageWindow>(); }
  // The window as the core sees it; each call reaches the window of the
  // moment through Instance().
  static Views::ServerMessageView& View();

 protected:
  void Layout() override;
  void CreateControls() override;
  bool Event_KeyDown(const std::string& key) override;
};
