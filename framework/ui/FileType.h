#pragma once
// Document types the application declares to the platform: a name, the
// file name extensions and the Mac type and creator codes of its files.
#include <memory>
#include <string>
#include <vector>

namespace fw {

class FileType {
 public:
  FileType(std::string name, std::vector<std::string> extensions, std::string macType,
           std::string macCreator);

  const std::string& Name() const { return name_; }
  const std::vector<std::string>& Extensions() const { return extensions_; }
  const std::string& MacType() const { return macType_; }
  const std::string& MacCreator() const { return macCreator_; }

 private:
  std::string name_;
  std::vector<std::string> extensions_;
  std::string macType_, macCreator_;
};

// Declares the type for the rest of the run. Registering the same type
// twice keeps one entry; none is ignored.
void RegisterFileType(const std::shared_ptr<FileType>& type);
// The declared types, in the order they were registered.
std::vector<std::shared_ptr<FileType>> RegisteredFileTypes();
// Forgets every declared type (at quit).
void ReleaseFileTypes();

}  // namespace fw
