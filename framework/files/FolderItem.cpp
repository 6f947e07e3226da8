#include "framework/files/FolderItem.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "framework/files/AppleDouble.h"
#include "framework/files/BigEndian.h"
#include "framework/files/Companion.h"
#include "framework/files/FileAccess.h"
#include "framework/files/FourCharCode.h"
#include "framework/files/Replacement.h"

namespace fw {

namespace fs = std::filesystem;

namespace {

using FinderInfo = std::string;  // kFinderInfoSize bytes, or more from a Mac tool

FinderInfo ReadFinderInfo(const std::string& path) {
  const detail::Companion companion = detail::ReadCompanion(path);
  FinderInfo info;
  if (const std::string* entry = companion.content.Find(detail::kEntryFinderInfo)) info = *entry;
  if (info.size() < detail::kFinderInfoSize) info.resize(detail::kFinderInfoSize, '\0');
  return info;
}

// Applies a change to the item's Finder info and writes the companion back,
// keeping every other entry. Nothing happens for a missing item or a
// companion that cannot be read (it might hold something we cannot see).
template <typename Change>
void ChangeFinderInfo(const std::string& path, Change change) {
  if (!detail::ExistsOnDisk(path)) return;
  detail::Companion companion = detail::ReadCompanion(path);
  if (companion.state == detail::CompanionState::Unreadable) return;
  FinderInfo info;
  if (const std::string* entry = companion.content.Find(detail::kEntryFinderInfo)) info = *entry;
  if (info.size() < detail::kFinderInfoSize) info.resize(detail::kFinderInfoSize, '\0');
  change(info);
  // Already so: a save that stamps its file again leaves the companion alone.
  const std::string* stored = companion.content.Find(detail::kEntryFinderInfo);
  if (companion.state == detail::CompanionState::Read && stored != nullptr && *stored == info) return;
  const bool blank = std::all_of(info.begin(), info.end(), [](char c) { return c == '\0'; });
  if (blank && companion.state == detail::CompanionState::Missing) return;  // nothing to keep
  companion.content.Set(detail::kEntryFinderInfo, std::move(info));
  detail::WriteCompanion(path, companion.content);
}

std::string Code(const FinderInfo& info, std::size_t at) {
  std::string code = info.substr(at, 4);
  if (std::all_of(code.begin(), code.end(), [](char c) { return c == '\0'; })) return {};
  return code;
}

FolderItem FromQtPath(const QString& path) { return FolderItem(QFile::encodeName(path).toStdString()); }

}  // namespace

FolderItem::FolderItem(std::string nativePath) : path_(std::move(nativePath)) {
  // "/a/b/" and "/a/b" are the same item; Name and Parent want the latter.
  while (path_.size() > 1 && path_.back() == '/') path_.pop_back();
}

std::optional<FolderItem> FolderItem::Child(const std::string& name) const {
  if (!detail::UsablePath(path_)) return std::nullopt;
  if (name.empty() || name == "." || name == ".." ||
      name.find_first_of(std::string("/\0", 2)) != std::string::npos) {
    return std::nullopt;
  }
  return FolderItem(path_ == "/" ? "/" + name : path_ + "/" + name);
}

std::optional<FolderItem> FolderItem::Parent() const {
  const std::size_t slash = path_.rfind('/');
  if (slash == std::string::npos || path_ == "/") return std::nullopt;
  return FolderItem(slash == 0 ? std::string("/") : path_.substr(0, slash));
}

std::string FolderItem::Name() const {
  const std::size_t slash = path_.rfind('/');
  if (path_ == "/") return path_;
  return slash == std::string::npos ? path_ : path_.substr(slash + 1);
}

bool FolderItem::Exists() const { return detail::ExistsOnDisk(path_); }

bool FolderItem::IsFolder() const { return detail::IsDirectory(path_); }

bool FolderItem::Delete() const {
  if (!detail::UsablePath(path_)) return false;
  std::error_code ec;
  // remove() refuses a folder that still holds anything.
  if (!fs::remove(detail::ToFsPath(path_), ec) || ec) return false;
  const std::string companion = detail::CompanionPath(path_);
  if (companion.empty()) return true;
  fs::remove(detail::ToFsPath(companion), ec);
  return !ec;
}

bool FolderItem::CreateAsFolder() const {
  if (!detail::UsablePath(path_)) return false;
  std::error_code ec;
  fs::create_directory(detail::ToFsPath(path_), ec);
  return IsFolder();
}

bool FolderItem::Visible() const {
  if (!Exists()) return true;
  const FinderInfo info = ReadFinderInfo(path_);
  return (detail::GetU16(info, detail::kFinderFlagsOffset) & detail::kFlagInvisible) == 0;
}

void FolderItem::SetVisible(bool visible) const {
  ChangeFinderInfo(path_, [visible](FinderInfo& info) {
    std::uint16_t flags = detail::GetU16(info, detail::kFinderFlagsOffset);
    flags = visible ? static_cast<std::uint16_t>(flags & ~detail::kFlagInvisible)
                    : static_cast<std::uint16_t>(flags | detail::kFlagInvisible);
    info[detail::kFinderFlagsOffset] = static_cast<char>(flags >> 8);
    info[detail::kFinderFlagsOffset + 1] = static_cast<char>(flags & 0xFF);
  });
}

// A folder's Finder info holds a window rectangle where a file's holds its
// type and creator, so folders have neither.
std::string FolderItem::MacType() const {
  if (!Exists() || IsFolder()) return {};
  return Code(ReadFinderInfo(path_), 0);
}

void FolderItem::SetMacType(const std::string& code) const {
  if (IsFolder()) return;
  const std::string fourChars = detail::FourCharCode(code);
  ChangeFinderInfo(path_, [&](FinderInfo& info) { info.replace(0, 4, fourChars); });
}

std::string FolderItem::MacCreator() const {
  if (!Exists() || IsFolder()) return {};
  return Code(ReadFinderInfo(path_), 4);
}

void FolderItem::SetMacCreator(const std::string& code) const {
  if (IsFolder()) return;
  const std::string fourChars = detail::FourCharCode(code);
  ChangeFinderInfo(path_, [&](FinderInfo& info) { info.replace(4, 4, fourChars); });
}

std::int64_t FolderItem::Length() const {
  if (!detail::UsablePath(path_)) return 0;
  std::error_code ec;
  const fs::path native = detail::ToFsPath(path_);
  if (!fs::is_regular_file(native, ec)) return 0;
  const std::uintmax_t size = fs::file_size(native, ec);
  return ec ? 0 : static_cast<std::int64_t>(size);
}

// Only plain files: opening a pipe or a device for writing could block or
// reach hardware.
std::unique_ptr<TextOutputStream> FolderItem::CreateTextFile() const {
  if (Exists() && !detail::IsRegularFile(path_)) return nullptr;
  std::FILE* file = detail::OpenFile(path_, "wb");
  if (file == nullptr) return nullptr;
  return std::make_unique<TextOutputStream>(file);
}

std::unique_ptr<TextOutputStream> FolderItem::ReplaceTextFile(LinkHandling links) const {
  std::unique_ptr<detail::Replacement> replacement = detail::Replacement::Begin(path_, links);
  if (!replacement) return nullptr;
  return std::make_unique<TextOutputStream>(std::move(replacement));
}

std::unique_ptr<TextInputStream> FolderItem::OpenAsTextFile() const {
  // The files read as text here are small; a larger one is not ours.
  constexpr std::uint64_t kLimit = 512ull * 1024 * 1024;
  std::string bytes;
  if (!detail::ReadWholeFile(path_, bytes, kLimit)) return nullptr;
  return std::make_unique<TextInputStream>(std::move(bytes));
}

std::unique_ptr<TextOutputStream> FolderItem::AppendToTextFile() const {
  if (Exists() && !detail::IsRegularFile(path_)) return nullptr;
  std::FILE* file = detail::OpenFile(path_, "ab");
  if (file == nullptr) return nullptr;
  return std::make_unique<TextOutputStream>(file);
}

std::unique_ptr<ResourceFork> FolderItem::OpenResourceFork() const {
  if (!Exists() || IsFolder()) return nullptr;
  return std::make_unique<ResourceFork>(path_);
}

FolderItem PreferencesFolder() {
  // Asked anew on every call: the environment may point elsewhere by now.
  const QString path = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  if (!path.isEmpty()) QDir().mkpath(path);
  return FromQtPath(path);
}

FolderItem TemporaryFolder() {
  QString path = QDir::tempPath();
  if (path.isEmpty()) {
    // TMPDIR names a folder that is not there (yet); the system's answer is
    // then empty, so make the folder as for the preferences.
    const QString wanted = qEnvironmentVariable("TMPDIR");
    if (!wanted.isEmpty() && QDir().mkpath(wanted)) path = QDir::tempPath();
    if (path.isEmpty()) path = QDir::cleanPath(wanted);
  }
  return FromQtPath(path);
}

}  // namespace fw
