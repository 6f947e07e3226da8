// Every test starts from the state of a freshly started program, whose
// windows the core reaches through their faces.
#include "app/Startup.h"
#include "core/Globals.h"
#include "core/Hosts.h"
#include "core/WeatherValues.h"
#include "framework/text/Text.h"
#include "framework/ui/Window.h"
#include "support/TestHooks.h"

namespace {

void Fresh() {
  fw::Window::CloseAll();
  Globals::Release();
  WeatherValues::Release();
  Hosts::ResetForTesting();
  _RegisterViews();
  // Set at start by the application object.
  Globals::CR = fw::Chr(13);
  Globals::LF = fw::Chr(10);
}

testsupport::RegisterHook before(testsupport::HookTime::BeforeTest, Fresh);
testsupport::RegisterHook after(testsupport::HookTime::AfterTest, Fresh);

}  // namespace
