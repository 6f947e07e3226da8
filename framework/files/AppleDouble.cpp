#include "framework/files/AppleDouble.h"

#include <unordered_set>

#include "framework/files/BigEndian.h"

namespace fw::detail {

namespace {

constexpr std::uint32_t kMagic = 0x00051607;
constexpr std::uint32_t kVersion1 = 0x00010000;
constexpr std::uint32_t kVersion2 = 0x00020000;
constexpr std::size_t kHeaderSize = 26;
constexpr std::size_t kDescriptorSize = 12;

void AppendEntry(std::vector<const AppleDoubleEntry*>& order, const AppleDouble& file, std::uint32_t id) {
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

}  // namespace fw::detail
