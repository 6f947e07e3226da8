#include "framework/files/ResourceFork.h"

#include <algorithm>
#include <string_view>

#include "framework/files/AppleDouble.h"
#include "framework/files/BigEndian.h"
#include "framework/files/Companion.h"
#include "framework/files/FileAccess.h"
#include "framework/files/FourCharCode.h"

namespace fw {

namespace {

using detail::GetU16;
using detail::GetU32;
using detail::PutU16;
using detail::PutU32;

// The classic layout: a 16-byte header, room for system and application
// data up to byte 256, the resource data, then the resource map.
constexpr std::uint32_t kDataStart = 256;
constexpr std::size_t kForkHeaderSize = 16;
// Header copy, next-map handle, file reference, attributes, two offsets.
constexpr std::size_t kMapHeaderSize = 28;
constexpr std::size_t kTypeEntrySize = 8;
constexpr std::size_t kReferenceSize = 12;
constexpr std::uint16_t kNoName = 0xFFFF;
constexpr std::uint32_t kMaxDataOffset = 0xFFFFFF;  // three bytes in a reference
constexpr std::size_t kMaxNameLength = 255;

std::string ResourceName(const std::string& name) { return name.substr(0, kMaxNameLength); }

// None when the bytes are not a sound fork: every offset is checked against
// the part of the fork it must lie in.
std::optional<std::vector<Resource>> DecodeFork(std::string_view fork) {
  std::vector<Resource> resources;
  if (fork.empty()) return resources;
  if (fork.size() < kForkHeaderSize) return std::nullopt;
  const std::uint64_t dataOffset = GetU32(fork, 0);
  const std::uint64_t mapOffset = GetU32(fork, 4);
  const std::uint64_t dataLength = GetU32(fork, 8);
  const std::uint64_t mapLength = GetU32(fork, 12);
  if (dataOffset + dataLength > fork.size() || mapOffset + mapLength > fork.size()) {
    return std::nullopt;
  }
  const std::string_view data = fork.substr(dataOffset, dataLength);
  const std::string_view map = fork.substr(mapOffset, mapLength);
  if (map.size() < kMapHeaderSize) return std::nullopt;

  const std::size_t typeList = GetU16(map, 24);
  const std::size_t nameList = GetU16(map, 26);
  if (typeList + 2 > map.size()) return std::nullopt;
  const std::size_t typeCount = (GetU16(map, typeList) + 1u) & 0xFFFFu;
  if (typeList + 2 + typeCount * kTypeEntrySize > map.size()) return std::nullopt;

  // Sound forks neither share references nor data between resources; refusing
  // that keeps a hostile fork from multiplying a small file into a huge list.
  std::uint64_t referenceBytes = 0;
  std::uint64_t dataBytes = 0;
  for (std::size_t t = 0; t < typeCount; ++t) {
    const std::size_t entry = typeList + 2 + t * kTypeEntrySize;
    const std::string type(map.substr(entry, 4));
    const std::size_t count = GetU16(map, entry + 4) + 1u;
    const std::size_t references = typeList + GetU16(map, entry + 6);
    referenceBytes += count * kReferenceSize;
    if (references + count * kReferenceSize > map.size() || referenceBytes > map.size()) {
      return std::nullopt;
    }
    for (std::size_t r = 0; r < count; ++r) {
      const std::size_t ref = references + r * kReferenceSize;
      Resource resource;
      resource.type = type;
      resource.id = static_cast<std::int16_t>(GetU16(map, ref));
      const std::uint16_t nameOffset = GetU16(map, ref + 2);
      if (nameOffset != kNoName) {
        const std::size_t at = nameList + nameOffset;
        if (at >= map.size()) return std::nullopt;
        const std::size_t length = static_cast<unsigned char>(map[at]);
        if (at + 1 + length > map.size()) return std::nullopt;
        resource.name = std::string(map.substr(at + 1, length));
      }
      const std::uint64_t at = GetU32(map, ref + 4) & kMaxDataOffset;
      if (at + 4 > data.size()) return std::nullopt;
      const std::uint64_t length = GetU32(data, at);
      if (length > data.size() - at - 4) return std::nullopt;
      dataBytes += length;
      if (dataBytes > data.size()) return std::nullopt;
      resource.data = std::string(data.substr(at + 4, length));
      resources.push_back(std::move(resource));
    }
  }
  return resources;
}

// None when the resources do not fit the format's offsets.
std::optional<std::string> EncodeFork(const std::vector<Resource>& resources) {
  std::vector<std::string> types;
  for (const Resource& resource : resources) {
    if (std::find(types.begin(), types.end(), resource.type) == types.end()) {
      types.push_back(resource.type);
    }
  }
  if (types.size() > 0x10000) return std::nullopt;

  std::string data;
  std::string typeList;
  std::string references;
  std::string names;
  PutU16(typeList, static_cast<std::uint16_t>(types.size() - 1));  // 0xFFFF for none
  const std::size_t referencesStart = 2 + types.size() * kTypeEntrySize;
  for (const std::string& type : types) {
    std::size_t count = 0;
    const std::size_t firstReference = referencesStart + references.size();
    if (firstReference > 0xFFFF) return std::nullopt;
    for (const Resource& resource : resources) {
      if (resource.type != type) continue;
      ++count;
      if (data.size() > kMaxDataOffset || resource.data.size() > 0xFFFFFFFFu) return std::nullopt;
      PutU16(references, static_cast<std::uint16_t>(resource.id));
      if (resource.name.empty()) {
        PutU16(references, kNoName);
      } else {
        if (names.size() > 0x7FFF) return std::nullopt;
        PutU16(references, static_cast<std::uint16_t>(names.size()));
        const std::string name = ResourceName(resource.name);
        names.push_back(static_cast<char>(name.size()));
        names += name;
      }
      PutU32(references, static_cast<std::uint32_t>(data.size()));  // attributes byte 0
      PutU32(references, 0);                                        // handle
      PutU32(data, static_cast<std::uint32_t>(resource.data.size()));
      data += resource.data;
    }
    if (count > 0x10000) return std::nullopt;
    typeList += type;
    PutU16(typeList, static_cast<std::uint16_t>(count - 1));
    PutU16(typeList, static_cast<std::uint16_t>(firstReference));
  }

  const std::size_t nameListOffset = kMapHeaderSize + typeList.size() + references.size();
  if (nameListOffset > 0xFFFF) return std::nullopt;
  const std::uint64_t mapOffset = std::uint64_t{kDataStart} + data.size();
  const std::uint64_t mapLength = nameListOffset + names.size();
  if (mapOffset + mapLength > 0xFFFFFFFFull) return std::nullopt;

  std::string header;
  PutU32(header, kDataStart);
  PutU32(header, static_cast<std::uint32_t>(mapOffset));
  PutU32(header, static_cast<std::uint32_t>(data.size()));
  PutU32(header, static_cast<std::uint32_t>(mapLength));

  std::string fork = header;
  fork.resize(kDataStart, '\0');
  fork += data;
  fork += header;   // the map starts with a copy of the header
  PutU32(fork, 0);  // next map handle
  PutU16(fork, 0);  // file reference
  PutU16(fork, 0);  // fork attributes
  PutU16(fork, static_cast<std::uint16_t>(kMapHeaderSize));
  PutU16(fork, static_cast<std::uint16_t>(nameListOffset));
  fork += typeList;
  fork += references;
  fork += names;
  return fork;
}

}  // namespace

ResourceFork::ResourceFork(std::string filePath) : path_(std::move(filePath)) {
  const detail::Companion companion = detail::ReadCompanion(path_);
  if (const std::string* fork = companion.content.Find(detail::kEntryResourceFork)) {
    // A damaged fork reads as an empty one.
    if (std::optional<std::vector<Resource>> decoded = DecodeFork(*fork)) {
      resources_ = std::move(*decoded);
    }
  }
}

ResourceFork::~ResourceFork() {
  if (!closed_) Close();
}

void ResourceFork::AddResource(const std::string& data, const std::string& type, std::int16_t id,
                               const std::string& name) {
  Resource resource{detail::FourCharCode(type), id, ResourceName(name), data};
  auto same = std::find_if(resources_.begin(), resources_.end(),
                           [&](const Resource& r) { return r.type == resource.type && r.id == id; });
  if (same != resources_.end()) {
    *same = std::move(resource);
  } else {
    resources_.push_back(std::move(resource));
  }
  dirty_ = true;
  closed_ = false;
}

std::optional<Resource> ResourceFork::GetResource(const std::string& type, std::int16_t id) const {
  const std::string code = detail::FourCharCode(type);
  for (const Resource& resource : resources_) {
    if (resource.type == code && resource.id == id) return resource;
  }
  return std::nullopt;
}

bool ResourceFork::Close() {
  closed_ = true;
  if (!dirty_) return true;
  dirty_ = false;
  // The item may have gone since the fork was opened; a companion alone
  // would be an orphan.
  if (!detail::ExistsOnDisk(path_)) return false;
  const std::optional<std::string> fork = EncodeFork(resources_);
  if (!fork) return false;
  // Read again just before writing, so Finder info set meanwhile is kept.
  detail::Companion companion = detail::ReadCompanion(path_);
  if (companion.state == detail::CompanionState::Unreadable) return false;
  if (companion.content.Find(detail::kEntryFinderInfo) == nullptr) {
    companion.content.Set(detail::kEntryFinderInfo, std::string(detail::kFinderInfoSize, '\0'));
  }
  companion.content.Set(detail::kEntryResourceFork, *fork);
  return detail::WriteCompanion(path_, companion.content);
}

}  // namespace fw
