// Body delivery of BasicHTTP: progress, memory or file, completion, and the
// chunked transfer coding.
#include <algorithm>
#include <cstdint>
#include <exception>
#include <string>

#include "framework/text/Text.h"
#include "http/BasicHTTP.h"

namespace {

// Longest chunk-size line accepted while a file-mode body streams in; a
// longer one is no chunk framing and ends the decoding.
constexpr std::size_t kMaxChunkLine = 4096;

// The size of a chunk-size line; extensions after ";" are dropped. A line
// that is not a hexadecimal number reads as 0.
std::int64_t ChunkSize(std::string line) {
  const std::size_t semicolon = line.find(';');
  if (semicolon != std::string::npos) line = fw::RTrim(line.substr(0, semicolon));
  return fw::ToInt32(fw::Val("&h" + line));
}

}  // namespace

void BasicHTTP::AddToFile(const std::string& data) {
  const std::uint64_t epoch = epoch_;
  if (Mode == 0) {
    Buffer += data;
    Raise(DataProgress, static_cast<double>(Buffer.size()), Size, static_cast<double>(data.size()));
    if (epoch != epoch_) return;
    if (Size > 0 && static_cast<double>(Buffer.size()) >= Size) FinishFile();
  } else if (Mode == 1) {
    // A file takes the body itself, so the chunk framing is stripped here.
    const std::string body = IsChunked ? DecodeChunkedPiece(data) : data;
    Buffer += body;
    const std::int64_t n = static_cast<std::int64_t>(FileSize());
    if (Size < static_cast<double>(n)) Size = 0;
    Raise(DataProgress, static_cast<double>(n), Size, static_cast<double>(body.size()));
    if (epoch != epoch_) return;
    if (static_cast<double>(Buffer.size()) >= BufferSize) {
      WriteBuffer(false);
    } else if (Size > 0 && static_cast<double>(n) == Size) {
      WriteBuffer(false);
    }
  } else {
    Buffer += data;
  }
}

double BasicHTTP::FileSize() {
  std::int64_t n = static_cast<std::int64_t>(Buffer.size());
  if (File) n += File->Length();
  return static_cast<double>(n);
}

void BasicHTTP::WriteToFile(bool final) { WriteBuffer(final); }

bool BasicHTTP::WriteBuffer(bool final) {
  const std::uint64_t epoch = epoch_;
  const std::uint64_t transfer = transfer_;
  bool ok = File.has_value() && !File->NativePath().empty();
  if (ok) {
    auto stream = File->AppendToTextFile();
    ok = stream != nullptr;
    if (ok) ok = stream->Write(Buffer);
    if (stream && !stream->Close()) ok = false;
  }
  if (ok) {
    Buffer.clear();
    try {
      if (Size > 0 && static_cast<double>(File->Length()) == Size) {
        FinishFile();
        return false;  // the request is complete
      }
      const std::optional<fw::FolderItem> file = File;
      Raise(FileUpdated, file, final);
      return epoch == epoch_;
    } catch (const std::exception&) {
      // A handler that fails ends the request the same way as a failed
      // write, unless it had already started another transfer.
      if (transfer != transfer_) return false;
    }
  }
  Cancel();
  Fail("Unable to write to file!", false);
  return false;
}

void BasicHTTP::FinishFile() {
  ++epoch_;  // the request is over, whatever the handlers do next
  std::uint64_t epoch = epoch_;
  Raise(ProgressChange, std::string("Download Complete!"));
  if (epoch != epoch_) return;
  if (Connected) Cancel();
  epoch = epoch_;
  if (Mode == 0) {
    const std::string content = IsChunked ? ParseChunked(Buffer) : Buffer;
    Raise(PageReceived, std::string(Type), content, ViaGrab);
  } else {
    const std::optional<fw::FolderItem> file = File;
    Raise(FileReceived, std::string(Type), file, ViaGrab);
  }
}

std::string BasicHTTP::ParseChunked(const std::string& data) {
  const std::string crlf = "\r\n";
  std::string result;
  std::size_t pos = 0;
  for (;;) {
    const std::size_t lineEnd = data.find(crlf, pos);
    if (lineEnd == std::string::npos) break;
    const std::int64_t size = ChunkSize(data.substr(pos, lineEnd - pos));
    pos = lineEnd + crlf.size();
    if (size <= 0) break;
    const std::size_t take = std::min(static_cast<std::size_t>(size), data.size() - pos);
    result.append(data, pos, take);
    pos += take;
    if (take < static_cast<std::size_t>(size)) break;  // the data ends inside this chunk
    pos = std::min(pos + crlf.size(), data.size());   // the line end after the data, unread
  }
  return result;
}

std::string BasicHTTP::DecodeChunkedPiece(const std::string& data) {
  using Phase = ChunkState::Phase;
  ChunkState& s = chunk_;
  if (s.phase == Phase::Done) return {};
  s.pending += data;

  std::string out;
  std::size_t pos = 0;
  for (;;) {
    if (s.phase == Phase::SizeLine) {
      const std::size_t lineEnd = s.pending.find("\r\n", pos);
      if (lineEnd == std::string::npos) {
        if (s.pending.size() - pos > kMaxChunkLine) s.phase = Phase::Done;
        break;
      }
      const std::int64_t size = ChunkSize(s.pending.substr(pos, lineEnd - pos));
      pos = lineEnd + 2;
      if (size <= 0) {
        s.phase = Phase::Done;  // the last chunk; trailers are not read
        break;
      }
      s.phase = Phase::Data;
      s.left = size;
    }
    if (s.phase == Phase::Data) {
      const std::size_t take = static_cast<std::size_t>(
          std::min<std::int64_t>(s.left, static_cast<std::int64_t>(s.pending.size() - pos)));
      out.append(s.pending, pos, take);
      pos += take;
      s.left -= static_cast<std::int64_t>(take);
      if (s.left > 0) break;
      s.phase = Phase::DataEnd;
      s.left = 2;
    }
    if (s.phase == Phase::DataEnd) {
      const std::size_t skip = static_cast<std::size_t>(
          std::min<std::int64_t>(s.left, static_cast<std::int64_t>(s.pending.size() - pos)));
      pos += skip;
      s.left -= static_cast<std::int64_t>(skip);
      if (s.left > 0) break;
      s.phase = Phase::SizeLine;
    }
    if (s.phase == Phase::Done) break;
  }
  if (s.phase == Phase::Done) {
    s.pending.clear();
  } else {
    s.pending.erase(0, pos);
  }
  return out;
}
