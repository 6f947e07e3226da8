// One download by one of the program's HTTP clients, for the download
// benchmark, which times the process and reads its peak memory.
//
//   bench_fetch basichttp-memory URL        BasicHTTP, body kept in memory
//   bench_fetch basichttp-file URL PATH     BasicHTTP, body written to PATH
//   bench_fetch httpsocket-memory URL       the framework's HTTPSocket
//
// Prints "bytes N" (the body's length) and exits 0, or prints the error
// and exits 1.
#include <QCoreApplication>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "framework/files/FolderItem.h"
#include "framework/net/HTTPSocket.h"
#include "http/BasicHTTP.h"

namespace {

constexpr int kPatienceMs = 300000;

int g_status = 1;
long long g_bytes = -1;
bool g_done = false;

// The first outcome counts; a handler may also run before the loop does.
void Finish(int status, const std::string& message) {
  if (g_done) return;
  g_done = true;
  if (!message.empty()) std::fprintf(stderr, "bench_fetch: %s\n", message.c_str());
  g_status = status;
  QCoreApplication::exit(status);
}

void WireErrors(BasicHTTP& http) {
  http.OperationError = [](const std::string& message, bool) { Finish(1, message); };
  http.ProtocolError = [](int code, std::shared_ptr<HTTPHeaders>) {
    Finish(1, "HTTP status " + std::to_string(code));
  };
  http.TCPError = [](int code) { Finish(1, "socket error " + std::to_string(code)); };
  http.Cancelled = [] { Finish(1, "cancelled"); };
}

class PageSocket : public fw::HTTPSocket {
 protected:
  void Event_PageReceived(const std::string&, int status, const fw::InternetHeaders&,
                          const std::string& content) override {
    g_bytes = static_cast<long long>(content.size());
    Finish(status == 200 ? 0 : 1, status == 200 ? "" : "HTTP status " + std::to_string(status));
  }
  void Event_Error(int code) override { Finish(1, "socket error " + std::to_string(code)); }
};

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  const std::string url = argc > 2 ? argv[2] : "";
  const std::string path = argc > 3 ? argv[3] : "";
  const bool known = mode == "basichttp-memory" || mode == "httpsocket-memory" ||
                     (mode == "basichttp-file" && !path.empty());
  if (!known || url.empty()) {
    std::fprintf(stderr,
                 "usage: %s basichttp-memory|httpsocket-memory URL\n"
                 "       %s basichttp-file URL PATH\n",
                 argv[0], argv[0]);
    return 2;
  }

  QCoreApplication app(argc, argv);
  QTimer::singleShot(kPatienceMs, [] { Finish(1, "no answer in time"); });

  BasicHTTP http;
  std::shared_ptr<PageSocket> socket;
  if (mode == "basichttp-memory") {
    WireErrors(http);
    http.PageReceived = [](const std::string&, const std::string& content, bool) {
      g_bytes = static_cast<long long>(content.size());
      Finish(0, "");
    };
    http.Get(url);
  } else if (mode == "basichttp-file") {
    WireErrors(http);
    std::error_code ec;
    std::filesystem::remove(path, ec);
    http.FileReceived = [path](const std::string&, const std::optional<fw::FolderItem>&, bool) {
      std::error_code sizeError;
      const auto size = std::filesystem::file_size(path, sizeError);
      g_bytes = sizeError ? -1 : static_cast<long long>(size);
      Finish(sizeError ? 1 : 0, sizeError ? "no file written" : "");
    };
    http.Download(url, fw::FolderItem(path));
  } else {
    socket = std::make_shared<PageSocket>();
    socket->Get(url);
  }

  if (!g_done) QCoreApplication::exec();
  if (g_status == 0) std::printf("bytes %lld\n", g_bytes);
  return g_status;
}
