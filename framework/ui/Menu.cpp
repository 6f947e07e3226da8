#include "framework/ui/Menu.h"

#include <QApplication>
#include <QKeySequence>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <algorithm>

#include "framework/text/Exceptions.h"
#include "framework/text/Text.h"
#include "framework/ui/Application.h"
#include "framework/ui/Menu_p.h"

namespace fw {

namespace {

// The framework's text editing: the standard Edit items act on the text
// field that has the focus.
enum class EditCommand { None, Undo, Cut, Copy, Paste, Clear };

EditCommand EditCommandOf(const std::string& name) {
  if (StrEq(name, "EditUndo")) return EditCommand::Undo;
  if (StrEq(name, "EditCut")) return EditCommand::Cut;
  if (StrEq(name, "EditCopy")) return EditCommand::Copy;
  if (StrEq(name, "EditPaste")) return EditCommand::Paste;
  if (StrEq(name, "EditClear")) return EditCommand::Clear;
  return EditCommand::None;
}

bool RunEditCommand(EditCommand command) {
  QWidget* focus = QApplication::focusWidget();
  if (auto* line = qobject_cast<QLineEdit*>(focus)) {
    switch (command) {
      case EditCommand::Undo: line->undo(); return true;
      case EditCommand::Cut: line->cut(); return true;
      case EditCommand::Copy: line->copy(); return true;
      case EditCommand::Paste: line->paste(); return true;
      case EditCommand::Clear: line->del(); return true;
      case EditCommand::None: return false;
    }
  }
  if (auto* text = qobject_cast<QPlainTextEdit*>(focus)) {
    switch (command) {
      case EditCommand::Undo: text->undo(); return true;
      case EditCommand::Cut: text->cut(); return true;
      case EditCommand::Copy: text->copy(); return true;
      case EditCommand::Paste: text->paste(); return true;
      case EditCommand::Clear: text->textCursor().removeSelectedText(); return true;
      case EditCommand::None: return false;
    }
  }
  return false;
}

bool EditCommandAvailable(EditCommand command) {
  QWidget* focus = QApplication::focusWidget();
  if (auto* line = qobject_cast<QLineEdit*>(focus)) {
    bool writable = !line->isReadOnly();
    switch (command) {
      case EditCommand::Undo: return writable && line->isUndoAvailable();
      case EditCommand::Cut: case EditCommand::Clear: return writable && line->hasSelectedText();
      case EditCommand::Copy: return line->hasSelectedText();
      case EditCommand::Paste: return writable;
      case EditCommand::None: return false;
    }
  }
  if (auto* text = qobject_cast<QPlainTextEdit*>(focus)) {
    bool writable = !text->isReadOnly();
    bool selection = text->textCursor().hasSelection();
    switch (command) {
      case EditCommand::Undo: return writable && text->document()->isUndoAvailable();
      case EditCommand::Cut: case EditCommand::Clear: return writable && selection;
      case EditCommand::Copy: return selection;
      case EditCommand::Paste: return writable;
      case EditCommand::None: return false;
    }
  }
  return false;
}

void PrepareFromQt() {
  Application* app = Application::Instance();
  if (!app) return;
  if (MenuBar* bar = app->GetMenuBar()) {
    bar->PrepareMenus();
  } else {
    app->PrepareMenus();
  }
}

void EnableEditItems(MenuItem* item) {
  for (int i = 0; i < item->Count(); ++i) {
    MenuItem* child = item->Item(i);
    EditCommand command = EditCommandOf(child->Name());
    if (command != EditCommand::None) child->SetEnabled(EditCommandAvailable(command));
    EnableEditItems(child);
  }
}

}  // namespace

MenuItem::MenuItem() : impl_(std::make_unique<Impl>()) {
  impl_->action = std::make_unique<QAction>();
  // Items start disabled until the menus are prepared, like the platform's.
  QObject::connect(impl_->action.get(), &QAction::triggered, [this] { Trigger(); });
}

MenuItem::~MenuItem() {
  // Children first: their actions live in this item's menu.
  children_.clear();
}

void MenuItem::SetText(const std::string& text) {
  text_ = text;
  impl_->action->setSeparator(text == "-");
  // The caption is plain text: an "&" is shown, not taken as a mnemonic.
  // A separator has none: styles draw a separator's caption as a heading.
  QString caption = text == "-" ? QString() : QString::fromStdString(text);
  caption.replace(QStringLiteral("&"), QStringLiteral("&&"));
  impl_->action->setText(caption);
  if (impl_->menu) impl_->menu->setTitle(caption);
}

void MenuItem::SetKeyboardShortcut(const std::string& shortcut) {
  shortcut_ = shortcut;
  std::string keys = shortcut;
  // "Cmd" is the platform's command modifier: Control, or Command on macOS.
  keys = ReplaceAll(keys, "Cmd", "Ctrl");
  impl_->action->setShortcut(QKeySequence(QString::fromStdString(keys)));
  // A menu bar belongs to its window: the keys work in the windows that
  // show it (every window that shows a menu bar carries the application's).
  impl_->action->setShortcutContext(Qt::WindowShortcut);
}

void MenuItem::SetEnabled(bool enabled) {
  enabled_ = enabled;
  impl_->action->setEnabled(enabled);
  if (impl_->menu) impl_->menu->setEnabled(enabled);
}

MenuItem* MenuItem::Item(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return children_[static_cast<std::size_t>(index)].get();
}

MenuItem* MenuItem::Child(const std::string& name) const {
  for (const auto& child : children_)
    if (StrEq(child->Name(), name)) return child.get();
  return nullptr;
}

MenuItem* MenuItem::Lookup(const std::string& name) const {
  for (const auto& child : children_) {
    if (StrEq(child->Name(), name)) return child.get();
    if (MenuItem* found = child->Lookup(name)) return found;
  }
  return nullptr;
}

MenuItem* MenuItem::Append(std::unique_ptr<MenuItem> item) {
  if (!item) throw NilObjectException("MenuItem::Append of no item");
  MenuItem* raw = item.get();
  raw->parent_ = this;
  if (!impl_->menu) {
    impl_->menu = std::make_unique<QMenu>();
    impl_->menu->setTitle(impl_->action->text());
    impl_->menu->setEnabled(enabled_);
    impl_->action->setMenu(impl_->menu.get());
    QObject::connect(impl_->menu.get(), &QMenu::aboutToShow, [] { PrepareFromQt(); });
  }
  QAction* action = raw->impl_->action.get();
  if (raw->ItemKind() == Kind::Apple) {
    // On macOS these go to the application menu; elsewhere the role is
    // ignored and they stay where they are.
    action->setMenuRole(StrEq(raw->Text(), "About Breezeling") ||
                                InStr(raw->Text(), "About") == 1
                            ? QAction::AboutRole
                            : QAction::ApplicationSpecificRole);
  } else if (raw->ItemKind() == Kind::Quit) {
    action->setMenuRole(QAction::QuitRole);
  } else {
    action->setMenuRole(QAction::NoRole);
  }
  impl_->menu->addAction(action);
  children_.push_back(std::move(item));
  return raw;
}

void MenuItem::Trigger() {
  if (!enabled_) return;
  if (ItemKind() == Kind::Quit) {
    if (Application* app = Application::Instance()) app->Quit();
    return;
  }
  EditCommand command = EditCommandOf(name_);
  if (command != EditCommand::None) {
    RunEditCommand(command);
    return;
  }
  if (Application* app = Application::Instance()) app->HandleMenuCommand(name_);
}

MenuBar::MenuBar() : impl_(std::make_unique<Impl>()) {}
MenuBar::~MenuBar() = default;

void MenuBar::PrepareMenus() {
  if (Application* app = Application::Instance(); app && app->GetMenuBar() == this) {
    app->PrepareMenus();
  }
  for (int i = 0; i < Count(); ++i) EnableEditItems(Item(i));
}

void AttachMenuBar(MenuBar& bar, QMenuBar* widget) {
  auto& bars = bar.impl().bars;
  // Every window that shows the bar has its own; those of closed windows are gone.
  bars.erase(std::remove_if(bars.begin(), bars.end(), [](const auto& b) { return b.isNull(); }),
             bars.end());
  bars.push_back(widget);
  for (int i = 0; i < bar.Count(); ++i) {
    MenuItem* menu = bar.Item(i);
    // A menu without items still gets its own (empty) menu.
    if (!menu->impl().menu) {
      menu->impl().menu = std::make_unique<QMenu>();
      menu->impl().menu->setTitle(menu->impl().action->text());
      menu->impl().action->setMenu(menu->impl().menu.get());
      QObject::connect(menu->impl().menu.get(), &QMenu::aboutToShow, [] { PrepareFromQt(); });
    }
    widget->addMenu(menu->impl().menu.get());
  }
}

}  // namespace fw
