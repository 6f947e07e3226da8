#include "framework/net/HTTPSocket.h"

#include "framework/text/Exceptions.h"

#include <QObject>
#include <QTimer>
#include <algorithm>
#include <climits>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "framework/net/BodyMemory.h"
#include "framework/net/ChunkedDecoder.h"
#include "framework/net/SocketDisposal_p.h"
#include "framework/net/SocketErrors.h"
#include "framework/net/TCPSocket.h"

namespace fw {

namespace {

constexpr int kDefaultConnectTimeoutMs = 30000;
constexpr int kDefaultReplyTimeoutMs = 60000;
// A Content-Length above this is not believed (and is taken as absent).
constexpr std::int64_t kMaxContentLength = std::int64_t{1} << 52;
// The longest header block believed, blank line included; a server that
// sends header lines for ever must not grow memory for ever.
constexpr std::size_t kMaxHeaderBlock = 64 * 1024;

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

bool StartsWithIgnoringCase(const std::string& s, const std::string& prefix) {
  return s.size() >= prefix.size() && EqualsIgnoringCase(s.substr(0, prefix.size()), prefix);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string TrimBlanks(const std::string& s) {
  std::size_t b = 0;
  std::size_t e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
  return s.substr(b, e - b);
}

int ClampToInt(std::int64_t v) { return v > INT_MAX ? INT_MAX : static_cast<int>(v); }

struct Target {
  std::string host;        // what is connected to
  std::string hostHeader;  // what the Host header says
  int port = 0;
  std::string path;
};

// Splits ["http://"] host [":" port] [path]. False when no connection can
// come of the URL.
bool ParseTarget(const std::string& url, int defaultPort, Target& out) {
  std::string rest = url;
  if (StartsWithIgnoringCase(rest, "http://")) rest.erase(0, 7);
  const std::size_t cut = rest.find_first_of("/?");
  std::string authority = rest.substr(0, cut);
  out.path = cut == std::string::npos ? "/" : rest.substr(cut);
  if (!out.path.empty() && out.path[0] == '?') out.path.insert(0, "/");

  std::string portText;
  bool gavePort = false;
  std::string bracketed;  // an IPv6 literal keeps its brackets in the Host header
  if (!authority.empty() && authority[0] == '[') {
    const std::size_t close = authority.find(']');
    if (close == std::string::npos) return false;
    out.host = authority.substr(1, close - 1);
    bracketed = authority.substr(0, close + 1);
    const std::string after = authority.substr(close + 1);
    if (!after.empty()) {
      if (after[0] != ':') return false;
      gavePort = true;
      portText = after.substr(1);
    }
  } else {
    const std::size_t colon = authority.find(':');
    out.host = authority.substr(0, colon);
    if (colon != std::string::npos) {
      gavePort = true;
      portText = authority.substr(colon + 1);
    }
  }
  if (out.host.empty()) return false;

  if (gavePort) {
    if (portText.empty() || portText.size() > 5) return false;
    int port = 0;
    for (char c : portText) {
      if (!IsDigit(c)) return false;
      port = port * 10 + (c - '0');
    }
    out.port = port;
  } else {
    out.port = defaultPort;
  }
  if (out.port < 1 || out.port > 65535) return false;

  out.hostHeader = bracketed.empty() ? out.host : bracketed;
  if (gavePort) out.hostHeader += ":" + std::to_string(out.port);
  return true;
}

// "HTTP/x.y NNN reason" gives NNN; anything else 0.
int ParseStatus(const std::string& line) {
  if (!StartsWithIgnoringCase(line, "HTTP/")) return 0;
  std::size_t i = line.find(' ');
  if (i == std::string::npos) return 0;
  while (i < line.size() && line[i] == ' ') ++i;
  int status = 0;
  int digits = 0;
  for (; i < line.size() && IsDigit(line[i]) && digits < 9; ++i, ++digits) {
    status = status * 10 + (line[i] - '0');
  }
  return status;
}

// The header block without its blank line: the status and the header lines
// (a line that starts with a blank continues the previous header).
void ParseHeaderBlock(const std::string& block, int& status, InternetHeaders& headers) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start <= block.size()) {
    std::size_t end = block.find('\n', start);
    if (end == std::string::npos) end = block.size();
    std::string line = block.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  status = ParseStatus(lines.empty() ? std::string() : lines[0]);

  std::vector<std::pair<std::string, std::string>> entries;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (line.empty()) continue;
    if ((line[0] == ' ' || line[0] == '\t') && !entries.empty()) {
      entries.back().second += " " + TrimBlanks(line);
      continue;
    }
    const std::size_t colon = line.find(':');
    if (colon == std::string::npos) continue;  // not a header line; nothing to keep
    entries.emplace_back(TrimBlanks(line.substr(0, colon)), TrimBlanks(line.substr(colon + 1)));
  }
  for (const auto& [name, value] : entries) headers.Add(name, value);
}

// A body in the chunked coding: the last coding named is "chunked". A
// server may send it even to our HTTP/1.0 request; the framing is then
// removed, never handed on as part of the page.
bool IsChunked(const std::string& transferEncoding) {
  const std::size_t comma = transferEncoding.rfind(',');
  const std::string last = comma == std::string::npos ? transferEncoding : transferEncoding.substr(comma + 1);
  return EqualsIgnoringCase(TrimBlanks(last), "chunked");
}

// A Content-Length value, or -1 when it is not a plain decimal number.
std::int64_t ParseLength(const std::string& text) {
  const std::string t = TrimBlanks(text);
  if (t.empty()) return -1;
  std::int64_t v = 0;
  for (char c : t) {
    if (!IsDigit(c)) return -1;
    v = v * 10 + (c - '0');
    if (v > kMaxContentLength) return -1;
  }
  return v;
}

}  // namespace

