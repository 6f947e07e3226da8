#pragma once
// The framework's text functions. Strings are UTF-8 std::string; positions
// and lengths count characters (code points) and are 1-based, as the
// application's code expects. Letter case is ignored wherever text is
// searched or compared (InStr, Replace, ReplaceAll, NthField, CountFields,
// StrEq). Numbers are read and written with "." as the decimal mark,
// whatever the locale.
#include <cstddef>
#include <cstdint>
#include <string>

namespace fw {

// A character is a well-formed UTF-8 sequence; a byte that does not begin
// one counts as one character, so no text loses bytes. Counts of 0 or less
// give the empty text.
int Len(const std::string& s);
std::string Left(const std::string& s, int count);
std::string Right(const std::string& s, int count);
// From position start (1-based) to the end, or `length` characters. A start
// below 1 counts as 1; a start past the end or a length of 0 or less gives
// the empty text.
std::string Mid(const std::string& s, int start);
std::string Mid(const std::string& s, int start, int length);

// Position of the first occurrence of find at or after start; 0 when absent,
// when start lies past the end and when find is empty. A start below 1
// counts as 1.
int InStr(const std::string& s, const std::string& find);
int InStr(int start, const std::string& s, const std::string& find);

// Byte offset of the first occurrence of find at or after the byte offset
// from, letter case ignored as by InStr; std::string::npos when absent, when
// from lies past the end and when find is empty. For walks through large
// texts that keep their place in bytes: InStr's character positions would
// be counted again from the start on every call.
std::size_t FindBytes(const std::string& s, const std::string& find, std::size_t from = 0);

// Fields are 1-based; a missing field is the empty text. The empty text has
// one (empty) field, and so has any text split at an empty separator.
std::string NthField(const std::string& s, const std::string& separator, int index);
int CountFields(const std::string& s, const std::string& separator);

std::string Replace(const std::string& s, const std::string& find, const std::string& with);
std::string ReplaceAll(const std::string& s, const std::string& find, const std::string& with);
// Every line end of s written as lineEnd: a CR LF pair is one line end, as
// is a CR or an LF alone. Works on bytes, so large texts stay linear.
std::string WithLineEnds(const std::string& s, const std::string& lineEnd);

// Remove spaces and ASCII white space (TAB, LF, VT, FF, CR) from the ends:
// a key read after a CR LF pair must still match.
std::string Trim(const std::string& s);
std::string LTrim(const std::string& s);
std::string RTrim(const std::string& s);

// Letter case here and in every comparison covers the ASCII letters and the
// Latin-1 letters U+00C0-U+00FE (not the multiplication and division signs);
// every other character stays as it is.
std::string Lowercase(const std::string& s);
std::string Uppercase(const std::string& s);

// The leading number of s (blanks before it skipped); 0 when there is none.
// "&h" followed by hexadecimal digits reads hexadecimal ("&o" octal, "&b"
// binary). A decimal number may have a sign, a fraction and an exponent
// ("-1.5e3"). Never throws.
double Val(const std::string& s);
// Whole numbers below 10^15 without a decimal mark ("200", "-3"); others
// with up to 7 significant digits ("12.5", "1e+20").
std::string Str(double value);
std::string Str(std::int64_t value);
inline std::string Str(int value) { return Str(static_cast<std::int64_t>(value)); }
// Patterns such as "0.0", "0.00", "#", "0", "#.##", "-#": "0" is a digit
// always written, "#" one written when needed; the placeholders after "."
// set the decimals. Halves round away from zero. The integer part has at
// least one digit ("0.5" for "#.##"); a mark with no digit left after it is
// dropped. A result that rounds to zero has no minus sign. Also understood:
// "," among the integer placeholders groups thousands, "%" multiplies by
// 100, "+" or "-" places the sign ("+" shows it for positive values too),
// a backslash takes the next character literally, and up to three sections
// "positive;negative;zero" (a negative section writes no minus itself).
// An empty pattern gives Str(value).
std::string Format(double value, const std::string& pattern);
// Upper-case hexadecimal digits; a negative value gives its 64-bit two's
// complement.
std::string Hex(std::int64_t value);

// Character codes: 0-127 ASCII, 128-255 the Mac OS Roman set (161 is the
// degree sign, 176 the infinity sign), above 255 a Unicode code point.
// A negative code, a surrogate or a code above U+10FFFF gives the empty text.
std::string Chr(int code);
// Unicode code point of the first character; 0 for the empty text; a byte
// that begins no UTF-8 character gives its byte value.
int Asc(const std::string& s);

// Rounds halves away from zero; NaN gives 0, and values beyond the Int64
// range give its limits.
std::int64_t Round(double value);
// A random number from 0 up to, not including, 1.
double Rnd();
// Restarts the random sequence from a fixed seed, for repeatable runs.
void SetRndSeed(std::uint64_t seed);

// String equality, ignoring letter case.
bool StrEq(const std::string& a, const std::string& b);

// Converts a double to a 32-bit integer the way the framework does: by
// truncation towards zero, clamped to the Int32 range (NaN gives 0).
std::int32_t ToInt32(double value);

}  // namespace fw
