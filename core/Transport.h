#pragma once
// The carrier of the core's two requests (weather and update file), chosen
// when the program is built. Code that sends a request switches over
// Transport::kCarrier with one case per carrier and no default, so a carrier
// added to the enumeration makes the compiler point at every place that
// must learn to use it.
//
// Both carriers also share what a reply may be and how it ends: each
// request keeps its own kind from the moment it is handed to its carrier, a
// reply body longer than its kind allows is refused before it has all
// arrived, and every reply that does arrive is ended by EndReply.
#include <cstdint>
#include <optional>
#include <string>

#include "framework/net/SocketErrors.h"
#include "framework/text/Text.h"

namespace Transport {

enum class Carrier {
  MyHTTPSocket,  // the framework's HTTP socket, one new socket per request
  BasicHTTP,     // the main window's own HTTP/1.1 client, its control "HTTPSock"
};

inline constexpr Carrier kCarrier = Carrier::MyHTTPSocket;

// The longest reply body taken in. A forecast is a few kilobytes and the
// update file a few hundred bytes; anything far beyond that is a server gone
// wrong or hostile, and reading it whole would hold it in memory and then
// hand it to parsers and windows that were never meant for megabytes.
inline constexpr std::int64_t kMaxWeatherReply = std::int64_t{1} << 20;   // 1 MiB
inline constexpr std::int64_t kMaxUpdateReply = std::int64_t{256} << 10;  // 256 KiB

// The limit for a request of the kind ("WEATHER", "UPDATE"; any other kind
// is held to the weather limit).
inline std::int64_t MaxReplyBytes(const std::string& kind) {
  return fw::StrEq(kind, "UPDATE") ? kMaxUpdateReply : kMaxWeatherReply;
}

// Whether a reply of the kind is to be refused: the bytes of its body
// received so far, or the length it announced, are past the limit.
inline bool ReplyTooLarge(const std::string& kind, double received, double announced) {
  const auto limit = static_cast<double>(MaxReplyBytes(kind));
  return received > limit || announced > limit;
}

// The code a refused reply is reported with, through each carrier's own
// error path. No code of the socket layer names an oversized reply; it is
// a failure that fits none of the others.
inline constexpr int kReplyTooLarge = fw::kSocketUnclassifiedError;

// A failure the user must read: its box, and once the box (which is
// modal) has been dismissed, its text on the main window's status line.
void Report(const std::string& box, const std::string& status);

// What the debug window shows of a reply while it is open.
enum class DebugShows { AsReceived, WithCRLineEnds };

// Where the two carriers' endings differ. Each carrier states its own.
struct Ending {
  DebugShows debug;
  // Whether a reply of a kind that no reader takes is reported in a box.
  bool reportsUnknownKind;
  // Whether the robot's animation stops after a reply of any kind, or
  // after a weather reply only.
  bool stopsAnimationAfterEveryKind;
};

// Ends one reply of either carrier, in this order:
// - the debug window, while it is open, shows the reply;
// - a good reply (status 200, or any page of a carrier that reports no
//   status) becomes Globals::RawResponse with its line ends turned into CR;
//   a failed one is reported in a box, then on the status line, and its
//   reader gets the empty text;
// - the reader of the request's kind takes it: a weather reply then ends
//   the loading look and, while no update result has come, runs the update
//   check again;
// - the robot's animation stops, and the status line is emptied.
// kind is the kind the request was sent as, url the address it asked for.
void EndReply(const Ending& ending, const std::string& kind, const std::string& url,
              std::optional<int> status, const std::string& content);

}  // namespace Transport
