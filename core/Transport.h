#pragma once
// The carrier of the core's two requests (weather and update file), chosen
// when the program is built. Code that sends a request switches over
// Transport::kCarrier with one case per carrier and no default, so a carrier
// added to the enumeration makes the compiler point at every place that
// must learn to use it.

namespace Transport {

enum class Carrier {
  MyHTTPSocket,  // the framework's HTTP socket, one new socket per request
  BasicHTTP,     // the main window's own HTTP/1.1 client, its control "HTTPSock"
};

inline constexpr Carrier kCarrier = Carrier::MyHTTPSocket;

}  // namespace Transport
