#include <gtest/gtest.h>

#include <QMenu>
#include <memory>
#include <string>
#include <vector>

#include "framework/text/Exceptions.h"
#include "framework/ui/AppleMenuItem.h"
#include "framework/ui/Application.h"
#include "framework/ui/MenuBar.h"
#include "framework/ui/MenuBar_p.h"
#include "framework/ui/MenuItem_p.h"
#include "framework/ui/QuitMenuItem.h"
#include "framework/ui/Thread.h"
#include "framework/ui/Timer.h"
#include "framework/ui/Window.h"
#include "support/Recorders.h"
#include "support/Wait.h"

using testsupport::RunEventsFor;
using testsupport::WaitUntil;

namespace {

class TestApp : public fw::Application {
 public:
  int enableCalls = 0;
  fw::MenuItem* toEnable = nullptr;

 protected:
  void Event_EnableMenuItems() override {
    ++enableCalls;
    if (toEnable) toEnable->Enable();
  }
};

template <class T = fw::MenuItem>
std::unique_ptr<fw::MenuItem> Item(const char* name, const char* text) {
  auto item = std::make_unique<T>();
  item->SetName(name);
  item->SetText(text);
  return item;
}

// File > Quit (auto-enabled, Cmd+Q); Window > First, Nested, separator.
std::unique_ptr<fw::MenuBar> MakeBar() {
  auto bar = std::make_unique<fw::MenuBar>();
  fw::MenuItem* quit =
      bar->Append(Item("FileMenu", "File"))->Append(Item<fw::QuitMenuItem>("FileQuit", "Quit"));
  quit->SetAutoEnable(true);
  quit->SetKeyboardShortcut("Cmd+Q");
  fw::MenuItem* window = bar->Append(Item("WindowMenu", "Window"));
  window->Append(Item("First", "First"));
  window->Append(Item("Nested", "Nested"));
  window->Append(Item<fw::AppleMenuItem>("Sep", "-"));
  return bar;
}

TEST(Menus, LookupSearchesTheWholeTreeAndIgnoresCase) {
  auto bar = MakeBar();
  EXPECT_EQ(bar->Child("Nested"), nullptr) << "Child looks at the top level only";
  fw::MenuItem* nested = bar->Lookup("nested");
  ASSERT_NE(nested, nullptr);
  EXPECT_EQ(nested->Text(), "Nested");
  EXPECT_EQ(nested->Parent(), bar->Child("WindowMenu"));
  EXPECT_EQ(bar->Lookup("Missing"), nullptr);
  EXPECT_TRUE(bar->Lookup("Sep")->IsSeparator());
  EXPECT_EQ(bar->Lookup("Sep")->ItemKind(), fw::MenuItem::Kind::Apple);
  EXPECT_EQ(bar->Lookup("FileQuit")->impl().action->shortcut(), QKeySequence("Ctrl+Q"));
}

TEST(Menus, HandlersByNameAndEnableMenuItemsBeforeTheMenusShow) {
  TestApp app;
  app.Register();
  auto bar = MakeBar();
  app.SetMenuBar(bar.get());
  int runs = 0;
  app.AddMenuHandler("Nested", [&] { return ++runs, false; });
  bar->Lookup("Nested")->impl().action->trigger();
  EXPECT_EQ(runs, 1);
  bar->Lookup("First")->impl().action->trigger();  // nothing bound: nothing happens
  EXPECT_EQ(runs, 1);
  // A handler that throws is reported, and the application goes on.
  app.AddMenuHandler("First", []() -> bool { throw fw::NilObjectException("no window"); });
  bar->Lookup("First")->impl().action->trigger();
  ASSERT_EQ(testsupport::Recorders::Get().boxes.size(), 1u);
  EXPECT_NE(testsupport::Recorders::Get().boxes[0].find("NilObjectException"), std::string::npos);

  fw::MenuItem* first = bar->Lookup("First");
  fw::MenuItem* quit = bar->Lookup("FileQuit");
  first->Disable();
  quit->Disable();
  app.toEnable = first;
  QMenuBar shown;
  fw::AttachMenuBar(*bar, &shown);
  QMenu* windowMenu = shown.actions().back()->menu();
  ASSERT_NE(windowMenu, nullptr);
  emit windowMenu->aboutToShow();
  EXPECT_EQ(app.enableCalls, 1);
  EXPECT_TRUE(first->Enabled());
  EXPECT_TRUE(first->impl().action->isEnabled());
  EXPECT_TRUE(quit->Enabled()) << "AutoEnable items enable themselves";
  app.SetMenuBar(nullptr);
}

TEST(Timers, ModesOffOnceAndRepeated) {
  fw::Timer timer;
  int fired = 0;
  timer.Action = [&] { ++fired; };
  timer.SetPeriod(5);
  timer.SetMode(fw::Timer::Off);
  RunEventsFor(40);
  EXPECT_EQ(fired, 0);

  timer.SetMode(fw::Timer::Single);
  ASSERT_TRUE(WaitUntil([&] { return fired == 1; }, 2000));
  EXPECT_EQ(timer.GetMode(), fw::Timer::Off) << "a single timer is off after acting";
  RunEventsFor(40);
  EXPECT_EQ(fired, 1);

  timer.SetMode(fw::Timer::Multiple);
  ASSERT_TRUE(WaitUntil([&] { return fired >= 4; }, 2000));
  timer.SetMode(fw::Timer::Off);
  const int stopped = fired;
  RunEventsFor(40);
  EXPECT_EQ(fired, stopped);

  // A single timer may rearm itself in its action.
  fired = 0;
  timer.Action = [&] {
    if (++fired < 3) timer.SetMode(fw::Timer::Single);
  };
  timer.SetMode(fw::Timer::Single);
  ASSERT_TRUE(WaitUntil([&] { return fired == 3; }, 2000));
  RunEventsFor(30);
  EXPECT_EQ(fired, 3);
}

TEST(Threads, RunReturnsBeforeTheRunEventAndARunPendingAtDestructionIsDropped) {
  fw::Thread thread;
  std::vector<std::string> order;
  thread.RunEvent = [&] { order.push_back("run event"); };
  thread.Run();
  order.push_back("after Run");
  EXPECT_EQ(thread.Pending(), 1);
  ASSERT_TRUE(WaitUntil([&] { return order.size() == 2; }));
  EXPECT_EQ(order, (std::vector<std::string>{"after Run", "run event"}));

  int runs = 0;
  {
    fw::Thread doomed;
    doomed.RunEvent = [&] { ++runs; };
    doomed.Run();
  }
  RunEventsFor(30);
  EXPECT_EQ(runs, 0);
}

}  // namespace
