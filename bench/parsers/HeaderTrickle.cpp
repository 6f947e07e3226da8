// A reply's header block reaching BasicHTTP over loopback in 1 KiB pieces,
// one piece per arrival: the client sees each piece before the next is
// sent. The block has few, long lines, so that reading its lines stays a
// small part of the time and the wait for the block's end shows.
#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <chrono>
#include <functional>
#include <string>

#include "http/BasicHTTP.h"
#include "parsers/Sizes.h"

namespace {

constexpr std::size_t kPiece = 1024;
constexpr int kPatienceMs = 10000;

class CountingHTTP : public BasicHTTP {
 public:
  int arrivals = 0;

 protected:
  void Event_DataAvailable() override {
    ++arrivals;
    BasicHTTP::Event_DataAvailable();
  }
};

// Runs the event loop until done() holds; false after kPatienceMs.
bool Pump(const std::function<bool()>& done) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > kPatienceMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  return true;
}

struct Listener {
  int fd = -1;
  int port = 0;
  Listener() {
    fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;  // any free port
    socklen_t len = sizeof addr;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(fd, 4) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
      if (fd >= 0) ::close(fd);
      fd = -1;
      return;
    }
    port = ntohs(addr.sin_port);
  }
  ~Listener() {
    if (fd >= 0) ::close(fd);
  }
};

bool Readable(int fd) {
  pollfd p{fd, POLLIN, 0};
  return ::poll(&p, 1, 0) > 0;
}

std::string HeaderBlock(std::size_t bytes) {
  constexpr int kLines = 16;
  const std::size_t valueLength = bytes / kLines;
  std::string s = "HTTP/1.1 200 OK\r\n";
  for (int i = 0; i < kLines; ++i)
    s += "X-Padding-" + std::to_string(i) + ": " + std::string(valueLength, 'v') + "\r\n";
  return s + "Content-Length: 0\r\n\r\n";
}

// Seconds from the first piece sent to the client's GotHeaders; negative
// when the exchange failed.
double TrickleOnce(const Listener& listener, const std::string& block) {
  CountingHTTP http;
  bool got = false;
  http.GotHeaders = [&](int, std::shared_ptr<HTTPHeaders>, bool, bool) { got = true; };
  http.Get("http://127.0.0.1:" + std::to_string(listener.port) + "/trickle");

  if (!Pump([&] { return Readable(listener.fd); })) return -1;
  const int conn = ::accept(listener.fd, nullptr, nullptr);
  if (conn < 0) return -1;
  const int one = 1;
  ::setsockopt(conn, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  // The whole request, so that nothing is left to read while timing.
  std::string request;
  const bool requested = Pump([&] {
    char buffer[4096];
    while (Readable(conn)) {
      const ssize_t n = ::recv(conn, buffer, sizeof buffer, 0);
      if (n <= 0) return true;
      request.append(buffer, static_cast<std::size_t>(n));
    }
    return request.find("\r\n\r\n") != std::string::npos;
  });

  double seconds = -1;
  if (requested) {
    const auto start = std::chrono::steady_clock::now();
    bool ok = true;
    for (std::size_t at = 0; ok && at < block.size() && !got; at += kPiece) {
      const std::size_t n = std::min(kPiece, block.size() - at);
      const int before = http.arrivals;
      ok = ::send(conn, block.data() + at, n, MSG_NOSIGNAL) == static_cast<ssize_t>(n) &&
           Pump([&] { return http.arrivals != before || got; });
    }
    if (ok && got) seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  http.Cancel();
  ::close(conn);
  return seconds;
}

void BM_HeaderTrickle(benchmark::State& state) {
  Listener listener;
  if (listener.fd < 0) {
    state.SkipWithError("cannot listen on the loopback address");
    return;
  }
  const std::string block = HeaderBlock(static_cast<std::size_t>(state.range(0)) * 1024);
  for (auto _ : state) {
    const double seconds = TrickleOnce(listener, block);
    if (seconds < 0) {
      state.SkipWithError("the header block was not received");
      break;
    }
    state.SetIterationTime(seconds);
  }
  state.SetComplexityN(state.range(0));
  state.counters["pieces"] = static_cast<double>((block.size() + kPiece - 1) / kPiece);
}
// Sizes in KiB. The client refuses a header block over 64 KiB, so the
// largest (ten times the first) must stay below that, its status line and
// last header included.
BENCHMARK(BM_HeaderTrickle)->Apply([](auto* b) { parsebench::Sizes(b, 6); }) -> UseManualTime();

}  // namespace
