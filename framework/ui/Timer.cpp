#include "framework/ui/Timer.h"

#include <QTimer>

#include "framework/text/Exceptions.h"

namespace fw {

struct Timer::TimerImpl {
  QTimer timer;
};

Timer::Timer() : timer_(std::make_unique<TimerImpl>()) {
  QObject::connect(&timer_->timer, &QTimer::timeout, [this] { Fire(); });
}

Timer::~Timer() = default;

void Timer::SetMode(int mode) {
  mode_ = (mode == Single || mode == Multiple) ? mode : Off;
  Reset();
}

void Timer::SetPeriod(int milliseconds) {
  period_ = milliseconds < 0 ? 0 : milliseconds;
  if (timer_->timer.isActive()) timer_->timer.setInterval(period_);
}

void Timer::Reset() {
  timer_->timer.stop();
  if (mode_ == Off) return;
  timer_->timer.setSingleShot(mode_ == Single);
  timer_->timer.start(period_);
}

void Timer::Fire() {
  // A single-shot timer is off once it has acted, before its Action runs:
  // the Action may switch it on again.
  if (mode_ == Single) mode_ = Off;
  if (Action) {
    auto action = Action;
    Guarded(action);
  }
}

}  // namespace fw
