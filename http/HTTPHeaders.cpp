#include "http/HTTPHeaders.h"

#include <algorithm>

#include "framework/text/Text.h"
#include "http/HTTPModule.h"

HTTPHeaders::HTTPHeaders() : Field(1), Value(1) {}

int HTTPHeaders::Count() const {
  const std::size_t size = std::min(Field.size(), Value.size());
  return size == 0 ? 0 : static_cast<int>(size - 1);
}

void HTTPHeaders::Repair() {
  const std::size_t size = std::max<std::size_t>({Field.size(), Value.size(), 1});
  Field.resize(size);
  Value.resize(size);
}

void HTTPHeaders::Append(const std::string& name, const std::string& value) {
  Repair();
  Field.push_back(name);
  Value.push_back(value);
}

void HTTPHeaders::Add(const std::string& name, const std::string& value) { Append(fw::Trim(name), fw::Trim(value)); }

std::string HTTPHeaders::Data() const {
  std::string data;
  const int n = Count();
  for (int k = 1; k <= n; ++k) data += Field[k] + ": " + Value[k] + "\r\n";
  return data;
}

void HTTPHeaders::Clear() {
  Field.assign(1, std::string());
  Value.assign(1, std::string());
}

std::string HTTPHeaders::Get(const std::string& name) const {
  const int n = Count();
  for (int k = 1; k <= n; ++k) {
    if (fw::StrEq(Field[k], name)) return Value[k];
  }
  return "";
}

void HTTPHeaders::Parse(const std::string& text, const std::string& lineEnd) {
  // One walk through the text, line by line: asking for the i-th field of
  // the whole text each time would search it again from the start.
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = fw::FindBytes(text, lineEnd, start);
    const std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    const std::string first = fw::Left(line, 1);
    if (first == " " || first == "\t") {
      // A folded line belongs to the header above it; with none above
      // there is nothing to continue.
      if (Count() > 0) Value[Count()] += " " + fw::Trim(line);
    } else {
      Append(fw::NthField(line, ":", 1), fw::Trim(HTTPModule::GetAfter(line, ":")));
    }
    if (end == std::string::npos) break;
    start = end + lineEnd.size();
  }
}

void HTTPHeaders::Remove(const std::string& name) {
  Repair();
  const int n = Count();
  for (int k = 1; k <= n; ++k) {
    if (fw::StrEq(Field[k], name)) {
      Field.erase(Field.begin() + k);
      Value.erase(Value.begin() + k);
      return;
    }
  }
}

void HTTPHeaders::Combine(const HTTPHeaders& other) {
  // Copy first: other may be this very list, which grows while we append.
  const std::vector<std::string> fields = other.Field;
  const std::vector<std::string> values = other.Value;
  const int n = other.Count();
  for (int k = 1; k <= n; ++k) Append(fields[k], values[k]);
}
