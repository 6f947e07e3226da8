#pragma once
// Private to the files library: the AppleDouble format of the companion
// file ("._" + name) that carries an item's Finder info and resource fork.
#include <array>
#include <cstddef>
#include <cstdint>
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

}  // namespace fw::detail
