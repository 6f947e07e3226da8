#pragma once
#include <QMessageBox>
#include <memory>
#include <string>

namespace fw {

// The box MsgBox shows, made but not yet shown: a text too long for the
// screen is cut after its first lines, which end in an ellipsis.
std::unique_ptr<QMessageBox> MakeMsgBox(const std::string& text);

}  // namespace fw
