#include "framework/net/SocketDisposal_p.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <vector>

namespace fw::net_detail {

namespace {

// Everything runs on the one GUI thread.
int depth = 0;
bool flushPosted = false;
std::vector<QPointer<QObject>>& Graveyard() {
  static std::vector<QPointer<QObject>> objects;
  return objects;
}

void Flush() {
  if (depth > 0) return;  // the outermost scope posts another flush when it closes
  std::vector<QPointer<QObject>> doomed;
  doomed.swap(Graveyard());
  for (const QPointer<QObject>& object : doomed) delete object.data();
}

void PostFlush() {
  if (flushPosted) return;
  flushPosted = true;
  QTimer::singleShot(0, [] {
    flushPosted = false;
    Flush();
  });
}

}  // namespace

DispatchScope::DispatchScope() { ++depth; }

DispatchScope::~DispatchScope() {
  if (--depth == 0 && !Graveyard().empty()) PostFlush();
}

void DisposeLater(QObject* object) {
  if (!object) return;
  for (const QPointer<QObject>& known : Graveyard()) {
    if (known.data() == object) return;
  }
  Graveyard().emplace_back(object);
  PostFlush();
}

}  // namespace fw::net_detail
