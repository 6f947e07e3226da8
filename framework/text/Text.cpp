#include "framework/text/Text.h"

#include <array>
#include <charconv>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string_view>

namespace fw {
namespace {

using Byte = unsigned char;

constexpr std::size_t kNpos = std::string_view::npos;

Byte At(std::string_view s, std::size_t i) { return static_cast<Byte>(s[i]); }

bool IsContinuation(Byte b) { return (b & 0xC0) == 0x80; }

bool IsBlank(Byte b) { return b == ' ' || b == '\t' || b == '\r' || b == '\n' || b == '\v' || b == '\f'; }

bool IsDigit(Byte b) { return b >= '0' && b <= '9'; }

// Bytes taken by the character that starts at p. A well-formed UTF-8
// sequence is one character; any other byte counts as a character of its own,
// so a text with stray bytes keeps every byte and nothing reads past the end.
std::size_t CharBytes(const char* p, const char* end) {
  const auto b0 = static_cast<Byte>(p[0]);
  if (b0 < 0x80) return 1;
  const std::ptrdiff_t avail = end - p;
  const auto b = [p](int i) { return static_cast<Byte>(p[i]); };
  if (b0 >= 0xC2 && b0 <= 0xDF) return (avail >= 2 && IsContinuation(b(1))) ? 2 : 1;
  if (b0 >= 0xE0 && b0 <= 0xEF) {
    if (avail < 3) return 1;
    const Byte lo = b0 == 0xE0 ? 0xA0 : 0x80;
    const Byte hi = b0 == 0xED ? 0x9F : 0xBF;
    return (b(1) >= lo && b(1) <= hi && IsContinuation(b(2))) ? 3 : 1;
  }
  if (b0 >= 0xF0 && b0 <= 0xF4) {
    if (avail < 4) return 1;
    const Byte lo = b0 == 0xF0 ? 0x90 : 0x80;
    const Byte hi = b0 == 0xF4 ? 0x8F : 0xBF;
    return (b(1) >= lo && b(1) <= hi && IsContinuation(b(2)) && IsContinuation(b(3))) ? 4 : 1;
  }
  return 1;
}

// Moves p forward by up to n characters and returns how many it passed.
// Runs of ASCII go eight bytes at a time: most texts are mostly ASCII and
// socket bodies can be large.
std::int64_t Advance(const char*& p, const char* end, std::int64_t n) {
  std::int64_t moved = 0;
  while (moved < n && p < end) {
    if (n - moved >= 8 && end - p >= 8) {
      std::uint64_t word;
      std::memcpy(&word, p, sizeof word);
      if ((word & 0x8080808080808080ULL) == 0) {
        p += 8;
        moved += 8;
        continue;
      }
    }
    p += CharBytes(p, end);
    ++moved;
  }
  return moved;
}

// Byte offset of the character with 0-based index `chars`, or the text's
// size when the text is shorter.
std::size_t ByteOffset(std::string_view s, std::int64_t chars) {
  const char* p = s.data();
  Advance(p, s.data() + s.size(), chars);
  return static_cast<std::size_t>(p - s.data());
}

// Number of characters that start in [from, to).
std::int64_t CharsBetween(std::string_view s, std::size_t from, std::size_t to) {
  const char* p = s.data() + from;
  const char* stop = s.data() + to;
  const char* end = s.data() + s.size();
  std::int64_t count = 0;
  while (p < stop) {
    if (stop - p >= 8) {
      std::uint64_t word;
      std::memcpy(&word, p, sizeof word);
      if ((word & 0x8080808080808080ULL) == 0) {
        p += 8;
        count += 8;
        continue;
      }
    }
    p += CharBytes(p, end);
    ++count;
  }
  return count;
}

int ClampToInt(std::int64_t v) { return v > INT_MAX ? INT_MAX : static_cast<int>(v); }

// Letter case. Folding keeps the byte length, so positions found in a folded
// comparison are positions in the original text. Besides ASCII the Latin-1
// letters U+00C0-U+00DE and U+00E0-U+00FE fold (encoded C3 80-9E and
// C3 A0-BE), except the multiplication and division signs (C3 97, C3 B7).
// `prev` is the byte before b in the text.
Byte FoldByte(Byte b, Byte prev) {
  if (b >= 'A' && b <= 'Z') return static_cast<Byte>(b + 32);
  if (prev == 0xC3 && b >= 0x80 && b <= 0x9E && b != 0x97) return static_cast<Byte>(b + 0x20);
  return b;
}

Byte UpperByte(Byte b, Byte prev) {
  if (b >= 'a' && b <= 'z') return static_cast<Byte>(b - 32);
  if (prev == 0xC3 && b >= 0xA0 && b <= 0xBE && b != 0xB7) return static_cast<Byte>(b - 0x20);
  return b;
}

// True when letter case matters for finding `needle`.
bool HasCasedLetters(std::string_view needle) {
  Byte prev = 0;
  for (std::size_t i = 0; i < needle.size(); ++i) {
    const Byte b = At(needle, i);
    if (FoldByte(b, prev) != b || UpperByte(b, prev) != b) return true;
    prev = b;
  }
  return false;
}

// First byte offset at or after `from` where needle occurs, letter case
// ignored. A needle without letters is found with a plain byte search.
std::size_t FindFolded(std::string_view hay, std::string_view needle, std::size_t from) {
  if (needle.empty() || from > hay.size() || hay.size() - from < needle.size()) return kNpos;
  if (!HasCasedLetters(needle)) return hay.find(needle, from);
  std::string folded(needle);
  Byte prev = 0;
  for (char& c : folded) {
    const Byte b = static_cast<Byte>(c);
    c = static_cast<char>(FoldByte(b, prev));
    prev = b;
  }
  const Byte first = static_cast<Byte>(folded[0]);
  const std::size_t last = hay.size() - needle.size();
  for (std::size_t i = from; i <= last; ++i) {
    Byte before = i > 0 ? At(hay, i - 1) : 0;
    if (FoldByte(At(hay, i), before) != first) continue;
    std::size_t j = 1;
    for (; j < folded.size(); ++j) {
      if (FoldByte(At(hay, i + j), At(hay, i + j - 1)) != static_cast<Byte>(folded[j])) break;
    }
    if (j == folded.size()) return i;
  }
  return kNpos;
}

void AppendUtf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Mac OS Roman, codes 128-255, as Unicode code points.
constexpr std::array<std::uint16_t, 128> kMacRoman = {
    0x00C4, 0x00C5, 0x00C7, 0x00C9, 0x00D1, 0x00D6, 0x00DC, 0x00E1,  // 80
    0x00E0, 0x00E2, 0x00E4, 0x00E3, 0x00E5, 0x00E7, 0x00E9, 0x00E8,  // 88
    0x00EA, 0x00EB, 0x00ED, 0x00EC, 0x00EE, 0x00EF, 0x00F1, 0x00F3,  // 90
    0x00F2, 0x00F4, 0x00F6, 0x00F5, 0x00FA, 0x00F9, 0x00FB, 0x00FC,  // 98
    0x2020, 0x00B0, 0x00A2, 0x00A3, 0x00A7, 0x2022, 0x00B6, 0x00DF,  // A0
    0x00AE, 0x00A9, 0x2122, 0x00B4, 0x00A8, 0x2260, 0x00C6, 0x00D8,  // A8
    0x221E, 0x00B1, 0x2264, 0x2265, 0x00A5, 0x00B5, 0x2202, 0x2211,  // B0
    0x220F, 0x03C0, 0x222B, 0x00AA, 0x00BA, 0x03A9, 0x00E6, 0x00F8,  // B8
    0x00BF, 0x00A1, 0x00AC, 0x221A, 0x0192, 0x2248, 0x2206, 0x00AB,  // C0
    0x00BB, 0x2026, 0x00A0, 0x00C0, 0x00C3, 0x00D5, 0x0152, 0x0153,  // C8
    0x2013, 0x2014, 0x201C, 0x201D, 0x2018, 0x2019, 0x00F7, 0x25CA,  // D0
    0x00FF, 0x0178, 0x2044, 0x20AC, 0x2039, 0x203A, 0xFB01, 0xFB02,  // D8
    0x2021, 0x00B7, 0x201A, 0x201E, 0x2030, 0x00C2, 0x00CA, 0x00C1,  // E0
    0x00CB, 0x00C8, 0x00CD, 0x00CE, 0x00CF, 0x00CC, 0x00D3, 0x00D4,  // E8
    0xF8FF, 0x00D2, 0x00DA, 0x00DB, 0x00D9, 0x0131, 0x02C6, 0x02DC,  // F0
    0x00AF, 0x02D8, 0x02D9, 0x02DA, 0x00B8, 0x02DD, 0x02DB, 0x02C7,  // F8
};

// Writes a non-negative value with `decimals` digits after the point,
// never using the locale.
std::string Fixed(double value, int decimals) {
  // An exact half (k / 2^(decimals+1) with k odd) goes away from zero, as
  // Round does; to_chars alone would round it to even.
  const double doubled = std::ldexp(value, decimals + 1);
  if (std::isfinite(doubled) && doubled == std::trunc(doubled) && std::fmod(doubled, 2.0) == 1.0) {
    value = std::nextafter(value, std::numeric_limits<double>::infinity());
  }
  std::array<char, 512> buf{};
  const auto res =
      std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::fixed, decimals);
  if (res.ec != std::errc()) return "0";
  return std::string(buf.data(), res.ptr);
}

// One section of a Format pattern, taken apart.
struct NumberPattern {
  std::string prefix;
  std::string suffix;
  bool hasDigits = false;  // any digit placeholder
  int minInt = 0;          // "0" placeholders before the mark
  int minFrac = 0;         // last "0" after the mark
  int maxFrac = 0;         // placeholders after the mark
  bool group = false;      // "," among the integer placeholders
  bool percent = false;
  bool hasSign = false;  // where "-" or "+" stands, the sign goes
  bool signInSuffix = false;
  std::size_t signAt = 0;
  bool plus = false;
};

NumberPattern ParsePattern(std::string_view p) {
  NumberPattern r;
  enum class Where { Prefix, Number, Suffix } where = Where::Prefix;
  bool afterMark = false;
  auto literal = [&](std::string_view text) {
    if (where == Where::Number) where = Where::Suffix;
    (where == Where::Prefix ? r.prefix : r.suffix) += text;
  };
  for (std::size_t i = 0; i < p.size(); ++i) {
    const char c = p[i];
    const bool inNumberZone = where != Where::Suffix;
    if ((c == '0' || c == '#') && inNumberZone) {
      where = Where::Number;
      r.hasDigits = true;
      if (afterMark) {
        ++r.maxFrac;
        if (c == '0') r.minFrac = r.maxFrac;
      } else if (c == '0') {
        ++r.minInt;
      }
    } else if (c == '.' && inNumberZone && !afterMark) {
      where = Where::Number;
      afterMark = true;
    } else if (c == ',' && where == Where::Number && !afterMark) {
      r.group = true;
    } else if ((c == '-' || c == '+') && !r.hasSign) {
      if (where == Where::Number) where = Where::Suffix;
      r.hasSign = true;
      r.plus = c == '+';
      r.signInSuffix = where == Where::Suffix;
      r.signAt = r.signInSuffix ? r.suffix.size() : r.prefix.size();
    } else if (c == '%') {
      r.percent = true;
      literal("%");
    } else if (c == '\\' && i + 1 < p.size()) {
      const std::size_t n = CharBytes(p.data() + i + 1, p.data() + p.size());
      literal(p.substr(i + 1, n));
      i += n;
    } else {
      literal(p.substr(i, 1));
    }
  }
  r.maxFrac = std::min(r.maxFrac, 100);
  r.minFrac = std::min(r.minFrac, r.maxFrac);
  r.minInt = std::min(r.minInt, 400);
  return r;
}

// Formats |value| by one pattern section; `negative` decides the sign marks.
std::string FormatSection(double magnitude, bool negative, bool autoMinus, const NumberPattern& pat) {
  if (!pat.hasDigits) return pat.prefix + pat.suffix;
  if (pat.percent) magnitude *= 100.0;
  std::string digits = Fixed(magnitude, pat.maxFrac);
  const std::size_t mark = digits.find('.');
  std::string intPart = digits.substr(0, mark);
  std::string fracPart = mark == std::string::npos ? std::string() : digits.substr(mark + 1);
  while (static_cast<int>(fracPart.size()) > pat.minFrac && !fracPart.empty() && fracPart.back() == '0') {
    fracPart.pop_back();
  }
  const bool zero = intPart.find_first_not_of('0') == std::string::npos &&
                    fracPart.find_first_not_of('0') == std::string::npos;
  if (zero) negative = false;  // never "-0.0"
  if (static_cast<int>(intPart.size()) < pat.minInt) intPart.insert(0, pat.minInt - intPart.size(), '0');
  if (pat.group) {
    for (std::ptrdiff_t at = static_cast<std::ptrdiff_t>(intPart.size()) - 3; at > 0; at -= 3) {
      intPart.insert(static_cast<std::size_t>(at), 1, ',');
    }
  }
  std::string number = intPart;
  if (!fracPart.empty()) number += "." + fracPart;
  std::string prefix = pat.prefix;
  std::string suffix = pat.suffix;
  const std::string sign = negative ? "-" : (pat.plus ? "+" : "");
  if (pat.hasSign) {
    (pat.signInSuffix ? suffix : prefix).insert(pat.signAt, sign);
  } else if (negative && autoMinus) {
    prefix.insert(0, "-");
  }
  return prefix + number + suffix;
}

std::mt19937_64& RandomEngine() {
  static std::mt19937_64 engine = [] {
    std::uint64_t seed =
        static_cast<std::uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
    try {
      std::random_device device;
      seed ^= (static_cast<std::uint64_t>(device()) << 32) ^ device();
    } catch (...) {
      // No entropy source: the clock alone seeds the generator.
    }
    return std::mt19937_64(seed);
  }();
  return engine;
}

}  // namespace

