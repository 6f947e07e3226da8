#include "framework/files/FourCharCode.h"

namespace fw::detail {

std::string FourCharCode(const std::string& code) {
  std::string result = code.substr(0, 4);
  result.resize(4, ' ');
  return result;
}

}  // namespace fw::detail
