#include "framework/net/TCPSocket.h"

#include "framework/text/Exceptions.h"

#include <QObject>
#include <QString>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>

#include "framework/net/SocketDisposal_p.h"
#include "framework/net/SocketErrors.h"

#if defined(__linux__)
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace fw {

namespace {

constexpr int kDefaultConnectTimeoutMs = 30000;
// How long a quietly closed connection may take to hand its last written
// bytes to the system before it is cut.
constexpr int kLingerMs = 5000;
// Consumed bytes are cut from the front of the buffer only once they are
// this many and outweigh the bytes still waiting, so reading a big body in
// small pieces stays linear.
constexpr std::size_t kCompactThreshold = 64 * 1024;
// The most taken from the system in one read. Every read costs the same
// calls and events whatever it brings (and a body going to a file, one
// write more), so a fast sender is best read in large pieces: in pieces of
// 64 KiB a download to a file took 1.6 times as long as in pieces of 256
// KiB. Without a limit a fast sender hands over megabytes at a time, and a
// piece and the copy made of it no longer fit the processor's caches.
// Nothing waits longer for it: what is left makes the system signal again
// at once.
constexpr std::size_t kMaxPull = 256 * 1024;
// What a read asks for when the system announces nothing: enough for bytes
// that arrive just then, and the read tells the connection's end from a
// signal with nothing behind it.
constexpr std::size_t kProbe = 4096;
// The largest string kept for reuse: two reads' worth, so that a whole
// page handed back is not held on to.
constexpr std::size_t kMaxSpare = 2 * kMaxPull;

// Qt reports a reset by the other side exactly as an orderly close. A second
// descriptor of the same connection keeps it in the system after Qt has let
// go of its own, and its TCP state then tells the two apart: an orderly
// close leaves it waiting for our close, a reset leaves it closed.
class ShadowDescriptor {
 public:
  ShadowDescriptor() = default;
  ~ShadowDescriptor() { Release(); }
  ShadowDescriptor(const ShadowDescriptor&) = delete;
  ShadowDescriptor& operator=(const ShadowDescriptor&) = delete;

  void Take(qintptr descriptor) {
    Release();
#if defined(__linux__)
    if (descriptor >= 0) fd_ = ::fcntl(static_cast<int>(descriptor), F_DUPFD_CLOEXEC, 0);
#else
    (void)descriptor;
#endif
  }

  // Must run before Qt closes its own descriptor on our request: as long as
  // this one stays open, the system sends the other side no close.
  void Release() {
#if defined(__linux__)
    if (fd_ >= 0) ::close(fd_);
#endif
    fd_ = -1;
  }

  // False only when the connection is known to have been reset.
  bool ClosedInOrder() const {
#if defined(__linux__)
    tcp_info info{};
    socklen_t length = sizeof info;
    if (fd_ < 0 || ::getsockopt(fd_, IPPROTO_TCP, TCP_INFO, &info, &length) != 0) return true;
    return info.tcpi_state != TCP_CLOSE;
#else
    return true;
#endif
  }

 private:
  int fd_ = -1;
};

int CodeFor(QAbstractSocket::SocketError error) {
  switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
    case QAbstractSocket::RemoteHostClosedError:
      return kSocketClosedOrRefused;
    case QAbstractSocket::HostNotFoundError:
      return kSocketHostNotFound;
    case QAbstractSocket::SocketTimeoutError:
    case QAbstractSocket::NetworkError:
    case QAbstractSocket::TemporaryError:
      return kSocketNetworkUnreachable;
    case QAbstractSocket::AddressInUseError:
      return kSocketAddressInUse;
    case QAbstractSocket::SocketAccessError:
      return kSocketAccessDenied;
    default:
      return kSocketUnclassifiedError;
  }
}

}  // namespace

struct TCPSocket::Impl {
  explicit Impl(TCPSocket* owner) : q(owner) {}

  TCPSocket* q;
  // False once the socket is destroyed; a copy held across an event tells
  // the raiser whether the handler destroyed the socket.
  std::shared_ptr<bool> alive = std::make_shared<bool>(true);
  // Counts connections and closes: a signal, timer or posted call meant for
  // an earlier connection carries an older number and is ignored.
  unsigned generation = 0;

