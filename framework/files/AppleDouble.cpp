#include "framework/files/AppleDouble.h"

#include "framework/files/Replacement.h"

#include <filesystem>
#include <system_error>
#include <unordered_set>

namespace fw::detail {

namespace fs = std::filesystem;

namespace {

constexpr std::uint32_t kMagic = 0x00051607;
constexpr std::uint32_t kVersion1 = 0x00010000;
constexpr std::uint32_t kVersion2 = 0x00020000;
constexpr std::size_t kHeaderSize = 26;
constexpr std::size_t kDescriptorSize = 12;
// Resource forks top out near 16 MB (3-byte data offsets); anything much
// larger is not a companion we wrote and is not worth loading.
constexpr std::uint64_t kCompanionLimit = 256ull * 1024 * 1024;

void AppendEntry(std::vector<const AppleDoubleEntry*>& order, const AppleDouble& file,
                 std::uint32_t id) {
  for (const AppleDoubleEntry& entry : file.entries) {
    if (entry.id == id) {
      order.push_back(&entry);
      return;
    }
  }
}

}  // namespace

const std::string* AppleDouble::Find(std::uint32_t id) const {
  for (const AppleDoubleEntry& entry : entries) {
    if (entry.id == id) return &entry.data;
  }
  return nullptr;
}

void AppleDouble::Set(std::uint32_t id, std::string data) {
  for (AppleDoubleEntry& entry : entries) {
    if (entry.id == id) {
      entry.data = std::move(data);
      return;
    }
  }
  entries.push_back({id, std::move(data)});
}

std::uint16_t GetU16(std::string_view bytes, std::size_t pos) {
  return static_cast<std::uint16_t>((static_cast<unsigned char>(bytes[pos]) << 8) |
                                    static_cast<unsigned char>(bytes[pos + 1]));
}

std::uint32_t GetU32(std::string_view bytes, std::size_t pos) {
  return (static_cast<std::uint32_t>(GetU16(bytes, pos)) << 16) | GetU16(bytes, pos + 2);
}

void PutU16(std::string& out, std::uint16_t value) {
  out.push_back(static_cast<char>(value >> 8));
  out.push_back(static_cast<char>(value & 0xFF));
}

void PutU32(std::string& out, std::uint32_t value) {
  PutU16(out, static_cast<std::uint16_t>(value >> 16));
  PutU16(out, static_cast<std::uint16_t>(value & 0xFFFF));
}

std::string FourCharCode(const std::string& code) {
  std::string result = code.substr(0, 4);
  result.resize(4, ' ');
  return result;
}

std::optional<AppleDouble> ParseAppleDouble(std::string_view bytes) {
  if (bytes.size() < kHeaderSize) return std::nullopt;
  if (GetU32(bytes, 0) != kMagic) return std::nullopt;
  const std::uint32_t version = GetU32(bytes, 4);
  if (version != kVersion1 && version != kVersion2) return std::nullopt;
  const std::size_t count = GetU16(bytes, 24);
  if (kHeaderSize + count * kDescriptorSize > bytes.size()) return std::nullopt;

  AppleDouble file;
  for (std::size_t i = 0; i < file.filler.size(); ++i) file.filler[i] = bytes[8 + i];
  // A hostile companion can repeat ids up to 65,535 times; a set keeps the
  // first-wins rule linear.
  std::unordered_set<std::uint32_t> seen;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t at = kHeaderSize + i * kDescriptorSize;
    const std::uint32_t id = GetU32(bytes, at);
    const std::uint64_t offset = GetU32(bytes, at + 4);
    const std::uint64_t length = GetU32(bytes, at + 8);
    if (id == 0 || offset > bytes.size() || length > bytes.size() - offset) continue;
    if (!seen.insert(id).second) continue;
    file.entries.push_back({id, std::string(bytes.substr(offset, length))});
  }
  return file;
}

std::optional<std::string> SerializeAppleDouble(const AppleDouble& file) {
  std::vector<const AppleDoubleEntry*> order;
  AppendEntry(order, file, kEntryFinderInfo);
  AppendEntry(order, file, kEntryResourceFork);
  for (const AppleDoubleEntry& entry : file.entries) {
    if (entry.id != kEntryFinderInfo && entry.id != kEntryResourceFork && entry.id != 0) {
      order.push_back(&entry);
    }
  }
  if (order.size() > 0xFFFF) return std::nullopt;

  std::uint64_t offset = kHeaderSize + order.size() * kDescriptorSize;
  std::string out;
  PutU32(out, kMagic);
  PutU32(out, kVersion2);
  out.append(file.filler.data(), file.filler.size());
  PutU16(out, static_cast<std::uint16_t>(order.size()));
  for (const AppleDoubleEntry* entry : order) {
    if (offset + entry->data.size() > 0xFFFFFFFFull) return std::nullopt;
    PutU32(out, entry->id);
    PutU32(out, static_cast<std::uint32_t>(offset));
    PutU32(out, static_cast<std::uint32_t>(entry->data.size()));
    offset += entry->data.size();
  }
  for (const AppleDoubleEntry* entry : order) out += entry->data;
  return out;
}

fs::path ToFsPath(const std::string& path) {
#ifdef _WIN32
  return fs::path(std::u8string(path.begin(), path.end()));
#else
  return fs::path(path);
#endif
}

bool UsablePath(const std::string& path) {
  return !path.empty() && path.find('\0') == std::string::npos;
}

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
