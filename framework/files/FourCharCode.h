#pragma once
// Private to the files library: the four-character codes of Mac metadata
// (file types, creators, resource types).
#include <string>

namespace fw::detail {

// A four-character code: cut to four bytes or padded with spaces.
std::string FourCharCode(const std::string& code);

}  // namespace fw::detail
