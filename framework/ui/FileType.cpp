#include "framework/ui/FileType.h"

#include <algorithm>
#include <utility>

namespace fw {

namespace {
std::vector<std::shared_ptr<FileType>>& Registry() {
  static std::vector<std::shared_ptr<FileType>> types;
  return types;
}
}  // namespace

FileType::FileType(std::string name, std::vector<std::string> extensions, std::string macType,
                   std::string macCreator)
    : name_(std::move(name)),
      extensions_(std::move(extensions)),
      macType_(std::move(macType)),
      macCreator_(std::move(macCreator)) {}

void RegisterFileType(const std::shared_ptr<FileType>& type) {
  if (!type) return;
  auto& types = Registry();
  if (std::find(types.begin(), types.end(), type) == types.end()) types.push_back(type);
}

std::vector<std::shared_ptr<FileType>> RegisteredFileTypes() { return Registry(); }

void ReleaseFileTypes() { Registry().clear(); }

}  // namespace fw