int Len(const std::string& s) { return ClampToInt(CharsBetween(s, 0, s.size())); }

std::string Left(const std::string& s, int count) {
  if (count <= 0) return std::string();
  return s.substr(0, ByteOffset(s, count));
}

std::string Right(const std::string& s, int count) {
  if (count <= 0) return std::string();
  const std::int64_t total = CharsBetween(s, 0, s.size());
  if (count >= total) return s;
  return s.substr(ByteOffset(s, total - count));
}

std::string Mid(const std::string& s, int start) { return Mid(s, start, INT_MAX); }

std::string Mid(const std::string& s, int start, int length) {
  if (length <= 0) return std::string();
  const std::int64_t skip = start < 1 ? 0 : static_cast<std::int64_t>(start) - 1;
  const char* end = s.data() + s.size();
  const char* from = s.data();
  if (Advance(from, end, skip) < skip || from == end) return std::string();
  const char* to = from;
  Advance(to, end, length);
  return std::string(from, to);
}

int InStr(const std::string& s, const std::string& find) { return InStr(1, s, find); }

int InStr(int start, const std::string& s, const std::string& find) {
  if (find.empty()) return 0;
  const std::int64_t skip = start < 1 ? 0 : static_cast<std::int64_t>(start) - 1;
  const char* from = s.data();
  if (Advance(from, s.data() + s.size(), skip) < skip) return 0;
  const auto offset = static_cast<std::size_t>(from - s.data());
  const std::size_t found = FindFolded(s, find, offset);
  if (found == kNpos) return 0;
  return ClampToInt(skip + 1 + CharsBetween(s, offset, found));
}

