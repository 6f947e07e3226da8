#include "framework/ui/Keyboard.h"

#include <QGuiApplication>

#include "framework/ui/Keyboard_p.h"

namespace fw {

KeyState& HandledKeys() {
  static KeyState keys;
  return keys;
}

bool Keyboard::CommandKey() {
  if (HandledKeys().active) return HandledKeys().command;
  return QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier;
}

bool Keyboard::ShiftKey() {
  if (HandledKeys().active) return HandledKeys().shift;
  return QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier;
}

}  // namespace fw
