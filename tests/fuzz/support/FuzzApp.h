#pragma once
// What every fuzz target shares: the one application object of the process,
// a private scratch folder, and a check that turns a broken promise into a
// crash the fuzzing engine reports like any other.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace fuzz {

// Makes (once) the offscreen application object, points the preferences and
// temporary folders at a fresh private folder, and records message boxes,
// opened links and launched files instead of showing or opening them.
void StartApp();

// The private folder of this process (native path), made by StartApp.
const std::string& ScratchFolder();

// Message boxes raised since the last ClearBoxes.
const std::vector<std::string>& Boxes();
void ClearBoxes();

// Prints what went wrong and aborts.
[[noreturn]] void Fail(const std::string& what);

// Lets the event loop run what the last input left queued (objects deleted
// later among it), as the program's own loop would between two replies.
void Settle();

// Runs the event loop until done() holds; false when timeoutMs passed first.
bool RunUntil(const std::function<bool()>& done, int timeoutMs);

// Reads fuzz input in the order the target needs it.
class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  // The next byte, or 0 when none is left.
  std::uint8_t Byte();
  // Everything not read yet.
  std::string Rest();
  // Everything not read yet, split at every occurrence of separator (at
  // most maxParts parts, the last one taking the rest).
  std::vector<std::string> RestSplit(char separator, std::size_t maxParts);

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

// The text cut into pieces of the given sizes (what is left is one more
// piece); empty pieces are dropped.
std::vector<std::string> CutInPieces(const std::string& text, const std::vector<std::size_t>& sizes);

}  // namespace fuzz

#define FUZZ_CHECK(condition, what)       \
  do {                                    \
    if (!(condition)) ::fuzz::Fail(what); \
  } while (0)
