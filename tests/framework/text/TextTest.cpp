#include "framework/text/Text.h"

#include <gtest/gtest.h>

#include <chrono>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <limits>
#include <locale>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

const std::string kE = "\xC3\xA9";   // é, two bytes
const std::string kEU = "\xC3\x89";  // É

TEST(Text, PositionsCountCharactersFromOne) {
  const std::string s = "h" + kE + "llo";
  EXPECT_EQ(fw::Len(s), 5);
  EXPECT_EQ(fw::Len("\xFF\x80"
                    "a"),
            3);  // stray bytes count one each
  const std::tuple<int, int, std::string> mids[] = {{2, 2, kE + "l"}, {5, 9, "o"},  {6, 1, ""}, {99, 1, ""},
                                                    {0, 2, "h" + kE}, {-3, 1, "h"}, {2, 0, ""}, {2, -1, ""}};
  for (const auto& [start, length, expected] : mids) EXPECT_EQ(fw::Mid(s, start, length), expected) << start;
  EXPECT_EQ(fw::Mid(s, 3), "llo");
  EXPECT_EQ(fw::Mid(s, 0), s);
  EXPECT_EQ(fw::Left(s, 2), "h" + kE);
  EXPECT_EQ(fw::Left(s, -1), "");
  EXPECT_EQ(fw::Right(s, 4), kE + "llo");
  EXPECT_EQ(fw::Right(s, 99), s);
}

TEST(Text, InStrFindsIgnoringCaseFromStart) {
  const std::tuple<int, std::string, std::string, int> cases[] = {
      {1, "abcabc", "c", 3},
      {4, "abcabc", "c", 6},
      {6, "abcabc", "c", 6},
      {7, "abcabc", "c", 0},
      {99, "abcabc", "c", 0},
      {0, "abcabc", "c", 3},
      {-5, "abcabc", "c", 3},
      {1, "abcabc", "x", 0},
      {1, "abc", "", 0},
      {1, "ab", "abc", 0},
      {1, "a\r\nb", "\r\n", 2},
      {1, "xx Set-Cookie", "SET-COOKIE", 4},
      {1, kE + "t" + kE + ":x", ":", 4},       // positions count characters
      {3, kE + "t" + kE + ":x" + kE, kE, 3},   // and so does the start
      {1, kEU + "T" + kEU, kE + "t" + kE, 1},  // Latin-1 letters fold
      {1, "\xC3\x97", "\xC3\xB7", 0},          // the signs × and ÷ do not
  };
  for (const auto& [start, s, find, expected] : cases) {
    EXPECT_EQ(fw::InStr(start, s, find), expected) << s << " / " << find << " from " << start;
  }
  EXPECT_EQ(fw::InStr("abcabc", "CA"), 3);
}

TEST(Text, FindBytesKeepsItsPlaceInBytesAndIgnoresCase) {
  const auto npos = std::string::npos;
  const std::tuple<std::string, std::string, std::size_t, std::size_t> cases[] = {
      {"abcabc", "c", 0, 2},
      {"abcabc", "c", 3, 5},
      {"abcabc", "c", 5, 5},
      {"abcabc", "c", 6, npos},
      {"abcabc", "c", 99, npos},
      {"abcabc", "", 0, npos},
      {"ab", "abc", 0, npos},
      {"a\r\nb\r\n", "\r\n", 2, 4},
      {"xx Set-Cookie", "SET-COOKIE", 0, 3},
      {kE + "t" + kE + ":x", ":", 0, 5},  // bytes, not characters
      {kEU + "T" + kEU, kE + "t" + kE, 0, 0},
      {"\xC3\x97", "\xC3\xB7", 0, npos},
      {kEU + "x" + kEU, kE, 1, 3},
  };
  for (const auto& [s, find, from, expected] : cases) {
    EXPECT_EQ(fw::FindBytes(s, find, from), expected) << s << " / " << find << " from " << from;
  }
}

TEST(Text, FieldsWithMultiCharacterSeparatorsIgnoreCase) {
  const std::tuple<std::string, std::string, std::vector<std::string>> cases[] = {
      {"a<br>b<BR>c", "<br>", {"a", "b", "c"}},
      {"a,,b", ",", {"a", "", "b"}},
      {"a---b", "--", {"a", "-b"}},
      {"x\r\ny\r\n", "\r\n", {"x", "y", ""}},
      {"1ANDa and 2", "and", {"1", "a ", " 2"}},
      {"", ",", {""}},
      {"abc", "", {"abc"}},
  };
  for (const auto& [s, sep, fields] : cases) {
    SCOPED_TRACE(s);
    const int count = static_cast<int>(fields.size());
    EXPECT_EQ(fw::CountFields(s, sep), count);
    for (int i = 0; i <= count + 1; ++i) {
      EXPECT_EQ(fw::NthField(s, sep, i), i >= 1 && i <= count ? fields[i - 1] : "") << i;
    }
  }
}

