#pragma once
// An ordered list of HTTP header lines. Field and Value are parallel
// arrays: index 0 is an empty placeholder that nothing reads, and the n
// headers sit at 1..n in the order they were added. Duplicate names are
// kept. Name lookups ignore letter case.
#include <string>
#include <vector>

class HTTPHeaders {
 public:
  std::vector<std::string> Field, Value;

  HTTPHeaders();

  // Appends one header, name and value trimmed.
  void Add(const std::string& name, const std::string& value);
  // "Name: value" CR LF per header, in order; "" for an empty list.
  std::string Data() const;
  void Clear();
  // The value of the first header of that name (compared as given, not
  // trimmed); "" when there is none.
  std::string Get(const std::string& name) const;
  // Appends the headers of text split at lineEnd. A line starting with a
  // space or tab continues the previous header; every other line, even an
  // empty one, becomes a header whose name is the untrimmed text before the
  // first ":".
  void Parse(const std::string& text, const std::string& lineEnd);
  // Removes only the first header of that name.
  void Remove(const std::string& name);
  // Appends every header of other unchanged; other may be this list.
  void Combine(const HTTPHeaders& other);
  // n, the number of headers.
  int Count() const;

 private:
  // Field and Value are public, so a caller may have left them uneven or
  // without the placeholder; pad them back before appending or removing.
  void Repair();
  void Append(std::string name, std::string value);
};
