// HTTPSocket against the scripted loopback server.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "framework/net/HTTPSocket.h"
#include "framework/net/SocketErrors.h"
#include "support/Wait.h"
#include "support/net/ScriptedServer.h"

namespace {

using testsupport::Script;
using testsupport::ScriptedServer;
using testsupport::WaitUntil;

bool Starts(const std::string& s, const std::string& prefix) { return s.rfind(prefix, 0) == 0; }

// A reply whose header block, blank line included, is exactly size bytes.
std::string WithHeaderOf(std::size_t size, const std::string& body) {
  const std::string head =
      "HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\nX-Pad: ";
  return head + std::string(size - head.size() - 4, 'p') + "\r\n\r\n" + body;
}

const std::string kChunkedHead = "HTTP/1.0 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";

// What a socket saw; outlives the socket.
struct Record {
  std::vector<std::string> events;
  // Runs after each event is logged; may act on the socket or destroy it.
  std::function<void(const std::string&)> hook;
  std::string url, content, progressData;
  fw::InternetHeaders headers;
  std::string Last(std::size_t back = 0) const { return back < events.size() ? events.rbegin()[back] : ""; }
  bool Finished() const { return Starts(Last(), "page") || Starts(Last(), "error"); }
};

class RecordingHttp : public fw::HTTPSocket {
 public:
  explicit RecordingHttp(std::shared_ptr<Record> r) : rec(std::move(r)) {}
  std::shared_ptr<Record> rec;

 protected:
  void Log(const std::string& e) {
    rec->events.push_back(e);
    if (rec->hook) rec->hook(e);
  }
  void Event_Connected() override { Log("connected"); }
  void Event_HeadersReceived(const fw::InternetHeaders&, int code) override {
    Log("headers " + std::to_string(code));
  }
  void Event_ReceiveProgress(int got, int total, const std::string& data) override {
    rec->progressData += data;
    Log("progress " + std::to_string(got) + "/" + std::to_string(total));
  }
  void Event_PageReceived(const std::string& url, int status, const fw::InternetHeaders& headers,
                          const std::string& content) override {
    rec->url = url, rec->content = content, rec->headers = headers;
    Log("page " + std::to_string(status));
  }
  void Event_Error(int code) override { Log("error " + std::to_string(code)); }
};

struct HTTPSocketTest : ::testing::Test {
  ScriptedServer server;

  // Starts a request on a socket that nobody else holds: it keeps itself
  // alive until its last event, and only so long.
  std::shared_ptr<Record> Fetch(const std::string& url,
                                const std::function<void(RecordingHttp&)>& setup = {}) {
    auto rec = std::make_shared<Record>();
    auto sock = std::make_shared<RecordingHttp>(rec);
    const std::weak_ptr<RecordingHttp> weak = sock;
    if (setup) setup(*sock);
    sock->Get(url);
    sock.reset();
    EXPECT_TRUE(rec->events.empty()) << "no event inside Get";
    EXPECT_TRUE(WaitUntil([&] { return rec->Finished(); }, 10000)) << url;
    testsupport::RunEventsFor(30);  // nothing may follow the last event
    EXPECT_TRUE(weak.expired()) << "still held after the last event";
    return rec;
  }
};

TEST_F(HTTPSocketTest, SendsTheExactRequest) {
  const std::string host = "Host: 127.0.0.1:" + std::to_string(server.Port()) + "\r\n";
  const std::string defaults = "Accept: */*\r\nAccept-Language: en\r\n\r\n";
  const std::tuple<std::string, std::vector<std::pair<std::string, std::string>>, std::string> cases[] = {
      {server.Url("/a/b?x=1&y=%20z"), {}, "GET /a/b?x=1&y=%20z HTTP/1.0\r\n" + host + defaults},
      {server.HostPort(), {}, "GET / HTTP/1.0\r\n" + host + defaults},
      {"HTTP://" + server.HostPort() + "?q=1", {}, "GET /?q=1 HTTP/1.0\r\n" + host + defaults},
      // No port in the URL: the Host header names none (Port supplies it).
      {"http://127.0.0.1/odd path/\xC3\xBC",
       {},
       "GET /odd path/\xC3\xBC HTTP/1.0\r\nHost: 127.0.0.1\r\n" + defaults},
      {server.Url("/h"),
       {{"accept", "text/plain"}, {"X-Extra", "1"}, {"Accept-Language", ""}},
       "GET /h HTTP/1.0\r\n" + host + "Accept: text/plain\r\nX-Extra: 1\r\n\r\n"},
  };
  for (const auto& [url, set, expected] : cases) {
    SCOPED_TRACE(url);
    server.Enqueue(Script::Reply(200, "ok"));
    const auto& headers = set;  // clang 14 cannot capture a structured binding
    auto rec = Fetch(url, [&](RecordingHttp& s) {
      s.Port = server.Port();
      for (const auto& [name, value] : headers) s.SetRequestHeader(name, value);
    });
    const auto sent = server.Requests();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back(), expected);
    EXPECT_EQ(rec->Last(), "page 200");
  }
}