TEST(Text, ReplaceTrimAndLetterCase) {
  EXPECT_EQ(fw::Replace("aXbxc", "x", "-"), "a-bxc");
  EXPECT_EQ(fw::ReplaceAll("aXbxc", "x", "-"), "a-b-c");
  EXPECT_EQ(fw::ReplaceAll("aaa", "aa", "b"), "ba");
  EXPECT_EQ(fw::ReplaceAll("abc", "", "x"), "abc");
  EXPECT_EQ(fw::ReplaceAll(kEU + "t" + kEU + " " + kE + "T" + kE, kE + "t" + kE, "x"), "x x");
  EXPECT_EQ(fw::Trim(" \t\r\nkey \r\n"), "key");
  EXPECT_EQ(fw::Trim(" \t\v\f "), "");
  EXPECT_EQ(fw::Trim("a \t b"), "a \t b");
  EXPECT_EQ(fw::LTrim("  a b  "), "a b  ");
  EXPECT_EQ(fw::RTrim("  a b \r"), "  a b");
  EXPECT_EQ(fw::Lowercase("AbC " + kEU + "\xC3\x97"), "abc " + kE + "\xC3\x97");
  EXPECT_EQ(fw::Uppercase("abc " + kE + "\xC3\xB7"), "ABC " + kEU + "\xC3\xB7");
  EXPECT_TRUE(fw::StrEq("Content-Type", "content-TYPE"));
  EXPECT_TRUE(fw::StrEq("\xC3\x84pfel", "\xC3\xA4PFEL"));
  EXPECT_FALSE(fw::StrEq("\xC3\x97", "\xC3\xB7"));
  EXPECT_FALSE(fw::StrEq("a", "ab"));
}

TEST(Text, WithLineEndsCountsACrLfPairAsOneLineEnd) {
  // text, with CR line ends
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"a\r\nb\r\n", "a\rb\r"},          {"a\nb\rc", "a\rb\rc"}, {"a\n\rb", "a\r\rb"}, {"a\r\rb", "a\r\rb"},
      {"a\r\n\r\nb", "a\r\rb"},          {"\r", "\r"},           {"no end", "no end"}, {"", ""},
      {kE + "\r\n" + kE, kE + "\r" + kE}};
  for (const auto& [text, expected] : cases) EXPECT_EQ(fw::WithLineEnds(text, "\r"), expected) << text;
  EXPECT_EQ(fw::WithLineEnds("a\r\nb\rc\nd", "<br>"), "a<br>b<br>c<br>d");
}

TEST(Text, LargeBodyStaysLinear) {
  std::string body;
  for (int i = 0; i < 400000; ++i) body += "line " + kE + "\n";  // 3.6 MB
  const auto started = std::chrono::steady_clock::now();
  const std::string out = fw::ReplaceAll(body, "\n", "\r"), shorter = fw::ReplaceAll(out, "LINE", "L");
  const int fields = fw::CountFields(shorter, "\r");
  const auto elapsed = std::chrono::steady_clock::now() - started;
  EXPECT_EQ(out.size(), body.size());
  EXPECT_EQ(out.find('\n'), std::string::npos);
  EXPECT_EQ(fields, 400001);
  EXPECT_EQ(fw::NthField(shorter, "\r", 400000), "L " + kE);
  // A quadratic implementation takes minutes here; a linear one milliseconds.
  EXPECT_LT(std::chrono::duration_cast<std::chrono::seconds>(elapsed).count(), 10);
}

