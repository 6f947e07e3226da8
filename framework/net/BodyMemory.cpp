#include "framework/net/BodyMemory.h"

#include <cstddef>
#include <exception>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace fw {

namespace {

constexpr std::int64_t kMaxReserve = std::int64_t{1} << 30;
// Below this, large pages would hardly save a fault.
constexpr std::size_t kLargePagesFrom = std::size_t{4} << 20;

void PreferLargePages(std::string& body) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  if (body.capacity() < kLargePagesFrom) return;
  const long page = ::sysconf(_SC_PAGESIZE);
  if (page <= 0) return;
  const auto mask = static_cast<std::uintptr_t>(page) - 1;
  const auto start = reinterpret_cast<std::uintptr_t>(body.data());
  const std::uintptr_t begin = (start + mask) & ~mask;
  const std::uintptr_t end = (start + body.capacity()) & ~mask;
  // Only advice: where the system has no large pages, nothing changes.
  if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
  (void)body;
#endif
}

}  // namespace

void ReserveBody(std::string& body, std::int64_t bytes) {
  if (bytes <= 0) return;
  const std::int64_t room = bytes < kMaxReserve ? bytes : kMaxReserve;
  if (static_cast<std::int64_t>(body.capacity()) >= room) return;
  try {
    body.reserve(static_cast<std::size_t>(room));
  } catch (const std::exception&) {
    return;  // no room at once: the body grows as it arrives
  }
  PreferLargePages(body);
}

}  // namespace fw
