#pragma once
// The update-information file on the maker's web host: its request, and the
// reading of its lines (newest version, change log, download address, a
// message to every user and a remote lock). The first result that arrives
// after start, whatever it holds, starts the first weather request unless
// that same result locked the application.
#include <string>
#include <vector>

namespace Globals {

// The version of this build, compared with the announced one.
inline constexpr char kAppVersion[] = "1.3.0";

// Starts one request of the update file and returns at once; the reply
// goes to ParseUpdateInfo through MyHTTPSocket.
void GetUpdateData();

// Reads one update reply: lines of a key, a colon and a value (the value
// may hold colons; blanks and line-end characters around both are dropped;
// double quotes in a value are removed). The empty text stands for a
// failed fetch. Shows the download button (only for a web address, see
// IsWebAddress), the update-available window and the server message as the
// file asks, and applies the remote lock.
void ParseUpdateInfo(const std::string& s);

// The first index whose element equals the key (letter case ignored);
// -1 when none does.
int FindKey(const std::vector<std::string>& keys, const std::string& key);

// Whether the text is an address the program may hand to the browser: it
// begins with "http://" or "https://" (letter case ignored), names a host
// right after that, and holds no control character. Anything else (a local
// file, a script, a program) is never opened.
bool IsWebAddress(const std::string& url);

// Shows the update-available window, then puts the change log into it.
void CreateNotification(const std::string& changeLog);

// Takes the weather functions out of service until quit: AppLocked set,
// "Application Locked." in place of the forecast, refresh disabled, and the
// main window's loading look and animation ended, since no weather reply
// will come to end them.
void LockApplication();

}  // namespace Globals
