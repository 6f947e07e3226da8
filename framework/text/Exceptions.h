#pragma once
// Exceptions the framework raises, and the guard that every event passes
// through so that an exception leaving a handler never ends the process.
#include <functional>
#include <stdexcept>
#include <string>

namespace fw {

// A window, control or menu item that does not exist was used.
class NilObjectException : public std::runtime_error {
 public:
  explicit NilObjectException(const std::string& what) : std::runtime_error(what) {}
};

// Runs an event handler; an exception that leaves it goes to the
// unhandled-exception handler instead of unwinding into the event loop.
void Guarded(const std::function<void()>& handler);

// What happens to an exception that leaves a handler: by default the
// message is written to standard error; the application object shows it.
using UnhandledExceptionHandler =
    std::function<void(const std::string& className, const std::string& message)>;
void SetUnhandledExceptionHandler(UnhandledExceptionHandler handler);

}  // namespace fw
