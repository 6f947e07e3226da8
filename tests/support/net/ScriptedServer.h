#pragma once
// A loopback server that plays a script on every connection it accepts, so
// that socket and HTTP clients are tested against real sockets: it can send
// any bytes, split them into packets, pause, wait for the request, and close
// the connection gracefully or with a reset. It records what it receives.
//
//   ScriptedServer server;
//   server.Enqueue(Script::Reply(200, "hello"));
//   socket->Get(server.Url("/x"));
#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

using HeaderList = std::vector<std::pair<std::string, std::string>>;

class Script {
 public:
  Script& Send(std::string bytes);
  // Sends the bytes in pieces of the given sizes (what is left after them as
  // one more piece), waiting gapMs after each piece so it arrives apart.
  Script& SendSplit(const std::string& bytes, const std::vector<std::size_t>& chunkSizes, int gapMs = 15);
  Script& Pause(int ms);
  // Waits until the request's blank line (CR LF CR LF or LF LF) has arrived.
  Script& WaitForRequest();
  Script& Close();  // graceful close, after the sent bytes
  Script& Reset();  // abortive close: the peer gets a reset

  // The bytes of an HTTP/1.0 reply: status line, Content-Length when
  // withLength, the extra headers, the blank line and the body.
  static std::string Response(int status, const std::string& body, const HeaderList& extraHeaders = {},
                              bool withLength = true);
  // Waits for the request, sends Response(...) with Content-Length, closes.
  static Script Reply(int status, const std::string& body, const HeaderList& extraHeaders = {});
  // The same without Content-Length: the close ends the body.
  static Script ReplyNoLength(int status, const std::string& body, const HeaderList& extraHeaders = {});

  struct Step {
    enum class Kind { Send, Pause, WaitForRequest, Close, Reset };
    Kind kind;
    std::string bytes;
    int ms = 0;
  };
  const std::vector<Step>& Steps() const { return steps_; }

 private:
  std::vector<Step> steps_;
};

class ScriptedServer {
 public:
  // Listens on 127.0.0.1 at a free port. A connection takes the next script
  // of the queue; when the queue is empty, the default script (at first:
  // wait for the request and close without a reply). A script that ends
  // without Close or Reset leaves its connection open.
  ScriptedServer();
  ~ScriptedServer();
  ScriptedServer(const ScriptedServer&) = delete;
  ScriptedServer& operator=(const ScriptedServer&) = delete;

  int Port() const;
  std::string HostPort() const;                          // "127.0.0.1:NNNN"
  std::string Url(const std::string& path = "/") const;  // "http://" + HostPort() + path

  void Enqueue(Script script);
  void SetDefaultScript(Script script);

  // Every byte received, per connection in accept order.
  std::vector<std::string> Requests() const;
  int ConnectionCount() const;
  // Connections whose script has run to its end.
  int FinishedCount() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// A port on 127.0.0.1 where nothing listens (bound, then released).
int RefusedPort();
// A host name that never resolves.
std::string UnresolvableHost();

// A port on 127.0.0.1 where connection attempts hang unanswered (the
// listener never accepts and its queue is full), for connect timeouts.
class StalledListener {
 public:
  StalledListener();
  ~StalledListener();
  StalledListener(const StalledListener&) = delete;
  StalledListener& operator=(const StalledListener&) = delete;
  int Port() const { return port_; }

 private:
  int listenFd_ = -1;
  int fillerFd_ = -1;
  int port_ = 0;
};

}  // namespace testsupport