  QTcpSocket* sock = nullptr;
  QObject* ctx = nullptr;  // receiver of this connection's signals (child of sock)
  QTimer* connectTimer = nullptr;
  QTimer* silenceTimer = nullptr;
  ShadowDescriptor shadow;
  bool connected = false;
  bool insideConnectCall = false;
  bool undelivered = false;  // bytes arrived since the last Event_DataAvailable
  bool notified = false;     // the system signalled bytes while a handler ran

  std::string buffer;
  std::size_t offset = 0;  // bytes of buffer already consumed
  // Memory the owner handed back (Recycle), old bytes and all: reading over
  // them spares the zeros that growing a string would first write.
  std::string spare;
  int lastError = kSocketNoError;
  bool orderlyClose = false;
  int connectTimeoutMs = kDefaultConnectTimeoutMs;
  int silenceTimeoutMs = 0;

  // A handle that finds this Impl again from a queued call, only while both
  // it and the connection it was made for still exist.
  struct Ticket {
    std::weak_ptr<bool> alive;
    unsigned generation;
    Impl* impl;
    Impl* Get() const {
      auto flag = alive.lock();
      if (!flag || !*flag || impl->generation != generation) return nullptr;
      return impl;
    }
  };
  Ticket MakeTicket() { return Ticket{alive, generation, this}; }

  // Raises an event; false when the handler destroyed the socket or closed or
  // replaced the connection, so the caller must stop at once.
  bool Raise(void (TCPSocket::*event)()) {
    const std::shared_ptr<bool> stillAlive = alive;
    const unsigned gen = generation;
    // An exception from the owner's handler must not unwind into Qt.
    Guarded([&] { (q->*event)(); });
    return *stillAlive && generation == gen;
  }

  std::size_t Waiting() const { return buffer.size() - offset; }

  void Consume(std::size_t count) {
    offset += count;
    if (offset >= buffer.size()) {
      buffer.clear();
      offset = 0;
    } else if (offset >= kCompactThreshold && offset * 2 >= buffer.size()) {
      buffer.erase(0, offset);
      offset = 0;
    }
  }

  void DropWaiting() {
    buffer.clear();
    offset = 0;
    undelivered = false;
    std::string().swap(spare);  // an idle socket holds no memory for reading
  }

  // Moves what the system received into our own buffer. The Qt socket
  // keeps no buffer (it is opened unbuffered), so the system copies the
  // bytes straight into ours; Qt's buffer would cost a second copy of
  // every byte. False when the read found the connection ended.
  bool Pull() {
    if (!sock || sock->state() != QAbstractSocket::ConnectedState) return true;
    const qint64 available = sock->bytesAvailable();  // what the system holds
    const std::size_t want = available > 0 ? std::min(static_cast<std::size_t>(available), kMaxPull) : kProbe;
    const std::size_t before = buffer.size();
    if (before == 0 && !spare.empty()) buffer.swap(spare);
    if (buffer.size() < before + want) buffer.resize(before + want);
    const qint64 got = sock->read(buffer.data() + before, static_cast<qint64>(want));
    buffer.resize(before + static_cast<std::size_t>(std::max<qint64>(got, 0)));
    if (got < 0) return false;
    if (got > 0) {
      undelivered = true;
      RestartSilence();
    }
    return true;
  }

  void RestartSilence() {
    if (silenceTimer && silenceTimeoutMs > 0) silenceTimer->start(silenceTimeoutMs);
  }

  // Ends the connection with an error that our own timer found.
  void TimeOut() {
    Dispose(false);
    ++generation;
    lastError = kSocketNetworkUnreachable;
    orderlyClose = false;
    Raise(&TCPSocket::Event_Error);
  }

  // Detaches the current connection so that nothing of it reaches us any
  // more. The Qt objects are deleted later, never here: this may run inside
  // one of their own signals.
  void Dispose(bool graceful) {
    connected = false;
    shadow.Release();
    if (!sock) return;
    QTcpSocket* s = sock;
    QObject::disconnect(s, nullptr, ctx, nullptr);
    for (QTimer* timer : {connectTimer, silenceTimer}) {
      timer->stop();
      QObject::disconnect(timer, nullptr, ctx, nullptr);
    }
    sock = nullptr;
    ctx = nullptr;
    connectTimer = nullptr;
    silenceTimer = nullptr;
    if (graceful && s->state() == QAbstractSocket::ConnectedState) {
      // Lets written bytes still in flight reach the other side.
      QObject::connect(s, &QAbstractSocket::disconnected, s, [s] { net_detail::DisposeLater(s); });
      QTimer::singleShot(kLingerMs, s, [s] {
        s->abort();
        net_detail::DisposeLater(s);
      });
      s->disconnectFromHost();
      if (s->state() == QAbstractSocket::UnconnectedState) net_detail::DisposeLater(s);
    } else {
      s->abort();
      net_detail::DisposeLater(s);
    }
  }

