#include "core/MyHTTPSocket.h"

#include <algorithm>
#include <cstdint>
#include <memory>

#include "core/Globals.h"
#include "core/Hosts.h"
#include "core/Transport.h"
#include "core/UpdateInfo.h"
#include "core/Views.h"
#include "core/Weather.h"
#include "framework/net/SocketErrors.h"
#include "framework/text/Text.h"
#include "framework/ui/MsgBox.h"

namespace {

// The main window's one-line status text. Reaching it through the accessor
// brings up a new main window if the user closed it meanwhile.
void SetStatus(const std::string& text) { Views::Main().SetStatus(text); }

// The box is modal, so the status text appears once it has been dismissed.
void Report(const std::string& box, const std::string& status) {
  fw::MsgBox(box);
  SetStatus(status);
}

}  // namespace

void MyHTTPSocket::GetURL(const std::string& url) {
  requestType_ = Globals::RequestType;
  SetStatus("Connecting to server...");
  Get(url);
}

void MyHTTPSocket::Event_Connected() { SetStatus("Waiting for response..."); }

void MyHTTPSocket::Event_ReceiveProgress(int bytesReceived, int totalBytes, const std::string&) {
  // An announced length over the limit is refused with the first body
  // bytes; a reply without one as soon as it has grown past the limit. The
  // connection is dropped there, so no more of it is read.
  const std::int64_t limit = Transport::MaxReplyBytes(requestType_);
  if (bytesReceived > limit || totalBytes > limit) {
    // Close lets go of the socket's hold on itself; the report below must
    // still find it there, whatever runs while it is shown.
    const std::shared_ptr<fw::HTTPSocket> self = weak_from_this().lock();
    Close();
    Event_Error(Transport::kReplyTooLarge);
    return;
  }
  SetStatus("Waiting for response...");
}

void MyHTTPSocket::Event_HeadersReceived(const fw::InternetHeaders&, int httpStatus) {
  SetStatus("Status: " + fw::Str(httpStatus));
}

void MyHTTPSocket::Event_Error(int code) {
  const std::string& CR = Globals::CR;
  switch (code) {
    case fw::kSocketClosedOrRefused:
      Report(
          "The proxy server was unreachable, it may be undergoing maintennance. Wait a minute or two "
          "and try again.",
          "Error: Try again soon.");
      break;
    case fw::kSocketHostNotFound:
      Report("The proxy server was unreachable.", "Error: Proxy server may be misconfigured.");
      break;
    case fw::kSocketNetworkUnreachable:
      Report("The server was unreachable" + CR + CR + "Please check your internet connection.",
             "Error: Check Internet Connection.");
      break;
    default:
      SetStatus("Error: " + fw::Str(code));
      break;
  }
}

void MyHTTPSocket::Event_PageReceived(const std::string& url, int httpStatus, const fw::InternetHeaders&,
                                      const std::string& content) {
  const std::string& CR = Globals::CR;

  // The debug window shows every reply as it came, failed ones included.
  if (Globals::DebugWInOpen) Views::Debug().ShowResponse(content);

  // A failed reply still reaches its reader, with nothing to read.
  std::string body;
  switch (httpStatus) {
    case 200:
      // A CR LF pair is one line end, not two.
      body = fw::WithLineEnds(content, fw::Chr(13));
      Globals::RawResponse = body;
      break;
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

  if (fw::StrEq(requestType_, "WEATHER")) {
    Globals::ParseResponse(body);
    Views::MainView& main = Views::Main();
    main.ToggleLoadingStates(false);
    if (!Globals::InitialUpdateCheckRun) main.RunUpdateCheck();
    main.StopDigitAnimation();
  } else if (fw::StrEq(requestType_, "UPDATE")) {
    Globals::ParseUpdateInfo(body);
  } else {
    fw::MsgBox("Error: Unhandled request type.");
  }

  SetStatus("");
}
