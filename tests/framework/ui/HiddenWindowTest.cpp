// A window that stays hidden makes no widgets; whenever it makes them (shown,
// or its widgets asked for), they show exactly what its controls were given.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <functional>
#include <string>
#include <vector>

#include "framework/ui/AppResources.h"
#include "framework/ui/BevelButton.h"
#include "framework/ui/Canvas.h"
#include "framework/ui/Control_p.h"
#include "framework/ui/EditField.h"
#include "framework/ui/Picture.h"
#include "framework/ui/PopupMenu.h"
#include "framework/ui/ProgressBar.h"
#include "framework/ui/PushButton.h"
#include "framework/ui/StaticText.h"
#include "framework/ui/Window.h"
#include "support/TestHooks.h"

namespace {

static testsupport::RegisterHook closeWindows(testsupport::HookTime::AfterTest,
                                              [] { fw::Window::CloseAll(); });

int g_actions = 0;

// One control of each kind, as a window's table makes them.
void MakeControls(fw::Window& win) {
  win.Add<fw::StaticText>("Label", 10, 10, 120, 16).Font("System", 12).Underline().TextColor(0x070FFF);
  win.Add<fw::StaticText>("Long", 10, 30, 40, 16);
  win.Add<fw::EditField>("Field", 10, 50, 120, 22).Font("System", 12);
  auto& popup = win.Add<fw::PopupMenu>("Popup", 10, 80, 120, 20).Font("System", 12);
  popup.AddRow("Celsius");
  popup.AddRow("Fahrenheit");
  win.Add<fw::PushButton>("Save", 140, 10, 69, 20).Font("System", 12).Default();
  win.Add<fw::BevelButton>("Refresh", 140, 40, 20, 20).CaptionSize(9).Action = [] { ++g_actions; };
  win.Add<fw::ProgressBar>("Progress", 140, 70, 100, 12);
  win.Add<fw::Canvas>("Picture", 220, 10, 32, 32);
}

// What the user would set while the window is about, hidden or not.
void SetThem(fw::Window& win) {
  win.Ctl<fw::StaticText>("Label").SetText("Naseby");
  win.Ctl<fw::StaticText>("Long").SetText("a text far too long for the label");
  win.Ctl<fw::StaticText>("Long").SetVisible(false);
  win.Ctl<fw::EditField>("Field").SetText("typed");
  win.Ctl<fw::PopupMenu>("Popup").SetListIndex(1);
  win.Ctl<fw::PushButton>("Save").SetCaption("Save & Go");
  win.Ctl<fw::PushButton>("Save").SetEnabled(false);
  auto& refresh = win.Ctl<fw::BevelButton>("Refresh");
  refresh.SetCaption("");
  if (fw::AppResources* resources = fw::AppResources::Get()) refresh.SetIcon(resources->GetPicture(182));
  win.Ctl<fw::ProgressBar>("Progress").SetValue(40);
  win.Ctl<fw::Canvas>("Picture").SetBounds(220, 12, 32, 32);
}

class EagerWin : public fw::Window {
 public:
  static EagerWin& Instance() { return fw::ImplicitInstance<EagerWin>(); }

 protected:
  void Layout() override {
    SetTitle("Eager");
    SetSize(260, 100);
    Realize();  // every control gets its widget as it is made
  }
  void CreateControls() override { MakeControls(*this); }
};

class LazyWin : public fw::Window {
 public:
  static LazyWin& Instance() { return fw::ImplicitInstance<LazyWin>(); }

