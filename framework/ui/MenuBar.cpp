#include "framework/ui/MenuBar.h"

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

MenuBar::MenuBar() = default;
MenuBar::~MenuBar() = default;

void MenuBar::PrepareMenus() {
  if (Application* app = Application::Instance(); app && app->GetMenuBar() == this) {
    app->PrepareMenus();
  }
  for (int i = 0; i < Count(); ++i) EnableEditItems(Item(i));
}

void AttachMenuBar(MenuBar& bar, QMenuBar* widget) {
  // A menu without items still shows as a menu (an empty one).
  for (int i = 0; i < bar.Count(); ++i) widget->addAction(ShowItem(*bar.Item(i), widget, true));
}

}  // namespace fw
