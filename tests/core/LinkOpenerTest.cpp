// The forwarding page that opens a web address, and the download button
// that uses it.
#include "CoreFixture.h"
#include "core/LinkOpener.h"
#include "framework/files/FolderItem.h"

namespace {

std::string Page(const std::string& written) {
  return "<html><head><meta http-equiv='refresh' content='0;URL=" + written + "'></head><body></body></html>";
}

std::string TempPath(const std::string& name) { return fw::TemporaryFolder().Child(name)->NativePath(); }

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
  const std::string path = TempPath("BreezelingUpdate.html");
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

TEST(OpenUrl, FailuresAreShownAndNothingIsLaunched) {
  // A name that names no item in the folder.
  Globals::OpenUrl("u", "a/b.html");
  Globals::OpenUrl("u", "");
  // An item of that name that cannot take text: a folder.
  ASSERT_TRUE(fw::TemporaryFolder().Child("taken.html")->CreateAsFolder());
  Globals::OpenUrl("u", "taken.html");
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"Error: Could not create temporary file.",
                                               "Error: Could not create temporary file.",
                                               "Error: Could not create text file."}));
  EXPECT_TRUE(Recorders::Get().launches.empty());
}

using DownloadButtonTest = CoreTest;

TEST_F(DownloadButtonTest, OpensTheAnnouncedAddressTwice) {
  Globals::AppUpdateURL = "http://example.invalid/get?v=1.3.1&os=ppc";
  auto& button = Win().Ctl<fw::BevelButton>("DownloadUpdateButton");
  button.SetVisible(true);
  button.Push();
  EXPECT_EQ(Recorders::Get().links, std::vector<std::string>{Globals::AppUpdateURL});
  const std::string path = TempPath("BreezelingUpdate.html");
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
