#include "framework/files/BigEndian.h"

namespace fw::detail {

std::uint16_t GetU16(std::string_view bytes, std::size_t pos) {
  return static_cast<std::uint16_t>((static_cast<unsigned char>(bytes[pos]) << 8) |
                                    static_cast<unsigned char>(bytes[pos + 1]));
}

std::uint32_t GetU32(std::string_view bytes, std::size_t pos) {
  return (static_cast<std::uint32_t>(GetU16(bytes, pos)) << 16) | GetU16(bytes, pos + 2);
}

void PutU16(std::string& out, std::uint16_t value) {
  out.push_back(static_cast<char>(value >> 8));
  out.push_back(static_cast<char>(value & 0xFF));
}

void PutU32(std::string& out, std::uint32_t value) {
  PutU16(out, static_cast<std::uint16_t>(value >> 16));
  PutU16(out, static_cast<std::uint16_t>(value & 0xFFFF));
}

}  // namespace fw::detail
