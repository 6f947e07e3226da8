// Body delivery of BasicHTTP: progress, memory or file, completion, and the
// chunked transfer coding.
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

#include "framework/net/BodyMemory.h"
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
  std::string decoded;
  std::string_view piece = data;
  if (IsChunked) {
    const std::size_t used = chunks_.Feed(data, decoded);
    piece = Mode == 1 ? std::string_view(decoded) : piece.substr(0, used);
    if (chunks_.Malformed()) {
      if (Mode == 1) Buffer += piece;  // a partial download keeps what came whole
      Cancel();
      AbortTransfer(fw::kSocketProtocolError);
      return;
    }
  } else {
    const double held = Mode == 0 ? static_cast<double>(Buffer.size()) : FileSize();
    if (Size > 0 && held < Size && held + static_cast<double>(piece.size()) > Size) {
      piece = piece.substr(0, static_cast<std::size_t>(Size - held));
    }
  }
  // A body of announced length is held in one piece of memory from the
  // start; grown step by step it would be copied again at every step.
  if (Mode == 0 && Buffer.empty() && !IsChunked) fw::ReserveBody(Buffer, static_cast<std::int64_t>(Size));
  Buffer += piece;

  if (Mode == 0) {
    Raise(DataProgress, static_cast<double>(Buffer.size()), Size, static_cast<double>(piece.size()));
    if (epoch != epoch_) return;
    if (chunks_.Done() || (!IsChunked && Size > 0 && static_cast<double>(Buffer.size()) >= Size))
      FinishFile();
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
  if (File) n += FileLength();
  return static_cast<double>(n);
}

std::int64_t BasicHTTP::FileLength() const {
  // While the download's file is open, what it holds is what was written:
  // asking the system for every piece would cost a call each time.
  if (out_ && File && File->NativePath() == outPath_) return outLength_;
  return File ? File->Length() : 0;
}

void BasicHTTP::WriteToFile(bool final) { WriteBuffer(final); }

bool BasicHTTP::WriteBuffer(bool final) {
  const std::uint64_t epoch = epoch_;
  const std::uint64_t transfer = transfer_;
  bool ok = File.has_value() && !File->NativePath().empty();
  if (ok && (!out_ || File->NativePath() != outPath_)) {
    // Opened once for the whole download, not again for every write.
    CloseFile();
    out_ = File->AppendToTextFile();
    ok = out_ != nullptr;
    if (ok) {
      outPath_ = File->NativePath();
      outLength_ = File->Length();
    }
  }
  // Each write reaches the file before the handlers hear of it.
  if (ok) ok = out_->Write(Buffer) && out_->Flush();
  if (ok) outLength_ += static_cast<std::int64_t>(Buffer.size());
  if (ok && final) ok = CloseFile();
  if (ok) {
    Buffer.clear();
    try {
      if (Size > 0 && static_cast<double>(outLength_) == Size) {
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

bool BasicHTTP::CloseFile() {
  if (!out_) return true;
  const bool ok = out_->Close();
  out_.reset();
  outPath_.clear();
  outLength_ = 0;
  return ok;
}

void BasicHTTP::FinishFile() {
  ++epoch_;  // the request is over, whatever the handlers do next
  CloseFile();
  std::uint64_t epoch = epoch_;
  Raise(ProgressChange, std::string("Download Complete!"));
  if (epoch != epoch_) return;
  if (Connected) Cancel();
  epoch = epoch_;
  if (Mode == 0) {
    if (IsChunked) {
      const std::string content = ParseChunked(Buffer);
      Raise(PageReceived, std::string(Type), content, ViaGrab);
      return;
    }
    // The body is handed over, not copied: a second copy of a large page
    // would double its memory. The handler's content stays as it is
    // whatever the handler does; Buffer holds the body again afterwards
    // (even when the handler throws), until a new request starts.
    struct GiveBack {
      BasicHTTP& http;
      std::string content;
      const std::uint64_t transfer;
      ~GiveBack() {
        if (transfer == http.transfer_ && http.Buffer.empty()) http.Buffer = std::move(content);
      }
    } page{*this, std::move(Buffer), transfer_};
    Buffer.clear();
    Raise(PageReceived, std::string(Type), page.content, ViaGrab);
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