struct HTTPSocket::Impl {
  // The connection; its events come back here.
  class Transport final : public TCPSocket {
   public:
    explicit Transport(HTTPSocket::Impl* d) : d_(d) {}

   protected:
    void Event_Connected() override { d_->OnConnected(); }
    void Event_DataAvailable() override { d_->OnData(); }
    void Event_Error() override { d_->OnSocketError(LastErrorCode()); }

   private:
    HTTPSocket::Impl* d_;
  };

  enum class Phase { Idle, Connecting, Header, Body };

  explicit Impl(HTTPSocket* owner) : q(owner), transport(this) {
    requestHeaders = {{"Accept", "*/*"}, {"Accept-Language", "en"}};
  }

  ~Impl() { *alive = false; }

  HTTPSocket* q;
  std::shared_ptr<bool> alive = std::make_shared<bool>(true);
  Transport transport;
  std::vector<std::pair<std::string, std::string>> requestHeaders;
  int connectTimeoutMs = kDefaultConnectTimeoutMs;
  int replyTimeoutMs = kDefaultReplyTimeoutMs;

  // Counts requests and abandons; a queued call or an event handler that
  // finds another number knows its request is over.
  unsigned request = 0;
  Phase phase = Phase::Idle;
  std::string url;
  Target target;
  std::string pending;       // reply bytes while the header block is incomplete
  std::size_t scanFrom = 0;  // where the search for the blank line resumes
  InternetHeaders headers;
  int status = 0;
  bool hasLength = false;
  bool chunked = false;
  ChunkedDecoder chunks;
  std::int64_t length = 0;
  std::int64_t received = 0;
  std::string content;
  bool inData = false;
  std::optional<int> deferredError;
  // Holds the object while a request runs, so that nobody else has to.
  std::shared_ptr<HTTPSocket> keepAlive;

  // Raises an event; false when the handler destroyed the object or ended or
  // replaced the request, so the caller must stop at once.
  template <class F>
  bool Raise(F&& event) {
    const std::shared_ptr<bool> stillAlive = alive;
    const unsigned req = request;
    // An exception from the owner's handler must not unwind into Qt.
    Guarded(event);
    return *stillAlive && request == req;
  }

  // Drops the reference on the loop: the object must not vanish while one
  // of its handlers, or code that called it, is still running.
  static void ReleaseLater(std::shared_ptr<HTTPSocket> self) {
    if (!self) return;
    QTimer::singleShot(0, [self = std::move(self)] {});
  }

  // Ends the present request quietly.
  void Stop() {
    transport.Close();
    phase = Phase::Idle;
    ++request;
    pending.clear();
    scanFrom = 0;
    headers = InternetHeaders();
    status = 0;
    hasLength = false;
    chunked = false;
    chunks = ChunkedDecoder();
    length = 0;
    received = 0;
    content.clear();
    deferredError.reset();
  }

  void Start(const std::string& newUrl) {
    Stop();
    url = newUrl;
    if (!keepAlive) keepAlive = q->weak_from_this().lock();
    if (!ParseTarget(url, q->Port, target)) {
      const std::weak_ptr<bool> weakAlive = alive;
      const unsigned req = request;
      QTimer::singleShot(0, [this, weakAlive, req] {
        net_detail::DispatchScope scope;
        const auto flag = weakAlive.lock();
        if (flag && *flag && request == req) FailRequest(kSocketHostNotFound);
      });
      return;
    }
    phase = Phase::Connecting;
    transport.Address = target.host;
    transport.Port = target.port;
    transport.SetConnectTimeoutMs(connectTimeoutMs);
    transport.SetSilenceTimeoutMs(std::max(1, replyTimeoutMs));
    transport.Connect();
  }

  void FailRequest(int code) {
    Stop();
    std::shared_ptr<HTTPSocket> self = std::move(keepAlive);
    Raise([&] { q->Event_Error(code); });
    ReleaseLater(std::move(self));
  }

  void CompletePage() {
    const std::string pageUrl = url;
    const int pageStatus = status;
    const InternetHeaders pageHeaders = headers;
    const std::string page = std::move(content);
    Stop();
    std::shared_ptr<HTTPSocket> self = std::move(keepAlive);
    Raise([&] { q->Event_PageReceived(pageUrl, pageStatus, pageHeaders, page); });
    ReleaseLater(std::move(self));
  }