TEST_F(HTTPSocketTest, RaisesTheEventsInOrderForABodyInManyPackets) {
  std::string body(3000, '\0');
  for (std::size_t i = 0; i < body.size(); ++i) body[i] = static_cast<char>('a' + i % 26);
  for (const auto& [status, withLength] : {std::pair{200, true}, {404, true}, {200, false}}) {
    SCOPED_TRACE(std::to_string(status) + (withLength ? " with length" : " without length"));
    const std::string reply = Script::Response(status, body, {{"X-Kind", "test"}}, withLength);
    // The blank line itself is cut in three, then the body in 100-byte pieces.
    std::vector<std::size_t> pieces = {reply.size() - body.size() - 3, 1, 2};
    pieces.insert(pieces.end(), 30, 100);
    server.Enqueue(Script().WaitForRequest().SendSplit(reply, pieces).Close());
    const std::string url = server.Url("/page?s=" + std::to_string(status));
    auto rec = Fetch(url);
    const auto& ev = rec->events;
    ASSERT_GE(ev.size(), 13u) << "connected, headers, ten progress events at least, page";
    EXPECT_EQ(ev[0], "connected");
    EXPECT_EQ(ev[1], "headers " + std::to_string(status));
    for (std::size_t i = 2; i + 1 < ev.size(); ++i) EXPECT_TRUE(Starts(ev[i], "progress")) << ev[i];
    EXPECT_EQ(rec->Last(1), withLength ? "progress 3000/3000" : "progress 3000/0");
    EXPECT_EQ(ev.back(), "page " + std::to_string(status));
    EXPECT_EQ(rec->url, url);
    EXPECT_EQ(rec->content, body);
    EXPECT_EQ(rec->progressData, body);
    EXPECT_EQ(rec->headers.Value("x-kind"), "test");
    EXPECT_EQ(rec->headers.Value("CONTENT-LENGTH"), withLength ? "3000" : "");
  }
}

