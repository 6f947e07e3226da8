// The decoders of the chunked transfer coding: the one for a body kept in
// memory (given the whole body) and the one for a body written to a file
// (given the bytes as they arrive, in pieces the input chooses).
// Input: as fuzz::ReadReply reads it (the close/reset bit is not used).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "http/BasicHTTP.h"
#include "support/FuzzApp.h"
#include "support/Loopback.h"

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The body of a chunked message in the strict form, up to its last chunk;
// none for anything else (a loose size line, data without its line end, no
// last chunk). Sizes larger than the bytes at hand cannot be complete.
std::optional<std::string> StrictDecode(const std::string& bytes) {
  std::string body;
  std::size_t pos = 0;
  for (;;) {
    const std::size_t lineEnd = bytes.find("\r\n", pos);
    if (lineEnd == std::string::npos) return std::nullopt;
    std::size_t i = pos;
    std::uint64_t size = 0;
    for (; i < lineEnd && HexDigit(bytes[i]) >= 0; ++i) {
      size = size * 16 + static_cast<std::uint64_t>(HexDigit(bytes[i]));
      if (size > bytes.size()) return std::nullopt;
    }
    if (i == pos || i - pos > 16) return std::nullopt;
    if (i < lineEnd) {
      // Only an extension may follow the size, and it holds no line end.
      if (bytes[i] != ';') return std::nullopt;
      for (std::size_t k = i; k < lineEnd; ++k) {
        if (bytes[k] == '\r' || bytes[k] == '\n') return std::nullopt;
      }
    }
    pos = lineEnd + 2;
    if (size == 0) return body;
    if (pos + size + 2 > bytes.size()) return std::nullopt;
    if (bytes.compare(pos + size, 2, "\r\n") != 0) return std::nullopt;
    body.append(bytes, pos, size);
    pos += size + 2;
  }
}

// The file-mode decoder fed piece by piece; the file is never written
// (the buffer never reaches its size), so the decoded bytes stay in Buffer.
std::string StreamDecode(const std::vector<std::string>& pieces) {
  BasicHTTP http;
  http.Init();
  http.Mode = 1;
  http.IsChunked = true;
  http.BufferSize = 1e18;
  for (const std::string& piece : pieces) http.AddToFile(piece);
  return http.Buffer;
}

void FuzzOne(const std::uint8_t* data, std::size_t size) {
  fuzz::StartApp();
  fuzz::Input input(data, size);
  const fuzz::ScriptedReply reply = fuzz::ReadReply(input);
  const std::string& bytes = reply.bytes;

  BasicHTTP http;
  const std::string inMemory = http.ParseChunked(bytes);
  FUZZ_CHECK(inMemory.size() <= bytes.size(), "the memory decoder made more bytes than it was given");

  const std::string whole = StreamDecode({bytes});
  const std::string cut = StreamDecode(reply.pieces);
  FUZZ_CHECK(whole.size() <= bytes.size(), "the file decoder made more bytes than it was given");
  FUZZ_CHECK(cut == whole, "the file decoder's result depends on how the bytes arrive");

  if (const std::optional<std::string> expected = StrictDecode(bytes)) {
    FUZZ_CHECK(inMemory == *expected, "the memory decoder misread a well-formed body");
    FUZZ_CHECK(whole == *expected, "the file decoder misread a well-formed body");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzOne(data, size);
  // After FuzzOne's objects are gone, so that what they queued runs too.
  fuzz::Settle();
  return 0;
}
