#pragma once
// "Message From Larkspire SW": the free message of the update information,
// in one label, cut at the label's edge when longer. Instance() makes the
// window and shows it when there is none.
#include <string>

#include "core/Views.h"
#include "framework/ui/SingleInstanceWindow.h"

class ServerMessageWindow : public fw::SingleInstanceWindow<ServerMessageWindow> {
 public:
  // The window as the core sees it; each call reaches the window of the
  // moment through Instance().
  static Views::ServerMessageView& View();

 protected:
  void Layout() override;
  void CreateControls() override;
  bool Event_KeyDown(const std::string& key) override;
};
