#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QWidget>
#include <QWindow>
#include <QtTest/QTest>
#include <algorithm>
#include <string>
#include <vector>

#include "framework/ui/BevelButton.h"
#include "framework/ui/ChasingArrows.h"
#include "framework/ui/Control.h"
#include "framework/ui/Control_p.h"
#include "framework/ui/EditField.h"
#include "framework/ui/Keyboard.h"
#include "framework/ui/PopupMenu.h"
#include "framework/ui/PushButton.h"
#include "framework/ui/StaticText.h"
#include "framework/ui/Window.h"
#include "support/TestHooks.h"
#include "support/Wait.h"

using testsupport::WaitUntil;

namespace {

std::vector<std::string> g_events;

static testsupport::RegisterHook resetWindows(testsupport::HookTime::AfterTest, [] {
  fw::Window::CloseAll();
  g_events.clear();
});

class ProbeWin : public fw::Window {
 public:
  static ProbeWin& Instance() { return fw::ImplicitInstance<ProbeWin>(); }
  int keyDowns = 0;
  bool sawCommand = false, sawShift = false;
  std::string lastKey;

 protected:
  void Layout() override {
    g_events.push_back("Layout");
    SetTitle("Probe");
    SetSize(200, 100);
  }
  void CreateControls() override {
    g_events.push_back("CreateControls");
    Add<fw::StaticText>("Label", 10, 10, 100, 16).SetText("design text");
    Add<fw::EditField>("Field", 10, 40, 100, 22).SetText("field text");
  }
  // The controls exist by the time Open runs.
  void Event_Open() override { g_events.push_back("Open:" + Ctl<fw::StaticText>("Label").Text()); }
  void Event_Close() override { g_events.push_back("Close"); }
  bool Event_KeyDown(const std::string& key) override {
    ++keyDowns;
    lastKey = key;
    sawCommand = fw::Keyboard::CommandKey();
    sawShift = fw::Keyboard::ShiftKey();
    if (key == "w" && sawCommand) {
      Close();
      // Still safe to touch our own controls after closing ourselves.
      Ctl<fw::StaticText>("Label").SetText("closed");
    }
    return false;
  }
};

QWidget* WidgetOf(fw::Control& control) { return control.impl().widget; }

void Send(QWidget* to, int key, Qt::KeyboardModifiers modifiers, const char* text) {
  QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
  QApplication::sendEvent(to, &event);
}

TEST(Window, FirstUseBuildsLayoutControlsOpenHideKeepsTextsCloseMakesAFreshOne) {
  ProbeWin& first = ProbeWin::Instance();
  EXPECT_EQ(g_events, (std::vector<std::string>{"Layout", "CreateControls", "Open:design text"}));
  EXPECT_EQ(&ProbeWin::Instance(), &first);  // every later use reaches the same window
  EXPECT_EQ(g_events.size(), 3u);
  EXPECT_EQ(first.ControlCount(), 2);
  EXPECT_EQ(first.ControlAt(1).Name(), "Field");
  EXPECT_EQ(WidgetOf(first.ControlAt(0))->objectName().toStdString(), "Label");
  EXPECT_THROW(first.Ctl<fw::StaticText>("Nope"), fw::NilObjectException);
  EXPECT_THROW(first.Ctl<fw::PushButton>("Label"), fw::NilObjectException);

  first.Ctl<fw::StaticText>("Label").SetText("changed");
  first.Hide();
  EXPECT_FALSE(first.Visible());
  first.Show();
  EXPECT_EQ(ProbeWin::Instance().Ctl<fw::StaticText>("Label").Text(), "changed");

  first.Close();
  EXPECT_EQ(g_events.back(), "Close");
  EXPECT_FALSE(fw::HasLiveInstance<ProbeWin>());
  ProbeWin& second = ProbeWin::Instance();
  EXPECT_EQ(second.Ctl<fw::StaticText>("Label").Text(), "design text");
  EXPECT_EQ(second.Ctl<fw::EditField>("Field").Text(), "field text");
  EXPECT_EQ(std::count(g_events.begin(), g_events.end(), "Layout"), 2);
  EXPECT_TRUE(second.Visible());
}

TEST(Window, ControlWReachesKeyDownAndTheWindowMayCloseItself) {
  ProbeWin& win = ProbeWin::Instance();
  win.Show();
  QWidget* label = WidgetOf(win.Ctl<fw::StaticText>("Label"));
  Send(label, Qt::Key_W, Qt::NoModifier, "w");
  EXPECT_EQ(win.keyDowns, 1);
  EXPECT_FALSE(win.sawCommand);
  EXPECT_FALSE(win.IsClosed());

  Send(label, Qt::Key_W, Qt::ControlModifier, "\x17");
  EXPECT_EQ(win.keyDowns, 2) << "a key travelling up the widgets reaches KeyDown once";
  EXPECT_EQ(win.lastKey, "w");
  EXPECT_TRUE(win.sawCommand);
  EXPECT_TRUE(win.IsClosed());
  // The closed window is destroyed once the loop is back; nothing crashes.
  ASSERT_TRUE(WaitUntil([] { return !fw::HasLiveInstance<ProbeWin>(); }));
  testsupport::RunEventsFor(20);
  EXPECT_EQ(ProbeWin::Instance().Ctl<fw::StaticText>("Label").Text(), "design text");
}

TEST(Window, KeysDeliveredThroughThePlatformWindowReachKeyDownOnce) {
  ProbeWin& win = ProbeWin::Instance();
  win.Show();
  QWidget* frame = WidgetOf(win.Ctl<fw::StaticText>("Label"))->window();
  ASSERT_TRUE(WaitUntil([&] { return frame->windowHandle() != nullptr; }));
  // As the platform delivers it: to the window first, then to its widgets.
  QTest::keyClick(frame->windowHandle(), Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(win.keyDowns, 1);
  EXPECT_EQ(win.lastKey, "D");
  EXPECT_TRUE(win.sawCommand);
  EXPECT_TRUE(win.sawShift);
}

TEST(Window, TextIsPlainAndCarriageReturnsBreakLines) {
  auto& label = ProbeWin::Instance().Ctl<fw::StaticText>("Label");
  label.SetText("<b>bold?</b>\rnext");
  auto* qlabel = qobject_cast<QLabel*>(WidgetOf(label));
  ASSERT_NE(qlabel, nullptr);
  EXPECT_EQ(qlabel->textFormat(), Qt::PlainText);
  EXPECT_EQ(qlabel->text().toStdString(), "<b>bold?</b>\nnext");
  EXPECT_EQ(label.Text(), "<b>bold?</b>\rnext");
}

class ResizableWin : public fw::Window {
 protected:
  void Layout() override {
    SetResizeable(true);
    SetSize(300, 172);
  }
  void CreateControls() override {
    Add<fw::EditField>("Response", 20, 37, 260, 116).SetLocks(true, true, true, true);
    Add<fw::StaticText>("Corner", 250, 150, 40, 16).SetLocks(false, false, true, true);
  }
};

TEST(Window, AResizableWindowOpensAtItsOwnSizeAndLockedControlsFollowIt) {
  auto& win = fw::ImplicitInstance<ResizableWin>();
  fw::Control& response = win.Ctl<fw::EditField>("Response");
  fw::Control& corner = win.Ctl<fw::StaticText>("Corner");
  QWidget* content = WidgetOf(response)->parentWidget();
  win.Show();
  EXPECT_EQ(content->size(), QSize(300, 172)) << "not its minimum size";
  EXPECT_GE(content->window()->height(), 172);

  response.FollowWindow(300, 172, 400, 200);
  corner.FollowWindow(300, 172, 400, 200);
  EXPECT_EQ(std::vector<int>({response.Left(), response.Width(), response.Height()}),
            std::vector<int>({20, 360, 144}));
  EXPECT_EQ(std::vector<int>({corner.Left(), corner.Top(), corner.Width()}),
            std::vector<int>({350, 178, 40}));
}

TEST(Controls, PopupSelectionAndChange) {
  auto& popup = ProbeWin::Instance().Add<fw::PopupMenu>("Units", 0, 0, 100, 20);
  int changes = 0;
  popup.Change = [&] { ++changes; };
  popup.AddRow("Celsius");
  popup.AddRow("Fahrenheit");
  EXPECT_EQ(popup.ListIndex(), -1) << "adding rows selects nothing by itself";
  EXPECT_EQ(popup.Text(), "");
  popup.SetListIndex(1);
  EXPECT_EQ(popup.Text(), "Fahrenheit");
  popup.SetListIndex(1);
  EXPECT_EQ(changes, 1) << "only a change of selection raises Change";
  popup.SetListIndex(7);
  EXPECT_EQ(popup.ListIndex(), -1);
  EXPECT_EQ(changes, 2);
}

TEST(Controls, DefaultAndCancelButtonsAnswerReturnAndEscape) {
  auto& win = ProbeWin::Instance();
  int saved = 0, cancelled = 0;
  auto& save = win.Add<fw::PushButton>("Save", 0, 0, 60, 20).Default();
  win.Add<fw::PushButton>("Cancel", 70, 0, 60, 20).Cancel().Action = [&] { ++cancelled; };
  save.Action = [&] { ++saved; };
  QWidget* field = WidgetOf(win.Ctl<fw::EditField>("Field"));
  Send(field, Qt::Key_Return, Qt::NoModifier, "\r");
  Send(field, Qt::Key_Escape, Qt::NoModifier, "\x1b");
  EXPECT_EQ(saved, 1);
  EXPECT_EQ(cancelled, 1);
  save.SetEnabled(false);
  Send(field, Qt::Key_Return, Qt::NoModifier, "\r");
  EXPECT_EQ(saved, 1) << "a disabled default button is not pressed";
}

TEST(Controls, ASpinnerOverAButtonLetsItsClicksThrough) {
  auto& win = ProbeWin::Instance();
  auto& button = win.Add<fw::BevelButton>("Refresh", 6, 67, 20, 20);
  win.Add<fw::ChasingArrows>("Spinner", 8, 69, 16, 16);
  win.Show();
  EXPECT_EQ(WidgetOf(button)->parentWidget()->childAt(16, 77), WidgetOf(button));
}

}  // namespace
