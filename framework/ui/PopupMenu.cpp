#include "framework/ui/PopupMenu.h"

#include <QComboBox>

#include "framework/text/Exceptions.h"
#include "framework/ui/Control_p.h"

namespace fw {

void PopupMenu::Attach() {
  auto* combo = new QComboBox(ContentOf(OwnerWindow()));
  combo->setObjectName(QString::fromStdString(Name()));
  combo->setFont(MakeFont(style_));
  {
    QSignalBlocker block(combo);
    for (const std::string& row : rows_) combo->addItem(QString::fromStdString(row));
    // The box selects its first row by itself; the selection is ours.
    combo->setCurrentIndex(index_);
  }
  QObject::connect(combo, &QComboBox::activated, combo, [this](int index) {
    if (index == index_) return;
    index_ = index;
    if (Change) {
      auto change = Change;
      Guarded(change);
    }
  });
  impl_->widget = combo;
}

void PopupMenu::AddRow(const std::string& text) {
  rows_.push_back(text);
  if (auto* combo = qobject_cast<QComboBox*>(impl_->widget.data())) {
    QSignalBlocker block(combo);
    combo->addItem(QString::fromStdString(text));
    // The box selects its first row by itself; the selection is ours.
    combo->setCurrentIndex(index_);
  }
}

void PopupMenu::DeleteAllRows() {
  rows_.clear();
  if (auto* combo = qobject_cast<QComboBox*>(impl_->widget.data())) {
    QSignalBlocker block(combo);
    combo->clear();
  }
  SetListIndex(-1);
}

std::string PopupMenu::List(int index) const {
  if (index < 0 || index >= ListCount()) return "";
  return rows_[static_cast<std::size_t>(index)];
}

void PopupMenu::SetListIndex(int index) {
  if (index < -1 || index >= ListCount()) index = -1;
  if (auto* combo = qobject_cast<QComboBox*>(impl_->widget.data())) {
    QSignalBlocker block(combo);
    combo->setCurrentIndex(index);
  }
  if (index == index_) return;
  index_ = index;
  if (Change) {
    auto change = Change;
    Guarded(change);
  }
}

PopupMenu& PopupMenu::Font(const std::string& family, int size) {
  style_.font = family;
  style_.size = size;
  if (impl_->widget) impl_->widget->setFont(MakeFont(style_));
  return *this;
}

}  // namespace fw
