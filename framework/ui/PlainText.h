#pragma once
// Turns the application's text into what a label shows: the application
// joins lines with CR, so every CR, CR LF and LF breaks the line.
#include <QString>
#include <string>

namespace fw {

QString DisplayText(const std::string& text);

}  // namespace fw
