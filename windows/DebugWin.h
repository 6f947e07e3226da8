#pragma once
// Shows the raw text of the replies as they arrive, for looking at what
// the proxy and the web host sent. While it is open (Globals::DebugWInOpen)
// the reply handlers show each body in it.
#include <string>

#include "core/Views.h"
#include "framework/ui/SingleInstanceWindow.h"

class DebugWin : public fw::SingleInstanceWindow<DebugWin> {
 public:
  // The window as the core sees it; each call reaches the window of the
  // moment through Instance().
  static Views::DebugView& View();

 protected:
  void Layout() override;
  void CreateControls() override;
  void Event_Open() override;
  void Event_Close() override;
  bool Event_KeyDown(const std::string& key) override;
};
