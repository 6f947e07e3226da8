#pragma once
// Pictures drawn when the program is built (tools/prerender), at the sizes a
// start shows them, so that a start reads finished images instead of
// parsing and drawing vector artwork. Where they lie in the built-in
// resources; a program built without them draws from the artwork.
#include <QSize>
#include <QString>

namespace fw {

// The drawing of picture `number` filling `size` at pixel ratio `ratio`.
QString PrerenderedDrawing(int number, QSize size, int ratio);
// The text "WIDTH HEIGHT": the picture's own size.
QString PrerenderedSize(int number);

}  // namespace fw
