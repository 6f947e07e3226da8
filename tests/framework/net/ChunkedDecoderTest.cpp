#include "framework/net/ChunkedDecoder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using State = fw::ChunkedDecoder::State;

std::string Name(State s) {
  return s == State::Done ? "done" : s == State::Malformed ? "malformed" : "reading";
}

TEST(ChunkedDecoder, DecodesWhateverTheCutsAndRefusesBrokenFraming) {
  const std::string body26(26, 'q');
  struct Case {
    std::string raw;
    std::string decoded;
    State state;
    std::size_t after = 0;  // bytes at the end of raw that follow the coded body
  } const cases[] = {
      {"3\r\nabc\r\n2\r\nde\r\n0\r\n\r\n", "abcde", State::Done},
      {"3;name=value\r\nabc\r\n2 ; x\r\nde\r\n0\r\n\r\n", "abcde", State::Done},
      {"1A\r\n" + body26 + "\r\n0\r\nTrailer: 1\r\n\r\nNEXT", body26, State::Done, 4},
      {"3\nabc\n0\n\n", "abc", State::Done},  // bare line feeds
      {"00003\r\nabc\r\n0\r\n\r\n", "abc", State::Done},
      // Cut short: nothing says the body is complete.
      {"3\r\nabc\r\n", "abc", State::Reading},
      {"5\r\nab", "ab", State::Reading},
      {"3\r\nabc\r\n0\r\n", "abc", State::Reading},  // the blank line after the last chunk
      {"", "", State::Reading},
      // Broken framing.
      {"zz\r\nabc\r\n", "", State::Malformed},
      {"-5\r\nabc\r\n", "", State::Malformed},
      {"\r\nabc\r\n", "", State::Malformed},
      {"3 x\r\nabc\r\n", "", State::Malformed},
      {"FFFFFFFFFFFFFFFFFFFF\r\nabc\r\n", "", State::Malformed},
      {"10000000000001\r\nabc", "", State::Malformed},        // beyond 2^52
      {"3\r\nabcdef\r\n0\r\n\r\n", "abc", State::Malformed},  // longer than it said
      {"3\r\nabc\r\n" + std::string(5000, '1'), "abc", State::Malformed},
  };
  for (const auto& c : cases) {
    for (std::size_t cut = 0; cut <= c.raw.size(); ++cut) {
      SCOPED_TRACE(c.raw.substr(0, 40) + " cut at " + std::to_string(cut));
      fw::ChunkedDecoder decoder;
      std::string out;
      std::size_t used = decoder.Feed(c.raw.substr(0, cut), out);
      if (decoder.GetState() == State::Reading) {
        EXPECT_EQ(used, cut);
        used += decoder.Feed(c.raw.substr(cut), out);
      }
      EXPECT_EQ(Name(decoder.GetState()), Name(c.state));
      EXPECT_EQ(out, c.decoded);
      if (c.state != State::Malformed) {
        EXPECT_EQ(used, c.raw.size() - c.after);
      }
      // Once ended, nothing more is taken.
      if (decoder.GetState() != State::Reading) {
        EXPECT_EQ(decoder.Feed("5\r\nmore!\r\n", out), 0u);
        EXPECT_EQ(out, c.decoded);
      }
    }
  }
}

}  // namespace
