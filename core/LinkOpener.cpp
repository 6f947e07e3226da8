#include "core/LinkOpener.h"

#include <optional>

#include "framework/files/FolderItem.h"
#include "framework/ui/MsgBox.h"

namespace Globals {

namespace {

// The address comes from a file on the web: a quote or "<" in it would
// otherwise close the attribute and put markup of its own into the page.
std::string EscapeHtml(const std::string& s) {
  std::string out;
  out.reserve(s.size());
  for (const char c : s) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '\'':
        out += "&#39;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      default:
        out += c;
        break;
    }
  }
  return out;
}

}  // namespace

std::string ForwardingPage(const std::string& url) {
  return "<html><head><meta http-equiv='refresh' content='0;URL=" + EscapeHtml(url) +
         "'></head><body></body></html>";
}

void OpenUrl(const std::string& url, const std::string& fileName) {
  const std::string page = ForwardingPage(url);
  // Not the shared temporary folder itself: another user could take the
  // page's name there first, with a folder that breaks the link or a link
  // that makes us write elsewhere.
  const std::optional<fw::FolderItem> folder = fw::PrivateTemporaryFolder();
  const std::optional<fw::FolderItem> file = folder ? folder->Child(fileName) : std::nullopt;
  if (!file) {
    fw::MsgBox("Error: Could not create temporary file.");
    return;
  }
  const auto out = file->ReplaceTextFile(fw::LinkHandling::ReplaceLink);
  if (!out) {
    fw::MsgBox("Error: Could not create text file.");
    return;
  }
  // A page that did not reach the disk whole is not launched.
  const bool written = out->Write(page);
  if (!out->Close() || !written) {
    fw::MsgBox("Error: Could not create text file.");
    return;
  }
  file->SetMacCreator("MSIE");
  file->SetMacType("TEXT");
  file->Launch(true);
}

}  // namespace Globals
