#include "framework/files/Companion.h"

#include <filesystem>
#include <system_error>

#include "framework/files/FileAccess.h"
#include "framework/files/Replacement.h"

namespace fw::detail {

namespace fs = std::filesystem;

namespace {

// Resource forks top out near 16 MB (3-byte data offsets); anything much
// larger is not a companion we wrote and is not worth loading.
constexpr std::uint64_t kCompanionLimit = 256ull * 1024 * 1024;

}  // namespace

std::string CompanionPath(const std::string& itemPath) {
  if (!UsablePath(itemPath)) return {};
  const std::size_t slash = itemPath.rfind('/');
  const std::string name = slash == std::string::npos ? itemPath : itemPath.substr(slash + 1);
  if (name.empty() || name == "." || name == "..") return {};
  const std::string folder = itemPath.substr(0, slash == std::string::npos ? 0 : slash + 1);
  return folder + "._" + name;
}

Companion ReadCompanion(const std::string& itemPath) {
  Companion result;
  const std::string path = CompanionPath(itemPath);
  if (path.empty()) return result;
  std::error_code ec;
  const fs::file_status status = fs::status(ToFsPath(path), ec);
  if (status.type() == fs::file_type::not_found) return result;
  std::string bytes;
  if (ec || !ReadWholeFile(path, bytes, kCompanionLimit)) {
    result.state = CompanionState::Unreadable;
    return result;
  }
  std::optional<AppleDouble> parsed = ParseAppleDouble(bytes);
  if (!parsed) {
    result.state = CompanionState::Corrupt;
    return result;
  }
  result.state = CompanionState::Read;
  result.content = std::move(*parsed);
  return result;
}

bool WriteCompanion(const std::string& itemPath, const AppleDouble& content) {
  const std::string path = CompanionPath(itemPath);
  if (path.empty()) return false;
  const std::optional<std::string> bytes = SerializeAppleDouble(content);
  if (!bytes) return false;
  return ReplaceFile(path, *bytes);
}

}  // namespace fw::detail