std::size_t FindBytes(const std::string& s, const std::string& find, std::size_t from) {
  return FindFolded(s, find, from);
}

std::string NthField(const std::string& s, const std::string& separator, int index) {
  if (index < 1) return std::string();
  if (separator.empty()) return index == 1 ? s : std::string();
  std::size_t pos = 0;
  for (int i = 1; i < index; ++i) {
    const std::size_t found = FindFolded(s, separator, pos);
    if (found == kNpos) return std::string();
    pos = found + separator.size();
  }
  const std::size_t found = FindFolded(s, separator, pos);
  return s.substr(pos, found == kNpos ? std::string::npos : found - pos);
}

int CountFields(const std::string& s, const std::string& separator) {
  if (separator.empty()) return 1;
  std::int64_t count = 1;
  for (std::size_t pos = FindFolded(s, separator, 0); pos != kNpos;
       pos = FindFolded(s, separator, pos + separator.size())) {
    ++count;
  }
  return ClampToInt(count);
}

std::string Replace(const std::string& s, const std::string& find, const std::string& with) {
  const std::size_t found = FindFolded(s, find, 0);
  if (found == kNpos) return s;
  std::string out;
  out.reserve(s.size() - find.size() + with.size());
  out.append(s, 0, found).append(with).append(s, found + find.size());
  return out;
}

