#pragma once
// A file's resource fork, in the classic resource-fork format, kept in the
// file's AppleDouble companion.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "framework/files/Resource.h"

namespace fw {

class ResourceFork {
 public:
  explicit ResourceFork(std::string filePath);
  ~ResourceFork();

  // Adds (or replaces) a resource; written when the fork is closed.
  void AddResource(const std::string& data, const std::string& type, std::int16_t id,
                   const std::string& name);
  std::optional<Resource> GetResource(const std::string& type, std::int16_t id) const;
  const std::vector<Resource>& Resources() const { return resources_; }
  // Writes the fork back; false when it could not be written.
  bool Close();

 private:
  std::string path_;
  std::vector<Resource> resources_;
  bool dirty_ = false;
  bool closed_ = false;
};

}  // namespace fw
