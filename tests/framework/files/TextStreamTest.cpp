#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "framework/files/FolderItem.h"

namespace {

std::string ReadBytes(const fw::FolderItem& item) {
  std::ifstream in(item.NativePath(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> Lines(fw::TextInputStream& in) {
  std::vector<std::string> lines;
  while (!in.Eof() && lines.size() < 100) lines.push_back(in.ReadLine());
  return lines;
}

using LinesCase = std::pair<std::string, std::vector<std::string>>;

TEST(TextStreams, ReadLineAcceptsEveryLineEnd) {
  const LinesCase cases[] = {
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
  auto append = file.AppendToTextFile();
  ASSERT_TRUE(append);
  const std::string binary("\0\xFF\r\n", 4);
  append->Write(binary);
  append->Close();
  append = file.AppendToTextFile();
  append->Write("more");
  append.reset();  // the destructor closes
  EXPECT_EQ(ReadBytes(file), binary + "more");
  EXPECT_EQ(file.Length(), 8);

  auto create = file.CreateTextFile();
  ASSERT_TRUE(create);
  create->Write("new");
  create->Close();
  EXPECT_EQ(ReadBytes(file), "new");
}

TEST(TextStreams, StreamsThatCannotOpenGiveNone) {
  const fw::FolderItem temp = fw::TemporaryFolder();
  const fw::FolderItem folder = *temp.Child("folder");
  ASSERT_TRUE(folder.CreateAsFolder());
  const fw::FolderItem orphan = *temp.Child("no such folder")->Child("file");
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
