// The reply side of BasicHTTP: the socket's events, the header block, the
// status and its consequences, Cancel and Stop.
#include <cstdint>
#include <memory>
#include <string>

#include "framework/net/SocketErrors.h"
#include "framework/text/Text.h"
#include "http/BasicHTTP.h"
#include "http/HTTPModule.h"

namespace {

// The longest header block believed, blank line included: a server that
// sends header lines for ever must not grow memory for ever.
constexpr std::size_t kMaxHeaderBlock = 64 * 1024;
// Redirections followed in one transfer; the next one ends it.
constexpr int kMaxRedirects = 20;

// A body length as the headers give it: plain decimal digits, or nothing
// believable (0). A sign, a fraction or an exponent would let a hostile
// reply set a negative or fractional length that the two delivery modes
// then treat differently.
double DeclaredLength(const std::string& text) {
  if (text.empty() || text.size() > 15) return 0;
  double length = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return 0;
    length = length * 10 + (c - '0');
  }
  return length;
}

// Where the header block ends: the line end whose doubled form comes first
// in the bytes. Body bytes that already follow the block cannot then be
// mistaken for its end, whatever line ends they contain.
struct BlockEnd {
  std::string lineEnd;
  std::size_t position = std::string::npos;  // 0-based start of the doubled line end
};

// Searches the bytes waiting on the socket, where they lie, without taking
// a copy of them on every arrival. Bytes before `from` have been searched
// already and hold no doubled line end that lies wholly inside them.
BlockEnd FindBlockEnd(const fw::TCPSocket& socket, std::size_t from) {
  BlockEnd best;
  for (const char* lineEnd : {"\r\n", "\r", "\n"}) {
    const std::string end(lineEnd);
    const std::size_t p = socket.FindWaiting(end + end, from);
    // On a tie the longer line end wins: CR LF CR LF also holds CR, LF CR LF.
    if (p != std::string::npos && p < best.position) best = BlockEnd{end, p};
  }
  return best;
}

bool IsBodiless(const std::string& command) {
  return fw::StrEq(command, "HEAD") || fw::StrEq(command, "OPTIONS");
}

bool StartsWith(const std::string& s, const std::string& prefix) {
  return fw::StrEq(fw::Left(s, fw::Len(prefix)), prefix);
}

}  // namespace

void BasicHTTP::Event_Connected() {
  Connected = true;
  const std::uint64_t epoch = epoch_;
  Raise(ProgressChange, std::string("Waiting For Reply..."));
  if (epoch != epoch_) return;
  SendRequest();
  if (epoch != epoch_) return;
  Raise(SockConnected);
}

void BasicHTTP::Event_DataAvailable() {
  // A reply below 200 is followed by the real reply's own header block on
  // the same connection, so the loop may find more than one block.
  while (Connected) {
    if (HeaderReceived) {
      std::string data = ReadAll();
      if (!data.empty()) AddToFile(data);
      Recycle(std::move(data));
      return;
    }

    const std::size_t waiting = BytesAvailable();
    const std::size_t longestEnd = 4;  // CR LF CR LF may straddle two arrivals
    const BlockEnd end =
        FindBlockEnd(*this, headerScanned_ > longestEnd - 1 ? headerScanned_ - (longestEnd - 1) : 0);
    const std::size_t blockSize =
        end.position == std::string::npos ? waiting : end.position + 2 * end.lineEnd.size();
    if (blockSize > kMaxHeaderBlock || (end.position == std::string::npos && blockSize == kMaxHeaderBlock)) {
      Cancel();
      AbortTransfer(fw::kSocketProtocolError);
      return;
    }
    if (end.position == std::string::npos) {  // wait for the rest of the block
      headerScanned_ = waiting;
      return;
    }
    headerScanned_ = 0;
    EndLine = end.lineEnd;
    const std::string header = Read(end.position);
    Read(2 * EndLine.size());

    HeaderReceived = true;
    const std::uint64_t epoch = epoch_;
    Raise(ProgressChange, std::string("Receiving Data..."));
    if (epoch != epoch_) return;
    ParseHeader(header);
    if (epoch != epoch_) return;
  }
}

