#include "http/HTTPHeaders.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "framework/text/Text.h"

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

void HTTPHeaders::Append(std::string name, std::string value) {
  Repair();
  Field.push_back(std::move(name));
  Value.push_back(std::move(value));
}

void HTTPHeaders::Add(const std::string& name, const std::string& value) {
  Append(fw::Trim(name), fw::Trim(value));
}

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
  // One walk through the text, line by line, in bytes: asking for the i-th
  // field of the whole text each time would search it again from the start.
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = fw::FindBytes(text, lineEnd, start);
    const std::string_view line =
        std::string_view(text).substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!line.empty() && (line[0] == ' ' || line[0] == '\t')) {
      // A folded line belongs to the header above it; with none above
      // there is nothing to continue.
      if (Count() > 0) {
        std::string& value = Value[Count()];
        value += ' ';
        value += fw::Trim(std::string(line));
      }
    } else {
      // The name is the text before the first ":", untrimmed (the whole
      // line when there is none); the value is the trimmed text after it.
      const std::size_t colon = line.find(':');
      Append(std::string(line.substr(0, colon)),
             colon == std::string_view::npos ? std::string() : fw::Trim(std::string(line.substr(colon + 1))));
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
