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

void WriteBytes(const std::string& path, const std::string& s) {
  std::ofstream(path, std::ios::binary) << s;
}

// Big-endian reads that fail the test instead of reading past the end.
struct Reader {
  const std::string& b;
  std::uint32_t U(std::size_t at, int size) const {
    EXPECT_LE(at + size, b.size()) << "offset " << at << " past the end";
    if (at + size > b.size()) return 0;
    std::uint32_t v = 0;
    for (int i = 0; i < size; ++i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
  }
  std::string S(std::size_t at, std::size_t n) const {
    EXPECT_LE(at + n, b.size());
    return at + n <= b.size() ? b.substr(at, n) : std::string();
  }
};

struct RawEntry { std::uint32_t id; std::string data; };

std::vector<RawEntry> ParseCompanion(const std::string& bytes) {
  Reader r{bytes};
  EXPECT_EQ(r.U(0, 4), 0x00051607u);
  EXPECT_EQ(r.U(4, 4), 0x00020000u);
  std::vector<RawEntry> entries;
  const std::uint32_t count = r.U(24, 2);
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::size_t d = 26 + 12 * i;
    entries.push_back({r.U(d, 4), r.S(r.U(d + 4, 4), r.U(d + 8, 4))});
  }
  return entries;
}

struct RawResource { std::string name, data; };

// (type, id) -> resource, walking the map the way the format lays it out.
std::map<std::pair<std::string, int>, RawResource> ParseFork(const std::string& fork) {
  Reader r{fork};
  const std::uint32_t dataOff = r.U(0, 4), mapOff = r.U(4, 4);
  EXPECT_EQ(dataOff, 256u);
  EXPECT_EQ(r.U(8, 4) + dataOff, mapOff);
  EXPECT_EQ(mapOff + r.U(12, 4), fork.size());
  const std::uint32_t typeList = mapOff + r.U(mapOff + 24, 2);
  const std::uint32_t nameList = mapOff + r.U(mapOff + 26, 2);
  std::map<std::pair<std::string, int>, RawResource> out;
  const std::uint32_t types = (r.U(typeList, 2) + 1) & 0xFFFF;
  for (std::uint32_t t = 0; t < types; ++t) {
    const std::size_t te = typeList + 2 + 8 * t;
    const std::uint32_t refs = typeList + r.U(te + 6, 2);
    for (std::uint32_t k = 0; k <= r.U(te + 4, 2); ++k) {
      const std::size_t ref = refs + 12 * k;
      RawResource res;
      const std::uint32_t nameOff = r.U(ref + 2, 2);
      if (nameOff != 0xFFFF) res.name = r.S(nameList + nameOff + 1, r.U(nameList + nameOff, 1));
      const std::uint32_t at = dataOff + r.U(ref + 5, 3);
      res.data = r.S(at + 4, r.U(at, 4));
      out[{r.S(te, 4), static_cast<std::int16_t>(r.U(ref, 2))}] = res;
    }
  }
  return out;
}

class Metadata : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fw::TemporaryFolder();
    file_ = *folder_.Child("Breezeling");
    auto out = file_.CreateTextFile();
    ASSERT_TRUE(out);
    out->WriteLine("userLocation");
    out->WriteLine("");
    out->Close();
  }
  std::string CompanionPath() const { return folder_.NativePath() + "/._Breezeling"; }
  fw::FolderItem folder_;
  fw::FolderItem file_;
};

TEST_F(Metadata, PreferencesFileCompanionIsReadableByMacTools) {
  file_.SetMacType("pref");
  file_.SetMacCreator("LKSP");
  file_.SetVisible(false);
  auto fork = file_.OpenResourceFork();
  ASSERT_TRUE(fork);
  fork->AddResource("Preferences", "Ownr", 128, "Owner ID");
  ASSERT_TRUE(fork->Close());

  const std::vector<RawEntry> entries = ParseCompanion(ReadBytes(CompanionPath()));
  ASSERT_EQ(entries.size(), 2u);
  ASSERT_EQ(entries[0].id, 9u);  // Finder info first, as Mac tools write it
  ASSERT_EQ(entries[1].id, 2u);
  const std::string& info = entries[0].data;
  ASSERT_EQ(info.size(), 32u);
  EXPECT_EQ(info.substr(0, 8), "prefLKSP");
  EXPECT_TRUE(static_cast<unsigned char>(info[8]) & 0x40);
  const auto resources = ParseFork(entries[1].data);
  ASSERT_EQ(resources.size(), 1u);
  const RawResource& owner = resources.at({"Ownr", 128});
  EXPECT_EQ(owner.name, "Owner ID");
  EXPECT_EQ(owner.data, "Preferences");

  // The API agrees, and the data fork is untouched.
  EXPECT_EQ(file_.MacType(), "pref");
  EXPECT_EQ(file_.MacCreator(), "LKSP");
  EXPECT_FALSE(file_.Visible());
  EXPECT_EQ(file_.Length(), 14);
  file_.SetVisible(true);
  EXPECT_TRUE(file_.Visible());
  EXPECT_TRUE(file_.OpenResourceFork()->GetResource("Ownr", 128));
}

