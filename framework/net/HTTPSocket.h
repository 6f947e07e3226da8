#pragma once
// A small HTTP/1.0 client: one GET at a time, the reply kept in memory.
// Subclasses override the events, which arrive on the event loop in this
// order: Event_Connected, Event_HeadersReceived, Event_ReceiveProgress (as
// body bytes arrive), then Event_PageReceived - or Event_Error with a code
// of SocketErrors.h instead of the page.
//
// A page is only ever a whole reply: the body ends at its Content-Length,
// at the last chunk of a chunked body (whose framing is removed), or at the
// server's orderly close when the reply gives neither. A body cut short (a
// close before the length or the last chunk, a reset) is
// kSocketClosedOrRefused; a header block over 64 KiB or broken chunk
// framing is kSocketProtocolError.
//
// The socket keeps itself alive while a request runs, so a caller may start
// one on an object nobody else holds:
//   std::make_shared<MySocket>()->Get("http://example.invalid/");
// (when the object is not owned by a std::shared_ptr, its owner must keep it).
#include <memory>
#include <string>

#include "framework/net/InternetHeaders.h"

namespace fw {

class HTTPSocket : public std::enable_shared_from_this<HTTPSocket> {
 public:
  // Request headers "Accept: */*" and "Accept-Language: en"; port 80.
  HTTPSocket();
  virtual ~HTTPSocket();
  HTTPSocket(const HTTPSocket&) = delete;
  HTTPSocket& operator=(const HTTPSocket&) = delete;

  // Sets a request header, in place when one of that name (any letter case)
  // is already set, else after the others. An empty value removes it.
  void SetRequestHeader(const std::string& name, const std::string& value);

  // Starts a GET and returns at once; any request still running is
  // abandoned without an event. The URL is ["http://"] host [":" port]
  // [path]; the path (with any query) is sent byte for byte as given. A URL
  // whose host is empty or whose port is not a number from 1 to 65535 gets
  // Event_Error(kSocketHostNotFound), raised on the loop.
  void Get(const std::string& url);
  // Abandons the request; no further events.
  void Close();

  // The port used when a URL names none.
  int Port = 80;

  // Time allowed to look the host up and connect (default 30000 ms), and
  // the longest silence allowed while waiting for the reply or its body
  // (default 60000 ms). Either running out gives Event_Error with
  // kSocketNetworkUnreachable. Take effect at the next Get.
  void SetConnectTimeoutMs(int ms);
  void SetReplyTimeoutMs(int ms);

 protected:
  virtual void Event_Connected() {}
  // httpStatus is 0 when the reply does not begin with an HTTP status line.
  virtual void Event_HeadersReceived(const InternetHeaders& /*headers*/, int /*httpStatus*/) {}
  // totalBytes is the announced Content-Length, 0 when the reply gives none.
  virtual void Event_ReceiveProgress(int /*bytesReceived*/, int /*totalBytes*/,
                                     const std::string& /*newData*/) {}
  // url is the text given to Get; content is the body exactly as received.
  virtual void Event_PageReceived(const std::string& /*url*/, int /*httpStatus*/,
                                  const InternetHeaders& /*headers*/, const std::string& /*content*/) {}
  virtual void Event_Error(int /*code*/) {}

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace fw