TEST_F(HTTPSocketTest, ReadsTheReplyAsSent) {
  const std::string binary("\0\xff\r", 3);
  // The reply, whether the server closes after it (replies with a length
  // must complete without the close), the status and the content.
  const std::tuple<std::string, bool, int, std::string> cases[] = {
      {Script::Response(200, "one\rtwo\r"), false, 200, "one\rtwo\r"},
      {Script::Response(200, "one\ntwo\n\n", {}, false), true, 200, "one\ntwo\n\n"},
      {Script::Response(200, "a\r\n\r\nb\n\nc"), false, 200, "a\r\n\r\nb\n\nc"},
      {Script::Response(200, binary, {}, false), true, 200, binary},
      {"HTTP/1.1 404 Not Found\nContent-Length: 3\nX-A: b\n\nabc", false, 404, "abc"},
      {"HTTP/1.0 200 OK\r\nContent-Length: 0\r\n\r\n", false, 200, ""},
      {"HTTP/1.0 200 OK\r\nContent-Length: 3\r\n\r\nabcEXTRA", false, 200, "abc"},
      {"hello there\r\n\r\nworld", true, 0, "world"},
      // A chunked reply loses its framing and ends at its last chunk, even
      // while the server keeps the connection open; a length beside the
      // chunks is not believed.
      {kChunkedHead + "3;x=1\r\nabc\r\n1A\r\n" + std::string(26, 'q') + "\r\n0\r\nT: 1\r\n\r\n", false, 200,
       "abc" + std::string(26, 'q')},
      {"HTTP/1.0 200 OK\r\nContent-Length: 4\r\nTransfer-Encoding: Chunked\r\n\r\n6\r\nabcdef\r\n0\r\n\r\n",
       false, 200, "abcdef"},
      {WithHeaderOf(64 * 1024, "ok"), false, 200, "ok"},
  };
  for (const auto& [reply, close, status, content] : cases) {
    SCOPED_TRACE(reply);
    Script script;
    script.WaitForRequest().Send(reply);
    server.Enqueue(close ? script.Close() : script);
    auto rec = Fetch(server.Url("/"), [](RecordingHttp& s) { s.SetReplyTimeoutMs(5000); });
    EXPECT_EQ(rec->Last(), "page " + std::to_string(status));
    EXPECT_EQ(rec->content, content);
  }
}

TEST_F(HTTPSocketTest, FailuresGiveAnErrorAndNoPage) {
  testsupport::StalledListener stalled;
  const std::string partial = "HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\n" + std::string(50, 'x');
  const std::tuple<std::string, std::string, Script, int> cases[] = {
      {"refused", "http://127.0.0.1:" + std::to_string(testsupport::RefusedPort()) + "/", {}, 102},
      {"closed before the header", server.Url("/"),
       Script().WaitForRequest().Send("HTTP/1.0 200 OK\r\nContent-Le").Close(), 102},
      {"reset before the header", server.Url("/"),
       Script().WaitForRequest().Send("HTTP/1.0 200 OK\r\n").Reset(), 102},
      {"truncated body", server.Url("/"), Script().WaitForRequest().Send(partial).Close(), 102},
      {"reset inside a body without length", server.Url("/"),
       Script().WaitForRequest().Send(Script::Response(200, "partial", {}, false)).Pause(30).Reset(), 102},
      {"chunked, closed before the last chunk", server.Url("/"),
       Script().WaitForRequest().Send(kChunkedHead + "5\r\nhello\r\n").Pause(30).Close(), 102},
      {"chunked, closed after the last chunk's size", server.Url("/"),
       Script().WaitForRequest().Send(kChunkedHead + "5\r\nhello\r\n0\r\n").Close(), 102},
      {"chunked, reset before the last chunk", server.Url("/"),
       Script().WaitForRequest().Send(kChunkedHead + "5\r\nhello\r\n").Pause(30).Reset(), 102},
      {"chunk size zz", server.Url("/"), Script().WaitForRequest().Send(kChunkedHead + "zz\r\nhello\r\n"),
       110},
      {"chunk size -5", server.Url("/"), Script().WaitForRequest().Send(kChunkedHead + "-5\r\nhello\r\n"),
       110},
      {"chunk size overflows", server.Url("/"),
       Script().WaitForRequest().Send(kChunkedHead + "FFFFFFFFFFFFFFFFFFFFF\r\nhello\r\n"), 110},
      {"header lines for ever", server.Url("/"),
       Script().WaitForRequest().Send("HTTP/1.0 200 OK\r\n").Send(std::string(70000, 'h')), 110},
      {"header block a byte too long", server.Url("/"),
       Script().WaitForRequest().Send(WithHeaderOf(64 * 1024 + 1, "ok")).Close(), 110},
      {"unresolvable", "http://" + testsupport::UnresolvableHost() + "/x", {}, 103},
      {"empty host", "http://:8080/x", {}, 103},
      {"port not a number", "http://127.0.0.1:8o/x", {}, 103},
      {"port out of range", "http://127.0.0.1:70000/x", {}, 103},
      {"no reply", server.Url("/"), Script().WaitForRequest(), -3162},
      {"body stalls", server.Url("/"), Script().WaitForRequest().Send(partial), -3162},
      {"connect times out", "http://127.0.0.1:" + std::to_string(stalled.Port()) + "/", {}, -3162},
  };
  for (const auto& [name, url, script, code] : cases) {
    SCOPED_TRACE(name);
    if (!script.Steps().empty()) server.Enqueue(script);
    auto rec = Fetch(url, [](RecordingHttp& s) {
      s.SetConnectTimeoutMs(300);
      s.SetReplyTimeoutMs(300);
    });
    EXPECT_EQ(rec->Last(), "error " + std::to_string(code));
    for (const auto& e : rec->events) EXPECT_FALSE(Starts(e, "page"));
  }
}

