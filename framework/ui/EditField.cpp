#include "framework/ui/EditField.h"

#include <QFrame>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "framework/ui/Control_p.h"
#include "framework/ui/PlainText.h"

namespace fw {

void EditField::Attach() { Rebuild(); }

void EditField::Rebuild() {
  QWidget* parent = MadeContentOf(OwnerWindow());
  if (!parent) return;
  delete impl_->widget.data();
  QWidget* widget = nullptr;
  if (multiline_) {
    auto* edit = new QPlainTextEdit(parent);
    edit->setPlainText(DisplayText(text_));
    edit->setReadOnly(readOnly_);
    edit->setVerticalScrollBarPolicy(vscroll_ ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    edit->setHorizontalScrollBarPolicy(hscroll_ ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    edit->setLineWrapMode(hscroll_ ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
    edit->setFrameShape(border_ ? QFrame::StyledPanel : QFrame::NoFrame);
    QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [this, edit] {
      // Only the user's typing changes the field's text; what code set stays exact.
      if (edit->property("settingText").toBool()) return;
      text_ = edit->toPlainText().toStdString();
    });
    widget = edit;
  } else {
    auto* edit = new QLineEdit(parent);
    edit->setText(DisplayText(text_));
    edit->setReadOnly(readOnly_);
    edit->setFrame(border_);
    // Not only typing: a screen reader or voice input sets the text
    // through the field's accessibility interface, which no edit signal reports.
    QObject::connect(edit, &QLineEdit::textChanged, edit, [this, edit](const QString& text) {
      if (edit->property("settingText").toBool()) return;
      text_ = text.toStdString();
    });
    widget = edit;
  }
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Base, Qt::white);
  palette.setColor(QPalette::Text, Qt::black);
  widget->setPalette(palette);
  widget->setFont(MakeFont(style_));
  widget->setObjectName(QString::fromStdString(Name()));
  impl_->widget = widget;
  ApplyGeometry();
  widget->setVisible(Visible());
  widget->setEnabled(Enabled());
}

std::string EditField::Text() const { return text_; }

void EditField::SetText(const std::string& text) {
  text_ = text;
  if (auto* edit = qobject_cast<QPlainTextEdit*>(impl_->widget.data())) {
    edit->setProperty("settingText", true);
    edit->setPlainText(DisplayText(text));
    edit->setProperty("settingText", false);
  } else if (auto* line = qobject_cast<QLineEdit*>(impl_->widget.data())) {
    line->setProperty("settingText", true);
    line->setText(DisplayText(text));
    line->setProperty("settingText", false);
  }
}

EditField& EditField::Font(const std::string& family, int size) {
  style_.font = family;
  style_.size = size;
  if (impl_->widget) impl_->widget->setFont(MakeFont(style_));
  return *this;
}

EditField& EditField::Multiline(bool on) {
  if (multiline_ != on) {
    multiline_ = on;
    Rebuild();
  }
  return *this;
}

EditField& EditField::ReadOnly(bool on) {
  readOnly_ = on;
  if (auto* edit = qobject_cast<QPlainTextEdit*>(impl_->widget.data())) edit->setReadOnly(on);
  if (auto* line = qobject_cast<QLineEdit*>(impl_->widget.data())) line->setReadOnly(on);
  return *this;
}

EditField& EditField::ScrollBars(bool vertical, bool horizontal) {
  vscroll_ = vertical;
  hscroll_ = horizontal;
  if (multiline_) Rebuild();
  return *this;
}

EditField& EditField::Border(bool on) {
  border_ = on;
  Rebuild();
  return *this;
}

}  // namespace fw
