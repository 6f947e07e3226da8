#include "http/HTTPHeaders.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

Entries EntriesOf(const HTTPHeaders& h) {
  EXPECT_EQ(h.Field.size(), h.Value.size());
  Entries out;
  for (int k = 1; k <= h.Count(); ++k) out.emplace_back(h.Field[k], h.Value[k]);
  return out;
}

TEST(HTTPHeaders, AddGetRemoveDataClear) {
  HTTPHeaders h;
  EXPECT_EQ(h.Data(), "");
  h.Add("  Host ", " x\t");
  EXPECT_EQ(h.Data(), "Host: x\r\n");
  h.Add("Set-Cookie", "a=1");
  h.Add("set-cookie", "b=2");
  EXPECT_EQ(h.Get("host"), "x");
  EXPECT_EQ(h.Get("SET-COOKIE"), "a=1");
  EXPECT_EQ(h.Get(" Host"), "");  // the asked name is not trimmed
  h.Remove("Set-Cookie");
  h.Remove("Missing");
  EXPECT_EQ(EntriesOf(h), (Entries{{"Host", "x"}, {"set-cookie", "b=2"}}));
  h.Clear();
  EXPECT_EQ(h.Field.size(), 1u);  // back to the placeholder alone
  EXPECT_EQ(h.Data(), "");
  EXPECT_EQ(h.Get("Host"), "");
  h.Remove("Host");
  EXPECT_EQ(h.Count(), 0);
}

TEST(HTTPHeaders, Parse) {
  struct Case {
    std::string text, lineEnd;
    Entries expected;
  };
  const std::vector<Case> cases = {
      {"A: 1\r\n more \r\nB: 2", "\r\n", {{"A", "1 more"}, {"B", "2"}}},
      {"A: 1\n\tx\n\ty", "\n", {{"A", "1 x y"}}},
      {" lost\rB: 2", "\r", {{"B", "2"}}},  // a continuation with nothing to continue
      {"Name : v", "\r\n", {{"Name ", "v"}}},
      {"Date: Thu, 01 Jan 2037 10:20:30 GMT", "\r\n", {{"Date", "Thu, 01 Jan 2037 10:20:30 GMT"}}},
      {"garbage", "\r\n", {{"garbage", ""}}},
      {"A: 1\r\n\r\nB: 2", "\r\n", {{"A", "1"}, {"", ""}, {"B", "2"}}},
      {"A: 1\n", "\n", {{"A", "1"}, {"", ""}}},
  };
  for (const auto& c : cases) {
    HTTPHeaders h;
    h.Parse(c.text, c.lineEnd);
    EXPECT_EQ(EntriesOf(h), c.expected) << c.text;
  }
  HTTPHeaders h;
  h.Parse("Name : v", "\r\n");
  EXPECT_EQ(h.Get("Name"), "");
  h.Parse(" w", "\r\n");  // appends: continues the entry already there
  EXPECT_EQ(EntriesOf(h), (Entries{{"Name ", "v w"}}));
}

TEST(HTTPHeaders, CombineAppendsUnchangedAndMayTakeItself) {
  HTTPHeaders a, b;
  a.Add("A", "1");
  b.Parse("B : 2", "\r\n");
  a.Combine(b);
  a.Combine(a);
  EXPECT_EQ(a.Data(), "A: 1\r\nB : 2\r\nA: 1\r\nB : 2\r\n");
  EXPECT_EQ(EntriesOf(b), (Entries{{"B ", "2"}}));
}

TEST(HTTPHeaders, UnevenArraysLeftByACallerAreEvenedOut) {
  HTTPHeaders h;
  h.Field.clear();
  EXPECT_EQ(h.Data(), "");
  h.Add("A", "1");
  h.Field.push_back("B");  // a name without a value
  h.Remove("A");
  EXPECT_EQ(EntriesOf(h), (Entries{{"B", ""}}));
}

}  // namespace
