// Finder info and resource forks, checked against the companion file's raw
// bytes as a Mac tool would read them.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "framework/files/FolderItem.h"

namespace {

using namespace std::string_literals;

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Big-endian reads that never go past the end: a bad layout reads as 0 or a
// marker and fails the comparisons.
struct Reader {
  const std::string& b;
  std::uint32_t U(std::size_t at, int size) const {
    std::uint32_t v = 0;
    for (int i = 0; i < size && at + size <= b.size(); ++i)
      v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
  }
  std::string S(std::size_t at, std::size_t n) const {
    return at + n <= b.size() ? b.substr(at, n) : "<past end>";
  }
};

struct RawEntry {
  std::uint32_t id;
  std::string data;
};

std::vector<RawEntry> ParseCompanion(const std::string& bytes) {
  const Reader r{bytes};
  EXPECT_EQ(r.U(0, 4), 0x00051607u);
  EXPECT_EQ(r.U(4, 4), 0x00020000u);
  std::vector<RawEntry> entries;
  for (std::uint32_t i = 0, d = 26; i < r.U(24, 2); ++i, d += 12) {
    entries.push_back({r.U(d, 4), r.S(r.U(d + 4, 4), r.U(d + 8, 4))});
  }
  return entries;
}

// (type, id) -> (name, data), walking the map the way the format lays it out.
using RawFork = std::map<std::pair<std::string, int>, std::pair<std::string, std::string>>;

RawFork ParseFork(const std::string& fork) {
  const Reader r{fork};
  const std::uint32_t dataOff = r.U(0, 4), mapOff = r.U(4, 4);
  EXPECT_EQ(dataOff, 256u);
  EXPECT_EQ(r.U(8, 4) + dataOff, mapOff);
  EXPECT_EQ(mapOff + r.U(12, 4), fork.size());
  const std::uint32_t typeList = mapOff + r.U(mapOff + 24, 2), nameList = mapOff + r.U(mapOff + 26, 2);
  RawFork out;
  for (std::uint32_t t = 0; t < ((r.U(typeList, 2) + 1) & 0xFFFF); ++t) {
    const std::size_t te = typeList + 2 + 8 * t;
    for (std::uint32_t k = 0; k <= r.U(te + 4, 2); ++k) {
      const std::size_t ref = typeList + r.U(te + 6, 2) + 12 * k;
      const std::uint32_t nameOff = r.U(ref + 2, 2), at = dataOff + r.U(ref + 5, 3);
      out[{r.S(te, 4), static_cast<std::int16_t>(r.U(ref, 2))}] = {
          nameOff == 0xFFFF ? "" : r.S(nameList + nameOff + 1, r.U(nameList + nameOff, 1)),
          r.S(at + 4, r.U(at, 4))};
    }
  }
  return out;
}

class Metadata : public ::testing::Test {
 protected:
  void SetUp() override {
    auto out = file_.CreateTextFile();
    ASSERT_TRUE(out);
    out->WriteLine("userLocation");
    out->WriteLine("");
  }
  std::string CompanionPath() const { return folder_.NativePath() + "/._Breezeling"; }
  void WriteCompanion(const std::string& bytes) const {
    std::ofstream(CompanionPath(), std::ios::binary) << bytes;
  }
  fw::FolderItem folder_ = fw::TemporaryFolder();
  fw::FolderItem file_ = *folder_.Child("Breezeling");
};

TEST_F(Metadata, CompanionIsReadableByMacTools) {
  file_.SetMacType("pref");
  file_.SetMacCreator("LKSP");
  file_.SetVisible(false);
  const std::string binary("\0\1binary", 8);
  auto fork = file_.OpenResourceFork();
  ASSERT_TRUE(fork);
  fork->AddResource("first", "STR ", 128, "");
  fork->AddResource("Preferences", "Ownr", 128, "Owner ID");
  fork->AddResource(binary, "Ownr", -1, "");
  fork->AddResource("second", "STR ", 128, "renamed");  // replaces the first
  ASSERT_TRUE(fork->Close());

  const std::vector<RawEntry> entries = ParseCompanion(ReadBytes(CompanionPath()));
  ASSERT_EQ(entries.size(), 2u);
  ASSERT_EQ(entries[0].id, 9u);  // Finder info first, as Mac tools write it
  ASSERT_EQ(entries[1].id, 2u);
  ASSERT_EQ(entries[0].data.size(), 32u);
  EXPECT_EQ(entries[0].data.substr(0, 8), "prefLKSP");
  EXPECT_TRUE(static_cast<unsigned char>(entries[0].data[8]) & 0x40);
  EXPECT_EQ(ParseFork(entries[1].data), (RawFork{{{"Ownr", 128}, {"Owner ID", "Preferences"}},
                                                 {{"Ownr", -1}, {"", binary}},
                                                 {{"STR ", 128}, {"renamed", "second"}}}));

  // The API agrees, the data fork is untouched, and the fork outlives a
  // rewrite of the Finder info.
  EXPECT_EQ(file_.MacType(), "pref");
  EXPECT_EQ(file_.MacCreator(), "LKSP");
  EXPECT_FALSE(file_.Visible());
  EXPECT_EQ(file_.Length(), 14);
  file_.SetVisible(true);
  EXPECT_TRUE(file_.Visible());
  auto again = file_.OpenResourceFork();
  ASSERT_EQ(again->Resources().size(), 3u);
  EXPECT_EQ(again->GetResource("Ownr", 128)->name, "Owner ID");
  EXPECT_EQ(again->GetResource("Ownr", -1)->data, binary);
  EXPECT_FALSE(again->GetResource("Ownr", 1));
}

TEST_F(Metadata, CodesAreFourBytesAndOnlyExistingFilesHaveThem) {
  file_.SetVisible(true);  // no change: no companion needed
  EXPECT_FALSE(fw::FolderItem(CompanionPath()).Exists());
  for (const auto& [given, stored] : {std::pair{"ab", "ab  "}, {"toolong", "tool"}, {"", "    "}}) {
    file_.SetMacType(given);
    file_.SetMacCreator(given);
    EXPECT_EQ(file_.MacType(), stored) << given;
    EXPECT_EQ(file_.MacCreator(), stored) << given;
  }
  const fw::FolderItem missing = *folder_.Child("missing");
  missing.SetMacType("pref");
  missing.SetVisible(false);
  EXPECT_FALSE(fw::FolderItem(folder_.NativePath() + "/._missing").Exists());
  EXPECT_EQ(missing.MacType(), "");
  EXPECT_TRUE(missing.Visible());
  EXPECT_FALSE(missing.OpenResourceFork());

  // Folders take the invisible flag but no codes and no fork.
  const fw::FolderItem data = *folder_.Child("BZL Data");
  ASSERT_TRUE(data.CreateAsFolder());
  EXPECT_TRUE(data.Visible());
  EXPECT_FALSE(data.OpenResourceFork());
  data.SetVisible(false);
  data.SetMacType("pref");
  EXPECT_FALSE(data.Visible());
  EXPECT_EQ(data.MacType(), "");
  const auto entries = ParseCompanion(ReadBytes(folder_.NativePath() + "/._BZL Data"));
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].data, std::string(8, '\0') + "\x40" + std::string(23, '\0'));
}

