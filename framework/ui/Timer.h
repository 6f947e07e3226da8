#pragma once
// A timer that runs its Action on the event loop.
#include <functional>
#include <memory>

#include "framework/ui/Control.h"

namespace fw {

class Timer : public Control {
 public:
  enum Mode { Off = 0, Single = 1, Multiple = 2 };
  Timer();
  ~Timer() override;

  int GetMode() const { return mode_; }
  // Setting a mode other than Off starts the period anew.
  void SetMode(int mode);
  int Period() const { return period_; }
  void SetPeriod(int milliseconds);
  void Reset();

  std::function<void()> Action;

  struct TimerImpl;

 private:
  void Fire();
  int mode_ = Off;
  int period_ = 1000;
  std::unique_ptr<TimerImpl> timer_;
};

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
