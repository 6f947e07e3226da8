// How controls show text that does not fit them, and how a text field
// learns its text: labels that shrink or shorten, message boxes that stay on
// the screen, fields set through the accessibility interface.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleEditableTextInterface>
#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <functional>
#include <string>
#include <vector>

#include "framework/ui/Control_p.h"
#include "framework/ui/EditField.h"
#include "framework/ui/MsgBox_p.h"
#include "framework/ui/StaticText.h"
#include "framework/ui/TextStyle.h"
#include "framework/ui/Window.h"
#include "support/TestHooks.h"
#include "support/Wait.h"

namespace {

static testsupport::RegisterHook closeWindows(testsupport::HookTime::AfterTest,
                                              [] { fw::Window::CloseAll(); });

const QString kEllipsis = QString(QChar(0x2026));

class TextWin : public fw::Window {
 public:
  static TextWin& Instance() { return fw::ImplicitInstance<TextWin>(); }

 protected:
  void Layout() override { SetSize(320, 200); }
};

QLabel* LabelOf(fw::StaticText& text) { return qobject_cast<QLabel*>(text.impl().widget.data()); }

std::string Description(QWidget* widget) {
  return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Description).toStdString();
}

int Advance(const QLabel* label) { return QFontMetrics(label->font()).horizontalAdvance(label->text()); }

TEST(Labels, ATextTooWideShrinksWhereAllowedThenEndsInAnEllipsisWithTheWholeTextAsTooltip) {
  const std::string longStatus = "Error: this status text is far too long for the status line of the window";
  struct Case {
    std::string text;
    int width, smallest;
    fw::Align align;
    bool shortened;
  };
  const std::vector<Case> cases = {
      {"Ready", 157, 0, fw::Align::Right, false},
      {longStatus, 157, 0, fw::Align::Right, true},
      {"-10.5 \xC2\xB0"
       "C",
       34, 7, fw::Align::Left, false},
      {"-10.5 \xC2\xB0"
       "C",
       20, 0, fw::Align::Left, true},
      {longStatus, 157, 7, fw::Align::Left, true},
      {"first line\rsecond line, a much longer one than the label", 90, 0, fw::Align::Left, true},
  };
  TextWin& win = TextWin::Instance();
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text + " in " + std::to_string(c.width));
    auto& text = win.Add<fw::StaticText>("Label" + std::to_string(++n), 10, 10, c.width, 16);
    text.Font("System", 9).Alignment(c.align);
    if (c.smallest) text.ShrinkToFit(c.smallest);
    text.SetText(c.text);
    QLabel* label = LabelOf(text);
    const QString whole = QString::fromStdString(c.text).replace(QChar('\r'), QChar('\n'));
    EXPECT_EQ(text.Text(), c.text);
    for (const QString& line : label->text().split(QChar('\n')))
      EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(line), c.width) << line.toStdString();
    const int size = label->font().pixelSize();
    EXPECT_GE(size, c.smallest ? c.smallest : 9);
    EXPECT_LE(size, 9);
    if (size < 9) {
      // The largest size that holds it: one pixel more would not have.
      QFont larger = label->font();
      larger.setPixelSize(size + 1);
      EXPECT_GT(QFontMetrics(larger).horizontalAdvance(whole), c.width);
    }
    if (c.shortened) {
      EXPECT_TRUE(label->text().endsWith(kEllipsis)) << label->text().toStdString();
      EXPECT_EQ(label->toolTip().toStdString(), whole.toStdString());
      EXPECT_EQ(Description(label), whole.toStdString());
      if (c.smallest) {
        EXPECT_EQ(size, c.smallest);
      }
    } else {
      EXPECT_EQ(label->text().toStdString(), whole.toStdString());
      EXPECT_TRUE(label->toolTip().isEmpty());
      EXPECT_EQ(Description(label), "");
    }
  }

  // A label made wider shows its whole text again, and narrower shortens it.
  auto& status = win.Ctl<fw::StaticText>("Label2");
  status.SetBounds(0, 0, 320, 16);
  EXPECT_EQ(LabelOf(status)->text().toStdString(), longStatus);
  EXPECT_TRUE(LabelOf(status)->toolTip().isEmpty());
  status.SetBounds(0, 0, 100, 16);
  EXPECT_TRUE(LabelOf(status)->text().endsWith(kEllipsis));
  EXPECT_LE(Advance(LabelOf(status)), 100);

  // A text that wraps over several lines is never shortened.
  auto& wrapped = win.Add<fw::StaticText>("Wrapped", 10, 40, 60, 120);
  wrapped.Font("System", 9).Multiline();
  wrapped.SetText(longStatus);
  EXPECT_EQ(LabelOf(wrapped)->text().toStdString(), longStatus);
  EXPECT_TRUE(LabelOf(wrapped)->toolTip().isEmpty());
}

