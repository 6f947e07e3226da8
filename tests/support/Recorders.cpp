#include "support/Recorders.h"

#include "framework/files/FolderItem.h"
#include "framework/ui/MsgBox.h"
#include "framework/ui/ShowURL.h"

namespace testsupport {

Recorders& Recorders::Get() {
  static Recorders recorders;
  return recorders;
}

void Recorders::Install() {
  fw::SetMsgBoxHandler([this](const std::string& text) {
    boxes.push_back(text);
    if (onBox) onBox(text);
  });
  fw::SetShowURLHandler([this](const std::string& url) { links.push_back(url); });
  fw::SetLaunchHandler([this](const fw::FolderItem& item, bool) { launches.push_back(item.NativePath()); });
}

void Recorders::Clear() {
  boxes.clear();
  links.clear();
  launches.clear();
  onBox = nullptr;
}

}  // namespace testsupport
