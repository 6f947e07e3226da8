// TCPSocket against the scripted loopback server.
#include <gtest/gtest.h>
#include <sys/socket.h>

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
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
using Log = std::vector<std::string>;

// Hooks run after an event is logged; they may act on the socket or
// destroy it, so they live outside it, like the log.
struct Hooks {
  std::function<void()> onConnected, onData, onError;
};

class LoggingSocket : public fw::TCPSocket {
 public:
  LoggingSocket(std::shared_ptr<Log> log, std::shared_ptr<Hooks> hooks)
      : log_(std::move(log)), hooks_(std::move(hooks)) {}

 protected:
  void Event_Connected() override { Note("connected", hooks_->onConnected); }
  void Event_DataAvailable() override { Note("data", hooks_->onData); }
  void Event_Error() override { Note("error " + std::to_string(LastErrorCode()), hooks_->onError); }

 private:
  void Note(const std::string& entry, const std::function<void()>& hook) {
    log_->push_back(entry);
    if (hook) hook();
  }
  std::shared_ptr<Log> log_;
  std::shared_ptr<Hooks> hooks_;
};

struct TCPSocketTest : ::testing::Test {
  ScriptedServer server;
  std::shared_ptr<Log> log;
  std::shared_ptr<Hooks> hooks;
  std::unique_ptr<LoggingSocket> sock;
  std::string received;  // what the data hook consumed

  TCPSocketTest() { Fresh(); }
  void Fresh() {
    log = std::make_shared<Log>();
    hooks = std::make_shared<Hooks>();
    sock = std::make_unique<LoggingSocket>(log, hooks);
    received.clear();
  }
  void Connect(int port, const std::string& address = "127.0.0.1") {
    sock->Address = address;
    sock->Port = port;
    sock->Connect();
  }
  bool Logged(const std::string& entry) const {
    return std::find(log->begin(), log->end(), entry) != log->end();
  }
};