TEST(Labels, AFamilyTheMachineLacksIsDrawnInTheDesktopsFont) {
  TextWin& win = TextWin::Instance();
  auto& missing = win.Add<fw::StaticText>("Missing", 10, 10, 157, 17);
  missing.Font("No Such Family Here", 10).SetText("Connecting to server...");
  auto& system = win.Add<fw::StaticText>("System", 10, 30, 157, 17);
  system.Font("System", 10).SetText("Connecting to server...");
  EXPECT_EQ(LabelOf(missing)->font().family().toStdString(), QApplication::font().family().toStdString());
  EXPECT_EQ(LabelOf(missing)->font().pixelSize(), 10);
  EXPECT_EQ(LabelOf(missing)->font(), LabelOf(system)->font());
}

TEST(MessageBoxes, ALongTextIsCutAfterAFewLinesSoTheBoxFitsTheScreen) {
  const std::string head = "A Server Error Occurred\r\rSomething unexpected happened.\r\rError: ";
  std::string words, lines, word(60000, 'x');
  for (int i = 0; i < 6000; ++i) words += "body" + std::to_string(i) + " ";
  for (int i = 0; i < 3000; ++i) lines += "line " + std::to_string(i) + "\r\n";
  // text, whether it is cut
  const std::vector<std::pair<std::string, bool>> cases = {
      {head + "short body", false}, {head + words, true}, {head + lines, true}, {head + word, true}};
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  for (const auto& [text, cut] : cases) {
    SCOPED_TRACE(text.substr(head.size(), 20));
    auto box = fw::MakeMsgBox(text);
    box->show();
    ASSERT_TRUE(testsupport::WaitUntil([&] { return box->isVisible(); }));
    QApplication::processEvents();
    EXPECT_LE(box->height(), screen.height());
    EXPECT_LE(box->sizeHint().height(), screen.height());
    EXPECT_LE(box->width(), screen.width());
    const QString shown = box->text();
    EXPECT_TRUE(shown.startsWith("A Server Error Occurred\n\nSomething unexpected happened.\n\nError: "))
        << shown.left(80).toStdString();
    EXPECT_EQ(shown.endsWith(kEllipsis), cut);
    if (!cut) {
      EXPECT_EQ(shown.toStdString(),
                "A Server Error Occurred\n\nSomething unexpected happened.\n\nError: short body");
    }
    box->hide();
  }
}

TEST(TextFields, WhatIsSetThroughTheAccessibilityInterfaceIsTheFieldsText) {
  TextWin& win = TextWin::Instance();
  auto& field = win.Add<fw::EditField>("Place", 10, 10, 190, 22);
  auto& area = win.Add<fw::EditField>("Area", 10, 40, 190, 80);
  area.Multiline();
  using Edit = std::function<void(QAccessibleInterface*)>;
  // what the assistive technology does, and the text the field then holds
  const std::vector<std::pair<Edit, std::string>> edits = {
      {[](QAccessibleInterface* a) { a->editableTextInterface()->replaceText(0, 6, "Dunedin"); },
       "Dunedin, NZ"},
      {[](QAccessibleInterface* a) { a->editableTextInterface()->insertText(0, "Port "); },
       "Port Naseby, NZ"},
      {[](QAccessibleInterface* a) { a->editableTextInterface()->deleteText(6, 10); }, "Naseby"},
      {[](QAccessibleInterface* a) { a->setText(QAccessible::Value, "Oamaru"); }, "Oamaru"},
  };
  for (fw::EditField* f : {&field, &area}) {
    for (const auto& [edit, expected] : edits) {
      SCOPED_TRACE(f->Name() + " " + expected);
      f->SetText("Naseby, NZ");
      QAccessibleInterface* access = QAccessible::queryAccessibleInterface(f->impl().widget.data());
      ASSERT_NE(access, nullptr);
      ASSERT_NE(access->editableTextInterface(), nullptr);
      edit(access);
      EXPECT_EQ(access->textInterface()->text(0, access->textInterface()->characterCount()).toStdString(),
                expected);
      EXPECT_EQ(f->Text(), expected);
    }
  }
  // What the program sets stays exact, line ends included.
  area.SetText("a\rb");
  EXPECT_EQ(area.Text(), "a\rb");
  field.SetText("a\rb");
  EXPECT_EQ(field.Text(), "a\rb");
}

}  // namespace
