#pragma once
// "Message From Larkspire SW": the free message of the update information,
// in the label "ServerMessageText", cut at the label's edge when longer.
#include <string>

#include "framework/ui/Window.h"

class ServerMessageWindow : public fw::Window {
 public:
  // The one live message window, made (and shown) when there is none.
  static ServerMessageWindow& Instance() { return fw::ImplicitInstance<ServerMessageWindow>(); }
  static bool IsLive() { return fw::HasLiveInstance<ServerMessageWindow>(); }

 protected:
  void Layout() override;
  void CreateControls() override;
  bool Event_KeyDown(const std::string& key) override;
};
