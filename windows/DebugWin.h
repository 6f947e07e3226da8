#pragma once
// Shows the raw text of the replies as they arrive, for looking at what
// the proxy and the web host sent. While it is open (Globals::DebugWInOpen)
// the reply handlers write each body into its field "Response".
#include <string>

#include "framework/ui/Window.h"

class DebugWin : public fw::Window {
 public:
  // The one live debug window, made when there is none.
  static DebugWin& Instance() { return fw::ImplicitInstance<DebugWin>(); }
  static bool IsLive() { return fw::HasLiveInstance<DebugWin>(); }

 protected:
  void Layout() override;
  void CreateControls() override;
  void Event_Open() override;
  void Event_Close() override;
  bool Event_KeyDown(const std::string& key) override;
};
