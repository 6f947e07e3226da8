#pragma once
// The carrier of the weather and update requests. It shows each request's
// progress on the main window's status line, reports failures in a message
// box, and hands the reply body to the reader that Globals::RequestType
// names. Make one per request with std::make_shared and drop it after
// GetURL: the socket keeps itself alive until its last event.
#include <string>

#include "framework/net/HTTPSocket.h"

class MyHTTPSocket : public fw::HTTPSocket {
 public:
  // Shows "Connecting to server..." and starts the GET.
  void GetURL(const std::string& url);
  // Does nothing; the system sends no form data.
  void Post() {}

 protected:
  void Event_Connected() override;
  void Event_ReceiveProgress(int bytesReceived, int totalBytes, const std::string& newData) override;
  void Event_HeadersReceived(const fw::InternetHeaders& headers, int httpStatus) override;
  void Event_Error(int code) override;
  void Event_PageReceived(const std::string& url, int httpStatus, const fw::InternetHeaders& headers,
                          const std::string& content) override;
};
