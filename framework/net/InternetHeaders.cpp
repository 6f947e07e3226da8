#include "framework/net/InternetHeaders.h"

namespace fw {

namespace {

// Header names are ASCII; other bytes must match exactly.
bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

}  // namespace

void InternetHeaders::Add(const std::string& name, const std::string& value) {
  entries_.emplace_back(name, value);
}

std::string InternetHeaders::Value(const std::string& name) const {
  for (const auto& [n, v] : entries_) {
    if (SameName(n, name)) return v;
  }
  return {};
}

int InternetHeaders::Count() const { return static_cast<int>(entries_.size()); }

std::string InternetHeaders::Name(int i) const {
  if (i < 0 || i >= Count()) return {};
  return entries_[static_cast<std::size_t>(i)].first;
}

std::string InternetHeaders::ValueAt(int i) const {
  if (i < 0 || i >= Count()) return {};
  return entries_[static_cast<std::size_t>(i)].second;
}

}  // namespace fw