TEST_F(TCPSocketTest, LookaheadPeeksWhileReadAndReadAllConsume) {
  server.Enqueue(Script().Send("abcdefghij"));
  Connect(server.Port());
  ASSERT_TRUE(WaitUntil([&] { return sock->BytesAvailable() == 10; }));
  EXPECT_TRUE(sock->IsConnected());
  EXPECT_EQ(sock->Lookahead(), "abcdefghij");
  EXPECT_EQ(sock->Lookahead(), "abcdefghij");
  EXPECT_EQ(sock->FindWaiting("cd"), 2u);
  EXPECT_EQ(sock->Read(3), "abc");
  EXPECT_EQ(sock->Lookahead(), "defghij");
  // Offsets count from the first byte still waiting.
  const auto npos = std::string::npos;
  const std::tuple<std::string, std::size_t, std::size_t> finds[] = {
      {"fg", 0, 2}, {"fg", 2, 2},   {"fg", 3, npos}, {"abc", 0, npos},
      {"j", 6, 6},  {"j", 7, npos}, {"j", 99, npos},
  };
  for (const auto& [bytes, from, expected] : finds)
    EXPECT_EQ(sock->FindWaiting(bytes, from), expected) << bytes;
  EXPECT_EQ(sock->BytesAvailable(), 7u);
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

TEST_F(TCPSocketTest, CloseByTheProgramRaisesNothingAndDropsLaterData) {
  hooks->onData = [&] { sock->Close(); };
  server.Enqueue(Script().Send("one").Pause(40).Send("two").Pause(40).Close());
  Connect(server.Port());
  ASSERT_TRUE(WaitUntil([&] { return server.FinishedCount() == 1; }));
  testsupport::RunEventsFor(150);
  EXPECT_EQ(*log, (Log{"connected", "data"}));
  EXPECT_FALSE(sock->IsConnected());
  EXPECT_EQ(sock->BytesAvailable(), 0u);
  EXPECT_EQ(sock->LastErrorCode(), 0);
  sock->Write("ignored");  // not connected: nothing happens
}

TEST_F(TCPSocketTest, ConnectionFailuresGiveTheirCodes) {
  testsupport::StalledListener stalled;
  const std::tuple<std::string, int, int, int> cases[] = {
      {"127.0.0.1", testsupport::RefusedPort(), 10000, fw::kSocketClosedOrRefused},
      {testsupport::UnresolvableHost(), 80, 10000, fw::kSocketHostNotFound},
      {"127.0.0.1", stalled.Port(), 300, fw::kSocketNetworkUnreachable},
  };
  for (const auto& [address, port, timeoutMs, code] : cases) {
    SCOPED_TRACE(address + ":" + std::to_string(port));
    log->clear();
    sock->SetConnectTimeoutMs(timeoutMs);
    Connect(port, address);
    EXPECT_TRUE(log->empty()) << "no event inside Connect";
    ASSERT_TRUE(WaitUntil([&] { return !log->empty(); }, 10000));
    testsupport::RunEventsFor(50);
    EXPECT_EQ(*log, (Log{"error " + std::to_string(code)}));
  }
}

// The server's close comes after the last data as error 102; the handler
// may connect again, and the new connection is served. Memory handed back
// for later bytes brings none of its old bytes with it.
TEST_F(TCPSocketTest, ServerCloseRaises102AfterTheLastDataAndAHandlerMayReconnect) {
  server.Enqueue(Script().Send("A").Pause(30).Send("B").Close());
  server.Enqueue(Script().WaitForRequest().Send("C").Close());
  hooks->onData = [&] {
    received += sock->ReadAll();
    sock->Recycle(std::string(5000, 'x'));
  };
  bool again = true;
  hooks->onError = [&] {
    if (!std::exchange(again, false)) return;
    EXPECT_EQ(received, "AB");
    EXPECT_FALSE(sock->IsConnected());
    EXPECT_EQ(sock->LastErrorCode(), fw::kSocketClosedOrRefused);
    sock->Connect();
  };
  hooks->onConnected = [&] {
    if (!again) sock->Write("hello\r\n\r\n");
  };
  Connect(server.Port());
  ASSERT_TRUE(WaitUntil([&] { return std::count(log->begin(), log->end(), "error 102") == 2; }));
  testsupport::RunEventsFor(50);
  const auto firstError = std::find(log->begin(), log->end(), "error 102");
  ASSERT_GE(firstError - log->begin(), 2);
  EXPECT_EQ(log->front(), "connected");
  EXPECT_EQ(firstError[-1], "data");
  EXPECT_EQ(Log(firstError, log->end()), (Log{"error 102", "connected", "data", "error 102"}));
  EXPECT_EQ(received, "ABC");
  ASSERT_EQ(server.Requests().size(), 2u);
  EXPECT_EQ(server.Requests()[1], "hello\r\n\r\n");
}

// A reset by the other side is code 102 like its orderly close, but only
// the orderly close promises that everything it sent has arrived.
TEST_F(TCPSocketTest, TellsTheOtherSidesOrderlyCloseFromAReset) {
  const std::tuple<std::string, Script, bool, std::string> cases[] = {
      {"close after data", Script().Send("data").Pause(30).Close(), true, "data"},
      {"close at once", Script().Close(), true, ""},
      {"reset after data", Script().Send("data").Pause(30).Reset(), false, "data"},
      {"reset without data", Script().Pause(30).Reset(), false, ""},
  };
  for (const auto& [name, script, orderly, data] : cases) {
    SCOPED_TRACE(name);
    Fresh();
    server.Enqueue(script);
    hooks->onData = [&] { received += sock->ReadAll(); };
    Connect(server.Port());
    ASSERT_TRUE(WaitUntil([&] { return !log->empty() && log->back() == "error 102"; })) << log->back();
    EXPECT_EQ(sock->LastErrorIsOrderlyClose(), orderly);
    EXPECT_EQ(received, data);
  }
  Fresh();
  Connect(testsupport::RefusedPort());
  ASSERT_TRUE(WaitUntil([&] { return !log->empty(); }));
  EXPECT_EQ(*log, (Log{"error 102"}));
  EXPECT_FALSE(sock->LastErrorIsOrderlyClose());
}

// A write that finds the connection reset ends it as a read would have.
TEST_F(TCPSocketTest, AWriteIntoAResetConnectionRaisesTheError) {
  QTcpServer bare;  // no script: the reset comes inside the handler, before a read
  ASSERT_TRUE(bare.listen(QHostAddress::LocalHost));
  hooks->onConnected = [&] {
    QTcpSocket* peer = bare.hasPendingConnections() || bare.waitForNewConnection(5000)
                           ? bare.nextPendingConnection()
                           : nullptr;
    ASSERT_NE(peer, nullptr);
    const linger noLinger{1, 0};  // the close resets
    ::setsockopt(static_cast<int>(peer->socketDescriptor()), SOL_SOCKET, SO_LINGER, &noLinger,
                 sizeof noLinger);
    peer->abort();
    sock->Write("late");
  };
  Connect(bare.serverPort());
  EXPECT_TRUE(WaitUntil([&] { return Logged("error 102"); }));
  EXPECT_FALSE(sock->LastErrorIsOrderlyClose());
}

// The silence limit counts from the last byte: a slow trickle is no silence,
// and a connection that goes quiet is closed with the timeout code.
TEST_F(TCPSocketTest, SilenceLimitEndsAQuietConnectionOnly) {
  const std::tuple<std::string, Script, std::string> cases[] = {
      {"silent from the start", Script(), ""},
      {"trickles, then stalls",
       Script().Send("a").Pause(150).Send("b").Pause(150).Send("c").Pause(150).Send("d").Pause(150).Send("e"),
       "abcde"},
  };
  for (const auto& [name, script, data] : cases) {
    SCOPED_TRACE(name);
    Fresh();
    server.Enqueue(script);
    hooks->onData = [&] { received += sock->ReadAll(); };
    sock->SetSilenceTimeoutMs(500);
    Connect(server.Port());
    ASSERT_TRUE(WaitUntil([&] { return !log->empty() && log->back().rfind("error", 0) == 0; }, 5000));
    EXPECT_EQ(log->back(), "error " + std::to_string(fw::kSocketNetworkUnreachable));
    EXPECT_EQ(received, data) << "every byte came before the limit ran out";
    EXPECT_FALSE(sock->IsConnected());
  }
}

// Destroying the socket from inside any of its own events must be safe and
// end its events (the suite runs under AddressSanitizer too).
TEST_F(TCPSocketTest, SocketMayBeDestroyedInsideItsOwnEvents) {
  for (const std::string when : {"connected", "data", "error"}) {
    SCOPED_TRACE(when);
    Fresh();
    (when == "connected" ? hooks->onConnected
     : when == "data"    ? hooks->onData
                         : hooks->onError) = [this] { sock.reset(); };
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
  // Whether the server closes, whether the second data event destroys the
  // socket, and the last event.
  const std::tuple<bool, bool, std::string> cases[] = {
      {true, false, "error 102"}, {true, true, "data"}, {false, false, "data"}};
  for (const auto& [serverCloses, destroyLate, last] : cases) {
    SCOPED_TRACE(last + (serverCloses ? " after close" : ""));
    Fresh();
    ScriptedServer own;
    Script script;
    script.Send("early").Pause(30).Send("late");
    own.Enqueue(serverCloses ? script.Close() : script);
    bool nested = false;
    hooks->onData = [&, destroy = destroyLate] {
      received += sock->ReadAll();
      if (!std::exchange(nested, true)) {
        WaitUntil([&] { return own.FinishedCount() == 1; });
        testsupport::RunEventsFor(50);
      } else if (destroy) {
        sock.reset();
      }
    };
    Connect(own.Port());
    ASSERT_TRUE(WaitUntil([&] { return received == "earlylate"; }));
    testsupport::RunEventsFor(50);
    EXPECT_EQ(log->back(), last);
    EXPECT_EQ(sock == nullptr, destroyLate);
  }
}

}  // namespace