std::string U32(std::uint32_t v) { return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)}; }

// A companion as a Mac tool may leave it: resource fork before Finder info,
// an entry we do not know, and the tool's own filler.
TEST_F(Metadata, ForeignCompanionIsReadAndKeptWhenRewritten) {
  file_.OpenResourceFork()->AddResource("x", "ICN#", 5, "icon");  // written as the fork goes
  const std::string fork = ParseCompanion(ReadBytes(CompanionPath())).at(1).data, comment = "a comment";
  const std::uint32_t base = 26 + 36;
  WriteCompanion(U32(0x00051607) + U32(0x00020000) + "ToolMark filler!" + "\0\3"s +  //
                 U32(2) + U32(base) + U32(fork.size()) +                             //
                 U32(4) + U32(base + fork.size()) + U32(comment.size()) +            //
                 U32(9) + U32(base + fork.size() + comment.size()) + U32(32) +       //
                 fork + comment + "TEXTttxt" + std::string(24, '\0'));

  EXPECT_EQ(file_.MacType(), "TEXT");
  EXPECT_EQ(file_.MacCreator(), "ttxt");
  file_.SetMacCreator("LKSP");
  const std::string rewritten = ReadBytes(CompanionPath());
  EXPECT_EQ(rewritten.substr(8, 16), "ToolMark filler!");
  const auto entries = ParseCompanion(rewritten);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].data.substr(0, 8), "TEXTLKSP");
  EXPECT_EQ(entries[1].data, fork);
  EXPECT_EQ(entries[2].id, 4u);
  EXPECT_EQ(entries[2].data, comment);
  EXPECT_EQ(file_.OpenResourceFork()->GetResource("ICN#", 5)->name, "icon");
}

