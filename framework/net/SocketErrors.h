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

// The other side refused the connection, closed it or reset it. An HTTP body
// without a length ends with the other side's orderly close, so callers treat
// that (and only that: see TCPSocket::LastErrorIsOrderlyClose) as the normal
// end there; a reset in the middle of such a body is a failure.
inline constexpr int kSocketClosedOrRefused = 102;

// The host name cannot be resolved (also: a URL whose host or port is
// unusable, since no address can come of it).
inline constexpr int kSocketHostNotFound = 103;

// The local address is already in use.
inline constexpr int kSocketAddressInUse = 105;

// The system refused the operation for lack of permission.
inline constexpr int kSocketAccessDenied = 106;

// The other side broke the HTTP protocol so that no reply can be trusted: a
// header block longer than 64 KiB, or a chunked body whose framing is
// malformed (a chunk size that is no hexadecimal number, is negative or
// overflows, or a chunk not followed by its line end). The connection is
// closed and nothing of the reply is delivered as a page.
inline constexpr int kSocketProtocolError = 110;

// The network cannot be reached, or the connection attempt or the wait for
// a reply ran out of time (also: an open connection silent for longer than
// its silence limit).
inline constexpr int kSocketNetworkUnreachable = -3162;

}  // namespace fw
