#include "framework/ui/ProgressBar.h"

#include <QProgressBar>
#include <algorithm>

#include "framework/ui/Control_p.h"

namespace fw {

void ProgressBar::Attach() {
  auto* bar = new QProgressBar(ContentOf(OwnerWindow()));
  bar->setObjectName(QString::fromStdString(Name()));
  bar->setTextVisible(false);
  bar->setRange(0, maximum_);
  bar->setValue(value_);
  impl_->widget = bar;
}

void ProgressBar::SetValue(int value) {
  value_ = value;
  if (auto* bar = qobject_cast<QProgressBar*>(impl_->widget.data()))
    bar->setValue(std::clamp(value, 0, std::max(0, maximum_)));
}

void ProgressBar::SetMaximum(int maximum) {
  maximum_ = maximum;
  if (auto* bar = qobject_cast<QProgressBar*>(impl_->widget.data())) {
    bar->setRange(0, std::max(0, maximum));
    bar->setValue(std::clamp(value_, 0, std::max(0, maximum)));
  }
}

}  // namespace fw
