#include "Loopback.h"

#include <sys/socket.h>

#include <QHostAddress>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace fuzz {

ScriptedReply ReadReply(Input& input) {
  ScriptedReply reply;
  reply.flags = input.Byte();
  reply.reset = (reply.flags & 1) != 0;
  std::vector<std::size_t> sizes((reply.flags >> 1) & 3);
  for (std::size_t& size : sizes) size = input.Byte();
  reply.bytes = input.Rest();
  reply.pieces = CutInPieces(reply.bytes, sizes);
  return reply;
}

struct Loopback::Impl {
  QTcpServer server;
  QPointer<QTcpSocket> socket;
  ScriptedReply script;
  std::string received;
  std::size_t next = 0;
  bool sending = false;
  bool finished = false;
  unsigned generation = 0;

  Impl() {
    if (!server.listen(QHostAddress::LocalHost, 0)) {
      Fail("loopback server cannot listen: " + server.errorString().toStdString());
    }
    QObject::connect(&server, &QTcpServer::newConnection, &server, [this] { Accept(); });
  }

  ~Impl() { Drop(); }

  void Drop() {
    ++generation;
    if (socket) {
      QObject::disconnect(socket, nullptr, &server, nullptr);
      socket->abort();
      delete socket;
    }
    socket = nullptr;
  }

  void Accept() {
    while (QTcpSocket* incoming = server.nextPendingConnection()) {
      Drop();
      socket = incoming;
      received.clear();
      next = 0;
      sending = false;
      socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
      QObject::connect(socket, &QIODevice::readyRead, &server, [this] {
        const QByteArray data = socket->readAll();
        received.append(data.constData(), static_cast<std::size_t>(data.size()));
        if (!sending &&
            (received.find("\r\n\r\n") != std::string::npos || received.find("\n\n") != std::string::npos)) {
          sending = true;
          SendNext(generation);
        }
      });
      QObject::connect(socket, &QAbstractSocket::disconnected, &server, [this] { finished = true; });
    }
  }

  void SendNext(unsigned forGeneration) {
    if (forGeneration != generation || !socket) return;
    if (next < script.pieces.size()) {
      const std::string& piece = script.pieces[next++];
      socket->write(piece.data(), static_cast<qint64>(piece.size()));
      socket->flush();
      QTimer::singleShot(0, &server, [this, forGeneration] { SendNext(forGeneration); });
      return;
    }
    finished = true;
    if (script.reset) {
      socket->flush();
      // Zero linger turns the close into a reset.
      linger noLinger{1, 0};
      ::setsockopt(static_cast<int>(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &noLinger,
                   sizeof noLinger);
      socket->abort();
    } else {
      socket->disconnectFromHost();
    }
  }
};

Loopback::Loopback() : impl_(std::make_unique<Impl>()) {}

Loopback::~Loopback() = default;

std::string Loopback::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(impl_->server.serverPort()) + path;
}

void Loopback::Answer(const ScriptedReply& reply) {
  impl_->Drop();
  impl_->script = reply;
  impl_->finished = false;
}

bool Loopback::Finished() const { return impl_->finished; }

}  // namespace fuzz
