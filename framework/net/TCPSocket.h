#pragma once
// A client TCP connection driven by the event loop. Subclasses override the
// events; every event is raised on the loop, one at a time, and a handler may
// Close(), Connect() again or even destroy the socket.
//
// Received bytes wait in the socket until the program reads them: Lookahead
// peeks, Read and ReadAll consume. Bytes are raw bytes, no text encoding.
// Error codes are those of SocketErrors.h.
#include <cstddef>
#include <memory>
#include <string>

namespace fw {

class TCPSocket {
 public:
  TCPSocket();
  virtual ~TCPSocket();
  TCPSocket(const TCPSocket&) = delete;
  TCPSocket& operator=(const TCPSocket&) = delete;

  std::string Address;  // host name or numeric address
  int Port = 0;

  // Starts connecting to Address:Port and returns at once; Event_Connected
  // or Event_Error follows on the loop. A connection that is open or being
  // opened is closed quietly first. The waiting bytes are dropped.
  void Connect();
  // Queues bytes for sending; does nothing unless connected.
  void Write(const std::string& bytes);

  std::string Lookahead() const;        // all waiting bytes, none consumed
  std::string Read(std::size_t count);  // consumes up to count bytes
  std::string ReadAll();                // consumes all waiting bytes
  std::size_t BytesAvailable() const;
  // Where bytes first occur in the waiting bytes at or after the offset
  // from (0-based, counted from the first waiting byte), byte for byte;
  // std::string::npos when they do not. Nothing is consumed or copied, so a
  // reader waiting for a marker need not take a Lookahead of everything
  // on each arrival.
  std::size_t FindWaiting(const std::string& bytes, std::size_t from = 0) const;
  // Gives back a string that Read or ReadAll handed over, once its bytes
  // are used: bytes that arrive later are read into its memory, which
  // saves taking and clearing fresh memory for each arrival. Optional; what
  // the string holds does not matter, and a large one is simply dropped.
  void Recycle(std::string&& spent);

  // Closes the connection (or stops connecting) and drops the waiting bytes.
  // Raises no event; nothing that arrives afterwards is delivered.
  void Close();
  bool IsConnected() const;
  // The code of the last Event_Error; 0 after Connect().
  int LastErrorCode() const;
  // True when the last Event_Error (code kSocketClosedOrRefused) was the
  // other side's orderly close of an open connection, so everything it sent
  // has arrived; false after a reset, a refused connection, any other
  // failure, and before any error. (Where the system cannot tell a reset
  // from a close, every close of the other side counts as orderly.)
  bool LastErrorIsOrderlyClose() const;

  // Time allowed for the name lookup plus the connection; when it runs out,
  // Event_Error with kSocketNetworkUnreachable. Default 30000 ms; takes
  // effect at the next Connect().
  void SetConnectTimeoutMs(int ms);
  // Longest silence allowed on an open connection: when no byte arrives (and
  // none of ours leaves) for this long, the connection is closed and
  // Event_Error reports kSocketNetworkUnreachable. 0 or less, the default,
  // allows any silence. Takes effect at the next Connect().
  void SetSilenceTimeoutMs(int ms);
  int ConnectTimeoutMs() const;
  int SilenceTimeoutMs() const;

 protected:
  virtual void Event_Connected() {}
  // New bytes are waiting. Bytes left unread stay waiting; the event comes
  // again only when more bytes arrive.
  virtual void Event_DataAvailable() {}
  // The connection failed or the other side closed it; see LastErrorCode().
  // When the other side closes after sending, Event_DataAvailable for the
  // last bytes comes first. The connection is closed by then.
  virtual void Event_Error() {}

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace fw
