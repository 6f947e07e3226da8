// The forwarding page that opens a web address, and the download button
// that uses it.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "CoreFixture.h"
#include "core/Globals.h"
#include "core/LinkOpener.h"
#include "framework/files/FolderItem.h"
#include "support/Recorders.h"

namespace {

using testsupport::Recorders;

const std::string kHead = "<html><head><meta http-equiv='refresh' content='0;URL=";
const std::string kTail = "'></head><body></body></html>";

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::string TempPath(const std::string& name) { return fw::TemporaryFolder().Child(name)->NativePath(); }

struct PageCase {
  const char* what;
  std::string url, written;
};

TEST(OpenUrl, WritesStampsAndLaunchesTheForwardingPage) {
  const std::vector<PageCase> cases = {
      {"colons stay", "path:to:file", "path:to:file"},
      {"empty address", "", ""},
      {"a plain web address", "http://example.invalid/dl/breezeling-1.3.1.html",
       "http://example.invalid/dl/breezeling-1.3.1.html"},
      {"query ampersand", "http://h/x?a=1&b=2", "http://h/x?a=1&amp;b=2"},
      {"a quote cannot end the attribute", "http://h/'><script>alert(1)</script>",
       "http://h/&#39;&gt;&lt;script&gt;alert(1)&lt;/script&gt;"},
      {"double quotes too", "a\"b", "a&quot;b"},
      {"other characters as they are", "http://h/Zürich?q=a b#top", "http://h/Zürich?q=a b#top"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Recorders::Get().launches.clear();
    Globals::OpenUrl(c.url, "BreezelingUpdate.html");
    const std::string path = TempPath("BreezelingUpdate.html");
    EXPECT_EQ(ReadBytes(path), kHead + c.written + kTail);
    EXPECT_EQ(Globals::ForwardingPage(c.url), kHead + c.written + kTail);
    const fw::FolderItem file(path);
    EXPECT_EQ(file.MacCreator(), "MSIE");
    EXPECT_EQ(file.MacType(), "TEXT");
    EXPECT_EQ(Recorders::Get().launches, std::vector<std::string>{path});
  }
  EXPECT_TRUE(Recorders::Get().boxes.empty());
}

TEST(OpenUrl, ASecondCallReplacesTheFile) {
  Globals::OpenUrl("http://first.invalid/a-much-longer-address-than-the-second", "page.html");
  Globals::OpenUrl("b", "page.html");
  EXPECT_EQ(ReadBytes(TempPath("page.html")), kHead + "b" + kTail);
  EXPECT_EQ(Recorders::Get().launches.size(), 2u);
}

TEST(OpenUrl, FailuresAreShownAndNothingIsLaunched) {
  // A name that names no item in the folder.
  Globals::OpenUrl("u", "a/b.html");
  Globals::OpenUrl("u", "");
  // An item of that name that cannot take text: a folder.
  ASSERT_TRUE(fw::TemporaryFolder().Child("taken.html")->CreateAsFolder());
  Globals::OpenUrl("u", "taken.html");
  EXPECT_EQ(Recorders::Get().boxes,
            (std::vector<std::string>{"Error: Could not create temporary file.",
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
  EXPECT_EQ(ReadBytes(path), kHead + "http://example.invalid/get?v=1.3.1&amp;os=ppc" + kTail);
}

}  // namespace
