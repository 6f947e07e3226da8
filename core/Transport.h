#pragma once
// The carrier of the core's two requests (weather and update file), chosen
// when the program is built. Code that sends a request switches over
// Transport::kCarrier with one case per carrier and no default, so a carrier
// added to the enumeration makes the compiler point at every place that
// must learn to use it.
//
// Both carriers also share what a reply may be: each request keeps its own
// kind from the moment it is handed to its carrier, and a reply body longer
// than its kind allows is refused before it has all arrived.
#include <cstdint>
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
inline constexpr std::int64_t kMaxWeatherReply = std::int64_t{1} << 20;  // 1 MiB
inline constexpr std::int64_t kMaxUpdateReply = std::int64_t{256} << 10;  // 256 KiB

// The limit for a request of the kind ("WEATHER", "UPDATE"; any other kind
// is held to the weather limit).
inline std::int64_t MaxReplyBytes(const std::string& kind) {
  return fw::StrEq(kind, "UPDATE") ? kMaxUpdateReply : kMaxWeatherReply;
}

// The code a refused reply is reported with, through each carrier's own
// error path. No code of the socket layer names an oversized reply; it is
// a failure that fits none of the others.
inline constexpr int kReplyTooLarge = fw::kSocketUnclassifiedError;

}  // namespace Transport
