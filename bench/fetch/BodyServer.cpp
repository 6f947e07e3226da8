// The download benchmark's server: on the loopback address, it answers
// "GET /bytes/N" with N bytes and their Content-Length, then closes. It is
// plain and fast so that the clients, not the server, set the pace.
//
//   bench_body_server [PORT]      (0 or none: any free port)
//
// Prints "listening on 127.0.0.1:PORT" once ready; stops when its standard
// input closes or on SIGTERM/SIGINT.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr std::size_t kMaxRequest = 8192;
constexpr int kRequestTimeoutMs = 10000;
constexpr unsigned long long kMaxBody = 8ULL << 30;

volatile std::sig_atomic_t g_stop = 0;
void OnSignal(int) { g_stop = 1; }

const std::vector<char>& Block() {
  static const std::vector<char> block = [] {
    std::vector<char> b(1 << 20);
    for (std::size_t i = 0; i < b.size(); ++i) b[i] = static_cast<char>('a' + i % 26);
    return b;
  }();
  return block;
}

bool SendAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::send(fd, data, size, MSG_NOSIGNAL);
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// The body length asked for by "GET /bytes/N ..."; -1 for anything else.
long long Wanted(const std::string& request) {
  const std::string prefix = "GET /bytes/";
  if (request.compare(0, prefix.size(), prefix) != 0) return -1;
  std::size_t i = prefix.size();
  unsigned long long n = 0;
  bool digits = false;
  for (; i < request.size() && request[i] >= '0' && request[i] <= '9'; ++i) {
    n = n * 10 + static_cast<unsigned>(request[i] - '0');
    digits = true;
    if (n > kMaxBody) return -1;
  }
  if (!digits || i >= request.size() || (request[i] != ' ' && request[i] != '?')) return -1;
  return static_cast<long long>(n);
}

void Serve(int fd) {
  std::string request;
  char buffer[2048];
  while (request.find("\r\n\r\n") == std::string::npos && request.size() < kMaxRequest) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, kRequestTimeoutMs) <= 0) break;
    const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    request.append(buffer, static_cast<std::size_t>(n));
  }
  const long long wanted = Wanted(request);
  if (wanted < 0) {
    const std::string reply = "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
    SendAll(fd, reply.data(), reply.size());
  } else {
    const std::string head = "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\nContent-Length: " +
                             std::to_string(wanted) + "\r\nConnection: close\r\n\r\n";
    bool ok = SendAll(fd, head.data(), head.size());
    unsigned long long left = static_cast<unsigned long long>(wanted);
    const std::vector<char>& block = Block();
    while (ok && left > 0) {
      const std::size_t n = left < block.size() ? static_cast<std::size_t>(left) : block.size();
      ok = SendAll(fd, block.data(), n);
      left -= n;
    }
  }
  ::shutdown(fd, SHUT_WR);
  // Wait for the client's close, so that the body is not cut by a reset.
  pollfd p{fd, POLLIN, 0};
  while (::poll(&p, 1, kRequestTimeoutMs) > 0 && ::recv(fd, buffer, sizeof buffer, 0) > 0) {
  }
  ::close(fd);
}

}  // namespace

int main(int argc, char** argv) {
  const long port = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 0;
  if (port < 0 || port > 65535) {
    std::fprintf(stderr, "usage: %s [PORT]\n", argv[0]);
    return 2;
  }
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
  std::signal(SIGPIPE, SIG_IGN);

  const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
  const int one = 1;
  ::setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = htons(static_cast<std::uint16_t>(port));
  socklen_t len = sizeof addr;
  if (listener < 0 || ::bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
      ::listen(listener, 16) != 0 || ::getsockname(listener, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
    std::fprintf(stderr, "bench_body_server: cannot listen on 127.0.0.1:%ld: %s\n", port,
                 std::strerror(errno));
    return 1;
  }
  Block();
  std::printf("listening on 127.0.0.1:%d\n", ntohs(addr.sin_port));
  std::fflush(stdout);

  while (!g_stop) {
    pollfd fds[2] = {{listener, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
    if (::poll(fds, 2, 500) < 0) continue;
    if (fds[1].revents & (POLLIN | POLLHUP)) {
      char c;
      if (::read(STDIN_FILENO, &c, 1) <= 0) break;
    }
    if (fds[0].revents & POLLIN) {
      const int fd = ::accept(listener, nullptr, nullptr);
      if (fd >= 0) std::thread(Serve, fd).detach();
    }
  }
  ::close(listener);
  return 0;
}
