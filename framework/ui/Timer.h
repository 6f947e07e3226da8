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

}  // namespace fw