std::string ReplaceAll(const std::string& s, const std::string& find, const std::string& with) {
  std::size_t found = FindFolded(s, find, 0);
  if (found == kNpos) return s;
  std::string out;
  out.reserve(s.size());
  std::size_t pos = 0;
  while (found != kNpos) {
    out.append(s, pos, found - pos).append(with);
    pos = found + find.size();
    found = FindFolded(s, find, pos);
  }
  out.append(s, pos);
  return out;
}

std::string WithLineEnds(const std::string& s, const std::string& lineEnd) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\r') {
      if (i + 1 < s.size() && s[i + 1] == '\n') ++i;
      out += lineEnd;
    } else if (s[i] == '\n') {
      out += lineEnd;
    } else {
      out += s[i];
    }
  }
  return out;
}

std::string Trim(const std::string& s) {
  std::size_t begin = 0;
  std::size_t end = s.size();
  while (begin < end && IsBlank(At(s, begin))) ++begin;
  while (end > begin && IsBlank(At(s, end - 1))) --end;
  return s.substr(begin, end - begin);
}

std::string LTrim(const std::string& s) {
  std::size_t i = 0;
  while (i < s.size() && IsBlank(At(s, i))) ++i;
  return s.substr(i);
}

std::string RTrim(const std::string& s) {
  std::size_t n = s.size();
  while (n > 0 && IsBlank(At(s, n - 1))) --n;
  return s.substr(0, n);
}

