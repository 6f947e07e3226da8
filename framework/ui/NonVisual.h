#pragma once
#include "framework/ui/Control.h"

namespace fw {

// A control made from a class that is not one (a socket, say), so that a
// window can hold it among its controls and find it by name.
template <class T>
class NonVisual : public Control, public T {};

}  // namespace fw
