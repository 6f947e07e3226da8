#include "framework/ui/MenuItem.h"

#include <QKeySequence>
#include <vector>

#include "framework/text/Exceptions.h"
#include "framework/text/Text.h"
#include "framework/ui/Application.h"
#include "framework/ui/EditCommand_p.h"
#include "framework/ui/MenuBar.h"
#include "framework/ui/MenuItem_p.h"

namespace fw {

namespace {

void Mirror(const QAction& from, QAction& to) {
  to.setSeparator(from.isSeparator());
  to.setText(from.text());
  to.setShortcut(from.shortcut());
  to.setShortcutContext(from.shortcutContext());
  to.setMenuRole(from.menuRole());
  to.setEnabled(from.isEnabled());
  if (QMenu* menu = to.menu()) menu->setEnabled(from.isEnabled());
}

}  // namespace

QAction* ShowItem(MenuItem& item, QWidget* owner, bool asMenu) {
  QAction* shown = nullptr;
  if (asMenu || item.Count() > 0) {
    auto* menu = new QMenu(owner);
    QObject::connect(menu, &QMenu::aboutToShow, [] { PrepareFromQt(); });
    for (int i = 0; i < item.Count(); ++i) menu->addAction(ShowItem(*item.Item(i), menu, false));
    shown = menu->menuAction();
  } else {
    shown = new QAction(owner);
    QObject::connect(shown, &QAction::triggered, [&item] { item.Trigger(); });
  }
  Mirror(*item.impl().action, *shown);
  auto& all = item.impl().shown;
  std::erase_if(all, [](const QPointer<QAction>& action) { return action.isNull(); });
  all.push_back(shown);
  return shown;
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

MenuItem::MenuItem() : impl_(std::make_unique<Impl>()) {
  impl_->action = std::make_unique<QAction>();
  // Items start disabled until the menus are prepared, like the platform's.
  QObject::connect(impl_->action.get(), &QAction::triggered, [this] { Trigger(); });
}

MenuItem::~MenuItem() {
  // Children first: what the bars show of them lives in this item's menus.
  children_.clear();
  // The bars that show the item lose it with it (a menu takes its action along).
  for (const QPointer<QAction>& shown : impl_->shown) {
    if (!shown) continue;
    if (QMenu* menu = shown->menu()) {
      delete menu;
    } else {
      delete shown.data();
    }
  }
}

void MenuItem::ShowChanges() {
  for (const QPointer<QAction>& shown : impl_->shown)
    if (shown) Mirror(*impl_->action, *shown);
}

void MenuItem::SetText(const std::string& text) {
  text_ = text;
  impl_->action->setSeparator(text == "-");
  // The caption is plain text: an "&" is shown, not taken as a mnemonic.
  // A separator has none: styles draw a separator's caption as a heading.
  QString caption = text == "-" ? QString() : QString::fromStdString(text);
  caption.replace(QStringLiteral("&"), QStringLiteral("&&"));
  impl_->action->setText(caption);
  ShowChanges();
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
  ShowChanges();
}

void MenuItem::SetEnabled(bool enabled) {
  enabled_ = enabled;
  impl_->action->setEnabled(enabled);
  ShowChanges();
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
  QAction* action = raw->impl_->action.get();
  if (raw->ItemKind() == Kind::Apple) {
    // On macOS these go to the application menu; elsewhere the role is
    // ignored and they stay where they are.
    action->setMenuRole(StrEq(raw->Text(), "About Breezeling") || InStr(raw->Text(), "About") == 1
                            ? QAction::AboutRole
                            : QAction::ApplicationSpecificRole);
  } else if (raw->ItemKind() == Kind::Quit) {
    action->setMenuRole(QAction::QuitRole);
  } else {
    action->setMenuRole(QAction::NoRole);
  }
  children_.push_back(std::move(item));
  for (const QPointer<QAction>& shown : impl_->shown)
    if (QMenu* menu = shown ? shown->menu() : nullptr) menu->addAction(ShowItem(*raw, menu, false));
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

}  // namespace fw
