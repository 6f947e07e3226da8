#pragma once
// Lets a test binary reset its own module state around every test.
#include <functional>

namespace testsupport {

enum class HookTime { BeforeTest, AfterTest };
void AddHook(HookTime when, std::function<void()> hook);
void RunHooks(HookTime when);

// Registers a hook from a namespace-scope object:
//   static testsupport::RegisterHook reset(HookTime::BeforeTest, [] { ... });
struct RegisterHook {
  RegisterHook(HookTime when, std::function<void()> hook) { AddHook(when, std::move(hook)); }
};

}  // namespace testsupport
