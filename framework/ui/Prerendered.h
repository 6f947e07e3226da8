#pragma once
// Pictures drawn when the program is built (tools/prerender), at the sizes a
// start shows them, so that a start takes finished pixels instead of
// parsing and drawing vector artwork. Where they lie in the built-in
// resources, and their form; a program built without them draws from the
// artwork.
#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

namespace fw {

// The drawing of picture `number` filling `size` at pixel ratio `ratio`.
QString PrerenderedDrawing(int number, QSize size, int ratio);
// The text "WIDTH HEIGHT": the picture's own size.
QString PrerenderedSize(int number);

// A drawing as kept: "BZLI", width and height (16 bits each, little-endian),
// then the pixels as premultiplied RGBA bytes, row by row. Plain pixels
// need no image decoder: the first image read through Qt's reader loads
// its format plug-ins, which cost a start more than all the pictures.
QByteArray EncodePrerendered(const QImage& image);
// The image, or a null one when the bytes are not a drawing of that many pixels.
QImage DecodePrerendered(const QByteArray& bytes, QSize pixels);

}  // namespace fw
