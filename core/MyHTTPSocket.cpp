#include "core/MyHTTPSocket.h"

#include <memory>

#include "core/Globals.h"
#include "core/Transport.h"
#include "core/Views.h"
#include "framework/net/SocketErrors.h"
#include "framework/text/Text.h"

namespace {

using Transport::Report;

// The main window's one-line status text. Reaching it through the accessor
// brings up a new main window if the user closed it meanwhile.
void SetStatus(const std::string& text) { Views::Main().SetStatus(text); }

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
  if (Transport::ReplyTooLarge(requestType_, bytesReceived, totalBytes)) {
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
  // The debug window gets the body as it came; an unknown kind is reported;
  // the animation belongs to weather requests.
  Transport::EndReply({.debug = Transport::DebugShows::AsReceived,
                       .reportsUnknownKind = true,
                       .stopsAnimationAfterEveryKind = false},
                      requestType_, url, httpStatus, content);
}
