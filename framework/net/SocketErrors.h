#pragma once
// The error codes that TCPSocket::LastErrorCode() and HTTPSocket's
// Event_Error report. The application chooses its messages by these numbers,
// so they never change meaning.

namespace fw {

// No error has happened on this connection yet.
inline constexpr int kSocketNoError = 0;

// A socket failure that fits none of the codes below (a proxy or TLS layer
// failing, an operation the platform refuses, ...).
inline constexpr int kSocketUnclassifiedError = 100;

// The other side refused the connection or closed it. An HTTP body without
// a length ends this way, so callers treat it as the normal end there.
inline constexpr int kSocketClosedOrRefused = 102;

// The host name cannot be resolved (also: a URL whose host or port is
// unusable, since no address can come of it).
inline constexpr int kSocketHostNotFound = 103;

// The local address is already in use.
inline constexpr int kSocketAddressInUse = 105;

// The system refused the operation for lack of permission.
inline constexpr int kSocketAccessDenied = 106;

// The network cannot be reached, or the connection attempt or the wait for
// a reply ran out of time.
inline constexpr int kSocketNetworkUnreachable = -3162;

}  // namespace fw
