#pragma once
// The application's own HTTP/1.1 client, speaking HTTP itself over a raw
// TCP connection. One object carries one transfer at a time: a starter
// (Get, GetHeaders, Download, Grab, Resume, Authorize, Redirect) parses the
// URL and connects; the reply is read in the socket's events and the body
// goes to memory or to a file. Everything is reported through the public
// event members below, raised synchronously on the event loop.
//
// A handler may call Cancel, Stop or a starter from inside any event; the
// client notices and does no more work on the old reply. An event without
// a handler is skipped (a Boolean result then counts as false, an object
// result as none). Handlers must not destroy the object.
//
// Body bytes are kept as raw bytes in std::string; nothing is decoded as
// text.
//
// A reply is believed only as far as it proves itself: the body ends at its
// length (bytes after it are not the body's), at the last chunk of a chunked
// body, or at the server's orderly close when the reply gives neither. A
// body cut short by a close or a reset ends with TCPError (102) and
// Cancelled, and so, with kSocketProtocolError, does a header block over
// 64 KiB or broken chunk framing. Nothing moving on the connection for 60 s
// (SetConnectTimeoutMs, SetSilenceTimeoutMs) ends it with the socket's
// timeout code. At most 20 redirections are followed per transfer.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "framework/files/FolderItem.h"
#include "framework/files/TextOutputStream.h"
#include "framework/net/ChunkedDecoder.h"
#include "framework/net/TCPSocket.h"
#include "http/HTTPCookie.h"
#include "http/HTTPHeaders.h"

// What an AddCookies handler hands back: the cookies to send with the
// request being built. The client asks for the count first and for the
// header text only when the count is above 0.
class HTTPCookieCollection {
 public:
  virtual ~HTTPCookieCollection() = default;
  virtual int Count() const = 0;
  // The value of the "Cookie" request header.
  virtual std::string HeaderText() const = 0;
};

class BasicHTTP : public fw::TCPSocket {
 public:
  BasicHTTP();
  ~BasicHTTP() override = default;

  // ---- Properties ----------------------------------------------------
  std::string Buffer;      // body bytes received and not yet delivered
  double BufferSize = 0;   // file mode: buffered bytes that trigger a write
  std::string Client;      // User-Agent value
  std::string Command;     // request method; persists between requests
  bool Connected = false;  // connection open and request written
  std::string CR;
  std::string CRLF;
  std::string EndLine;                  // line end of the current reply's header block
  std::shared_ptr<HTTPHeaders> Extras;  // extra request headers, sent every time
  std::optional<fw::FolderItem> File;   // file that receives the body in file mode
  std::string FormData;                 // encoded form: request body, or query when !SendFormAfter
  bool HeaderReceived = false;
  bool IsChunked = false;
  std::string LF;
  int Mode = 0;             // 0 memory, 1 file, 2 decided by the reply's type
  std::string OriginalURL;  // last URL that ParseURL accepted, trimmed
  std::string Pass;
  std::string Path;          // request target of the request line
  std::string ProxyAddress;  // empty: no proxy
  std::string ProxyPass;
  int ProxyPort = 0;
  std::string ProxyUser;
  std::string ServerAddress;
  std::string ServerPath;
  int ServerPort = 0;
  double Size = 0;   // announced body length; 0 when none
  std::string Type;  // reply content type without parameters
  std::string User;
  bool ViaGrab = false;
  bool RememberSettings = false;  // next Init keeps Mode, ResumeSize, File, Extras
  double ResumeSize = 0;          // bytes already in File when resuming
  std::string CookiePath;
  std::string CookieDomain;
  std::string FormContentType;
  bool SendFormAfter = false;  // true: form goes as the body

  // ---- Events ---------------------------------------------------------
  std::function<void()> Cancelled;
  std::function<void(double received, double total, double added)> DataProgress;
  std::function<void(const std::string& type, const std::optional<fw::FolderItem>& file, bool viaGrab)>
      FileReceived;
  std::function<void(int code, std::shared_ptr<HTTPHeaders> headers, bool informational, bool complete)>
      GotHeaders;
  // True takes the redirecting reply as an ordinary reply; false follows it.
  std::function<bool(const std::string& url)> HandleRedirection;
  std::function<void(const std::string& message, bool flag)> OperationError;
  std::function<void(const std::string& type, const std::string& content, bool viaGrab)> PageReceived;
  std::function<void(const std::string& message)> ProgressChange;
  std::function<void(int code, std::shared_ptr<HTTPHeaders> headers)> ProtocolError;
  std::function<void(int code)> TCPError;
  std::function<void(const std::optional<fw::FolderItem>& file, bool final)> FileUpdated;
  // Fill in the credentials and return true to repeat the request with them.
  std::function<bool(std::string& user, std::string& password)> NeedAuthorization;
  std::function<void()> SockConnected;
  std::function<void(std::shared_ptr<HTTPCookie> cookie, bool expired)> CookieReceived;
  std::function<std::shared_ptr<HTTPCookieCollection>(const std::string& host, const std::string& path)>
      AddCookies;
  std::function<void(const std::string& url)> BadRedirection;

