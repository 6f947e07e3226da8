#include "framework/ui/EditCommand_p.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <type_traits>

#include "framework/text/Text.h"

namespace fw {

EditCommand EditCommandOf(const std::string& name) {
  if (StrEq(name, "EditUndo")) return EditCommand::Undo;
  if (StrEq(name, "EditCut")) return EditCommand::Cut;
  if (StrEq(name, "EditCopy")) return EditCommand::Copy;
  if (StrEq(name, "EditPaste")) return EditCommand::Paste;
  if (StrEq(name, "EditClear")) return EditCommand::Clear;
  return EditCommand::None;
}

namespace {

// What a one-line and a multi-line field do alike; only Clear differs.
template <class Field>
bool Run(Field* field, EditCommand command) {
  switch (command) {
    case EditCommand::Undo:
      field->undo();
      return true;
    case EditCommand::Cut:
      field->cut();
      return true;
    case EditCommand::Copy:
      field->copy();
      return true;
    case EditCommand::Paste:
      field->paste();
      return true;
    case EditCommand::Clear:
      if constexpr (std::is_same_v<Field, QLineEdit>) {
        field->del();
      } else {
        field->textCursor().removeSelectedText();
      }
      return true;
    case EditCommand::None:
      return false;
  }
  return false;
}

bool Available(EditCommand command, bool writable, bool undoable, bool selection) {
  switch (command) {
    case EditCommand::Undo:
      return writable && undoable;
    case EditCommand::Cut:
    case EditCommand::Clear:
      return writable && selection;
    case EditCommand::Copy:
      return selection;
    case EditCommand::Paste:
      return writable;
    case EditCommand::None:
      return false;
  }
  return false;
}

}  // namespace

bool RunEditCommand(EditCommand command) {
  QWidget* focus = QApplication::focusWidget();
  if (auto* line = qobject_cast<QLineEdit*>(focus)) return Run(line, command);
  if (auto* text = qobject_cast<QPlainTextEdit*>(focus)) return Run(text, command);
  return false;
}

bool EditCommandAvailable(EditCommand command) {
  QWidget* focus = QApplication::focusWidget();
  if (auto* line = qobject_cast<QLineEdit*>(focus))
    return Available(command, !line->isReadOnly(), line->isUndoAvailable(), line->hasSelectedText());
  if (auto* text = qobject_cast<QPlainTextEdit*>(focus))
    return Available(command, !text->isReadOnly(), text->document()->isUndoAvailable(),
                     text->textCursor().hasSelection());
  return false;
}

}  // namespace fw