std::string Lowercase(const std::string& s) {
  std::string out(s);
  Byte prev = 0;
  for (char& c : out) {
    const Byte b = static_cast<Byte>(c);
    c = static_cast<char>(FoldByte(b, prev));
    prev = b;
  }
  return out;
}

std::string Uppercase(const std::string& s) {
  std::string out(s);
  Byte prev = 0;
  for (char& c : out) {
    const Byte b = static_cast<Byte>(c);
    c = static_cast<char>(UpperByte(b, prev));
    prev = b;
  }
  return out;
}

double Val(const std::string& s) {
  const std::size_t n = s.size();
  std::size_t i = 0;
  while (i < n && IsBlank(At(s, i))) ++i;

  if (i + 1 < n && s[i] == '&') {
    const char kind = static_cast<char>(FoldByte(At(s, i + 1), 0));
    const int base = kind == 'h' ? 16 : kind == 'o' ? 8 : kind == 'b' ? 2 : 0;
    if (base != 0) {
      double value = 0;
      for (i += 2; i < n; ++i) {
        const Byte b = FoldByte(At(s, i), 0);
        const int digit = IsDigit(b) ? b - '0' : (b >= 'a' && b <= 'f') ? b - 'a' + 10 : 99;
        if (digit >= base) break;
        value = value * base + digit;
      }
      return value;
    }
  }

  bool negative = false;
  if (i < n && (s[i] == '+' || s[i] == '-')) {
    negative = s[i] == '-';
    ++i;
  }
  const std::size_t numberStart = i;
  std::size_t digits = 0;
  // Decimal exponent of the leading significant digit, to tell an overflow
  // from an underflow when the value does not fit a double.
  std::int64_t magnitude = 0;
  bool significant = false;
  for (; i < n && IsDigit(At(s, i)); ++i, ++digits) {
    if (s[i] != '0') significant = true;
    if (significant) ++magnitude;
  }
  if (i < n && s[i] == '.') {
    ++i;
    for (; i < n && IsDigit(At(s, i)); ++i, ++digits) {
      if (s[i] != '0') significant = true;
      if (!significant) --magnitude;
    }
  }
  if (digits == 0) return 0;
  if (i < n && (s[i] == 'e' || s[i] == 'E')) {
    std::size_t j = i + 1;
    bool negExp = false;
    if (j < n && (s[j] == '+' || s[j] == '-')) negExp = s[j++] == '-';
    std::int64_t exponent = 0;
    const std::size_t expDigits = j;
    for (; j < n && IsDigit(At(s, j)); ++j)
      exponent = std::min<std::int64_t>(exponent * 10 + (s[j] - '0'), 1000000);
    if (j > expDigits) {
      i = j;
      magnitude += negExp ? -exponent : exponent;
    }
  }
  double value = 0;
  const auto res = std::from_chars(s.data() + numberStart, s.data() + i, value, std::chars_format::general);
  if (res.ec == std::errc::result_out_of_range) {
    value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  } else if (res.ec != std::errc()) {
    value = 0;
  }
  if (value == 0) return 0;  // no negative zero
  return negative ? -value : value;
}

