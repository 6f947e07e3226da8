// Files and folders, and the text streams over files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "framework/files/FolderItem.h"
#include "framework/files/TextInputStream.h"

namespace {

using namespace std::string_literals;

TEST(FolderItem, ChildRejectsNamesThatNameNoItem) {
  const fw::FolderItem temp = fw::TemporaryFolder();
  for (const auto& bad : {""s, "."s, ".."s, "a/b"s, "/"s, "a\0b"s}) EXPECT_FALSE(temp.Child(bad)) << bad;
  for (const std::string odd : {"...", " spaced ", "caf\xC3\xA9", "\xFF\xFE", "._x", "a\\b"}) {
    const std::optional<fw::FolderItem> child = temp.Child(odd);
    ASSERT_TRUE(child) << odd;
    EXPECT_EQ(child->Name(), odd);
    EXPECT_EQ(child->Parent()->NativePath(), temp.NativePath());
    EXPECT_FALSE(child->Exists());
    ASSERT_TRUE(child->CreateTextFile()) << odd;
    EXPECT_TRUE(child->Exists());
    child->SetMacType("TEXT");
    EXPECT_EQ(child->MacType(), "TEXT");
    EXPECT_TRUE(child->Delete());
  }
  EXPECT_FALSE(fw::FolderItem("/").Parent());
  EXPECT_EQ(fw::FolderItem("/top").Parent()->NativePath(), "/");
  EXPECT_EQ(fw::FolderItem("/a/b/").Name(), "b");
}

TEST(FolderItem, FoldersAreCreatedAndDeletedWithTheirCompanions) {
  const fw::FolderItem data = *fw::PreferencesFolder().Child("BZL Data"), temp = *data.Child("Temp Data");
  EXPECT_FALSE(temp.CreateAsFolder());  // parent missing
  ASSERT_TRUE(data.CreateAsFolder());
  EXPECT_TRUE(data.CreateAsFolder());  // already there
  ASSERT_TRUE(temp.CreateAsFolder());
  EXPECT_TRUE(data.IsFolder());
  EXPECT_EQ(data.Length(), 0);
  data.SetVisible(false);
  const fw::FolderItem companion = *data.Parent()->Child("._BZL Data");
  EXPECT_TRUE(companion.Exists());
  EXPECT_FALSE(data.Delete());  // not empty
  EXPECT_TRUE(data.Exists());
  EXPECT_TRUE(temp.Delete());
  EXPECT_TRUE(data.Delete());
  EXPECT_FALSE(data.Exists());
  EXPECT_FALSE(companion.Exists());
  EXPECT_FALSE(data.Delete());  // already gone
}

TEST(FolderItem, DeleteRemovesAFileAndItsCompanion) {
  const fw::FolderItem file = *fw::TemporaryFolder().Child("Breezeling");
  const fw::FolderItem companion = *fw::TemporaryFolder().Child("._Breezeling");
  file.CreateTextFile()->Write("12345");
  EXPECT_EQ(file.Length(), 5);
  auto fork = file.OpenResourceFork();
  fork->AddResource("Preferences", "Ownr", 128, "Owner ID");
  ASSERT_TRUE(fork->Close());
  ASSERT_TRUE(companion.Exists());
  EXPECT_TRUE(file.Delete());
  EXPECT_FALSE(file.Exists());
  EXPECT_FALSE(companion.Exists());
  EXPECT_EQ(file.Length(), 0);
  // A fork still open when its file goes writes nothing back.
  fork->AddResource("late", "STR ", 1, "");
  EXPECT_FALSE(fork->Close());
  EXPECT_FALSE(companion.Exists());
}

TEST(FolderItem, SpecialFoldersFollowTheEnvironmentAndAreCreated) {
  const std::string config = fw::TemporaryFolder().NativePath() + "/fresh config", tmp = config + "/tmp";
  setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  setenv("TMPDIR", tmp.c_str(), 1);
  for (const auto& [folder, expected] :
       {std::pair{fw::PreferencesFolder(), config}, {fw::TemporaryFolder(), tmp}}) {
    SCOPED_TRACE(expected);
    EXPECT_TRUE(folder.IsFolder());
    // Compared through a file, since the system may resolve links in the path.
    ASSERT_TRUE(folder.Child("probe")->CreateTextFile());
    EXPECT_TRUE(std::filesystem::is_regular_file(expected + "/probe"));
  }
}

std::string ReadBytes(const fw::FolderItem& item) {
  std::ifstream in(item.NativePath(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> Lines(fw::TextInputStream& in) {
  std::vector<std::string> lines;
  while (!in.Eof() && lines.size() < 100) lines.push_back(in.ReadLine());
  return lines;
}

TEST(TextStreams, ReadLineAcceptsEveryLineEnd) {
  const std::pair<std::string, std::vector<std::string>> cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\n", {"a"}},
      {"a\n\n", {"a", ""}},
      {"a\rb\r", {"a", "b"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\r\n\r\nb", {"a", "", "b"}},
      {"a\n\rb", {"a", "", "b"}},  // LF then CR is two line ends
      {"\r", {""}},
      {"caf\xC3\xA9\r\n", {"caf\xC3\xA9"}},
  };
  for (const auto& [bytes, expected] : cases) {
    fw::TextInputStream in(bytes);
    EXPECT_EQ(Lines(in), expected) << bytes;
    EXPECT_EQ(in.ReadLine(), "");
    EXPECT_TRUE(in.Eof());
  }
  fw::TextInputStream in("first\r\nsecond\rthird");
  EXPECT_EQ(in.ReadLine(), "first");
  EXPECT_EQ(in.ReadAll(), "second\rthird");
  EXPECT_TRUE(in.Eof());
}

TEST(TextStreams, WrittenLinesReadBackIncludingEmptyLastLine) {
  const fw::FolderItem file = *fw::PreferencesFolder().Child("Breezeling");
  const std::vector<std::string> lines = {"userLocation", "Naseby, Otago", "userRobot", ""};
  auto out = file.CreateTextFile();
  ASSERT_TRUE(out);
  for (const std::string& line : lines) EXPECT_TRUE(out->WriteLine(line));
  EXPECT_TRUE(out->Close());
  EXPECT_FALSE(out->Write("after close"));
  EXPECT_EQ(ReadBytes(file), "userLocation\nNaseby, Otago\nuserRobot\n\n");
  auto in = file.OpenAsTextFile();
  ASSERT_TRUE(in);
  EXPECT_EQ(Lines(*in), lines);
}

TEST(TextStreams, CreateTextFileReplacesAndAppendCreates) {
  const fw::FolderItem file = *fw::TemporaryFolder().Child("download.bin");
  const std::string binary("\0\xFF\r\n", 4);
  auto append = file.AppendToTextFile();
  ASSERT_TRUE(append);
  append->Write(binary);
  append->Close();
  file.AppendToTextFile()->Write("more");  // the destructor closes
  EXPECT_EQ(ReadBytes(file), binary + "more");
  EXPECT_EQ(file.Length(), 8);
  file.CreateTextFile()->Write("new");
  EXPECT_EQ(ReadBytes(file), "new");
}

TEST(TextStreams, FlushHandsTheBytesOverAndTheStreamGoesOn) {
  const fw::FolderItem file = *fw::TemporaryFolder().Child("flushed.bin");
  auto out = file.AppendToTextFile();
  ASSERT_TRUE(out);
  // Pieces smaller than the stream's own buffer: only the flush moves them.
  for (const std::string piece : {"abc", "de", ""}) {
    const std::string before = ReadBytes(file);
    EXPECT_TRUE(out->Write(piece));
    EXPECT_TRUE(out->Flush());
    EXPECT_EQ(ReadBytes(file), before + piece);
    EXPECT_EQ(file.Length(), static_cast<std::int64_t>(before.size() + piece.size()));
  }
  EXPECT_TRUE(out->Close());
  EXPECT_FALSE(out->Flush());
  EXPECT_EQ(ReadBytes(file), "abcde");
}

TEST(TextStreams, StreamsThatCannotOpenGiveNone) {
  const fw::FolderItem temp = fw::TemporaryFolder();
  const fw::FolderItem folder = *temp.Child("folder"), orphan = *temp.Child("no such folder")->Child("file");
  ASSERT_TRUE(folder.CreateAsFolder());
  for (const fw::FolderItem& item : {folder, orphan}) {
    SCOPED_TRACE(item.NativePath());
    EXPECT_FALSE(item.CreateTextFile());
    EXPECT_FALSE(item.AppendToTextFile());
    EXPECT_FALSE(item.OpenAsTextFile());
  }
  EXPECT_TRUE(folder.IsFolder());
  EXPECT_FALSE(orphan.Exists());

  const fw::FolderItem locked = *temp.Child("locked");
  locked.CreateTextFile()->Close();
  ASSERT_EQ(chmod(locked.NativePath().c_str(), 0), 0);
  if (geteuid() != 0) {  // root reads it anyway
    EXPECT_FALSE(locked.OpenAsTextFile());
    EXPECT_FALSE(locked.CreateTextFile());
  }
  EXPECT_EQ(locked.MacType(), "");  // an unreadable companion is no reason to fail
}

}  // namespace
