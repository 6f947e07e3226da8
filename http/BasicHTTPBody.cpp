// Body delivery of BasicHTTP: progress, memory or file, completion, and the
// chunked transfer coding.
#include <cstdint>
#include <exception>
#include <string>

#include "framework/net/SocketErrors.h"
#include "framework/text/Text.h"
#include "http/BasicHTTP.h"

void BasicHTTP::AddToFile(const std::string& data) {
  const std::uint64_t epoch = epoch_;
  if (Mode != 0 && Mode != 1) {
    Buffer += data;
    return;
  }

  // What of data belongs to the body: a chunked body ends with its last
  // chunk (and a file takes the body without the framing); a body of known
  // length ends there. Whatever follows is not the body's.
  std::string piece;
  if (IsChunked) {
    std::string decoded;
    const std::size_t used = chunks_.Feed(data, decoded);
    piece = Mode == 1 ? std::move(decoded) : data.substr(0, used);
    if (chunks_.Malformed()) {
      if (Mode == 1) Buffer += piece;  // a partial download keeps what came whole
      Cancel();
      AbortTransfer(fw::kSocketProtocolError);
      return;
    }
  } else {
    piece = data;
    const double held = Mode == 0 ? static_cast<double>(Buffer.size()) : FileSize();
    if (Size > 0 && held < Size && held + static_cast<double>(piece.size()) > Size) {
      piece.resize(static_cast<std::size_t>(Size - held));
    }
  }
  Buffer += piece;

  if (Mode == 0) {
    Raise(DataProgress, static_cast<double>(Buffer.size()), Size, static_cast<double>(piece.size()));
    if (epoch != epoch_) return;
    if (chunks_.Done() || (!IsChunked && Size > 0 && static_cast<double>(Buffer.size()) >= Size)) FinishFile();
    return;
  }

  const std::int64_t n = static_cast<std::int64_t>(FileSize());
  if (Size < static_cast<double>(n)) Size = 0;
  Raise(DataProgress, static_cast<double>(n), Size, static_cast<double>(piece.size()));
  if (epoch != epoch_) return;
  if (chunks_.Done()) {
    if (!Buffer.empty() && !WriteBuffer(true)) return;
    FinishFile();
  } else if (static_cast<double>(Buffer.size()) >= BufferSize) {
    WriteBuffer(false);
  } else if (Size > 0 && static_cast<double>(n) == Size) {
    WriteBuffer(false);
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
  // The same strict decoder that followed the body as it arrived: it stops
  // where the framing breaks or the data ends, and never lets framing
  // through as content.
  fw::ChunkedDecoder decoder;
  std::string result;
  decoder.Feed(data, result);
  return result;
}
