#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "framework/files/FolderItem.h"

namespace {

using namespace std::string_literals;

TEST(FolderItem, ChildRejectsNamesThatNameNoItem) {
  const fw::FolderItem temp = fw::TemporaryFolder();
  for (const auto& bad : {""s, "."s, ".."s, "a/b"s, "/"s, "a\0b"s}) {
    EXPECT_FALSE(temp.Child(bad)) << bad;
  }
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
  const fw::FolderItem data = *fw::PreferencesFolder().Child("BZL Data");
  const fw::FolderItem temp = *data.Child("Temp Data");
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
  file.CreateTextFile()->Write("12345");
  EXPECT_EQ(file.Length(), 5);
  auto fork = file.OpenResourceFork();
  fork->AddResource("Preferences", "Ownr", 128, "Owner ID");
  ASSERT_TRUE(fork->Close());
  const fw::FolderItem companion = *fw::TemporaryFolder().Child("._Breezeling");
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
  const std::string config = fw::TemporaryFolder().NativePath() + "/fresh config";
  const std::string tmp = config + "/tmp";
  setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  setenv("TMPDIR", tmp.c_str(), 1);
  const std::pair<fw::FolderItem, std::string> cases[] = {{fw::PreferencesFolder(), config},
                                                          {fw::TemporaryFolder(), tmp}};
  for (const auto& [folder, expected] : cases) {
    SCOPED_TRACE(expected);
    EXPECT_TRUE(folder.IsFolder());
    // Compared through a file, since the system may resolve links in the path.
    ASSERT_TRUE(folder.Child("probe")->CreateTextFile());
    EXPECT_TRUE(std::filesystem::is_regular_file(expected + "/probe"));
  }
}

}  // namespace
