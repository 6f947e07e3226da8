#include "http/HTTPModule.h"

#include "framework/text/Text.h"

namespace HTTPModule {

std::string GetAfter(const std::string& source, const std::string& find) {
  const int p = fw::InStr(source, find);
  if (p > 0) return fw::Mid(source, p + fw::Len(find));
  return "";
}

std::string GetBefore(const std::string& source, const std::string& find) {
  if (fw::InStr(source, find) > 0) return fw::NthField(source, find, 1);
  return "";
}

std::string Unquote(const std::string& s) {
  const std::string quote = fw::Chr(34);
  // A lone quote is both first and last character, so it unquotes to "".
  if (fw::Left(s, 1) == quote && fw::Right(s, 1) == quote) return fw::Mid(s, 2, fw::Len(s) - 2);
  return s;
}

bool IsIP(const std::string& s) {
  if (fw::CountFields(s, ".") != 4) return false;
  for (int i = 1; i <= 4; ++i) {
    const std::string field = fw::NthField(s, ".", i);
    if (fw::Val(field) == 0 && field != "0") return false;
  }
  return true;
}

}  // namespace HTTPModule
