#include "framework/files/FileAccess.h"

#include <system_error>

namespace fw::detail {

namespace fs = std::filesystem;

fs::path ToFsPath(const std::string& path) {
#ifdef _WIN32
  return fs::path(std::u8string(path.begin(), path.end()));
#else
  return fs::path(path);
#endif
}

bool UsablePath(const std::string& path) { return !path.empty() && path.find('\0') == std::string::npos; }

std::FILE* OpenFile(const std::string& path, const char* mode) {
  if (!UsablePath(path)) return nullptr;
#ifdef _WIN32
  const std::wstring wide = ToFsPath(path).wstring();
  std::wstring wideMode;
  for (const char* c = mode; *c != '\0'; ++c) wideMode.push_back(static_cast<wchar_t>(*c));
  return _wfopen(wide.c_str(), wideMode.c_str());
#else
  return std::fopen(path.c_str(), mode);
#endif
}

bool IsDirectory(const std::string& path) {
  if (!UsablePath(path)) return false;
  std::error_code ec;
  return fs::is_directory(ToFsPath(path), ec);
}

bool IsRegularFile(const std::string& path) {
  if (!UsablePath(path)) return false;
  std::error_code ec;
  return fs::is_regular_file(ToFsPath(path), ec);
}

bool ExistsOnDisk(const std::string& path) {
  if (!UsablePath(path)) return false;
  std::error_code ec;
  return fs::exists(ToFsPath(path), ec);
}

bool ReadWholeFile(const std::string& path, std::string& out, std::uint64_t limit) {
  out.clear();
  if (!UsablePath(path)) return false;
  std::error_code ec;
  const fs::path native = ToFsPath(path);
  if (!fs::is_regular_file(native, ec)) return false;
  const std::uintmax_t size = fs::file_size(native, ec);
  if (ec || size > limit) return false;
  std::FILE* file = OpenFile(path, "rb");
  if (file == nullptr) return false;
  out.reserve(static_cast<std::size_t>(size));
  char buffer[16384];
  bool ok = true;
  for (;;) {
    const std::size_t got = std::fread(buffer, 1, sizeof buffer, file);
    out.append(buffer, got);
    if (out.size() > limit) {
      ok = false;  // it grew while we read it
      break;
    }
    if (got < sizeof buffer) {
      ok = std::ferror(file) == 0;
      break;
    }
  }
  std::fclose(file);
  if (!ok) out.clear();
  return ok;
}

}  // namespace fw::detail
