#pragma once
// The carrier of the weather and update requests. It shows each request's
// progress on the main window's status line, reports failures in a message
// box, and hands the reply body to the reader of the request's kind. Make
// one per request with std::make_shared and drop it after GetURL: the
// socket keeps itself alive until its last event.
#include <string>

#include "framework/net/HTTPSocket.h"

class MyHTTPSocket : public fw::HTTPSocket {
 public:
  // Shows "Connecting to server..." and starts the GET. The request's kind
  // is Globals::RequestType as it stands now (the request functions set it
  // just before): another request started while this one runs changes the
  // shared property, not the reader this reply goes to.
  void GetURL(const std::string& url);
  // Does nothing; the system sends no form data.
  void Post() {}

  // The kind taken by GetURL ("WEATHER", "UPDATE", or what else the
  // property held then).
  const std::string& RequestType() const { return requestType_; }

 protected:
  void Event_Connected() override;
  void Event_ReceiveProgress(int bytesReceived, int totalBytes, const std::string& newData) override;
  void Event_HeadersReceived(const fw::InternetHeaders& headers, int httpStatus) override;
  void Event_Error(int code) override;
  void Event_PageReceived(const std::string& url, int httpStatus, const fw::InternetHeaders& headers,
                          const std::string& content) override;

 private:
  std::string requestType_;
};
