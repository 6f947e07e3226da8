#pragma once
// Records message boxes, opened links and launched files instead of showing
// or opening them. Installed before every test and emptied after it.
#include <functional>
#include <string>
#include <vector>

namespace testsupport {

struct Recorders {
  std::vector<std::string> boxes;
  std::vector<std::string> links;
  std::vector<std::string> launches;  // native paths
  // Runs inside each box, while it would be up (to look at the state then).
  std::function<void(const std::string& text)> onBox;

  static Recorders& Get();
  void Install();
  void Clear();
};

}  // namespace testsupport
