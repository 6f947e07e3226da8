#pragma once
#include "framework/ui/Window.h"

namespace fw {

// The base of a window class that has one implicit instance: the class
// derives from SingleInstanceWindow<itself>, and the program reaches its
// window through Instance().
template <class W>
class SingleInstanceWindow : public Window {
 public:
  // The one live instance, made when there is none.
  static W& Instance() { return ImplicitInstance<W>(); }
  // Whether a live instance exists (without making one).
  static bool IsLive() { return HasLiveInstance<W>(); }
};

}  // namespace fw
