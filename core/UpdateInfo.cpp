#include "core/UpdateInfo.h"

#include <algorithm>
#include <cstddef>
#include <memory>

#include "core/Globals.h"
#include "core/Hosts.h"
#include "core/MyHTTPSocket.h"
#include "core/Transport.h"
#include "core/Views.h"
#include "core/Weather.h"
#include "framework/text/Text.h"
#include "framework/ui/MsgBox.h"

namespace Globals {

namespace {

struct UpdateFile {
  std::vector<std::string> keys;
  std::vector<std::string> values;

  // The value of the pair at index; a key the file lacks (index -1) has
  // the empty text, which every caller treats as nothing to show.
  std::string ValueAt(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= values.size()) return {};
    return values[static_cast<std::size_t>(index)];
  }
};

// Splits the text into key and value at the first colon of each stretch.
// A line without a colon is not skipped: it runs on into the next key,
// which then matches nothing. Text after the last colon that holds no
// colon of its own forms no pair. The delimiters are ASCII and never part
// of a longer UTF-8 character, so the text is cut byte-wise, which keeps
// a large reply linear.
UpdateFile Split(const std::string& s) {
  UpdateFile file;
  std::size_t p = 0;
  while (p < s.size()) {
    const std::size_t colon = s.find(':', p);
    if (colon == std::string::npos) break;
    file.keys.push_back(fw::Trim(s.substr(p, colon - p)));
    // A line ends at the first CR or LF after the colon, whichever comes
    // first, so text with mixed line ends is still cut line by line.
    std::size_t end = s.find_first_of("\r\n", colon);
    if (end == std::string::npos) end = s.size();
    file.values.push_back(fw::Trim(s.substr(colon + 1, end - colon - 1)));
    p = end + 1;
  }
  return file;
}

std::string WithoutQuotes(const std::string& s) { return fw::ReplaceAll(s, "\"", ""); }

// "<br>" marks a line break in the texts shown to the user.
std::string ShownText(const std::string& s) { return fw::ReplaceAll(WithoutQuotes(s), "<br>", CR); }

void SetStatus(const std::string& text) { Views::Main().SetStatus(text); }

}  // namespace

void GetUpdateData() {
  auto socket = std::make_shared<MyHTTPSocket>();
  RequestType = "UPDATE";
  switch (Transport::kCarrier) {
    case Transport::Carrier::MyHTTPSocket:
      // The socket keeps itself alive until its last event.
      socket->GetURL(Hosts::UpdateFileURL());
      break;
    case Transport::Carrier::BasicHTTP:
      // Its page handler hands the reply to the same parsers.
      Views::Main().GetWithOwnClient(Hosts::UpdateFileURL());
      break;
  }
}

int FindKey(const std::vector<std::string>& keys, const std::string& key) {
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (fw::StrEq(keys[i], key)) return static_cast<int>(i);
  }
  return -1;
}

bool IsWebAddress(const std::string& url) {
  std::size_t host = 0;
  for (const char* scheme : {"http://", "https://"}) {
    const std::string prefix(scheme);
    if (url.size() > prefix.size() && fw::StrEq(url.substr(0, prefix.size()), prefix)) host = prefix.size();
  }
  if (host == 0) return false;
  // "http:///x" and the like name no host; what a browser makes of them
  // differs from one to the next.
  if (std::string("/\\?#@").find(url[host]) != std::string::npos) return false;
  return std::none_of(url.begin(), url.end(), [](char c) {
    const auto u = static_cast<unsigned char>(c);
    return u < 0x20 || u == 0x7F;
  });
}

void CreateNotification(const std::string& changeLog) { Views::ChangeLog().Show(changeLog); }

void LockApplication() {
  AppLocked = true;
  Views::MainView& main = Views::Main();
  main.ShowLocked("Application Locked.");
  // A locked start sends no weather request, and only a weather reply ends
  // the loading look: without this the spinner would turn until quit.
  main.ToggleLoadingStates(false);
  main.StopDigitAnimation();
}

void ParseUpdateInfo(const std::string& s) {
  const UpdateFile file = Split(s);

  const int version = FindKey(file.keys, "currentX");
  if (version == -1) {
    // A failed fetch or a file that is not ours: nothing else changes.
    SetStatus("Error: Couldn't fetch update information");
  } else {
    const int changeLog = FindKey(file.keys, "currentXChangeLog");
    const int url = FindKey(file.keys, "xUrl");
    const int lock = FindKey(file.keys, "lockApplication");

    // Versions compare as decimal numbers once their first "." is gone:
    // 1.3.0 is 13.0, 1.3.1 is 13.1, 1.10.0 is 110.0.
    const std::string remote = WithoutQuotes(fw::Replace(file.ValueAt(version), ".", ""));
    const std::string builtIn = fw::Replace(kAppVersion, ".", "");
    ChangeLogData = ShownText(file.ValueAt(changeLog));
    ServerMessage = ShownText(file.ValueAt(FindKey(file.keys, "serverMessage")));

    if (fw::Val(builtIn) < fw::Val(remote)) {
      // An address that is no web page is not taken: with no button there
      // is nothing to open it with.
      const std::string address = WithoutQuotes(file.ValueAt(url));
      const bool usable = IsWebAddress(address);
      Views::Main().ShowNewerVersion(usable);
      if (fw::Len(ChangeLogData) > 0) CreateNotification(ChangeLogData);
      if (usable) AppUpdateURL = address;
    }
    SetStatus("");
    if (url == -1) fw::MsgBox("Update Error: Update URL key not found");

    if (fw::Len(ServerMessage) > 0) {
      Views::ServerMessage().Show(ServerMessage);
    }
    if (fw::StrEq(WithoutQuotes(file.ValueAt(lock)), "true")) {
      Views::Main().DisableForecastButton();
      Views::Menu().DisableForecastItem();
      LockApplication();
    }
  }

  // The first result after start, good or not, brings the first weather.
  if (!InitialUpdateCheckRun) {
    InitialUpdateCheckRun = true;
    if (!AppLocked) GetForecast();
  }
}

}  // namespace Globals