TEST(Text, ValReadsTheLeadingNumber) {
  const std::pair<std::string, double> cases[] = {
      {"12.5abc", 12.5}, {" -3", -3},       {"&hFF", 255},
      {"&HfF", 255},     {"&o17", 15},      {"&b101", 5},
      {"&h", 0},         {"", 0},           {"abc", 0},
      {"-", 0},          {"1e3", 1000},     {"2.5E-1x", 0.25},
      {"4e", 4},         {"+7", 7},         {"-.5", -0.5},
      {"5.", 5},         {"\t\r\n 42", 42}, {"1,5", 1},
      {"- 3", 0},        {"1e-999", 0},     {"1e999", std::numeric_limits<double>::infinity()},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(fw::Val(text), expected) << text;
  EXPECT_FALSE(std::signbit(fw::Val("-0")));
}

TEST(Text, StrHexRoundAndConversion) {
  EXPECT_EQ(fw::Str(200.0), "200");
  EXPECT_EQ(fw::Str(-3.0), "-3");
  EXPECT_EQ(fw::Str(1.0 / 3.0), "0.3333333");
  EXPECT_EQ(fw::Str(-0.0), "0");
  EXPECT_EQ(fw::Str(std::int64_t{-9000000000}), "-9000000000");
  EXPECT_EQ(fw::Hex(255), "FF");
  EXPECT_EQ(fw::Hex(-1), "FFFFFFFFFFFFFFFF");
  const std::pair<double, std::int64_t> rounds[] = {{2.5, 3}, {-2.5, -3}, {2.49, 2}, {std::nan(""), 0}};
  for (const auto& [value, expected] : rounds) EXPECT_EQ(fw::Round(value), expected) << value;
  const std::pair<double, std::int32_t> ints[] = {
      {11.99, 11}, {-11.99, -11}, {1e12, INT32_MAX}, {-1e12, INT32_MIN}, {std::nan(""), 0}};
  for (const auto& [value, expected] : ints) EXPECT_EQ(fw::ToInt32(value), expected) << value;
}

void ExpectFormats() {
  const std::tuple<double, std::string, std::string> cases[] = {
      {68.0, "0.0", "68.0"},
      {-17.7777777, "0.0", "-17.8"},
      {-0.04, "0.0", "0.0"},
      {-0.4, "#", "0"},
      {2.5, "#", "3"},
      {-2.5, "0", "-3"},
      {0.125, "0.00", "0.13"},
      {0, "#", "0"},
      {3.1, "#.##", "3.1"},
      {3, "#.##", "3"},
      {0.5, "#.##", "0.5"},
      {7, "00", "07"},
      {-5, "-#", "-5"},
      {5, "-#", "5"},
      {2, "+0", "+2"},
      {0.5, "0%", "50%"},
      {-2, "0;(0)", "(2)"},
      {0, "0;(0);zero", "zero"},
      {12.5, "", "12.5"},
      {1234567.891, "#,##0.00", "1,234,567.89"},
      {21.04,
       "0.0 \xC2\xB0"
       "C",
       "21.0 \xC2\xB0"
       "C"},
  };
  for (const auto& [value, pattern, expected] : cases)
    EXPECT_EQ(fw::Format(value, pattern), expected) << pattern;
  EXPECT_EQ(fw::Str(12.5), "12.5");
  EXPECT_EQ(fw::Val("12.5"), 12.5);
}

TEST(Text, FormatPatterns) { ExpectFormats(); }

struct CommaMark : std::numpunct<char> {
  char do_decimal_point() const override { return ','; }
};

TEST(Text, FormatIgnoresAStreamLocaleWithADecimalComma) {
  const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaMark));
  ExpectFormats();
  std::locale::global(previous);
}

TEST(Text, FormatIgnoresACLocaleWithADecimalComma) {
  const std::string previous = std::setlocale(LC_ALL, nullptr);
  bool found = false;
  for (const char* name :
       {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "nl_NL.UTF-8", "de_DE"}) {
    if ((found = std::setlocale(LC_ALL, name) && std::localeconv()->decimal_point[0] == ',')) break;
  }
  if (found) ExpectFormats();
  std::setlocale(LC_ALL, previous.c_str());
  if (!found) GTEST_SKIP() << "no C locale with a decimal comma is installed";
}

TEST(Text, ChrTakesMacRomanCodes) {
  const std::pair<int, std::string> cases[] = {
      {65, "A"},
      {13, "\r"},
      {0, std::string(1, '\0')},
      {128, "\xC3\x84"},
      {161, "\xC2\xB0"},
      {176, "\xE2\x88\x9E"},
      {219, "\xE2\x82\xAC"},
      {255, "\xCB\x87"},
      {256, "\xC4\x80"},
      {0x1F600, "\xF0\x9F\x98\x80"},
      {-1, ""},
      {0xD800, ""},
  };
  for (const auto& [code, expected] : cases) EXPECT_EQ(fw::Chr(code), expected) << code;
  // The upper half maps to 128 different characters, none of them ASCII.
  std::set<int> seen;
  for (int code = 128; code <= 255; ++code) {
    EXPECT_EQ(fw::Len(fw::Chr(code)), 1) << code;
    seen.insert(fw::Asc(fw::Chr(code)));
  }
  EXPECT_EQ(seen.size(), 128u);
  EXPECT_GE(*seen.begin(), 128);
  EXPECT_EQ(fw::Asc("\xF0\x9F\x98\x80!"), 0x1F600);
  EXPECT_EQ(fw::Asc(""), 0);
  EXPECT_EQ(fw::Asc("\xFF"), 0xFF);
}

TEST(Text, RndIsRepeatableAndBelowOne) {
  fw::SetRndSeed(7);
  std::vector<double> first;
  for (int i = 0; i < 1000; ++i) first.push_back(fw::Rnd());
  fw::SetRndSeed(7);
  std::set<int> indexes;
  for (int i = 0; i < 1000; ++i) {
    const double r = fw::Rnd();
    EXPECT_EQ(r, first[i]);
    ASSERT_TRUE(r >= 0.0 && r < 1.0) << r;
    indexes.insert(fw::ToInt32(r * 12.0));
  }
  EXPECT_EQ(indexes.size(), 12u);  // every index from 0 to 11 (all are below 12)
}

}  // namespace
