#include "framework/ui/PushButton.h"

#include <QPushButton>

#include "framework/text/Exceptions.h"
#include "framework/ui/Control_p.h"

namespace fw {

void PushButton::Attach() {
  auto* button = new QPushButton(ContentOf(OwnerWindow()));
  button->setObjectName(QString::fromStdString(Name()));
  button->setAutoDefault(false);
  QObject::connect(button, &QPushButton::clicked, button, [this] {
    if (Action) {
      auto action = Action;
      Guarded(action);
    }
  });
  impl_->widget = button;
  if (HasOwnFont(style_)) button->setFont(MakeFont(style_));
  button->setDefault(default_);
  SetCaption(caption_);
}

void PushButton::SetCaption(const std::string& caption) {
  caption_ = caption;
  if (auto* button = qobject_cast<QPushButton*>(impl_->widget.data())) {
    QString text = QString::fromStdString(caption);
    button->setText(text.replace(QStringLiteral("&"), QStringLiteral("&&")));
  }
}

PushButton& PushButton::Font(const std::string& family, int size) {
  style_.font = family;
  style_.size = size;
  if (impl_->widget) impl_->widget->setFont(MakeFont(style_));
  return *this;
}

PushButton& PushButton::Default(bool on) {
  default_ = on;
  if (auto* button = qobject_cast<QPushButton*>(impl_->widget.data())) button->setDefault(on);
  return *this;
}

PushButton& PushButton::Cancel(bool on) {
  cancel_ = on;
  return *this;
}

void PushButton::Push() {
  if (!Enabled() || !Visible()) return;
  if (auto* button = qobject_cast<QPushButton*>(impl_->widget.data())) {
    button->click();
  } else if (Action) {
    auto action = Action;
    Guarded(action);
  }
}

}  // namespace fw
