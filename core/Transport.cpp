#include "core/Transport.h"

#include "core/Globals.h"
#include "core/Hosts.h"
#include "core/UpdateInfo.h"
#include "core/Views.h"
#include "core/Weather.h"
#include "framework/ui/MsgBox.h"

namespace Transport {

namespace {

// A reply whose status is not 200, by its status and the address asked for.
void ReportFailure(int status, const std::string& url, const std::string& content) {
  const std::string& CR = Globals::CR;
  switch (status) {
    case 429:
      Report("Weather server overloaded." + CR + CR +
                 "The weather API is currently overloaded. Please try again soon.",
             "OpenAI API overloaded. Try again.");
      break;
    case 400:
      Report("Couldn't retrieve a response." + CR + CR + content, "Couldn't retrieve response.");
      break;
    case 504:
      Report("Server Timeout" + CR + CR +
                 "The weather server took too long to respond and the connection timed out.",
             "Server Timeout: 504");
      break;
    case 500:
      Report("A Server Error Occurred" + CR + CR +
                 "Something unexpected happened with the server's response. Please let Larkspire SW "
                 "know if this issue persists." +
                 CR + CR + "Error: " + content,
             "Server Error: 500");
      break;
    case 102:
      Report("The Server Was Unreachable" + CR + CR +
                 "The server may be undergoing maintennance. Wait a minute or two and try again.",
             "Server undergoing maintennance.");
      break;
    default:
      if (fw::StrEq(url, Hosts::UpdateFileURL())) {
        Report("Something went wrong.." + CR + CR + "The update service is not available.",
               "Update service unavailable.");
      } else if (fw::StrEq(url, Hosts::ProxyBaseURL())) {
        Report("Something went wrong.." + CR + CR + "The proxy server is unavailable. Please try again soon.",
               "Server Unavailable.");
      } else {
        Report("An error occured while waiting for a response." + CR + CR + content + CR + CR +
                   "If you are using a custom proxy server, please ensure the address is correct.",
               "Unknown Network Error");
      }
      break;
  }
}

}  // namespace

void Report(const std::string& box, const std::string& status) {
  fw::MsgBox(box);
  Views::Main().SetStatus(status);
}

void EndReply(const Ending& ending, const std::string& kind, const std::string& url,
              std::optional<int> status, const std::string& content) {
  const bool good = !status || *status == 200;
  // A CR LF pair is one line end, not two.
  std::string text = fw::WithLineEnds(content, fw::Chr(13));

  // Failed replies too: the debug window is where their bodies can be read.
  if (Globals::DebugWInOpen)
    Views::Debug().ShowResponse(ending.debug == DebugShows::AsReceived ? content : text);

  if (good) {
    Globals::RawResponse = text;
  } else {
    ReportFailure(*status, url, content);
    // A failed reply still reaches its reader, with nothing to read.
    text.clear();
  }

  Views::MainView& main = Views::Main();
  const bool weather = fw::StrEq(kind, "WEATHER");
  if (weather) {
    Globals::ParseResponse(text);
    main.ToggleLoadingStates(false);
    if (!Globals::InitialUpdateCheckRun) main.RunUpdateCheck();
  } else if (fw::StrEq(kind, "UPDATE")) {
    Globals::ParseUpdateInfo(text);
  } else if (ending.reportsUnknownKind) {
    fw::MsgBox("Error: Unhandled request type.");
  }
  if (weather || ending.stopsAnimationAfterEveryKind) main.StopDigitAnimation();
  main.SetStatus("");
}

}  // namespace Transport
