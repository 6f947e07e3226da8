#include "framework/ui/BevelButton.h"

#include <QToolButton>

#include "framework/text/Exceptions.h"
#include "framework/ui/Control_p.h"
#include "framework/ui/Picture_p.h"

namespace fw {

void BevelButton::Attach() {
  auto* button = new QToolButton(ContentOf(OwnerWindow()));
  button->setObjectName(QString::fromStdString(Name()));
  button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  QObject::connect(button, &QToolButton::clicked, button, [this] {
    if (Action) {
      auto action = Action;
      Guarded(action);
    }
  });
  impl_->widget = button;
  if (HasOwnFont(style_)) button->setFont(MakeFont(style_));
  SetCaption(caption_);
  SetIcon(icon_);
}

void BevelButton::SetCaption(const std::string& caption) {
  caption_ = caption;
  if (auto* button = qobject_cast<QToolButton*>(impl_->widget.data())) {
    QString text = QString::fromStdString(caption);
    button->setText(text.replace(QStringLiteral("&"), QStringLiteral("&&")));
    button->setToolButtonStyle(caption.empty() ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextBesideIcon);
  }
}

BevelButton& BevelButton::CaptionSize(int size) {
  style_.size = size;
  if (impl_->widget) impl_->widget->setFont(MakeFont(style_));
  return *this;
}

void BevelButton::SetIcon(PicturePtr icon) {
  icon_ = std::move(icon);
  auto* button = qobject_cast<QToolButton*>(impl_->widget.data());
  if (!button) return;
  if (!icon_) {
    button->setIcon(QIcon());
    return;
  }
  // Drawn at the screen's pixel ratio when the button is painted.
  button->setIcon(IconOf(icon_));
  button->setIconSize(QSize(icon_->Width(), icon_->Height()));
}

void BevelButton::Push() {
  if (!Enabled() || !Visible()) return;
  if (auto* button = qobject_cast<QToolButton*>(impl_->widget.data())) {
    button->click();
  } else if (Action) {
    auto action = Action;
    Guarded(action);
  }
}

}  // namespace fw