  // Signals may come synchronously from inside connectToHost (a numeric
  // address fails at once); events must still arrive on the loop.
  template <class F>
  bool DeferIfInsideConnect(F&& call) {
    if (!insideConnectCall) return false;
    const Ticket ticket = MakeTicket();
    QTimer::singleShot(0, ctx, [ticket, call = std::forward<F>(call)] {
      net_detail::DispatchScope scope;
      if (Impl* d = ticket.Get()) call(d);
    });
    return true;
  }

  void OnConnected() {
    if (DeferIfInsideConnect([](Impl* d) { d->OnConnected(); })) return;
    if (connected) return;
    connectTimer->stop();
    connected = true;
    shadow.Take(sock->socketDescriptor());
    RestartSilence();
    Raise(&TCPSocket::Event_Connected);
  }

  void OnReadyRead() {
    for (;;) {
      notified = false;
      if (!Pull()) {
        const QAbstractSocket::SocketError e = sock->error();
        return Fail(CodeFor(e), e == QAbstractSocket::RemoteHostClosedError);
      }
      if (!undelivered || !connected) return;
      undelivered = false;
      if (!Raise(&TCPSocket::Event_DataAvailable)) return;
      // Bytes (or the end) that arrive while a handler runs a nested loop (a
      // modal box) raise no readyRead, and Qt then waits for a read before
      // it signals again: read now, or the connection stalls. Otherwise the
      // read above has Qt watching the system again: back to the loop, which
      // a fast sender must not keep from other work.
      if (!notified) return;
    }
  }

  // The connection failed or ended: the last bytes first, then the error.
  // peerClosed: Qt saw the other side close the connection (in order, or by
  // a reset that Qt does not tell apart).
  void Fail(int code, bool peerClosed = false) {
    if (DeferIfInsideConnect([code](Impl* d) { d->Fail(code); })) return;
    // Asked before a handler runs: it may close or replace the connection.
    const bool inOrder = peerClosed && connected && shadow.ClosedInOrder();
    Pull();
    if (undelivered && connected) {
      undelivered = false;
      if (!Raise(&TCPSocket::Event_DataAvailable)) return;
    }
    Dispose(false);
    ++generation;
    lastError = code;
    orderlyClose = inOrder;
    Raise(&TCPSocket::Event_Error);
  }

  // Fails the connection from the loop, as an error signal would.
  void FailLater(int code, bool peerClosed) {
    const Ticket ticket = MakeTicket();
    QTimer::singleShot(0, ctx, [ticket, code, peerClosed] {
      net_detail::DispatchScope scope;
      if (Impl* d = ticket.Get()) d->Fail(code, peerClosed);
    });
  }

  // Reports an error for a connection that never got a Qt socket.
  void PostFailure(int code) {
    const Ticket ticket = MakeTicket();
    QTimer::singleShot(0, [ticket, code] {
      net_detail::DispatchScope scope;
      if (Impl* d = ticket.Get()) {
        ++d->generation;
        d->lastError = code;
        d->orderlyClose = false;
        d->Raise(&TCPSocket::Event_Error);
      }
    });
  }