 protected:
  void Layout() override {
    SetTitle("Lazy");
    SetSize(260, 100);
  }
  void CreateControls() override { MakeControls(*this); }
};

QWidget* WidgetOf(fw::Window& win, const std::string& name) { return win.FindControl(name)->impl().widget; }

// What a person sees of each control, and how it behaves.
std::vector<std::string> Looks(fw::Window& win) {
  std::vector<std::string> looks;
  for (int i = 0; i < win.ControlCount(); ++i) {
    const std::string& name = win.ControlAt(i).Name();
    QWidget* w = WidgetOf(win, name);
    if (w->isHidden()) {  // nothing of it to be seen
      looks.push_back(name + " hidden");
      continue;
    }
    std::string look = name + " " + std::to_string(w->geometry().x()) + "," +
                       std::to_string(w->geometry().y()) + " " + std::to_string(w->width()) + "x" +
                       std::to_string(w->height()) + (w->isEnabled() ? "" : " disabled") + " font " +
                       w->font().toString().toStdString();
    if (auto* l = qobject_cast<QLabel*>(w))
      look += " text " + l->text().toStdString() + " tip " + l->toolTip().toStdString() + " colour " +
              l->palette().color(QPalette::WindowText).name().toStdString();
    if (auto* e = qobject_cast<QLineEdit*>(w)) look += " text " + e->text().toStdString();
    if (auto* c = qobject_cast<QComboBox*>(w))
      look += " rows " + std::to_string(c->count()) + " shows " + c->currentText().toStdString();
    if (auto* b = qobject_cast<QPushButton*>(w))
      look += " caption " + b->text().toStdString() + (b->isDefault() ? " default" : "");
    if (auto* t = qobject_cast<QToolButton*>(w))
      look += " caption " + t->text().toStdString() + (t->icon().isNull() ? " no icon" : " icon") +
              " style " + std::to_string(t->toolButtonStyle());
    if (auto* p = qobject_cast<QProgressBar*>(w)) look += " value " + std::to_string(p->value());
    looks.push_back(look);
  }
  return looks;
}

TEST(HiddenWindow, MakesItsWidgetsWhenShownAndTheyShowWhatItsControlsWereGiven) {
  // The same window made at once and made while hidden, given the same.
  EagerWin& eager = EagerWin::Instance();
  eager.Show();
  SetThem(eager);

  const int widgetsBefore = static_cast<int>(QApplication::allWidgets().size());
  LazyWin& lazy = LazyWin::Instance();
  lazy.Hide();
  SetThem(lazy);
  EXPECT_FALSE(lazy.Realized());
  EXPECT_EQ(static_cast<int>(QApplication::allWidgets().size()), widgetsBefore)
      << "a hidden window makes none";

  lazy.Show();
  ASSERT_TRUE(lazy.Realized());
  const auto want = Looks(eager);
  const auto got = Looks(lazy);
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) EXPECT_EQ(got[i], want[i]);
}

TEST(HiddenWindow, AHiddenLabelIsFittedWhenShown) {
  LazyWin& win = LazyWin::Instance();
  win.Show();
  auto& text = win.Ctl<fw::StaticText>("Long");
  text.SetVisible(false);
  text.SetText("a text far too long for the label");
  text.SetVisible(true);
  auto* label = qobject_cast<QLabel*>(WidgetOf(win, "Long"));
  ASSERT_NE(label, nullptr);
  EXPECT_TRUE(label->text().endsWith(QChar(0x2026))) << label->text().toStdString();
  EXPECT_EQ(label->toolTip().toStdString(), "a text far too long for the label");
}

TEST(HiddenWindow, ItsButtonsAnswerAndAWindowMadeAndClosedAtOnceMakesNoWidgets) {
  const int widgetsBefore = static_cast<int>(QApplication::allWidgets().size());
  LazyWin& win = LazyWin::Instance();
  win.Hide();
  g_actions = 0;
  // (pushed, hidden first, disabled first, actions after)
  const std::vector<std::tuple<const char*, bool, bool, int>> pushes = {
      {"pushed", false, false, 1}, {"hidden", true, false, 1}, {"disabled", false, true, 1}};
  for (const auto& [what, hidden, disabled, actions] : pushes) {
    SCOPED_TRACE(what);
    auto& refresh = win.Ctl<fw::BevelButton>("Refresh");
    refresh.SetVisible(!hidden);
    refresh.SetEnabled(!disabled);
    refresh.Push();
    EXPECT_EQ(g_actions, actions);
    refresh.SetVisible(true);
    refresh.SetEnabled(true);
  }
  EXPECT_FALSE(win.Realized());
  win.Close();
  QApplication::sendPostedEvents();
  QApplication::processEvents();
  EXPECT_EQ(static_cast<int>(QApplication::allWidgets().size()), widgetsBefore);
}

}  // namespace
