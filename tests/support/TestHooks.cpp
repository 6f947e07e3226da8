#include "support/TestHooks.h"

#include <vector>

namespace testsupport {

namespace {
std::vector<std::function<void()>>& Hooks(HookTime when) {
  static std::vector<std::function<void()>> before, after;
  return when == HookTime::BeforeTest ? before : after;
}
}  // namespace

void AddHook(HookTime when, std::function<void()> hook) { Hooks(when).push_back(std::move(hook)); }

void RunHooks(HookTime when) {
  for (auto& hook : Hooks(when)) hook();
}

}  // namespace testsupport
