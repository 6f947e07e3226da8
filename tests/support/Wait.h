#pragma once
// Runs the event loop until a condition holds or a time limit passes.
#include <functional>

namespace testsupport {

// True when the condition held before the limit.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 5000);
// Runs the event loop for the given time (only to prove that something does
// NOT happen within it).
void RunEventsFor(int ms);

}  // namespace testsupport
