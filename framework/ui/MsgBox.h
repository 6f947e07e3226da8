#pragma once
// Modal message box with one button. The text is shown as plain text and a
// CR (Chr(13)) breaks the line where it stands. The box always fits on the
// screen: a long text shows its first lines, the last ending in an ellipsis.
#include <functional>
#include <string>

namespace fw {

void MsgBox(const std::string& text);

// Replaces what MsgBox does (tests record the boxes instead of showing
// them). An empty handler restores the real box.
using MsgBoxHandler = std::function<void(const std::string& text)>;
void SetMsgBoxHandler(MsgBoxHandler handler);

}  // namespace fw
