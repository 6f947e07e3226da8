#pragma once
// The header lines of an HTTP reply, in the order they came. Names are
// matched without regard to letter case.
#include <string>
#include <utility>
#include <vector>

namespace fw {

class InternetHeaders {
 public:
  void Add(const std::string& name, const std::string& value);
  // The value of the first header with this name; "" when there is none.
  std::string Value(const std::string& name) const;
  int Count() const;
  // By 0-based position; "" outside 0 .. Count() - 1.
  std::string Name(int i) const;
  std::string ValueAt(int i) const;

 private:
  std::vector<std::pair<std::string, std::string>> entries_;
};

}  // namespace fw