TEST_F(HTTPSocketTest, HandlersMayCloseOrDestroyTheSocket) {
  const Script splitReply =
      Script().WaitForRequest().SendSplit(Script::Response(200, std::string(2000, 'b')), {100, 500}).Close();
  // Close inside the header event: nothing more, and the socket is let go.
  auto rec = std::make_shared<Record>();
  auto sock = std::make_shared<RecordingHttp>(rec);
  const std::weak_ptr<RecordingHttp> weak = sock;
  rec->hook = [raw = sock.get()](const std::string& e) {
    if (Starts(e, "headers")) raw->Close();
  };
  server.Enqueue(splitReply);
  sock->Get(server.Url("/"));
  sock.reset();
  ASSERT_TRUE(WaitUntil([&] { return weak.expired(); }));
  testsupport::RunEventsFor(100);
  EXPECT_EQ(rec->events, (std::vector<std::string>{"connected", "headers 200"}));

  // Owned by its owner alone (no shared_ptr), it works all the same; destroyed
  // inside each kind of event, it raises no event afterwards.
  for (const std::string when : {"connected", "headers", "progress", "page"}) {
    SCOPED_TRACE(when);
    rec = std::make_shared<Record>();
    auto owned = std::make_unique<RecordingHttp>(rec);
    rec->hook = [&owned, when](const std::string& e) {
      if (Starts(e, when)) owned.reset();
    };
    server.Enqueue(splitReply);
    owned->Get(server.Url("/"));
    ASSERT_TRUE(WaitUntil([&] { return owned == nullptr; }));
    testsupport::RunEventsFor(100);
    EXPECT_TRUE(Starts(rec->Last(), when)) << rec->Last();
  }
}

// A handler that runs a nested loop (a modal box) while the rest of the body
// and the close arrive: the body keeps its order and the page still comes.
TEST_F(HTTPSocketTest, ANestedLoopInAHandlerKeepsTheBodyWholeAndInOrder) {
  const std::string body = "0123456789abcdefghij";
  for (bool withLength : {true, false}) {
    for (const std::string when : {"headers", "progress"}) {
      SCOPED_TRACE(when + (withLength ? " with length" : " without length"));
      const std::string reply = Script::Response(200, body, {}, withLength);
      server.Enqueue(Script().WaitForRequest().SendSplit(reply, {reply.size() - body.size() + 5, 5}).Close());
      const int finished = server.FinishedCount() + 1;
      auto rec = std::make_shared<Record>();
      auto sock = std::make_shared<RecordingHttp>(rec);
      bool nested = false;
      rec->hook = [&](const std::string& e) {
        if (Starts(e, when) && !std::exchange(nested, true)) {
          WaitUntil([&] { return server.FinishedCount() == finished; });
          testsupport::RunEventsFor(50);
        }
      };
      sock->Get(server.Url("/"));
      ASSERT_TRUE(WaitUntil([&] { return rec->Finished(); }));
      EXPECT_EQ(rec->Last(), "page 200");
      EXPECT_EQ(rec->content, body);
      EXPECT_EQ(rec->progressData, body);
    }
  }
}

}  // namespace
