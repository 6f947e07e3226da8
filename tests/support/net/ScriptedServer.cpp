#include "support/net/ScriptedServer.h"

#include <gtest/gtest.h>

#include <QHostAddress>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <deque>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace testsupport {

namespace {

const char* ReasonPhrase(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 201:
      return "Created";
    case 204:
      return "No Content";
    case 301:
      return "Moved Permanently";
    case 302:
      return "Found";
    case 304:
      return "Not Modified";
    case 400:
      return "Bad Request";
    case 401:
      return "Unauthorized";
    case 403:
      return "Forbidden";
    case 404:
      return "Not Found";
    case 429:
      return "Too Many Requests";
    case 500:
      return "Internal Server Error";
    case 502:
      return "Bad Gateway";
    case 503:
      return "Service Unavailable";
    case 504:
      return "Gateway Timeout";
    default:
      return "Status";
  }
}

bool HasBlankLine(const std::string& s) {
  return s.find("\r\n\r\n") != std::string::npos || s.find("\n\n") != std::string::npos;
}

}  // namespace

Script& Script::Send(std::string bytes) {
  steps_.push_back({Step::Kind::Send, std::move(bytes), 0});
  return *this;
}

Script& Script::SendSplit(const std::string& bytes, const std::vector<std::size_t>& chunkSizes, int gapMs) {
  std::size_t at = 0;
  for (std::size_t size : chunkSizes) {
    if (at >= bytes.size()) break;
    Send(bytes.substr(at, size));
    Pause(gapMs);
    at += size;
  }
  if (at < bytes.size()) Send(bytes.substr(at));
  return *this;
}

Script& Script::Pause(int ms) {
  steps_.push_back({Step::Kind::Pause, {}, ms});
  return *this;
}

Script& Script::WaitForRequest() {
  steps_.push_back({Step::Kind::WaitForRequest, {}, 0});
  return *this;
}

Script& Script::Close() {
  steps_.push_back({Step::Kind::Close, {}, 0});
  return *this;
}

Script& Script::Reset() {
  steps_.push_back({Step::Kind::Reset, {}, 0});
  return *this;
}

std::string Script::Response(int status, const std::string& body, const HeaderList& extraHeaders,
                             bool withLength) {
  std::string out = "HTTP/1.0 " + std::to_string(status) + " " + ReasonPhrase(status) + "\r\n";
  if (withLength) out += "Content-Length: " + std::to_string(body.size()) + "\r\n";
  for (const auto& [name, value] : extraHeaders) out += name + ": " + value + "\r\n";
  out += "\r\n";
  out += body;
  return out;
}

Script Script::Reply(int status, const std::string& body, const HeaderList& extraHeaders) {
  Script s;
  s.WaitForRequest().Send(Response(status, body, extraHeaders, true)).Close();
  return s;
}

Script Script::ReplyNoLength(int status, const std::string& body, const HeaderList& extraHeaders) {
  Script s;
  s.WaitForRequest().Send(Response(status, body, extraHeaders, false)).Close();
  return s;
}

struct ScriptedServer::Impl {
  struct Connection {
    QPointer<QTcpSocket> socket;
    std::vector<Script::Step> steps;
    std::size_t next = 0;
    std::string received;
    bool waitingForRequest = false;
    bool finished = false;
  };

  QTcpServer server;
  std::deque<Script> queue;
  Script defaultScript = Script().WaitForRequest().Close();
  std::vector<std::unique_ptr<Connection>> connections;

  Impl() {
    if (!server.listen(QHostAddress::LocalHost, 0)) {
      ADD_FAILURE() << "scripted server cannot listen: " << server.errorString().toStdString();
    }
    QObject::connect(&server, &QTcpServer::newConnection, &server, [this] { Accept(); });
  }

  ~Impl() {
    for (auto& c : connections) {
      if (!c->socket) continue;
      QObject::disconnect(c->socket, nullptr, &server, nullptr);
      c->socket->abort();
      delete c->socket;
    }
  }

