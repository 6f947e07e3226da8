#pragma once
// Private to the files library: big-endian numbers, as the Mac formats
// store them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace fw::detail {

// Big-endian access; callers check the bounds.
std::uint16_t GetU16(std::string_view bytes, std::size_t pos);
std::uint32_t GetU32(std::string_view bytes, std::size_t pos);
void PutU16(std::string& out, std::uint16_t value);
void PutU32(std::string& out, std::uint32_t value);

}  // namespace fw::detail
