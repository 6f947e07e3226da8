#pragma once
// A listener on 127.0.0.1 that answers the next connection with bytes the
// fuzzer chose: it waits for the request's blank line (so that closing does
// not turn into a reset by unread bytes), sends the pieces one event-loop
// turn apart, then closes gracefully or with a reset.
#include <memory>
#include <string>
#include <vector>

#include "FuzzApp.h"

namespace fuzz {

// How a fuzz input describes a reply: one byte of flags (bit 0: end with a
// reset instead of a close; bits 1-2: how many piece sizes follow; the
// other bits belong to the target), then that many piece sizes of one byte
// each, then the reply's bytes.
struct ScriptedReply {
  std::uint8_t flags = 0;
  bool reset = false;
  std::vector<std::string> pieces;
  std::string bytes;  // every piece, in order
};
ScriptedReply ReadReply(Input& input);

class Loopback {
 public:
  Loopback();
  ~Loopback();
  Loopback(const Loopback&) = delete;
  Loopback& operator=(const Loopback&) = delete;

  // "http://127.0.0.1:<port>" + path.
  std::string Url(const std::string& path) const;

  // The script for the next connection; a connection still open from an
  // earlier one is dropped.
  void Answer(const ScriptedReply& reply);
  // The server has closed (or reset) the connection, or the client has
  // gone before it was done.
  bool Finished() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace fuzz
