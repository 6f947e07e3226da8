#pragma once
#include <functional>
#include <memory>

#include "framework/ui/Control.h"

namespace fw {

// The cooperative thread: Run returns at once and its Run event follows
// on the event loop.
class Thread : public Control {
 public:
  Thread();
  ~Thread() override;
  void Run();
  int Priority() const { return priority_; }
  void SetPriority(int priority) { priority_ = priority; }
  int StackSize() const { return stackSize_; }
  void SetStackSize(int size) { stackSize_ = size; }
  // Runs waiting to start.
  int Pending() const { return pending_; }

  std::function<void()> RunEvent;

 private:
  std::shared_ptr<bool> alive_;
  int priority_ = 5, stackSize_ = 0, pending_ = 0;
};

}  // namespace fw
