#pragma once
// One resource of a resource fork: its type, number, name and bytes.
#include <cstdint>
#include <string>

namespace fw {

struct Resource {
  std::string type;  // four characters
  std::int16_t id = 0;
  std::string name;
  std::string data;
};

}  // namespace fw
