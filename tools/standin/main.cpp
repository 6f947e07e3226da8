// breezeling-standin: the weather proxy and web host on the loopback address,
// so the application runs end to end without internet.
#include <QCoreApplication>
#include <QHostAddress>
#include <QSocketNotifier>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#ifdef Q_OS_UNIX
#include <sys/socket.h>
#include <unistd.h>
#endif

#include "tools/standin/Http.h"
#include "tools/standin/Options.h"
#include "tools/standin/Router.h"

namespace {

using namespace standin;

// A client gets this long to send its request head; after the reply it gets
// this long to read it and hang up before the connection is dropped.
constexpr int kRequestTimeoutMs = 15000;
constexpr int kLingerMs = 5000;

void Log(const Settings& settings, const std::string& line) {
  if (settings.quiet) return;
  std::fprintf(stderr, "%s\n", line.c_str());
  std::fflush(stderr);
}

// One connection: collect the request head, answer once, close.
class Connection {
 public:
  Connection(QTcpSocket* socket, const Settings& settings) : socket_(socket), settings_(settings) {
    socket_->setReadBufferSize(static_cast<qint64>(kMaxRequestHead) + 1);
    timer_ = new QTimer(socket_);
    timer_->setSingleShot(true);
    QObject::connect(timer_, &QTimer::timeout, socket_, [this] { OnTimeout(); });
    QObject::connect(socket_, &QTcpSocket::readyRead, socket_, [this] { OnReadyRead(); });
    QObject::connect(socket_, &QTcpSocket::bytesWritten, socket_, [this] { MaybeHalfClose(); });
    QObject::connect(socket_, &QTcpSocket::disconnected, socket_, &QObject::deleteLater);
    // The socket owns this object through its destroyed signal.
    QObject::connect(socket_, &QObject::destroyed, [this] { delete this; });
    timer_->start(kRequestTimeoutMs);
    OnReadyRead();
  }

 private:
  void OnReadyRead() {
    if (answered_) {
      socket_->readAll();  // drained while lingering; never looked at
      return;
    }
    const qint64 room = static_cast<qint64>(kMaxRequestHead + 1 - received_.size());
    const QByteArray chunk = socket_->read(room > 0 ? room : 1);
    received_.append(chunk.constData(), static_cast<std::size_t>(chunk.size()));
    // Only a line end, a control byte or the size limit can change the
    // verdict on what came before; skipping the rest keeps a client that
    // trickles bytes from costing a rescan each time.
    const bool decisive =
        received_.size() > kMaxRequestHead || std::any_of(chunk.begin(), chunk.end(), [](char c) {
          return static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
        });
    const HeadResult head = decisive ? ParseRequestHead(received_) : HeadResult{};
    switch (head.status) {
      case HeadStatus::Incomplete:
        if (socket_->bytesAvailable() > 0) QTimer::singleShot(0, socket_, [this] { OnReadyRead(); });
        return;
      case HeadStatus::Bad:
        Answer("(unparsable request)", TextResponse(400, "Bad request line."), true);
        return;
      case HeadStatus::TooLarge:
        Answer("(oversized request)", TextResponse(431, "Request head larger than 64 KiB."), true);
        return;
      case HeadStatus::Complete: {
        const Request& request = head.request;
        Answer(request.method + " " + request.target, Route(request, settings_), request.method != "HEAD");
        return;
      }
    }
  }

  void OnTimeout() {
    if (!answered_) {
      Answer("(request timed out)", TextResponse(408, "No complete request in time."), true);
    } else {
      socket_->abort();
      socket_->deleteLater();
    }
  }

  void Answer(const std::string& what, const Response& response, bool withBody) {
    answered_ = true;
    received_.clear();
    const std::string bytes = SerializeResponse(response, withBody);
    Log(settings_, what + " -> " + std::to_string(response.status) + " (" +
                       std::to_string(response.body.size()) + " bytes)");
    socket_->write(bytes.data(), static_cast<qint64>(bytes.size()));
    socket_->flush();
    timer_->start(kLingerMs);
    MaybeHalfClose();
  }

  // Once the reply is out, end our side but keep reading until the client
  // hangs up: closing with its unread bytes pending would reset the
  // connection and could destroy the reply before the client reads it.
  void MaybeHalfClose() {
    if (!answered_ || halfClosed_ || socket_->bytesToWrite() > 0) return;
    halfClosed_ = true;
#ifdef Q_OS_UNIX
    if (socket_->socketDescriptor() >= 0) {
      ::shutdown(static_cast<int>(socket_->socketDescriptor()), SHUT_WR);
      return;
    }
#endif
    socket_->disconnectFromHost();
  }

  QTcpSocket* socket_;
  const Settings& settings_;
  QTimer* timer_ = nullptr;
  std::string received_;
  bool answered_ = false;
  bool halfClosed_ = false;
};

#ifdef Q_OS_UNIX
int g_signalPipe[2] = {-1, -1};

void OnSignal(int) {
  const char byte = 1;
  const ssize_t written = ::write(g_signalPipe[1], &byte, 1);
  (void)written;
}

// SIGTERM and SIGINT end the event loop from a safe place: the handler only
// writes a byte that a socket notifier picks up.
void QuitOnSignals(QCoreApplication& app) {
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0) return;
  auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, &app);
  QObject::connect(notifier, &QSocketNotifier::activated, &app, [notifier] {
    notifier->setEnabled(false);
    QCoreApplication::quit();
  });
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
  std::signal(SIGPIPE, SIG_IGN);
}
#endif

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  const ParsedArguments parsed = ParseArguments(args);
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "breezeling-standin: %s\n\n%s", parsed.error.c_str(), Usage().c_str());
    return 2;
  }
  if (parsed.help) {
    std::fputs(Usage().c_str(), stdout);
    return 0;
  }
  const Settings settings = parsed.settings;

  QCoreApplication app(argc, argv);
#ifdef Q_OS_UNIX
  QuitOnSignals(app);
#endif

  QTcpServer server;
  if (!server.listen(QHostAddress::LocalHost, static_cast<quint16>(settings.port))) {
    std::fprintf(stderr, "breezeling-standin: cannot listen on 127.0.0.1:%d: %s\n", settings.port,
                 server.errorString().toLocal8Bit().constData());
    if (server.serverError() == QAbstractSocket::AddressInUseError)
      std::fprintf(stderr, "Another program (perhaps another stand-in) uses that port; try --port.\n");
    return 1;
  }
  QObject::connect(&server, &QTcpServer::newConnection, &server, [&server, &settings] {
    while (QTcpSocket* socket = server.nextPendingConnection()) new Connection(socket, settings);
  });

  std::printf("listening on 127.0.0.1:%d\n", static_cast<int>(server.serverPort()));
  std::fflush(stdout);
  const int status = app.exec();
  server.close();
  Log(settings, "stopped");
  return status;
}
