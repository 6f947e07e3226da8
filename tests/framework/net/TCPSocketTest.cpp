// TCPSocket against the scripted loopback server.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "framework/net/SocketErrors.h"
#include "framework/net/TCPSocket.h"
#include "support/Wait.h"
#include "support/net/ScriptedServer.h"

namespace {

using testsupport::Script;
using testsupport::ScriptedServer;
using testsupport::WaitUntil;

// Hooks run after an event is logged; they may act on the socket or
// destroy it, so they live outside it, like the log.
struct Hooks {
  std::function<void()> onConnected, onData, onError;
};

class LoggingSocket : public fw::TCPSocket {
 public:
  LoggingSocket(std::shared_ptr<std::vector<std::string>> log, std::shared_ptr<Hooks> hooks)
      : log_(std::move(log)), hooks_(std::move(hooks)) {}

 protected:
  void Event_Connected() override { Log("connected", hooks_->onConnected); }
  void Event_DataAvailable() override { Log("data", hooks_->onData); }
  void Event_Error() override { Log("error " + std::to_string(LastErrorCode()), hooks_->onError); }

 private:
  void Log(const std::string& entry, const std::function<void()>& hook) {
    log_->push_back(entry);
    if (hook) hook();
  }
  std::shared_ptr<std::vector<std::string>> log_;
  std::shared_ptr<Hooks> hooks_;
};

struct TCPSocketTest : ::testing::Test {
  ScriptedServer server;
  std::shared_ptr<std::vector<std::string>> log = std::make_shared<std::vector<std::string>>();
  std::shared_ptr<Hooks> hooks = std::make_shared<Hooks>();
  std::unique_ptr<LoggingSocket> sock = std::make_unique<LoggingSocket>(log, hooks);
  std::string received;  // what the data hook consumed

  void Connect(int port) {
    sock->Address = "127.0.0.1";
    sock->Port = port;
    sock->Connect();
  }
  bool Logged(const std::string& entry) const {
    for (const auto& e : *log) {
      if (e == entry) return true;
    }
    return false;
  }
};

TEST_F(TCPSocketTest, LookaheadPeeksWhileReadAndReadAllConsume) {
  server.Enqueue(Script().Send("abcdefghij"));
  Connect(server.Port());
  ASSERT_TRUE(WaitUntil([&] { return sock->BytesAvailable() == 10; }));
  EXPECT_TRUE(sock->IsConnected());
  EXPECT_EQ(sock->Lookahead(), "abcdefghij");
  EXPECT_EQ(sock->Lookahead(), "abcdefghij");
  EXPECT_EQ(sock->Read(3), "abc");
  EXPECT_EQ(sock->Lookahead(), "defghij");
  EXPECT_EQ(sock->Read(0), "");
  EXPECT_EQ(sock->Read(100), "defghij");
  EXPECT_EQ(sock->BytesAvailable(), 0u);
  EXPECT_EQ(sock->ReadAll(), "");
}

TEST_F(TCPSocketTest, BigDataReadInSmallPiecesArrivesWholeAndQuickly) {
  std::string big(8 << 20, '\0');
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7 + i / 251);
  server.Enqueue(Script().Send(big).Close());
  Connect(server.Port());
  ASSERT_TRUE(WaitUntil([&] { return Logged("error 102"); }, 20000));
  ASSERT_EQ(sock->BytesAvailable(), big.size());
  QElapsedTimer clock;
  clock.start();
  std::string out;
  while (sock->BytesAvailable() > 0) out += sock->Read(16);
  EXPECT_EQ(out, big);
  EXPECT_LT(clock.elapsed(), 10000) << "reading piece by piece must not copy the rest each time";
}

TEST_F(TCPSocketTest, ServerCloseRaises102AfterTheLastData) {
  hooks->onData = [&] { received += sock->ReadAll(); };
  std::string atError;
  hooks->onError = [&] { atError = received; };
  server.Enqueue(Script().Send("first").Pause(30).Send("last bytes").Close());
  Connect(server.Port());
  ASSERT_TRUE(WaitUntil([&] { return Logged("error 102"); }));
  EXPECT_EQ(atError, "firstlast bytes");
  ASSERT_GE(log->size(), 3u);
  EXPECT_EQ(log->front(), "connected");
  EXPECT_EQ(log->back(), "error 102");
  EXPECT_EQ(log->at(log->size() - 2), "data");
  EXPECT_FALSE(sock->IsConnected());
  EXPECT_EQ(sock->LastErrorCode(), fw::kSocketClosedOrRefused);
}

TEST_F(TCPSocketTest, CloseByTheProgramRaisesNothingAndDropsLaterData) {
  hooks->onData = [&] { sock->Close(); };
  server.Enqueue(Script().Send("one").Pause(40).Send("two").Pause(40).Close());
  Connect(server.Port());
  ASSERT_TRUE(WaitUntil([&] { return server.FinishedCount() == 1; }));
  testsupport::RunEventsFor(150);
  EXPECT_EQ(*log, (std::vector<std::string>{"connected", "data"}));
  EXPECT_FALSE(sock->IsConnected());
  EXPECT_EQ(sock->BytesAvailable(), 0u);
  EXPECT_EQ(sock->LastErrorCode(), 0);
  sock->Write("ignored");  // not connected: nothing happens
}

