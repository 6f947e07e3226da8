#include "http/HTTPModule.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {

TEST(HTTPModule, GetAfterAndGetBeforeCutAtTheFirstOccurrence) {
  // source, separator, after, before
  const std::vector<std::tuple<std::string, std::string, std::string, std::string>> cases = {
      {"a=b=c", "=", "b=c", "a"}, {"secure", "=", "", ""},         {"=x", "=", "x", ""},
      {"x=", "=", "", "x"},       {"Content-Type: t", "content-TYPE: ", "t", ""}, {"abc", "", "", ""},
      {"h\xC3\xA9=w\xC3\xB6", "=", "w\xC3\xB6", "h\xC3\xA9"},
  };
  for (const auto& [source, find, after, before] : cases) {
    EXPECT_EQ(HTTPModule::GetAfter(source, find), after) << source << " at " << find;
    EXPECT_EQ(HTTPModule::GetBefore(source, find), before) << source << " at " << find;
  }
}

TEST(HTTPModule, UnquoteRemovesOnePairOnly) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"\"abc\"", "abc"}, {"\"\"", ""},         {"\"", ""},           {"\"abc", "\"abc"},
      {"abc\"", "abc\""}, {"\"\"x\"\"", "\"x\""}, {" \"a\" ", " \"a\" "}, {"", ""},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(HTTPModule::Unquote(in), out) << in;
}

TEST(HTTPModule, IsIPChecksFormNotRange) {
  const std::vector<std::pair<std::string, bool>> cases = {
      {"10.0.0.1", true}, {"0.0.0.0", true}, {"256.1.1.300", true}, {"1x.2.3.4", true},   {"a.b.c.d", false},
      {"1.2.3", false},   {"1.2.3.4.5", false}, {"1..2.3", false},  {"1.2.3.", false},    {"00.1.2.3", false},
  };
  for (const auto& [in, ip] : cases) EXPECT_EQ(HTTPModule::IsIP(in), ip) << in;
}

}  // namespace
