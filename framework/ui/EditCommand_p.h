#pragma once
// The framework's text editing: the standard Edit items act on the text
// field that has the focus.
#include <string>

namespace fw {

enum class EditCommand { None, Undo, Cut, Copy, Paste, Clear };

// The command of the standard Edit item of that name, or None.
EditCommand EditCommandOf(const std::string& name);

// Carries the command out on the focused text field; false when there is
// no text field to act on.
bool RunEditCommand(EditCommand command);

// Whether the focused text field can carry the command out now.
bool EditCommandAvailable(EditCommand command);

}  // namespace fw