TEST_F(TCPSocketTest, ConnectionFailuresGiveTheirCodes) {
  testsupport::StalledListener stalled;
  struct Case {
    std::string address;
    int port;
    int timeoutMs;
    int code;
  } cases[] = {
      {"127.0.0.1", testsupport::RefusedPort(), 10000, fw::kSocketClosedOrRefused},
      {testsupport::UnresolvableHost(), 80, 10000, fw::kSocketHostNotFound},
      {"127.0.0.1", stalled.Port(), 300, fw::kSocketNetworkUnreachable},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.address + ":" + std::to_string(c.port));
    log->clear();
    sock->SetConnectTimeoutMs(c.timeoutMs);
    sock->Address = c.address;
    sock->Port = c.port;
    sock->Connect();
    EXPECT_TRUE(log->empty()) << "no event inside Connect";
    ASSERT_TRUE(WaitUntil([&] { return !log->empty(); }, 10000));
    testsupport::RunEventsFor(50);
    EXPECT_EQ(*log, (std::vector<std::string>{"error " + std::to_string(c.code)}));
  }
}

TEST_F(TCPSocketTest, HandlerMayReconnectAndTheNewConnectionIsServed) {
  server.Enqueue(Script().Send("A").Close());
  server.Enqueue(Script().WaitForRequest().Send("B").Close());
  hooks->onData = [&] { received += sock->ReadAll(); };
  bool again = true;
  hooks->onError = [&] {
    if (std::exchange(again, false)) sock->Connect();
  };
  hooks->onConnected = [&] {
    if (!again) sock->Write("hello\r\n\r\n");
  };
  Connect(server.Port());
  ASSERT_TRUE(WaitUntil([&] { return log->size() >= 6; }));
  testsupport::RunEventsFor(50);
  EXPECT_EQ(*log, (std::vector<std::string>{"connected", "data", "error 102", "connected", "data",
                                            "error 102"}));
  EXPECT_EQ(received, "AB");
  ASSERT_EQ(server.Requests().size(), 2u);
  EXPECT_EQ(server.Requests()[1], "hello\r\n\r\n");
}

// Destroying the socket from inside any of its own events must be safe and
// end its events (the suite runs under AddressSanitizer too).
TEST_F(TCPSocketTest, SocketMayBeDestroyedInsideItsOwnEvents) {
  for (const std::string when : {"connected", "data", "error"}) {
    SCOPED_TRACE(when);
    log->clear();
    hooks = std::make_shared<Hooks>();
    sock = std::make_unique<LoggingSocket>(log, hooks);
    (when == "connected" ? hooks->onConnected : when == "data" ? hooks->onData : hooks->onError) =
        [this] { sock.reset(); };
    ScriptedServer own;
    own.Enqueue(Script().Send("payload").Pause(30).Send("more").Close());
    Connect(own.Port());
    ASSERT_TRUE(WaitUntil([&] { return sock == nullptr; }));
    ASSERT_TRUE(WaitUntil([&] { return own.FinishedCount() == 1; }));
    testsupport::RunEventsFor(100);
    ASSERT_FALSE(log->empty());
    EXPECT_EQ(log->back().rfind(when, 0), 0u) << "an event came after the destruction";
  }
}

// A handler that runs a nested loop (as a modal box does) must not lose the
// bytes, nor the close, that arrive meanwhile; and destroying the socket in
// the event that then delivers them is safe.
TEST_F(TCPSocketTest, BytesArrivingDuringANestedLoopAreStillDelivered) {
  struct Case {
    bool serverCloses, destroyLate;
    std::string last;
  } cases[] = {{true, false, "error 102"}, {true, true, "data"}, {false, false, "data"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.last + (c.serverCloses ? " after close" : ""));
    log->clear();
    received.clear();
    hooks = std::make_shared<Hooks>();
    sock = std::make_unique<LoggingSocket>(log, hooks);
    ScriptedServer own;
    Script script;
    script.Send("early").Pause(30).Send("late");
    if (c.serverCloses) script.Close();
    own.Enqueue(script);
    bool nested = false;
    hooks->onData = [&] {
      received += sock->ReadAll();
      if (!std::exchange(nested, true)) {
        WaitUntil([&] { return own.FinishedCount() == 1; });
        testsupport::RunEventsFor(50);
      } else if (c.destroyLate) {
        sock.reset();
      }
    };
    Connect(own.Port());
    ASSERT_TRUE(WaitUntil([&] { return received == "earlylate"; }));
    testsupport::RunEventsFor(50);
    EXPECT_EQ(log->back(), c.last);
    EXPECT_EQ(sock == nullptr, c.destroyLate);
  }
}

}  // namespace