  void OnConnected() {
    if (phase != Phase::Connecting) return;
    phase = Phase::Header;
    std::string req = "GET " + target.path + " HTTP/1.0\r\nHost: " + target.hostHeader + "\r\n";
    for (const auto& [name, value] : requestHeaders) req += name + ": " + value + "\r\n";
    req += "\r\n";
    transport.Write(req);
    Raise([&] { q->Event_Connected(); });
  }

  // Bytes arrived. A handler may run a nested loop (a modal box) while bytes
  // or the close come in; those wait until the running call has handed on
  // what it holds, so the body keeps its order.
  void OnData() {
    if (inData) return;
    inData = true;
    const std::shared_ptr<bool> stillAlive = alive;
    const unsigned req = request;
    while (request == req) {
      std::string data = transport.ReadAll();
      if (data.empty()) break;
      Take(data);
      if (!*stillAlive) return;
      transport.Recycle(std::move(data));
    }
    inData = false;
    // A request that a handler started meanwhile may have bytes waiting.
    if (request != req && transport.BytesAvailable() > 0) return OnData();
    if (deferredError) {
      const int code = *deferredError;
      deferredError.reset();
      OnSocketError(code);
    }
  }

  void Take(std::string& data) {
    if (phase != Phase::Header && phase != Phase::Body) return;

    if (phase == Phase::Header) {
      pending += data;
      const std::size_t crlf = pending.find("\r\n\r\n", scanFrom);
      const std::size_t lf = pending.find("\n\n", scanFrom);
      if (crlf == std::string::npos && lf == std::string::npos) {
        if (pending.size() >= kMaxHeaderBlock) return FailRequest(kSocketProtocolError);
        scanFrom = pending.size() > 3 ? pending.size() - 3 : 0;
        return;
      }
      const bool crlfFirst = lf == std::string::npos || (crlf != std::string::npos && crlf < lf);
      const std::size_t end = crlfFirst ? crlf : lf;
      const std::size_t bodyStart = end + (crlfFirst ? 4 : 2);
      if (bodyStart > kMaxHeaderBlock) return FailRequest(kSocketProtocolError);
      ParseHeaderBlock(pending.substr(0, end), status, headers);
      data = pending.substr(bodyStart);
      pending.clear();

      // A chunked body carries its own length; a Content-Length beside it
      // is not believed.
      chunked = IsChunked(headers.Value("Transfer-Encoding"));
      const std::int64_t announced = chunked ? -1 : ParseLength(headers.Value("Content-Length"));
      hasLength = announced >= 0;
      length = hasLength ? announced : 0;
      if (hasLength) ReserveBody(content, length);
      phase = Phase::Body;

      const InternetHeaders copy = headers;
      const int code = status;
      if (!Raise([&] { q->Event_HeadersReceived(copy, code); })) return;
    }
    AddBody(data);
  }

  void AddBody(std::string& data) {
    if (chunked) {
      std::string decoded;
      chunks.Feed(data, decoded);
      if (chunks.Malformed()) return FailRequest(kSocketProtocolError);
      data = std::move(decoded);
    }
    if (hasLength && static_cast<std::int64_t>(data.size()) > length - received) {
      data.resize(static_cast<std::size_t>(length - received));  // bytes beyond the body are not ours
    }
    if (!data.empty()) {
      received += static_cast<std::int64_t>(data.size());
      content += data;
      const int got = ClampToInt(received);
      const int total = ClampToInt(length);
      if (!Raise([&] { q->Event_ReceiveProgress(got, total, data); })) return;
    }
    if ((hasLength && received >= length) || chunks.Done()) CompletePage();
  }

  void OnSocketError(int code) {
    if (inData) {
      deferredError = code;  // after the bytes that came before it
      return;
    }
    switch (phase) {
      case Phase::Idle:
        return;
      case Phase::Body:
        // Without a length or chunks, the server's close is how the body
        // ends; a reset instead may have cut it anywhere.
        if (!hasLength && !chunked && code == kSocketClosedOrRefused && transport.LastErrorIsOrderlyClose()) {
          return CompletePage();
        }
        return FailRequest(code);
      case Phase::Connecting:
      case Phase::Header:
        return FailRequest(code);
    }
  }
};

HTTPSocket::HTTPSocket() : impl_(std::make_unique<Impl>(this)) {}

HTTPSocket::~HTTPSocket() = default;

void HTTPSocket::SetRequestHeader(const std::string& name, const std::string& value) {
  auto& list = impl_->requestHeaders;
  for (auto it = list.begin(); it != list.end(); ++it) {
    if (EqualsIgnoringCase(it->first, name)) {
      if (value.empty()) {
        list.erase(it);
      } else {
        it->second = value;
      }
      return;
    }
  }
  if (!value.empty()) list.emplace_back(name, value);
}

void HTTPSocket::Get(const std::string& url) { impl_->Start(url); }

void HTTPSocket::Close() {
  impl_->Stop();
  Impl::ReleaseLater(std::move(impl_->keepAlive));
}

void HTTPSocket::SetConnectTimeoutMs(int ms) { impl_->connectTimeoutMs = ms; }

void HTTPSocket::SetReplyTimeoutMs(int ms) { impl_->replyTimeoutMs = ms; }

}  // namespace fw
