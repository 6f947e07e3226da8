#include "framework/ui/MenuBar.h"

#include <algorithm>

#include "framework/ui/Application.h"
#include "framework/ui/EditCommand_p.h"
#include "framework/ui/MenuBar_p.h"
#include "framework/ui/MenuItem_p.h"

namespace fw {

namespace {

void EnableEditItems(MenuItem* item) {
  for (int i = 0; i < item->Count(); ++i) {
    MenuItem* child = item->Item(i);
    EditCommand command = EditCommandOf(child->Name());
    if (command != EditCommand::None) child->SetEnabled(EditCommandAvailable(command));
    EnableEditItems(child);
  }
}

}  // namespace

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
  bars.erase(std::remove_if(bars.begin(), bars.end(), [](const auto& b) { return b.isNull(); }), bars.end());
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
