#pragma once
// Private to the files library: the AppleDouble companion file ("._" + name)
// that carries an item's Finder info and resource fork, and the small file
// helpers the library shares. Paths are native byte strings.
#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fw::detail {

constexpr std::uint32_t kEntryResourceFork = 2;
constexpr std::uint32_t kEntryFinderInfo = 9;
constexpr std::size_t kFinderInfoSize = 32;
// Finder flags word, at the same offset for files (FInfo) and folders (DInfo).
constexpr std::size_t kFinderFlagsOffset = 8;
constexpr std::uint16_t kFlagInvisible = 0x4000;

struct AppleDoubleEntry {
  std::uint32_t id = 0;
  std::string data;
};

struct AppleDouble {
  // Kept as read: Mac tools put their own mark here and look for it again.
  std::array<char, 16> filler{};
  std::vector<AppleDoubleEntry> entries;

  const std::string* Find(std::uint32_t id) const;
  void Set(std::uint32_t id, std::string data);
};

// None when the bytes are not an AppleDouble header. Entries that reach past
// the end of the bytes, or repeat an id, are dropped.
std::optional<AppleDouble> ParseAppleDouble(std::string_view bytes);
// Finder info first, then the resource fork, then any other entries in their
// order. None when the result would not fit the format's 32-bit offsets.
std::optional<std::string> SerializeAppleDouble(const AppleDouble& file);

enum class CompanionState {
  Missing,     // no companion: no metadata
  Read,        // read (possibly with bad entries dropped)
  Corrupt,     // not an AppleDouble file: no metadata, may be replaced
  Unreadable,  // cannot be read (permissions, a folder, far too big): leave it alone
};

struct Companion {
  CompanionState state = CompanionState::Missing;
  AppleDouble content;
};

// The companion's path for an item; empty when the item cannot have one.
std::string CompanionPath(const std::string& itemPath);
Companion ReadCompanion(const std::string& itemPath);
// Replaces the companion as a whole (through a temporary file, flushed to
// the disk and renamed over it, so a failed write leaves the old one).
bool WriteCompanion(const std::string& itemPath, const AppleDouble& content);

// The native path as the standard library wants it (UTF-8 on Windows).
std::filesystem::path ToFsPath(const std::string& path);
// A path the library can hand to the system: not empty, no NUL byte.
bool UsablePath(const std::string& path);
std::FILE* OpenFile(const std::string& path, const char* mode);
// Reads a whole regular file of at most `limit` bytes.
bool ReadWholeFile(const std::string& path, std::string& out, std::uint64_t limit);
bool IsDirectory(const std::string& path);
bool IsRegularFile(const std::string& path);
bool ExistsOnDisk(const std::string& path);

// Big-endian access; callers check the bounds.
std::uint16_t GetU16(std::string_view bytes, std::size_t pos);
std::uint32_t GetU32(std::string_view bytes, std::size_t pos);
void PutU16(std::string& out, std::uint16_t value);
void PutU32(std::string& out, std::uint32_t value);

// A four-character code: cut to four bytes or padded with spaces.
std::string FourCharCode(const std::string& code);

}  // namespace fw::detail