  void Accept() {
    while (QTcpSocket* socket = server.nextPendingConnection()) {
      auto c = std::make_unique<Connection>();
      Connection* conn = c.get();
      conn->socket = socket;
      if (queue.empty()) {
        conn->steps = defaultScript.Steps();
      } else {
        conn->steps = queue.front().Steps();
        queue.pop_front();
      }
      connections.push_back(std::move(c));
      socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
      QObject::connect(socket, &QIODevice::readyRead, &server, [this, conn] {
        const QByteArray data = conn->socket->readAll();
        conn->received.append(data.constData(), static_cast<std::size_t>(data.size()));
        if (conn->waitingForRequest && HasBlankLine(conn->received)) {
          conn->waitingForRequest = false;
          ++conn->next;
          Run(conn);
        }
      });
      Run(conn);
    }
  }

  void Run(Connection* c) {
    while (c->socket && c->next < c->steps.size()) {
      const Script::Step& step = c->steps[c->next];
      switch (step.kind) {
        case Script::Step::Kind::Send:
          c->socket->write(step.bytes.data(), static_cast<qint64>(step.bytes.size()));
          c->socket->flush();
          ++c->next;
          break;
        case Script::Step::Kind::Pause:
          ++c->next;
          QTimer::singleShot(step.ms, c->socket, [this, c] { Run(c); });
          return;
        case Script::Step::Kind::WaitForRequest:
          if (!HasBlankLine(c->received)) {
            c->waitingForRequest = true;
            return;
          }
          ++c->next;
          break;
        case Script::Step::Kind::Close:
          c->next = c->steps.size();
          c->finished = true;
          c->socket->disconnectFromHost();
          return;
        case Script::Step::Kind::Reset:
          c->next = c->steps.size();
          c->finished = true;
          c->socket->flush();
          {
            // Zero linger turns the close into a reset.
            linger noLinger{1, 0};
            ::setsockopt(static_cast<int>(c->socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &noLinger,
                         sizeof noLinger);
          }
          c->socket->abort();
          return;
      }
    }
    if (c->next >= c->steps.size()) c->finished = true;
  }
};

ScriptedServer::ScriptedServer() : impl_(std::make_unique<Impl>()) {}

ScriptedServer::~ScriptedServer() = default;

int ScriptedServer::Port() const { return impl_->server.serverPort(); }

std::string ScriptedServer::HostPort() const { return "127.0.0.1:" + std::to_string(Port()); }

std::string ScriptedServer::Url(const std::string& path) const { return "http://" + HostPort() + path; }

void ScriptedServer::Enqueue(Script script) { impl_->queue.push_back(std::move(script)); }

void ScriptedServer::SetDefaultScript(Script script) { impl_->defaultScript = std::move(script); }

std::vector<std::string> ScriptedServer::Requests() const {
  std::vector<std::string> out;
  for (const auto& c : impl_->connections) out.push_back(c->received);
  return out;
}

int ScriptedServer::ConnectionCount() const { return static_cast<int>(impl_->connections.size()); }

int ScriptedServer::FinishedCount() const {
  int n = 0;
  for (const auto& c : impl_->connections) n += c->finished ? 1 : 0;
  return n;
}

int RefusedPort() {
  QTcpServer probe;
  if (!probe.listen(QHostAddress::LocalHost, 0)) {
    ADD_FAILURE() << "cannot find a free port";
    return 1;
  }
  const int port = probe.serverPort();
  probe.close();
  return port;
}

std::string UnresolvableHost() { return "nohost.invalid"; }

StalledListener::StalledListener() {
  // A backlog of 0 holds one unaccepted connection; the filler takes that
  // place, so the system drops every later connection request unanswered.
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof addr;
  listenFd_ = ::socket(AF_INET, SOCK_STREAM, 0);
  if (listenFd_ < 0 || ::bind(listenFd_, reinterpret_cast<sockaddr*>(&addr), len) != 0 ||
      ::listen(listenFd_, 0) != 0 ||
      ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
    ADD_FAILURE() << "cannot set up a stalled listener";
    return;
  }
  port_ = ntohs(addr.sin_port);
  fillerFd_ = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fillerFd_ < 0 || ::connect(fillerFd_, reinterpret_cast<sockaddr*>(&addr), len) != 0) {
    ADD_FAILURE() << "cannot fill the stalled listener's queue";
  }
}

StalledListener::~StalledListener() {
  if (fillerFd_ >= 0) ::close(fillerFd_);
  if (listenFd_ >= 0) ::close(listenFd_);
}

}  // namespace testsupport
