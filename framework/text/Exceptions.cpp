#include "framework/text/Exceptions.h"

#include <cstdio>
#include <typeinfo>

namespace fw {

namespace {

UnhandledExceptionHandler& Handler() {
  static UnhandledExceptionHandler handler;
  return handler;
}

void Report(const std::string& className, const std::string& message) {
  if (Handler()) {
    UnhandledExceptionHandler handler = Handler();
    try {
      handler(className, message);
      return;
    } catch (...) {
      // A failing reporter must not take the event loop down with it.
    }
  }
  std::fprintf(stderr, "Unhandled %s: %s\n", className.c_str(), message.c_str());
}

}  // namespace

void SetUnhandledExceptionHandler(UnhandledExceptionHandler handler) { Handler() = std::move(handler); }

void Guarded(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const NilObjectException& e) {
    Report("NilObjectException", e.what());
  } catch (const std::exception& e) {
    Report(typeid(e).name(), e.what());
  } catch (...) {
    Report("unknown exception", "");
  }
}

}  // namespace fw
