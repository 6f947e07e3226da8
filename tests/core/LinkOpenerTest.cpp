// The forwarding page that opens a web address, and the download button
// that uses it.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

#include "CoreFixture.h"
#include "core/LinkOpener.h"
#include "framework/files/FolderItem.h"
#include "framework/ui/BevelButton.h"

namespace {

std::string Page(const std::string& written) {
  return "<html><head><meta http-equiv='refresh' content='0;URL=" + written + "'></head><body></body></html>";
}

std::string PagePath(const std::string& name) {
  return fw::PrivateTemporaryFolder()->Child(name)->NativePath();
}

TEST(OpenUrl, WritesStampsAndLaunchesTheForwardingPage) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"path:to:file", "path:to:file"},  // colons stay
      {"", ""},
      {"http://example.invalid/dl/breezeling-1.3.1.html", "http://example.invalid/dl/breezeling-1.3.1.html"},
      {"http://h/x?a=1&b=2", "http://h/x?a=1&amp;b=2"},
      // A quote cannot end the attribute.
      {"http://h/'><script>alert(1)</script>", "http://h/&#39;&gt;&lt;script&gt;alert(1)&lt;/script&gt;"},
      {"a\"b", "a&quot;b"},
      {"http://h/Zürich?q=a b#top", "http://h/Zürich?q=a b#top"},  // other characters as they are
  };
  const std::string path = PagePath("BreezelingUpdate.html");
  for (const auto& [url, written] : cases) {
    SCOPED_TRACE(url);
    Recorders::Get().launches.clear();
    Globals::OpenUrl(url, "BreezelingUpdate.html");
    EXPECT_EQ(ReadBytes(path), Page(written));
    EXPECT_EQ(Globals::ForwardingPage(url), Page(written));
    EXPECT_EQ(fw::FolderItem(path).MacCreator() + "/" + fw::FolderItem(path).MacType(), "MSIE/TEXT");
    EXPECT_EQ(Recorders::Get().launches, std::vector<std::string>{path});
  }
  // A second call replaces the file, a longer one included.
  Globals::OpenUrl("b", "BreezelingUpdate.html");
  EXPECT_EQ(ReadBytes(path), Page("b"));
  EXPECT_TRUE(Boxes().empty());
}

// Another user can make any item under the page's name in the shared
// temporary folder before we write it.
TEST(OpenUrl, WhatAnotherUserPutInTheTemporaryFolderIsNeitherFollowedNorInTheWay) {
  namespace fs = std::filesystem;
  const std::string tmp = fw::TemporaryFolder().NativePath(), shared = tmp + "/BreezelingUpdate.html";
  const std::string victim = tmp + "/victim";
  const std::function<void()> prepared[] = {
      [&] { std::ofstream(shared) << "theirs"; },
      [&] { fs::create_directory(shared); },
      [&] { fs::create_symlink(victim, shared); },
      [&] { fs::create_symlink(tmp + "/made through the link", shared); },
  };
  for (const bool runtimeFolder : {true, false}) {
    if (!runtimeFolder) unsetenv("XDG_RUNTIME_DIR");
    for (const auto& prepare : prepared) {
      fs::remove_all(shared);
      std::ofstream(victim) << "victim";
      prepare();
      const auto before = fs::symlink_status(shared).type();
      Recorders::Get().launches.clear();
      Globals::OpenUrl("http://h/", "BreezelingUpdate.html");

      const std::string path = PagePath("BreezelingUpdate.html");
      SCOPED_TRACE(path);
      EXPECT_EQ(ReadBytes(path), Page("http://h/"));
      EXPECT_EQ(Recorders::Get().launches, std::vector<std::string>{path});
      struct stat folder {};
      ASSERT_EQ(lstat(fs::path(path).parent_path().c_str(), &folder), 0);
      EXPECT_TRUE(S_ISDIR(folder.st_mode));
      EXPECT_EQ(folder.st_mode & 07777, 0700u);
      EXPECT_EQ(folder.st_uid, geteuid());
      // Theirs is left as it was.
      EXPECT_EQ(fs::symlink_status(shared).type(), before);
      EXPECT_EQ(ReadBytes(victim), "victim");
      EXPECT_FALSE(fs::exists(tmp + "/made through the link"));
      if (before == fs::file_type::regular) {
        EXPECT_EQ(ReadBytes(shared), "theirs");
      }
    }
  }
  EXPECT_TRUE(Boxes().empty());
}

TEST(OpenUrl, FailuresAreShownAndNothingIsLaunchedOrWrittenThroughALink) {
  // A name that names no item in the folder.
  Globals::OpenUrl("u", "a/b.html");
  Globals::OpenUrl("u", "");
  // An item of that name that cannot take text: a folder.
  ASSERT_TRUE(fw::PrivateTemporaryFolder()->Child("taken.html")->CreateAsFolder());
  Globals::OpenUrl("u", "taken.html");
  // No folder of our own to be had: a file where the folders should be.
  unsetenv("XDG_RUNTIME_DIR");
  const std::string notAFolder = fw::TemporaryFolder().NativePath() + "/file";
  std::ofstream(notAFolder) << "x";
  setenv("TMPDIR", notAFolder.c_str(), 1);
  Globals::OpenUrl("u", "BreezelingUpdate.html");
  EXPECT_EQ(Boxes(), (std::vector<std::string>{
                         "Error: Could not create temporary file.", "Error: Could not create temporary file.",
                         "Error: Could not create text file.", "Error: Could not create temporary file."}));
  EXPECT_TRUE(Recorders::Get().launches.empty());
}

TEST(OpenUrl, ALinkInOurFolderIsReplacedNotWrittenThrough) {
  const std::string path = PagePath("BreezelingUpdate.html");
  const std::string victim = fw::TemporaryFolder().NativePath() + "/victim";
  std::ofstream(victim) << "victim";
  std::filesystem::create_symlink(victim, path);
  Globals::OpenUrl("http://h/", "BreezelingUpdate.html");
  EXPECT_FALSE(std::filesystem::is_symlink(path));
  EXPECT_EQ(ReadBytes(path), Page("http://h/"));
  EXPECT_EQ(ReadBytes(victim), "victim");
}

using DownloadButtonTest = CoreTest;

TEST_F(DownloadButtonTest, OpensTheAnnouncedAddressTwice) {
  Globals::AppUpdateURL = "http://example.invalid/get?v=1.3.1&os=ppc";
  auto& button = Win().Ctl<fw::BevelButton>("DownloadUpdateButton");
  button.SetVisible(true);
  button.Push();
  EXPECT_EQ(Recorders::Get().links, std::vector<std::string>{Globals::AppUpdateURL});
  const std::string path = PagePath("BreezelingUpdate.html");
  EXPECT_EQ(Recorders::Get().launches, std::vector<std::string>{path});
  EXPECT_EQ(ReadBytes(path), Page("http://example.invalid/get?v=1.3.1&amp;os=ppc"));

  // An address that is no web page is opened neither way.
  for (const char* address : {"file:///etc/passwd", "javascript:alert(1)", "/usr/bin/xterm", ""}) {
    SCOPED_TRACE(address);
    Recorders::Get().links.clear();
    Recorders::Get().launches.clear();
    Globals::AppUpdateURL = address;
    button.Push();
    EXPECT_TRUE(Recorders::Get().links.empty());
    EXPECT_TRUE(Recorders::Get().launches.empty());
  }
}

}  // namespace
