// HTTPHeaders and the HTTPModule text helpers.
#include "http/HTTPHeaders.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "http/HTTPModule.h"

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
  // Uneven arrays left by a caller are evened out.
  h.Field.clear();
  EXPECT_EQ(h.Data(), "");
  h.Add("A", "1");
  h.Field.push_back("B");  // a name without a value
  h.Remove("A");
  EXPECT_EQ(EntriesOf(h), (Entries{{"B", ""}}));
}

TEST(HTTPHeaders, ParseAndCombine) {
  const std::tuple<std::string, std::string, Entries> cases[] = {
      {"A: 1\r\n more \r\nB: 2", "\r\n", {{"A", "1 more"}, {"B", "2"}}},
      {"A: 1\n\tx\n\ty", "\n", {{"A", "1 x y"}}},
      {" lost\rB: 2", "\r", {{"B", "2"}}},  // a continuation with nothing to continue
      {"Name : v", "\r\n", {{"Name ", "v"}}},
      {"Date: Thu, 01 Jan 2037 10:20:30 GMT", "\r\n", {{"Date", "Thu, 01 Jan 2037 10:20:30 GMT"}}},
      {"garbage", "\r\n", {{"garbage", ""}}},
      {"A: 1\r\n\r\nB: 2", "\r\n", {{"A", "1"}, {"", ""}, {"B", "2"}}},
      {"A: 1\n", "\n", {{"A", "1"}, {"", ""}}},
  };
  for (const auto& [text, lineEnd, expected] : cases) {
    HTTPHeaders h;
    h.Parse(text, lineEnd);
    EXPECT_EQ(EntriesOf(h), expected) << text;
  }
  HTTPHeaders a, b;
  b.Parse("Name : v", "\r\n");
  EXPECT_EQ(b.Get("Name"), "");
  b.Parse(" w", "\r\n");  // appends: continues the entry already there
  EXPECT_EQ(EntriesOf(b), (Entries{{"Name ", "v w"}}));
  // Combine appends unchanged and may take the object itself.
  a.Add("A", "1");
  a.Combine(b);
  a.Combine(a);
  EXPECT_EQ(a.Data(), "A: 1\r\nName : v w\r\nA: 1\r\nName : v w\r\n");
  EXPECT_EQ(EntriesOf(b), (Entries{{"Name ", "v w"}}));
}

TEST(HTTPModule, GetAfterGetBeforeUnquoteAndIsIP) {
  // source, separator, after, before: cut at the first occurrence
  const std::tuple<std::string, std::string, std::string, std::string> cuts[] = {
      {"a=b=c", "=", "b=c", "a"},
      {"secure", "=", "", ""},
      {"=x", "=", "x", ""},
      {"x=", "=", "", "x"},
      {"Content-Type: t", "content-TYPE: ", "t", ""},
      {"abc", "", "", ""},
      {"h\xC3\xA9=w\xC3\xB6", "=", "w\xC3\xB6", "h\xC3\xA9"},
  };
  for (const auto& [source, find, after, before] : cuts) {
    EXPECT_EQ(HTTPModule::GetAfter(source, find), after) << source << " at " << find;
    EXPECT_EQ(HTTPModule::GetBefore(source, find), before) << source << " at " << find;
  }
  // One pair of quotes only.
  const std::pair<std::string, std::string> quoted[] = {
      {"\"abc\"", "abc"},     {"\"\"", ""},           {"\"", ""}, {"\"abc", "\"abc"}, {"abc\"", "abc\""},
      {"\"\"x\"\"", "\"x\""}, {" \"a\" ", " \"a\" "}, {"", ""},
  };
  for (const auto& [in, out] : quoted) EXPECT_EQ(HTTPModule::Unquote(in), out) << in;
  // The form of an address, not its range.
  const std::pair<std::string, bool> ips[] = {
      {"10.0.0.1", true}, {"0.0.0.0", true},   {"256.1.1.300", true}, {"1x.2.3.4", true},
      {"a.b.c.d", false}, {"1.2.3", false},    {"1.2.3.4.5", false},  {"1..2.3", false},
      {"1.2.3.", false},  {"00.1.2.3", false},
  };
  for (const auto& [in, ip] : ips) EXPECT_EQ(HTTPModule::IsIP(in), ip) << in;
}

// The reference resolution examples of RFC 3986 (section 5.4), fragments
// dropped since a request never carries one.
TEST(HTTPModule, ResolveURLReadsAReferenceAgainstItsBase) {
  const std::string base = "http://a/b/c/d;p?q";
  const std::pair<std::string, std::string> cases[] = {
      {"g:h", "g:h"},
      {"g", "http://a/b/c/g"},
      {"./g", "http://a/b/c/g"},
      {"g/", "http://a/b/c/g/"},
      {"/g", "http://a/g"},
      {"//g", "http://g"},
      {"?y", "http://a/b/c/d;p?y"},
      {"g?y", "http://a/b/c/g?y"},
      {"#s", "http://a/b/c/d;p?q"},
      {"g#s", "http://a/b/c/g"},
      {"g?y#s", "http://a/b/c/g?y"},
      {";x", "http://a/b/c/;x"},
      {"g;x", "http://a/b/c/g;x"},
      {"", "http://a/b/c/d;p?q"},
      {".", "http://a/b/c/"},
      {"./", "http://a/b/c/"},
      {"..", "http://a/b/"},
      {"../", "http://a/b/"},
      {"../g", "http://a/b/g"},
      {"../..", "http://a/"},
      {"../../", "http://a/"},
      {"../../g", "http://a/g"},
      // Abnormal ones.
      {"../../../g", "http://a/g"},
      {"../../../../g", "http://a/g"},
      {"/./g", "http://a/g"},
      {"/../g", "http://a/g"},
      {"g.", "http://a/b/c/g."},
      {".g", "http://a/b/c/.g"},
      {"g..", "http://a/b/c/g.."},
      {"..g", "http://a/b/c/..g"},
      {"./../g", "http://a/b/g"},
      {"./g/.", "http://a/b/c/g/"},
      {"g/./h", "http://a/b/c/g/h"},
      {"g/../h", "http://a/b/c/h"},
      {"g;x=1/./y", "http://a/b/c/g;x=1/y"},
      {"g;x=1/../y", "http://a/b/c/y"},
      {"g?y/./x", "http://a/b/c/g?y/./x"},
      {"g?y/../x", "http://a/b/c/g?y/../x"},
      {"http:g", "http:g"},
      {"HTTP://x.example/y", "HTTP://x.example/y"},
      {"ftp://f.example/", "ftp://f.example/"},
  };
  for (const auto& [reference, resolved] : cases) {
    EXPECT_EQ(HTTPModule::ResolveURL(base, reference), resolved) << reference;
  }
  // A base without a path, and one with credentials and a port.
  EXPECT_EQ(HTTPModule::ResolveURL("http://h.example", "next"), "http://h.example/next");
  EXPECT_EQ(HTTPModule::ResolveURL("http://u:p@h.example:8080/a/b", "c?d=1"),
            "http://u:p@h.example:8080/a/c?d=1");
  EXPECT_EQ(HTTPModule::ResolveURL("http://h.example:8080/a/b", "//o.example/x"), "http://o.example/x");
}

}  // namespace
