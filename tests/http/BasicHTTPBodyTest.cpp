// BasicHTTP body delivery: progress, memory and file modes, completion,
// chunked bodies and write failures.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "BasicHTTPProbe.h"

namespace {

using namespace httptest;

// The reply with its header in one packet and the body in the given pieces.
Script Pieces(const std::string& reply, std::size_t bodySize, std::vector<std::size_t> pieces) {
  pieces.insert(pieces.begin(), reply.size() - bodySize);
  return Script().WaitForRequest().SendSplit(reply, pieces, 40).Close();
}

const std::string kChunked = "3;x=y\r\nabc\r\n1A\r\n" + std::string(26, 'q') + "\r\n0\r\nTrailer: 1\r\n\r\n";
const std::string kDecoded = "abc" + std::string(26, 'q');

TEST(BasicHTTPBody, Delivery) {
  const std::string rest(300, 'b');
  RunTable({
      {"memory: progress per arrival",
       {Pieces(Script::Response(200, "0123456789"), 10, {4})},
       {"headers 200", "progress 4/10/4", "progress 10/10/6", "page "},
       "0123456789"},
      {"memory: no length ends at the close",
       {Script().WaitForRequest().Send(Script::Response(200, "hello", {}, false)).Pause(200).Close()},
       {"headers 200", "progress 5/0/5", "page "},
       "hello"},
      {"memory: chunked is decoded at the end, progress counts raw bytes",
       {Script::ReplyNoLength(200, kChunked, {{"Transfer-Encoding", "chunked"}})},
       {"headers 200",
        "progress " + std::to_string(kChunked.size()) + "/0/" + std::to_string(kChunked.size()), "page "},
       kDecoded,
       nullptr,
       [](Probe& p, ScriptedServer&) { EXPECT_EQ(p.http.Buffer, kChunked); }},
      {"file: chunked is decoded on the way",
       {Script::ReplyNoLength(200, kChunked, {{"Transfer-Encoding", "chunked"}})},
       {"headers 200", "progress 29/0/29", "updated final", "file "},
       std::nullopt,
       [](Probe& p, ScriptedServer& s) { p.http.Download(s.Url("/"), Temp("c.bin")); },
       Holds("c.bin", kDecoded)},
      {"file: resume counts on from the file",
       {Pieces(Script::Response(206, rest, {{"Content-Range", "bytes 500-799/800"}}), 300, {100})},
       {"headers 206", "progress 600/800/100", "progress 800/800/200", "file "},
       std::nullopt,
       [](Probe& p, ScriptedServer& s) { p.http.Resume(s.Url("/"), Temp("r.bin", std::string(500, 'a'))); },
       [&](Probe& p, ScriptedServer&) {
         EXPECT_EQ(p.http.Size, 800);
         EXPECT_EQ(ReadFile(Temp("r.bin")), std::string(500, 'a') + rest);
       }},
      {"file: cannot be written",
       {Script::Reply(200, "abc")},
       {"headers 200", "progress 3/3/3", "operror Unable to write to file! 0", "cancelled"},
       std::nullopt,
       [](Probe& p, ScriptedServer& s) {
         p.http.Download(s.Url("/"), fw::FolderItem(fw::TemporaryFolder().NativePath() + "/no/such/x.bin"));
       },
       [](Probe& p, ScriptedServer&) { EXPECT_EQ(p.http.Buffer, "abc"); }},  // the unwritten bytes stay
  });
}

const std::string kChunkedHead = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";

Step IntoFile(std::string name) {
  return [name](Probe& p, ScriptedServer& s) { p.http.Download(s.Url("/"), Temp(name)); };
}

// A reply whose header block, blank line included, is exactly size bytes.
std::string WithHeaderOf(std::size_t size, const std::string& body) {
  const std::string head =
      "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\nX-Pad: ";
  return head + std::string(size - head.size() - 4, 'p') + "\r\n\r\n" + body;
}

// The body ends where the reply says it ends, even while the server keeps
// the connection open or sends more.
TEST(BasicHTTPBody, EndsWhereTheReplySaysItEnds) {
  const std::string raw = kChunked + "NEXT";
  const std::string rawCount = std::to_string(kChunked.size());
  RunTable({
      {"memory: bytes after the length",
       {Script().WaitForRequest().Send(Script::Response(200, "hello") + "EXTRA")},
       {"headers 200", "progress 5/5/5", "page "},
       "hello"},
      {"memory: bytes after the length, later packet",
       {Pieces(Script::Response(200, "hello") + "EXTRA", 10, {3})},
       {"headers 200", "progress 3/5/3", "progress 5/5/2", "page "},
       "hello"},
      {"file: bytes after the length",
       {Script().WaitForRequest().Send(Script::Response(200, "hello") + "EXTRA")},
       {"headers 200", "progress 5/5/5", "file "},
       std::nullopt,
       IntoFile("x.bin"),
       Holds("x.bin", "hello")},
      {"memory: chunked, connection kept open",
       {Script().WaitForRequest().Send(kChunkedHead + raw)},
       {"headers 200", "progress " + rawCount + "/0/" + rawCount, "page "},
       kDecoded,
       nullptr,
       [](Probe& p, ScriptedServer&) { EXPECT_EQ(p.http.Buffer, kChunked); }},
      {"file: chunked, connection kept open",
       {Script().WaitForRequest().Send(kChunkedHead + raw)},
       {"headers 200", "progress 29/0/29", "updated final", "file "},
       std::nullopt,
       IntoFile("k.bin"),
       Holds("k.bin", kDecoded)},
      {"memory: a length beside the chunks is not believed",
       {Script().WaitForRequest().Send(
           "HTTP/1.1 200 OK\r\nContent-Length: 4\r\nTransfer-Encoding: chunked\r\n\r\n" + kChunked)},
       {"headers 200", "progress " + rawCount + "/0/" + rawCount, "page "},
       kDecoded},
      {"memory: header block of exactly 64 KiB",
       {Script().WaitForRequest().Send(WithHeaderOf(64 * 1024, "ok"))},
       {"headers 200", "progress 2/2/2", "page "},
       "ok"},
  });
}

// A body cut short by a reset, a chunked body that stops before its last
// chunk, broken chunk framing and an endless header block are errors; no
// page is raised, and a download keeps what came whole.
TEST(BasicHTTPBody, CutShortOrGarbledRepliesAreErrors) {
  const auto reset = [](const std::string& bytes) {
    return Script().WaitForRequest().Send(bytes).Pause(30).Reset();
  };
  const auto close = [](const std::string& bytes) {
    return Script().WaitForRequest().Send(bytes).Pause(30).Close();
  };
  const Events tcp102 = {"tcp 102", "cancelled"}, tcp110 = {"tcp 110", "cancelled"};
  RunTable({
      {"memory: reset without a length",
       {reset(Script::Response(200, "part", {}, false))},
       {"headers 200", "progress 4/0/4", "tcp 102", "cancelled"}},
      {"file: reset without a length",
       {reset(Script::Response(200, "part", {}, false))},
       {"headers 200", "progress 4/0/4", "updated final", "tcp 102", "cancelled"},
       std::nullopt,
       IntoFile("r.bin"),
       Holds("r.bin", "part")},
      {"memory: chunked, closed before the last chunk",
       {close(kChunkedHead + "4\r\npart\r\n")},
       {"headers 200", "progress 9/0/9", "tcp 102", "cancelled"}},
      {"memory: chunked, closed before the blank line",
       {close(kChunkedHead + "4\r\npart\r\n0\r\n")},
       {"headers 200", "progress 12/0/12", "tcp 102", "cancelled"}},
      {"file: chunked, reset before the last chunk",
       {reset(kChunkedHead + "4\r\npart\r\n")},
       {"headers 200", "progress 4/0/4", "updated final", "tcp 102", "cancelled"},
       std::nullopt,
       IntoFile("c.bin"),
       Holds("c.bin", "part")},
      {"memory: chunk size zz",
       {close(kChunkedHead + "zz\r\npart\r\n0\r\n\r\n")},
       {"headers 200", "tcp 110", "cancelled"}},
      {"memory: chunk size -5",
       {close(kChunkedHead + "-5\r\npart\r\n0\r\n\r\n")},
       {"headers 200", "tcp 110", "cancelled"}},
      {"memory: chunk size overflows",
       {close(kChunkedHead + "FFFFFFFFFFFFFFFFFFFFFF\r\npart\r\n0\r\n\r\n")},
       {"headers 200", "tcp 110", "cancelled"}},
      {"file: bad size after a good chunk",
       {close(kChunkedHead + "4\r\npart\r\nzz\r\n")},
       {"headers 200", "updated final", "tcp 110", "cancelled"},
       std::nullopt,
       IntoFile("z.bin"),
       Holds("z.bin", "part")},
      {"header lines for ever",
       {Script().WaitForRequest().Send("HTTP/1.1 200 OK\r\n").Send(std::string(70000, 'h'))},
       tcp110},
      {"header block a byte too long", {close(WithHeaderOf(64 * 1024 + 1, "ok"))}, tcp110},
      {"content length larger than the body",
       {close(Script::Response(200, "abc").substr(0, 40))},
       {"headers 200", "progress 2/3/2", "tcp 102", "cancelled"},
       ""},
  });
}

// A page handler keeps its content whatever it does meanwhile, even start
// the next request; Buffer holds the last page's body afterwards.
TEST(BasicHTTPBody, APageHandlerMayStartTheNextRequest) {
  ScriptedServer server;
  server.Enqueue(Script::Reply(200, "first"));
  server.Enqueue(Script::Reply(200, "second"));
  Probe p;
  std::vector<std::string> pages;
  p.http.PageReceived = [&](const std::string&, const std::string& content, bool) {
    if (pages.empty()) p.http.Get(server.Url("/2"));
    pages.push_back(content);
  };
  p.http.Get(server.Url("/1"));
  ASSERT_TRUE(testsupport::WaitUntil([&] { return pages.size() == 2; }));
  EXPECT_EQ(pages, (std::vector<std::string>{"first", "second"}));
  EXPECT_EQ(p.http.Buffer, "second");

  // A handler that fails leaves the body in Buffer all the same.
  server.Enqueue(Script::Reply(200, "third"));
  p.http.PageReceived = [&](const std::string&, const std::string& content, bool) {
    pages.push_back(content);
    throw std::runtime_error("handler failed");
  };
  p.http.Get(server.Url("/3"));
  ASSERT_TRUE(testsupport::WaitUntil([&] { return pages.size() == 3; }));
  EXPECT_EQ(pages.back(), "third");
  EXPECT_EQ(p.http.Buffer, "third");
}

// Nothing on the connection for the silence limit ends the transfer with the
// socket's timeout code; a slow but steady body is no silence.
TEST(BasicHTTPBody, SilenceEndsTheTransfer) {
  BasicHTTP fresh;
  EXPECT_EQ(fresh.ConnectTimeoutMs(), 60000);
  EXPECT_EQ(fresh.SilenceTimeoutMs(), 60000);

  testsupport::StalledListener stalled;
  const auto limited = [](std::string url) {
    return [url](Probe& p, ScriptedServer& s) {
      p.http.SetConnectTimeoutMs(500);
      p.http.SetSilenceTimeoutMs(500);
      p.http.Get(url.empty() ? s.Url("/") : url);
    };
  };
  const std::string body = "0123456789";
  RunTable({
      {"accepts and never answers",
       {Script().WaitForRequest()},
       {"tcp -3162", "cancelled"},
       std::nullopt,
       limited("")},
      {"body stalls",
       {Script().WaitForRequest().Send(Script::Response(200, body).substr(0, 43))},
       {"headers 200", "progress 4/10/4", "tcp -3162", "cancelled"},
       std::nullopt,
       limited("")},
      {"connection never opens",
       {},
       {"tcp -3162", "cancelled"},
       std::nullopt,
       limited("http://127.0.0.1:" + std::to_string(stalled.Port()) + "/")},
      {"slow but steady",
       {Script().WaitForRequest().SendSplit(Script::Response(200, body), {39, 2, 2, 2, 2}, 150)},
       {"headers 200", "progress 2/10/2", "progress 4/10/2", "progress 6/10/2", "progress 8/10/2",
        "progress 10/10/2", "page "},
       body,
       limited("")},
  });
}

TEST(BasicHTTPBody, FileModeWritesInSlicesOfTheBufferSize) {
  const fw::FolderItem file = Temp("slices.bin");
  std::string sent;
  Events expected;
  Probe p;
  p.http.Mode = 1, p.http.File = file, p.http.Size = 100000, p.http.BufferSize = 32768;
  for (int i = 1; i <= 13; ++i) {
    const std::string piece(i <= 12 ? 8192 : 1696, static_cast<char>('a' + i));
    sent += piece;
    p.http.AddToFile(piece);
    expected.push_back("progress " + std::to_string(sent.size()) + "/100000/" + std::to_string(piece.size()));
    if (i % 4 == 0) expected.push_back("updated");
  }
  expected.insert(expected.end(), {"status Download Complete!", "file "});
  EXPECT_EQ(p.events, expected);
  EXPECT_EQ(ReadFile(file), sent);

  // Every write is in the file by the time its FileUpdated is raised, and
  // goes to the file that File names then.
  const fw::FolderItem other = Temp("other.bin");
  Probe w;
  std::vector<std::string> seen;
  w.http.Mode = 1, w.http.File = Temp("seen.bin"), w.http.Size = 0, w.http.BufferSize = 1000;
  w.hook = [&](const std::string& e) {
    if (e.rfind("updated", 0) != 0) return;
    seen.push_back(ReadFile(*w.http.File));
    w.http.File = other;
  };
  w.http.AddToFile(std::string(1500, 'a'));
  w.http.AddToFile(std::string(1200, 'b'));
  EXPECT_EQ(seen, (std::vector<std::string>{std::string(1500, 'a'), std::string(1200, 'b')}));
  EXPECT_EQ(ReadFile(Temp("seen.bin")), std::string(1500, 'a'));

  // A file already longer than announced: the close will end it.
  Probe q;
  q.http.Mode = 1, q.http.File = file, q.http.Size = 300, q.http.BufferSize = 32768;
  q.http.AddToFile("x");
  EXPECT_EQ(q.events, (Events{"progress 100001/0/1"}));
}

}  // namespace
