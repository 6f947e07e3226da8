// BasicHTTP body delivery: progress, memory and file modes, completion,
// chunked bodies and write failures.
#include <gtest/gtest.h>

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
      {"memory: progress per arrival", {Pieces(Script::Response(200, "0123456789"), 10, {4})},
       {"headers 200", "progress 4/10/4", "progress 10/10/6", "page "}, "0123456789"},
      {"memory: no length ends at the close",
       {Script().WaitForRequest().Send(Script::Response(200, "hello", {}, false)).Pause(200).Close()},
       {"headers 200", "progress 5/0/5", "page "}, "hello"},
      {"memory: chunked is decoded at the end, progress counts raw bytes",
       {Script::ReplyNoLength(200, kChunked, {{"Transfer-Encoding", "chunked"}})},
       {"headers 200", "progress " + std::to_string(kChunked.size()) + "/0/" + std::to_string(kChunked.size()),
        "page "},
       kDecoded, nullptr, [](Probe& p, ScriptedServer&) { EXPECT_EQ(p.http.Buffer, kChunked); }},
      {"file: chunked is decoded on the way",
       {Script::ReplyNoLength(200, kChunked, {{"Transfer-Encoding", "chunked"}})},
       {"headers 200", "progress 29/0/29", "updated final", "file "}, std::nullopt,
       [](Probe& p, ScriptedServer& s) { p.http.Download(s.Url("/"), Temp("c.bin")); }, Holds("c.bin", kDecoded)},
      {"file: resume counts on from the file",
       {Pieces(Script::Response(206, rest, {{"Content-Range", "bytes 500-799/800"}}), 300, {100})},
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

  // A file already longer than announced: the close will end it.
  Probe q;
  q.http.Mode = 1, q.http.File = file, q.http.Size = 300, q.http.BufferSize = 32768;
  q.http.AddToFile("x");
  EXPECT_EQ(q.events, (Events{"progress 100001/0/1"}));
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
