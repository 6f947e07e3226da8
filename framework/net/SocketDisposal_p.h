#pragma once
// Safe disposal of the socket layer's Qt objects.
//
// A handler of a socket event may run a nested event loop (a modal box) and
// may close or destroy its socket meanwhile. Qt's own deleteLater would
// then delete the Qt socket inside that nested loop, while the frames of
// the signal that called the handler still use it further out on the
// stack. So every entry from Qt into the socket layer holds a
// DispatchScope, and disposed objects are deleted only on the loop at a
// moment when no such scope is open.
class QObject;

namespace fw::net_detail {

class DispatchScope {
 public:
  DispatchScope();
  ~DispatchScope();
  DispatchScope(const DispatchScope&) = delete;
  DispatchScope& operator=(const DispatchScope&) = delete;
};

// Deletes the object (and its children) later, once no DispatchScope is
// open. Disposing of the same object twice is harmless.
void DisposeLater(QObject* object);

}  // namespace fw::net_detail
