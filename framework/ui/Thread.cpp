#include "framework/ui/Thread.h"

#include <QTimer>

#include "framework/text/Exceptions.h"

namespace fw {

Thread::Thread() : alive_(std::make_shared<bool>(true)) {}

Thread::~Thread() { *alive_ = false; }

void Thread::Run() {
  ++pending_;
  std::weak_ptr<bool> alive = alive_;
  QTimer::singleShot(0, [this, alive] {
    auto flag = alive.lock();
    if (!flag || !*flag) return;
    --pending_;
    if (RunEvent) {
      auto run = RunEvent;
      Guarded(run);
    }
  });
}

}  // namespace fw