void BasicHTTP::ParseHeader(const std::string& header) {
  using HTTPModule::GetAfter;

  const std::string statusLine = fw::NthField(header, EndLine, 1);
  const int code = fw::ToInt32(fw::Val(fw::NthField(statusLine, " ", 2)));

  auto headers = std::make_shared<HTTPHeaders>();
  headers->Parse(GetAfter(header, EndLine), EndLine);

  if (!((code >= 100 && code < 400) || code == 401)) {
    Cancel();
    const std::uint64_t transfer = transfer_;
    Raise(ProtocolError, code, headers);
    if (transfer == transfer_) Raise(Cancelled);
    return;
  }

  const std::uint64_t epoch = epoch_;
  std::string target;
  for (int k = 1; k < static_cast<int>(headers->Field.size()) && k < static_cast<int>(headers->Value.size());
       ++k) {
    // Nobody else holds the list yet, so it stays as it is while handlers run.
    const std::string& name = headers->Field[k];
    const std::string& raw = headers->Value[k];
    // Worked out only for the headers that use it: most lines are none of ours.
    const auto value = [&raw] { return fw::Trim(HTTPModule::Unquote(fw::Trim(fw::NthField(raw, ";", 1)))); };

    if (fw::StrEq(name, "Content-Type")) {
      Type = value();
    } else if (fw::StrEq(name, "Content-Length")) {
      Size = DeclaredLength(value());
      if (ResumeSize > 0) Size += ResumeSize;
    } else if (fw::StrEq(name, "Content-Range")) {
      if (Size == 0) Size = DeclaredLength(fw::NthField(value(), "/", 2));
    } else if (fw::StrEq(name, "Location")) {
      // A ";" is an ordinary character of a URL, so the whole value counts.
      if (code == 201 || (code >= 300 && code <= 399)) target = fw::Trim(HTTPModule::Unquote(fw::Trim(raw)));
    } else if (fw::StrEq(name, "Transfer-Encoding")) {
      IsChunked = fw::StrEq(value(), "chunked");
    } else if (fw::StrEq(name, "Set-Cookie")) {
      auto cookie = std::make_shared<HTTPCookie>();
      if (cookie->Parse(raw, CookieDomain, CookiePath, ServerPath, ServerAddress)) {
        const bool expired = cookie->Expired();
        Raise(CookieReceived, cookie, expired);
        if (epoch != epoch_) return;
      }
    } else if (fw::StrEq(name, "WWW-Authenticate")) {
      std::string user, password;
      const bool retry = Raise(NeedAuthorization, user, password);
      if (epoch != epoch_) return;
      if (retry) {
        Cancel();
        Authorize(user, password);
        return;
      }
    }
  }

  // A chunked body carries its own length; a Content-Length beside it is
  // not believed.
  if (IsChunked) Size = 0;

  const bool informational = code < 200;
  Raise(GotHeaders, code, headers, informational, IsBodiless(Command) && code >= 200);
  if (epoch != epoch_) return;

  if (informational) {
    // The final reply's header block follows on this connection; read it
    // as a header, not as body. What the interim block said does not count.
    HeaderReceived = false;
    EndLine.clear();
    Size = 0;
    Type.clear();
    IsChunked = false;
    return;
  }

  if (IsBodiless(Command)) {
    Command.clear();
    Cancel();
    return;
  }

  if (code < 300) {
    FormData.clear();
    Command.clear();
  }

  if (!target.empty()) {
    // "/next", "next" and "//host/next" name a place relative to this URL.
    target = HTTPModule::ResolveURL(CurrentURL(), target);
    if (!StartsWith(target, "http://")) {
      Cancel();
      const std::uint64_t transfer = transfer_;
      Raise(BadRedirection, target);
      if (transfer == transfer_) Raise(Cancelled);
      return;
    }
    const bool takeAsReply = Raise(HandleRedirection, target);
    if (epoch != epoch_) return;
    if (!takeAsReply) {
      if (redirects_ >= kMaxRedirects) {
        Cancel();
        Fail("Too many redirects!", true);
        return;
      }
      ++redirects_;
      // "See other": the answer to any method is fetched with GET, no body.
      if (code == 303) ClearForm();
      const std::uint64_t transfer = transfer_;
      Redirect(target);
      // An unusable target has been reported with Cancelled; the reply that
      // pointed at it must not go on to deliver a page after that.
      if (transfer == transfer_ && epoch == epoch_) Cancel();
      return;
    }
  }

  if (ResumeSize > 0 && code != 206 && headers->Get("Content-Range").empty()) {
    Cancel();
    Fail("Server Doesn't Support Resuming", true);
    return;
  }

  if (Mode == 2) {
    if (fw::StrEq(fw::NthField(Type, "/", 1), "text") || Type.empty()) {
      File.reset();
      Mode = 0;
    } else {
      Mode = 1;
    }
    ViaGrab = true;
  }

  if (BytesAvailable() > 0) AddToFile(ReadAll());
}

void BasicHTTP::Event_Error() {
  Connected = false;
  const int code = LastErrorCode();

  // The server's orderly close is the end of a body that came without a
  // length; a reset may have cut it anywhere, and a chunked body ends only
  // with its last chunk.
  const bool chunksPending = IsChunked && (Mode == 0 || Mode == 1) && !chunks_.Done();
  if (HeaderReceived && Size == 0 && code == fw::kSocketClosedOrRefused && LastErrorIsOrderlyClose() &&
      !chunksPending) {
    if (Mode == 1 && !Buffer.empty() && !WriteBuffer(true)) return;
    FinishFile();
    return;
  }
  AbortTransfer(code);
}

void BasicHTTP::AbortTransfer(int code) {
  // A partial download keeps its bytes, so that it can be resumed.
  if (Mode == 1 && HeaderReceived && !Buffer.empty() && !WriteBuffer(true)) return;
  CloseFile();
  const std::uint64_t transfer = transfer_;
  Raise(TCPError, code);
  if (transfer == transfer_) Raise(Cancelled);
}

std::string BasicHTTP::CurrentURL() const {
  std::string url = OriginalURL;
  if (StartsWith(url, "http://")) url = fw::Mid(url, 8);
  if (StartsWith(url, "ftp://")) url = fw::Mid(url, 7);
  return "http://" + url;
}

void BasicHTTP::Cancel() {
  ReadAll();
  Close();
  CloseFile();
  ServerAddress.clear();
  ServerPath.clear();
  ServerPort = 0;
  Connected = false;
  ++epoch_;
}

void BasicHTTP::Stop() {
  const std::uint64_t transfer = transfer_;
  if (Mode == 1 && HeaderReceived && !Buffer.empty()) WriteBuffer(true);
  if (transfer != transfer_) return;  // a handler has started another transfer
  Cancel();
  Raise(ProgressChange, std::string("Download Cancelled"));
}
