// How a text field learns its text: typed, set by the program, or set
// through the accessibility interface.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleEditableTextInterface>
#include <functional>
#include <string>
#include <vector>

#include "framework/ui/Controls_p.h"
#include "framework/ui/Window.h"
#include "support/TestHooks.h"

namespace {

static testsupport::RegisterHook closeWindows(testsupport::HookTime::AfterTest, [] { fw::Window::CloseAll(); });

class TextWin : public fw::Window {
 public:
  static TextWin& Instance() { return fw::ImplicitInstance<TextWin>(); }

 protected:
  void Layout() override { SetSize(320, 200); }
};

TEST(TextFields, WhatIsSetThroughTheAccessibilityInterfaceIsTheFieldsText) {
  TextWin& win = TextWin::Instance();
  auto& field = win.Add<fw::EditField>("Place", 10, 10, 190, 22);
  auto& area = win.Add<fw::EditField>("Area", 10, 40, 190, 80);
  area.Multiline();
  using Edit = std::function<void(QAccessibleInterface*)>;
  // what the assistive technology does, and the text the field then holds
  const std::vector<std::pair<Edit, std::string>> edits = {
      {[](QAccessibleInterface* a) { a->editableTextInterface()->replaceText(0, 6, "Dunedin"); }, "Dunedin, NZ"},
      {[](QAccessibleInterface* a) { a->editableTextInterface()->insertText(0, "Port "); }, "Port Naseby, NZ"},
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
      EXPECT_EQ(access->textInterface()->text(0, access->textInterface()->characterCount()).toStdString(), expected);
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