TEST_F(Metadata, CorruptCompanionReadsAsNoMetadata) {
  // A sound companion with a one-resource fork, to damage in many ways.
  file_.SetMacType("pref");
  file_.SetVisible(false);
  file_.OpenResourceFork()->AddResource("Preferences", "Ownr", 128, "Owner ID");
  const std::string good = ReadBytes(CompanionPath());
  const std::size_t forkAt = 26 + 24 + 32;  // two descriptors, then Finder info
  const std::size_t mapAt = forkAt + 256 + 4 + 11;
  ASSERT_EQ(good.substr(mapAt + 30, 4), "Ownr");  // the offsets below are right
  auto patched = [&](std::size_t at, std::string bytes) {
    return std::string(good).replace(at, bytes.size(), bytes);
  };
  // What is damaged, the bytes, and whether the Finder info and the fork are lost.
  const std::tuple<const char*, std::string, bool, bool> cases[] = {
      {"empty", "", true, true},
      {"truncated header", good.substr(0, 20), true, true},
      {"truncated descriptors", good.substr(0, 40), true, true},
      {"truncated data", good.substr(0, good.size() - 10), false, true},
      {"wrong magic", patched(0, "\x00\x05\x16\x00"s), true, true},
      {"wrong version", patched(4, "\x00\x03\x00\x00"s), true, true},
      {"entry count too big", patched(24, "\xFF\xFF"), true, true},
      {"finder info past the end", patched(26 + 4, "\x7F\xFF\xFF\xFF"), true, false},
      {"fork length past the end", patched(26 + 12 + 8, "\x00\xFF\xFF\xFF"s), false, true},
      {"map offset past the end", patched(forkAt + 4, "\x7F\xFF\xFF\xFF"), false, true},
      {"type list offset past map", patched(mapAt + 24, "\x7F\xFF"), false, true},
      {"type count too big", patched(mapAt + 28, "\x40\x00"s), false, true},
      {"reference list past map", patched(mapAt + 30 + 6, "\x7F\xFF"), false, true},
      {"name offset past map", patched(mapAt + 38 + 2, "\x40\x00"s), false, true},
      {"data offset past data", patched(mapAt + 38 + 5, "\x7F\xFF\xFF"), false, true},
      {"data length past data", patched(forkAt + 256, "\x7F\xFF\xFF\xFF"), false, true},
  };
  for (const auto& [what, bytes, finderInfoLost, forkLost] : cases) {
    SCOPED_TRACE(what);
    WriteCompanion(bytes);
    EXPECT_EQ(file_.MacType(), finderInfoLost ? "" : "pref");
    EXPECT_EQ(file_.Visible(), finderInfoLost);
    auto fork = file_.OpenResourceFork();
    ASSERT_TRUE(fork);
    EXPECT_EQ(fork->Resources().empty(), forkLost);
    // Writing over the damage works and leaves the data fork alone.
    file_.SetMacCreator("LKSP");
    EXPECT_EQ(file_.MacCreator(), "LKSP");
    EXPECT_EQ(file_.Length(), 14);
  }
}

}  // namespace