TEST_F(Metadata, ForkWithTwoResourcesKeepsFinderInfoAndReplacesById) {
  file_.SetMacType("pref");
  {
    auto fork = file_.OpenResourceFork();
    fork->AddResource("first", "STR ", 128, "");
    fork->AddResource(std::string("\0\1binary", 8), "Ownr", -1, "Owner ID");
    fork->AddResource("second", "STR ", 128, "renamed");  // replaces the first
    // Closed by the destructor.
  }
  const std::vector<RawEntry> entries = ParseCompanion(ReadBytes(CompanionPath()));
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].data.substr(0, 4), "pref");
  const auto raw = ParseFork(entries[1].data);
  ASSERT_EQ(raw.size(), 2u);
  EXPECT_EQ(raw.at({"STR ", 128}).data, "second");
  EXPECT_EQ(raw.at({"STR ", 128}).name, "renamed");
  EXPECT_EQ(raw.at({"Ownr", -1}).data, std::string("\0\1binary", 8));

  auto again = file_.OpenResourceFork();
  ASSERT_EQ(again->Resources().size(), 2u);
  EXPECT_EQ(again->GetResource("Ownr", -1)->name, "Owner ID");
  EXPECT_FALSE(again->GetResource("Ownr", 128));
}

TEST_F(Metadata, CodesAreFourBytesAndOnlyExistingFilesHaveThem) {
  file_.SetVisible(true);  // no change: no companion needed
  EXPECT_FALSE(fw::FolderItem(CompanionPath()).Exists());
  using Case = std::pair<std::string, std::string>;
  for (const auto& [given, stored] : {Case{"ab", "ab  "}, Case{"toolong", "tool"}, 
                                      Case{"", "    "}}) {
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

// A companion as a Mac tool may leave it: resource fork before Finder info,
// an entry we do not know, and the tool's own filler.
TEST_F(Metadata, ForeignCompanionIsReadAndKeptWhenRewritten) {
  std::string fork;
  {
    auto made = file_.OpenResourceFork();
    made->AddResource("x", "ICN#", 5, "icon");
    made->Close();
    fork = ParseCompanion(ReadBytes(CompanionPath()))[1].data;
  }
  const std::string comment = "a comment";
  std::string info = "TEXTttxt" + std::string(24, '\0');
  auto u32 = [](std::uint32_t v) {
    return std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
  };
  std::string raw = u32(0x00051607) + u32(0x00020000) + "ToolMark filler!" + "\0\3"s;
  const std::uint32_t base = 26 + 36;
  raw += u32(2) + u32(base) + u32(fork.size());
  raw += u32(4) + u32(base + fork.size()) + u32(comment.size());
  raw += u32(9) + u32(base + fork.size() + comment.size()) + u32(32);
  raw += fork + comment + info;
  WriteBytes(CompanionPath(), raw);

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
  {
    auto fork = file_.OpenResourceFork();
    fork->AddResource("Preferences", "Ownr", 128, "Owner ID");
  }
  const std::string good = ReadBytes(CompanionPath());
  const auto entries = ParseCompanion(good);
  const std::size_t forkAt = 26 + 24 + 32;  // two descriptors, then Finder info
  const std::size_t mapAt = forkAt + 256 + 4 + 11;
  auto patched = [&](std::size_t at, std::string bytes) {
    std::string copy = good;
    copy.replace(at, bytes.size(), bytes);
    return copy;
  };
  struct Case {
    const char* what;
    std::string bytes;
    bool finderInfoLost;
    bool forkLost;
  };
  const Case cases[] = {
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
  ASSERT_EQ(entries[1].data.substr(256 + 4 + 11 + 28 + 2, 4), "Ownr");  // offsets above are right
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteBytes(CompanionPath(), c.bytes);
    EXPECT_EQ(file_.MacType(), c.finderInfoLost ? "" : "pref");
    EXPECT_EQ(file_.Visible(), c.finderInfoLost);
    auto fork = file_.OpenResourceFork();
    ASSERT_TRUE(fork);
    EXPECT_EQ(fork->Resources().empty(), c.forkLost);
    // Writing over the damage works and leaves the data fork alone.
    file_.SetMacCreator("LKSP");
    EXPECT_EQ(file_.MacCreator(), "LKSP");
    EXPECT_EQ(file_.Length(), 14);
  }
}

}  // namespace
