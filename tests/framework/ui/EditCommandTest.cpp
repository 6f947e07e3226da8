// The Edit items act on whichever text field has the focus, one-line or
// multi-line, and are offered only when they can act.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QVBoxLayout>
#include <QWidget>
#include <string>
#include <vector>

#include "framework/ui/EditCommand_p.h"
#include "support/Wait.h"

namespace {

using fw::EditCommand;

// Both kinds of field, with "Naseby" in each and its first three letters selected.
struct Fields {
  QWidget window;
  QLineEdit* line = new QLineEdit(&window);
  QPlainTextEdit* text = new QPlainTextEdit(&window);

  Fields() {
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(line);
    layout->addWidget(text);
    window.show();
    QApplication::setActiveWindow(&window);
    line->setText("Naseby");
    line->setSelection(0, 3);
    text->setPlainText("Naseby");
    QTextCursor cursor = text->textCursor();
    cursor.setPosition(0);
    cursor.setPosition(3, QTextCursor::KeepAnchor);
    text->setTextCursor(cursor);
  }
  void Focus(QWidget* field) {
    field->setFocus();
    EXPECT_TRUE(testsupport::WaitUntil([&] { return QApplication::focusWidget() == field; }));
  }
  std::string Text(QWidget* field) const {
    return (field == line ? line->text() : text->toPlainText()).toStdString();
  }
};

TEST(EditCommands, AreOfferedOnlyWhenTheFocusedFieldCanCarryThemOut) {
  struct Row {
    const char* what;
    bool readOnly, selection;
    std::vector<bool> offered;  // Undo, Cut, Copy, Paste, Clear
  };
  const std::vector<Row> rows = {
      {"writable with a selection", false, true, {false, true, true, true, true}},
      {"writable without one", false, false, {false, false, false, true, false}},
      {"read-only with a selection", true, true, {false, false, true, false, false}},
  };
  const std::vector<EditCommand> commands = {EditCommand::Undo, EditCommand::Cut, EditCommand::Copy,
                                             EditCommand::Paste, EditCommand::Clear};
  for (const Row& row : rows) {
    Fields fields;
    for (QWidget* field : {static_cast<QWidget*>(fields.line), static_cast<QWidget*>(fields.text)}) {
      SCOPED_TRACE(std::string(row.what) + (field == fields.line ? ", one line" : ", several lines"));
      fields.line->setReadOnly(row.readOnly);
      fields.text->setReadOnly(row.readOnly);
      if (!row.selection) {
        fields.line->deselect();
        QTextCursor cursor = fields.text->textCursor();
        cursor.clearSelection();
        fields.text->setTextCursor(cursor);
      }
      fields.Focus(field);
      for (std::size_t i = 0; i < commands.size(); ++i)
        EXPECT_EQ(fw::EditCommandAvailable(commands[i]), row.offered[i]) << "command " << i;
      EXPECT_FALSE(fw::EditCommandAvailable(EditCommand::None));
    }
  }
}

TEST(EditCommands, ActOnTheFocusedFieldOfEitherKind) {
  Fields fields;
  for (QWidget* field : {static_cast<QWidget*>(fields.line), static_cast<QWidget*>(fields.text)}) {
    SCOPED_TRACE(field == fields.line ? "one line" : "several lines");
    fields.Focus(field);
    EXPECT_TRUE(fw::RunEditCommand(EditCommand::Clear));
    EXPECT_EQ(fields.Text(field), "eby");
    EXPECT_TRUE(fw::EditCommandAvailable(EditCommand::Undo));
    EXPECT_TRUE(fw::RunEditCommand(EditCommand::Undo));
    EXPECT_EQ(fields.Text(field), "Naseby");
    EXPECT_FALSE(fw::RunEditCommand(EditCommand::None));
  }
  // Nothing to act on without a focused text field.
  QWidget other;
  other.setFocusPolicy(Qt::StrongFocus);
  other.show();
  QApplication::setActiveWindow(&other);
  other.setFocus();
  ASSERT_TRUE(testsupport::WaitUntil([&] { return QApplication::focusWidget() == &other; }));
  EXPECT_FALSE(fw::RunEditCommand(EditCommand::Paste));
  EXPECT_FALSE(fw::EditCommandAvailable(EditCommand::Paste));
}

}  // namespace
