#pragma once
// Memory for a reply body of announced length that is kept whole in memory.
#include <cstdint>
#include <string>

namespace fw {

// Sets aside room in body for `bytes` bytes in all, so that it need not
// grow step by step (each step a copy of everything so far, into pages
// that must be fetched afresh). Setting aside costs address space, not
// memory: pages are taken only as the bytes fill them. At most 1 GiB is
// set aside, whatever the announcement; beyond that, and whenever the room
// cannot be had, the body grows as its bytes arrive. Never throws.
//
// Large room is asked for in the system's large pages where it offers
// them: filling it then takes a page fault every 2 MiB rather than every
// 4 KiB, and on a virtual machine each fault is dear.
void ReserveBody(std::string& body, std::int64_t bytes);

}  // namespace fw
