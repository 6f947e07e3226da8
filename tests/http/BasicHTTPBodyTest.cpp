// BasicHTTP body delivery: progress, memory and file modes, completion,
// chunked bodies and write failures.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BasicHTTPProbe.h"

namespace {

using namespace httptest;

// The reply with its header in one packet and the body in the given pieces.
Script Pieces(const std::string& reply, std::size_t bodySize, std::vector<std::size_t> pieces, int gapMs = 40) {
  pieces.insert(pieces.begin(), reply.size() - bodySize);
  Script s;
  s.WaitForRequest().SendSplit(reply, pieces, gapMs).Close();
  return s;
}

const std::string kChunked = "3;x=y\r\nabc\r\n1A\r\n" + std::string(26, 'q') + "\r\n0\r\nTrailer: 1\r\n\r\n";
const std::string kDecoded = "abc" + std::string(26, 'q');

TEST(BasicHTTPBody, Delivery) {
  const std::string rest(300, 'b');
  RunTable({
      {"memory: progress per arrival", {Pieces(Script::Response(200, "0123456789"), 10, {4})},
       {"headers 200", "progress 4/10/4", "progress 10/10/6", "page "}, "0123456789"},
      {"memory: no length ends at the close",
       {[] {
         Script s;
         s.WaitForRequest().Send(Script::Response(200, "hello", {}, false)).Pause(200).Close();
         return s;
       }()},
       {"headers 200", "progress 5/0/5", "page "}, "hello"},
      {"memory: chunked is decoded at the end, progress counts raw bytes",
       {Script::ReplyNoLength(200, kChunked, {{"Transfer-Encoding", "chunked"}})},
       {"headers 200", "progress " + fw::Str(static_cast<int>(kChunked.size())) + "/0/" +
                                   fw::Str(static_cast<int>(kChunked.size())), "page "}, kDecoded,
       nullptr, [](Probe& p, ScriptedServer&) { EXPECT_EQ(p.http.Buffer, kChunked); }},
      {"file: chunked is decoded on the way", {Script::ReplyNoLength(200, kChunked, {{"Transfer-Encoding", "chunked"}})},
       {"headers 200", "progress 29/0/29", "updated final", "file "}, std::nullopt,
       [](Probe& p, ScriptedServer& s) { p.http.Download(s.Url("/"), Temp("c.bin")); },
       [](Probe&, ScriptedServer&) { EXPECT_EQ(ReadFile(Temp("c.bin")), kDecoded); }},
      {"file: resume counts on from the file", {Pieces(Script::Response(206, rest, {{"Content-Range", "bytes 500-799/800"}}), 300, {100})},
       {"headers 206", "progress 600/800/100", "progress 800/800/200", "file "}, std::nullopt,
       [](Probe& p, ScriptedServer& s) { p.http.Resume(s.Url("/"), Temp("r.bin", std::string(500, 'a'))); },
       [&](Probe& p, ScriptedServer&) {
         EXPECT_EQ(p.http.Size, 800);
         EXPECT_EQ(ReadFile(Temp("r.bin")), std::string(500, 'a') + rest);
       }},
      {"file: cannot be written", {Script::Reply(200, "abc")},
       {"headers 200", "progress 3/3/3", "operror Unable to write to file! 0", "cancelled"}, std::nullopt,
       [](Probe& p, ScriptedServer& s) {
         p.http.Download(s.Url("/"), fw::FolderItem(fw::TemporaryFolder().NativePath() + "/no/such/x.bin"));
       },
       [](Probe& p, ScriptedServer&) { EXPECT_EQ(p.http.Buffer, "abc"); }},  // the unwritten bytes stay
  });
}

TEST(BasicHTTPBody, FileModeWritesInSlicesOfTheBufferSize) {
  const fw::FolderItem file = Temp("slices.bin");
  Probe p;
  p.http.Mode = 1;
  p.http.File = file;
  p.http.Size = 100000;
  p.http.BufferSize = 32768;
  Events expected;
  for (int i = 1; i <= 12; ++i) {
    p.http.AddToFile(std::string(8192, static_cast<char>('a' + i)));
    expected.push_back("progress " + std::to_string(8192 * i) + "/100000/8192");
    if (i % 4 == 0) expected.push_back("updated");
  }
  p.http.AddToFile(std::string(1696, 'z'));
  expected.insert(expected.end(), {"progress 100000/100000/1696", "status Download Complete!", "file "});
  EXPECT_EQ(p.events, expected);
  const std::string written = ReadFile(file);
  ASSERT_EQ(written.size(), 100000u);
  EXPECT_EQ(written[8192 * 4], 'f');
  EXPECT_EQ(written.back(), 'z');

  // A file already longer than announced: the close will end it.
  Probe q;
  q.http.Mode = 1;
  q.http.File = file;
  q.http.Size = 300;
  q.http.BufferSize = 32768;
  q.http.AddToFile("x");
  EXPECT_EQ(q.events, (Events{"progress 100001/0/1"}));
}

TEST(BasicHTTPBody, BigDownloadOverTheNetwork) {
  ScriptedServer server;
  std::string body;
  for (int i = 0; i < 100000; ++i) body += static_cast<char>(i % 251);
  server.Enqueue(Pieces(Script::Response(200, body), body.size(), std::vector<std::size_t>(12, 8192), 20));
  Probe p;
  p.http.Download(server.Url("/big"), Temp("big.bin"));
  ASSERT_TRUE(p.WaitEnd());
  EXPECT_EQ(Events(p.events.end() - 2, p.events.end()), (Events{"status Download Complete!", "file "}));
  EXPECT_EQ(ReadFile(Temp("big.bin")), body);
}

TEST(BasicHTTPBody, ParseChunkedAndTheStreamingDecoderAgree) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"3\r\nabc\r\n2\r\nde\r\n0\r\n\r\n", "abcde"},
      {"3;name=value\r\nabc\r\n2 ; x\r\nde\r\n0\r\n\r\n", "abcde"},
      {kChunked + "ignored", kDecoded},
      {"zz\r\nabc\r\n", ""},
      {"5\r\nab", "ab"},  // cut short: taken as far as it goes
      {"3\r\nabc", "abc"},
      {"7FFFFFFF\r\nxy", "xy"},
      {"", ""},
  };
  for (const auto& [raw, decoded] : cases) {
    BasicHTTP http;
    EXPECT_EQ(http.ParseChunked(raw), decoded) << raw;
    // In file mode the same body may arrive cut anywhere.
    for (std::size_t cut = 0; cut <= raw.size(); ++cut) {
      BasicHTTP file;
      file.Mode = 1;
      file.IsChunked = true;
      file.BufferSize = 1e9;
      file.AddToFile(raw.substr(0, cut));
      file.AddToFile(raw.substr(cut));
      EXPECT_EQ(file.Buffer, decoded) << raw << " cut at " << cut;
    }
  }
}

}  // namespace
