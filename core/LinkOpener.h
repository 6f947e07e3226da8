#pragma once
// Opens a web address through a small page that forwards at once to the
// address, kept in a folder of the user's own inside the temporary folder;
// the page is launched with whatever the system opens such files with.
#include <string>

namespace Globals {

// Writes the forwarding page under fileName in that folder (replacing an
// earlier one, never writing through a link), stamps it as a browser's text
// file and launches it. The address is written HTML-escaped, so no
// character of it can end the page's attribute. Failures are shown in a
// message box.
void OpenUrl(const std::string& url, const std::string& fileName);

// The page's text for an address.
std::string ForwardingPage(const std::string& url);

}  // namespace Globals