  void Start(const std::string& address, int port) {
    Dispose(true);
    ++generation;
    DropWaiting();
    lastError = kSocketNoError;
    orderlyClose = false;
    if (address.empty()) return PostFailure(kSocketHostNotFound);
    if (port < 1 || port > 65535) return PostFailure(kSocketClosedOrRefused);

    sock = new QTcpSocket;
    ctx = new QObject(sock);
    connectTimer = new QTimer(ctx);
    connectTimer->setSingleShot(true);
    connectTimer->setInterval(std::max(0, connectTimeoutMs));
    silenceTimer = new QTimer(ctx);
    silenceTimer->setSingleShot(true);
    sock->setSocketOption(QAbstractSocket::LowDelayOption, 1);

    QObject::connect(sock, &QAbstractSocket::connected, ctx, [this] {
      net_detail::DispatchScope scope;
      OnConnected();
    });
    QObject::connect(sock, &QIODevice::readyRead, ctx, [this] {
      net_detail::DispatchScope scope;
      OnReadyRead();
    });
    // Also comes while a readyRead is being handled, when readyRead does not.
    QObject::connect(sock, &QIODevice::channelReadyRead, ctx, [this](int) { notified = true; });
    QObject::connect(sock, &QAbstractSocket::errorOccurred, ctx, [this](QAbstractSocket::SocketError e) {
      net_detail::DispatchScope scope;
      Fail(CodeFor(e), e == QAbstractSocket::RemoteHostClosedError);
    });
    QObject::connect(sock, &QAbstractSocket::disconnected, ctx, [this] {
      net_detail::DispatchScope scope;
      Fail(kSocketClosedOrRefused, true);
    });
    QObject::connect(sock, &QIODevice::bytesWritten, ctx, [this] { RestartSilence(); });
    for (QTimer* timer : {connectTimer, silenceTimer}) {
      QObject::connect(timer, &QTimer::timeout, ctx, [this] {
        net_detail::DispatchScope scope;
        TimeOut();
      });
    }

    connectTimer->start();
    insideConnectCall = true;
    sock->connectToHost(QString::fromStdString(address), static_cast<quint16>(port),
                        QIODevice::ReadWrite | QIODevice::Unbuffered);
    insideConnectCall = false;
  }
};

TCPSocket::TCPSocket() : impl_(std::make_unique<Impl>(this)) {}

TCPSocket::~TCPSocket() {
  *impl_->alive = false;
  impl_->Dispose(true);
}

void TCPSocket::Connect() { impl_->Start(Address, Port); }

void TCPSocket::Write(const std::string& bytes) {
  if (!impl_->connected || !impl_->sock || bytes.empty()) return;
  // Unbuffered, Qt hands the bytes to the system at once, keeping only what
  // the system cannot take yet, and signals neither their leaving nor a
  // failure: both are seen to here.
  if (impl_->sock->write(bytes.data(), static_cast<qint64>(bytes.size())) < 0) {
    const QAbstractSocket::SocketError e = impl_->sock->error();
    impl_->FailLater(CodeFor(e), e == QAbstractSocket::RemoteHostClosedError);
    return;
  }
  impl_->RestartSilence();
}

std::string TCPSocket::Lookahead() const { return impl_->buffer.substr(impl_->offset); }

std::string TCPSocket::Read(std::size_t count) {
  const std::size_t n = std::min(count, impl_->Waiting());
  if (impl_->offset == 0 && n == impl_->buffer.size() && n > 0) {
    // Everything that waits: hand the buffer itself over rather than a copy.
    std::string out = std::move(impl_->buffer);
    impl_->buffer.clear();
    return out;
  }
  std::string out = impl_->buffer.substr(impl_->offset, n);
  impl_->Consume(n);
  return out;
}

std::string TCPSocket::ReadAll() { return Read(impl_->Waiting()); }

std::size_t TCPSocket::BytesAvailable() const { return impl_->Waiting(); }

void TCPSocket::Recycle(std::string&& spent) {
  if (spent.capacity() <= kMaxSpare && spent.size() > impl_->spare.size()) impl_->spare = std::move(spent);
}

std::size_t TCPSocket::FindWaiting(const std::string& bytes, std::size_t from) const {
  if (from > impl_->Waiting()) return std::string::npos;
  const std::size_t found = impl_->buffer.find(bytes, impl_->offset + from);
  return found == std::string::npos ? found : found - impl_->offset;
}

void TCPSocket::Close() {
  impl_->Dispose(true);
  ++impl_->generation;
  impl_->DropWaiting();
}

bool TCPSocket::IsConnected() const { return impl_->connected && impl_->sock != nullptr; }

int TCPSocket::LastErrorCode() const { return impl_->lastError; }

bool TCPSocket::LastErrorIsOrderlyClose() const {
  return impl_->lastError == kSocketClosedOrRefused && impl_->orderlyClose;
}

void TCPSocket::SetConnectTimeoutMs(int ms) { impl_->connectTimeoutMs = ms; }

void TCPSocket::SetSilenceTimeoutMs(int ms) { impl_->silenceTimeoutMs = ms; }

int TCPSocket::ConnectTimeoutMs() const { return impl_->connectTimeoutMs; }

int TCPSocket::SilenceTimeoutMs() const { return impl_->silenceTimeoutMs; }

}  // namespace fw