std::string Str(double value) {
  if (value == 0) return "0";
  std::array<char, 64> buf{};
  std::to_chars_result res{};
  if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e15) {
    res = std::to_chars(buf.data(), buf.data() + buf.size(), static_cast<std::int64_t>(value));
  } else {
    res = std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::general, 7);
  }
  return std::string(buf.data(), res.ptr);
}

std::string Str(std::int64_t value) {
  std::array<char, 32> buf{};
  const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), value);
  return std::string(buf.data(), res.ptr);
}

std::string Format(double value, const std::string& pattern) {
  if (pattern.empty() || !std::isfinite(value)) return Str(value);
  // Up to three sections: positive (and default); negative; zero.
  std::array<std::string, 3> sections;
  std::size_t count = 1;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '\\' && i + 1 < pattern.size()) {
      sections[count - 1] += pattern.substr(i, 2);
      ++i;
    } else if (pattern[i] == ';' && count < sections.size()) {
      ++count;
    } else {
      sections[count - 1] += pattern[i];
    }
  }
  if (value == 0 && count >= 3 && !sections[2].empty()) {
    return FormatSection(0, false, false, ParsePattern(sections[2]));
  }
  if (value < 0 && count >= 2 && !sections[1].empty()) {
    return FormatSection(-value, true, false, ParsePattern(sections[1]));
  }
  return FormatSection(std::fabs(value), value < 0, true, ParsePattern(sections[0]));
}

std::string Hex(std::int64_t value) {
  std::array<char, 32> buf{};
  const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), static_cast<std::uint64_t>(value), 16);
  std::string out(buf.data(), res.ptr);
  for (char& c : out) c = static_cast<char>(UpperByte(static_cast<Byte>(c), 0));
  return out;
}

std::string Chr(int code) {
  std::string out;
  if (code < 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return out;
  if (code >= 128 && code <= 255) {
    AppendUtf8(out, kMacRoman[static_cast<std::size_t>(code - 128)]);
  } else {
    AppendUtf8(out, static_cast<std::uint32_t>(code));
  }
  return out;
}

int Asc(const std::string& s) {
  if (s.empty()) return 0;
  const Byte b0 = At(s, 0);
  const std::size_t n = CharBytes(s.data(), s.data() + s.size());
  if (n == 1) return b0;  // ASCII, or a stray byte given as its value
  std::uint32_t cp = b0 & (n == 2 ? 0x1F : n == 3 ? 0x0F : 0x07);
  for (std::size_t i = 1; i < n; ++i) cp = (cp << 6) | (At(s, i) & 0x3F);
  return static_cast<int>(cp);
}

std::int64_t Round(double value) {
  if (std::isnan(value)) return 0;
  const double r = std::round(value);
  if (r >= 9223372036854775807.0) return std::numeric_limits<std::int64_t>::max();
  if (r <= -9223372036854775808.0) return std::numeric_limits<std::int64_t>::min();
  return static_cast<std::int64_t>(r);
}

double Rnd() {
  // 53 random bits make a double in [0, 1) with every value equally likely.
  return static_cast<double>(RandomEngine()() >> 11) * 0x1.0p-53;
}

void SetRndSeed(std::uint64_t seed) { RandomEngine().seed(seed); }

bool StrEq(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  Byte prevA = 0;
  Byte prevB = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const Byte ca = At(a, i);
    const Byte cb = At(b, i);
    if (FoldByte(ca, prevA) != FoldByte(cb, prevB)) return false;
    prevA = ca;
    prevB = cb;
  }
  return true;
}

std::int32_t ToInt32(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (value <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

}  // namespace fw
