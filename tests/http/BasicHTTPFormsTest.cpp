// BasicHTTP forms and encoders.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "http/BasicHTTP.h"

namespace {

TEST(BasicHTTPForms, URLEncode) {
  struct Case {
    std::string text;
    bool keepEscapes, keepReserved;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"/a/b.html?x=1&y=2", true, true, "/a/b.html?x=1&y=2"},
      {"/a b", true, true, "/a%20b"},
      {"%41%aF%4", true, true, "%41%aF%254"},        // existing escapes stay, a stray "%" does not
      {"%41", false, true, "%2541"},
      {"a;b/c?d:e@f=g&h", true, false, "a%3Bb%2Fc%3Fd%3Ae%40f%3Dg%26h"},
      {"ABCxyz019$-_.+!*(),", false, false, "ABCxyz019$-_.+!*(),"},
      {"~'#\n", true, true, "%7E%27%23%0A"},
      {std::string("a\0b", 3), false, false, "a%00b"},
      {"\xC3\xA9", true, true, "%C3%A9"},  // UTF-8 bytes, one escape each
      {"%", true, true, "%25"},
  };
  BasicHTTP http;
  for (const Case& c : cases) {
    EXPECT_EQ(http.URLEncode(c.text, c.keepEscapes, c.keepReserved), c.expected) << c.text;
  }
}

TEST(BasicHTTPForms, FormEncode) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"a+b c=d&e", "a%2Bb+c%3Dd%26e"},
      {"AZ09", "AZ09"},
      {"l1\nl2\n", "l1%0D%0Al2%0D%0A"},
      {"l1\rl2", "l1%0D%0Al2"},
      {"l1\r\nl2", "l1%0D%0Al2"},
      {"l1\r\nl2\nl3", "l1%0D%0Al2%0Al3"},  // a text with pairs keeps its line ends as they are
      {"100%41", "100%2541"},               // text that looks like an escape is sent as written
      {"\xC3\xA9t\xC3\xA9", "%C3%A9t%C3%A9"},
  };
  BasicHTTP http;
  for (const auto& [text, expected] : cases) EXPECT_EQ(http.FormEncode(text), expected) << text;
  EXPECT_EQ(http.CRLF, "\r\n");
  EXPECT_EQ(http.Command, "");  // nothing else of the object is touched
}

TEST(BasicHTTPForms, SetFormAppendsPairsFromIndexOne) {
  BasicHTTP http;
  http.SetForm({"", "a", "b"}, {"", "1", "x y"}, true);
  EXPECT_EQ(http.FormData, "a=1&b=x+y");
  EXPECT_EQ(http.Command, "POST");
  EXPECT_TRUE(http.SendFormAfter);
  EXPECT_EQ(http.FormContentType, "application/x-www-form-urlencoded");

  // No "&" before the first pair of a second form.
  http.SetForm({"", "c"}, {"", "3"}, false);
  EXPECT_EQ(http.FormData, "a=1&b=x+yc=3");
  EXPECT_FALSE(http.SendFormAfter);
  EXPECT_EQ(http.Command, "POST");

  http.ClearForm();
  EXPECT_EQ(http.FormData, "");
  EXPECT_EQ(http.Command, "");

  // A skipped first pair leaves the "&" of the second; values shorter than
  // names skip the pairs they lack.
  http.SetForm({"", "", "b", "c", "d"}, {"", "x", "2", ""}, false);
  EXPECT_EQ(http.FormData, "&b=2");
  EXPECT_EQ(http.Command, "");

  http.SetFormDirectly("text/xml", "<a b='1'/>", true);
  EXPECT_EQ(http.FormData, "<a b='1'/>");
  EXPECT_EQ(http.FormContentType, "text/xml");
  EXPECT_TRUE(http.SendFormAfter);
  EXPECT_EQ(http.Command, "");
}

TEST(BasicHTTPForms, Base64) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", ""},           {"f", "Zg=="},         {"fo", "Zm8="},         {"foo", "Zm9v"},
      {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"}, {"\xFF\xFE\xFD", "//79"},
      {"\xC3\xA9", "w6k="}, {"user:pass", "dXNlcjpwYXNz"},
  };
  BasicHTTP http;
  for (const auto& [text, expected] : cases) EXPECT_EQ(http.Base64(text), expected) << text;
}

}  // namespace