  // ---- Requests -------------------------------------------------------
  virtual void SendRequest();
  virtual void Init();
  virtual void Get(const std::string& url);
  virtual void GetHeaders(const std::string& url);
  // A missing file (or one without a path) is refused with "Unable to write
  // to file!" before anything is sent.
  virtual void Download(const std::string& url, const std::optional<fw::FolderItem>& file);
  virtual void Grab(const std::string& url, const std::optional<fw::FolderItem>& file);
  virtual void Resume(const std::string& url, const std::optional<fw::FolderItem>& file);
  virtual void Redirect(const std::string& url);
  virtual void Authorize(const std::string& user, const std::string& password);
  virtual bool ParseURL(const std::string& url);
  virtual void SetProxy(const std::string& address, int port, const std::string& user,
                        const std::string& password);
  virtual void ClearProxy();
  virtual void SetClient(const std::string& name, double version);

  // ---- Replies --------------------------------------------------------
  virtual void ParseHeader(const std::string& header);
  // Drops the connection and the server fields; raises nothing.
  virtual void Cancel();
  // Ends the transfer on the owner's request; a file download keeps every
  // byte received so far.
  virtual void Stop();

  // ---- Forms and encoders ---------------------------------------------
  // Pairs at the same index from 1 up; index 0 is not used. A missing or
  // empty value skips its pair.
  virtual void SetForm(const std::vector<std::string>& names, const std::vector<std::string>& values,
                       bool post);
  virtual void SetFormDirectly(const std::string& contentType, const std::string& data, bool post);
  virtual void ClearForm();
  // Works on bytes: a character beyond ASCII is escaped byte by byte.
  virtual std::string URLEncode(const std::string& text, bool keepEscapes, bool keepReserved);
  virtual std::string FormEncode(const std::string& text);
  virtual std::string Base64(const std::string& text);

  // ---- Body delivery --------------------------------------------------
  virtual void AddToFile(const std::string& data);
  virtual double FileSize();
  virtual void WriteToFile(bool final);
  virtual void FinishFile();
  // The body of a chunked reply without its framing; it stops where the
  // framing breaks or the data ends.
  virtual std::string ParseChunked(const std::string& data);

 protected:
  void Event_Connected() override;
  void Event_DataAvailable() override;
  void Event_Error() override;

 private:
  // Calls a handler through a copy, so that a handler which replaces itself
  // is not destroyed while it runs.
  template <class R, class... P, class... A>
  static R Raise(const std::function<R(P...)>& event, A&&... args) {
    if (!event) return R();
    const std::function<R(P...)> handler = event;
    return handler(std::forward<A>(args)...);
  }

  // The steps every starter shares after ParseURL and Init.
  void Launch();
  // Reports a failure that ends the request: message, then Cancelled unless
  // the message's handler has already started another transfer.
  void Fail(const std::string& message, bool flag);
  bool RefuseMissingFile(const std::optional<fw::FolderItem>& file);
  // Ends the request on a failure of the connection or of the reply itself:
  // a file download first keeps what it has received; then TCPError (code)
  // and Cancelled.
  void AbortTransfer(int code);
  // The URL of the present request, with its scheme: the base of a relative
  // redirection.
  std::string CurrentURL() const;
  // True when the request goes on: the write worked and no handler ended
  // the request.
  bool WriteBuffer(bool final);
  // The length of File: what was written to it while it is open for the
  // download, else what the system says.
  std::int64_t FileLength() const;
  // Closes the download's file; false when the close failed.
  bool CloseFile();

  // transfer_ counts started transfers; epoch_ also counts every Cancel and
  // every completion. Code that raises an event compares them afterwards to
  // learn whether the handler ended or replaced the request.
  std::uint64_t transfer_ = 0;
  std::uint64_t epoch_ = 0;

  // Follows the framing of a chunked body as it arrives, so that its end is
  // known and broken framing is refused; in file mode it also strips it.
  fw::ChunkedDecoder chunks_;
  // How far the search for the end of the header block has got in the
  // waiting bytes, so that each arrival searches only what is new.
  std::size_t headerScanned_ = 0;
  // Redirections followed in this transfer.
  int redirects_ = 0;
  // The file of a download in progress, open from its first write to the
  // end of the transfer; the path it was opened for and its length.
  std::unique_ptr<fw::TextOutputStream> out_;
  std::string outPath_;
  std::int64_t outLength_ = 0;
};
