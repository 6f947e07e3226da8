#include "framework/ui/EditCommand_p.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>

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

bool RunEditCommand(EditCommand command) {
  QWidget* focus = QApplication::focusWidget();
  if (auto* line = qobject_cast<QLineEdit*>(focus)) {
    switch (command) {
      case EditCommand::Undo:
        line->undo();
        return true;
      case EditCommand::Cut:
        line->cut();
        return true;
      case EditCommand::Copy:
        line->copy();
        return true;
      case EditCommand::Paste:
        line->paste();
        return true;
      case EditCommand::Clear:
        line->del();
        return true;
      case EditCommand::None:
        return false;
    }
  }
  if (auto* text = qobject_cast<QPlainTextEdit*>(focus)) {
    switch (command) {
      case EditCommand::Undo:
        text->undo();
        return true;
      case EditCommand::Cut:
        text->cut();
        return true;
      case EditCommand::Copy:
        text->copy();
        return true;
      case EditCommand::Paste:
        text->paste();
        return true;
      case EditCommand::Clear:
        text->textCursor().removeSelectedText();
        return true;
      case EditCommand::None:
        return false;
    }
  }
  return false;
}

bool EditCommandAvailable(EditCommand command) {
  QWidget* focus = QApplication::focusWidget();
  if (auto* line = qobject_cast<QLineEdit*>(focus)) {
    bool writable = !line->isReadOnly();
    switch (command) {
      case EditCommand::Undo:
        return writable && line->isUndoAvailable();
      case EditCommand::Cut:
      case EditCommand::Clear:
        return writable && line->hasSelectedText();
      case EditCommand::Copy:
        return line->hasSelectedText();
      case EditCommand::Paste:
        return writable;
      case EditCommand::None:
        return false;
    }
  }
  if (auto* text = qobject_cast<QPlainTextEdit*>(focus)) {
    bool writable = !text->isReadOnly();
    bool selection = text->textCursor().hasSelection();
    switch (command) {
      case EditCommand::Undo:
        return writable && text->document()->isUndoAvailable();
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
  }
  return false;
}

}  // namespace fw
