// The request side of BasicHTTP: the per-request reset, the URL parser, the
// starters and the writing of the request.
#include <cstdint>
#include <string>

#include "framework/text/Text.h"
#include "http/BasicHTTP.h"
#include "http/HTTPModule.h"

namespace {

constexpr const char* kBadURL = "Bad URL!";
constexpr const char* kUnableToWrite = "Unable to write to file!";
// No byte for this long while connecting or receiving ends a transfer.
constexpr int kSilenceLimitMs = 60000;

bool StartsWith(const std::string& s, const std::string& prefix) {
  return fw::StrEq(fw::Left(s, fw::Len(prefix)), prefix);
}

// A host name must not smuggle line ends or blanks into the "Host" header.
bool HasControlOrBlank(const std::string& s) {
  for (const char c : s) {
    if (static_cast<unsigned char>(c) <= 32 || c == 127) return true;
  }
  return false;
}

}  // namespace

BasicHTTP::BasicHTTP() {
  SetConnectTimeoutMs(kSilenceLimitMs);
  SetSilenceTimeoutMs(kSilenceLimitMs);
}

void BasicHTTP::Init() {
  ++transfer_;
  ++epoch_;
  CR = "\r";
  LF = "\n";
  CRLF = CR + LF;
  if (Command.empty()) {
    Command = "GET";
  } else if (FormData.empty() && fw::StrEq(Command, "POST")) {
    Command = "GET";
  }
  CloseFile();
  EndLine.clear();
  std::string().swap(Buffer);  // a large page's memory goes with it
  Type.clear();
  Size = 0;
  if (!RememberSettings) {
    Mode = 0;
    ResumeSize = 0;
    File.reset();
    if (!Extras) Extras = std::make_shared<HTTPHeaders>();
    redirects_ = 0;  // a new transfer; a redirected or authorised one counts on
  }
  if (BufferSize == 0) BufferSize = 32768;
  if (Client.empty()) Client = "BasicHTTP/1.0";
  RememberSettings = false;
  HeaderReceived = false;
  Connected = false;
  IsChunked = false;
  ViaGrab = false;
  chunks_ = fw::ChunkedDecoder();
  headerScanned_ = 0;
}

bool BasicHTTP::ParseURL(const std::string& url) {
  using HTTPModule::GetAfter;
  using HTTPModule::GetBefore;

  std::string u = fw::Trim(url);
  User.clear();
  Pass.clear();

  if (StartsWith(u, "http://")) u = fw::Mid(u, 8);
  if (StartsWith(u, "ftp://")) u = fw::Mid(u, 7);

  // Credentials belong to the host part only: an "@" further on is part of
  // the path, even when the host carries a port.
  const std::size_t at = u.find('@');
  if (at != std::string::npos && at < u.find('/')) {
    const std::string c = u.substr(0, at);
    if (c.find(':') != std::string::npos) {
      User = GetBefore(c, ":");
      Pass = GetAfter(c, ":");
      u = u.substr(at + 1);
    }
  }

  const std::string h = fw::NthField(u, "/", 1);
  if (h.find(':') != std::string::npos) {
    ServerAddress = GetBefore(h, ":");
    ServerPort = fw::ToInt32(fw::Val(GetAfter(h, ":")));
  } else {
    ServerAddress = h;
    ServerPort = 80;
  }

  const std::size_t slash = u.find('/');
  ServerPath = "/" + (slash == std::string::npos ? std::string() : u.substr(slash + 1));
  ServerPath = URLEncode(ServerPath, true, true);

  if (ServerAddress.find('.') == std::string::npos || ServerPort < 1 || HasControlOrBlank(ServerAddress)) {
    Fail(kBadURL, true);
    return false;
  }

  OriginalURL = fw::Trim(url);

  if (StartsWith(ServerAddress, "www.")) {
    CookieDomain = ServerAddress.substr(3);
  } else if (!HTTPModule::IsIP(ServerAddress)) {
    CookieDomain = "." + ServerAddress;
  } else {
    CookieDomain = ServerAddress;
  }

  std::string cookiePath = ServerPath;
  if (!cookiePath.empty() && cookiePath.back() == '/') cookiePath.pop_back();
  const std::size_t lastSlash = cookiePath.rfind('/');
  if (lastSlash != std::string::npos && cookiePath.find('.', lastSlash + 1) != std::string::npos) {
    cookiePath.erase(lastSlash + 1);
  }
  CookiePath = cookiePath;

  if (ProxyAddress.empty()) {
    Address = ServerAddress;
    Port = ServerPort;
    Path = ServerPath;
  } else {
    Address = ProxyAddress;
    Port = ProxyPort;
    std::string absolute = OriginalURL;
    if (!StartsWith(absolute, "http://") && !StartsWith(absolute, "ftp://")) absolute = "http://" + absolute;
    // Encoded like a direct path: a valid URL passes unchanged, while a raw
    // blank or line end can no longer break the request line.
    Path = URLEncode(absolute, true, true);
  }
  return true;
}

void BasicHTTP::Fail(const std::string& message, bool flag) {
  const std::uint64_t transfer = transfer_;
  Raise(OperationError, message, flag);
  if (transfer == transfer_) Raise(Cancelled);
}

bool BasicHTTP::RefuseMissingFile(const std::optional<fw::FolderItem>& file) {
  if (file && !file->NativePath().empty()) return false;
  Fail(kUnableToWrite, false);
  return true;
}

void BasicHTTP::Launch() {
  const std::uint64_t epoch = epoch_;
  Raise(ProgressChange, std::string("Looking Up Host..."));
  if (epoch != epoch_) return;  // the handler cancelled or started another transfer
  Connect();
}

void BasicHTTP::Get(const std::string& url) {
  if (!ParseURL(url)) return;
  Init();
  Launch();
}

void BasicHTTP::GetHeaders(const std::string& url) {
  if (!ParseURL(url)) return;
  Init();
  Command = "HEAD";
  Launch();
}

void BasicHTTP::Download(const std::string& url, const std::optional<fw::FolderItem>& file) {
  if (!ParseURL(url) || RefuseMissingFile(file)) return;
  Init();
  File = file;
  // Appending to a file that could not be deleted would mix old and new bytes.
  if (File->Exists() && !File->Delete()) return Fail(kUnableToWrite, false);
  Mode = 1;
  Launch();
}

void BasicHTTP::Grab(const std::string& url, const std::optional<fw::FolderItem>& file) {
  if (!ParseURL(url) || RefuseMissingFile(file)) return;
  Init();
  File = file;
  if (File->Exists() && !File->Delete()) return Fail(kUnableToWrite, false);
  Mode = 2;
  Launch();
}

void BasicHTTP::Resume(const std::string& url, const std::optional<fw::FolderItem>& file) {
  if (!ParseURL(url) || RefuseMissingFile(file)) return;
  Init();
  File = file;
  if (File->Exists() && File->Length() > 0) {
    ResumeSize = static_cast<double>(File->Length());
    if (!Extras) Extras = std::make_shared<HTTPHeaders>();
    Extras->Remove("Range");
    Extras->Add("Range", "bytes=" + std::to_string(File->Length()) + "-");
  }
  Mode = 1;
  Launch();
}

void BasicHTTP::Redirect(const std::string& url) {
  // The present connection stays open when the new URL is unusable.
  if (!ParseURL(url)) return;
  Close();
  RememberSettings = true;
  Init();
  Launch();
}

void BasicHTTP::Authorize(const std::string& user, const std::string& password) {
  if (Connected) Cancel();
  if (!ParseURL(OriginalURL)) return;
  RememberSettings = true;
  Init();
  User = user;
  Pass = password;
  Launch();
}

void BasicHTTP::SendRequest() {
  if (!FormData.empty() && !SendFormAfter) {
    Path += "?" + FormData;
    FormData.clear();
  }
  const std::string requestLine = Command + " " + Path + " HTTP/1.1" + CRLF;

  HTTPHeaders headers;
  headers.Add("User-Agent", Client);
  // A server behind a virtual host needs the port too, unless it is the
  // default one.
  headers.Add("Host", ServerPort == 80 ? ServerAddress : ServerAddress + ":" + std::to_string(ServerPort));
  headers.Add("Connection", "close");

  if (const std::shared_ptr<HTTPCookieCollection> cookies =
          Raise(AddCookies, std::string(ServerAddress), std::string(ServerPath))) {
    if (cookies->Count() > 0) headers.Add("Cookie", cookies->HeaderText());
  }
  if (!FormData.empty()) {
    headers.Add("Content-Type", FormContentType);
    headers.Add("Content-Length", std::to_string(FormData.size()));
  }
  if (!User.empty() && !Pass.empty()) headers.Add("Authorization", "Basic " + Base64(User + ":" + Pass));
  if (!ProxyUser.empty() && !ProxyPass.empty()) {
    headers.Add("Proxy-Authorization", "Basic " + Base64(ProxyUser + ":" + ProxyPass));
  }

  std::string request = requestLine + headers.Data();
  if (Extras) request += Extras->Data();
  request += CRLF;
  request += FormData;
  Write(request);
}

void BasicHTTP::SetProxy(const std::string& address, int port, const std::string& user,
                         const std::string& password) {
  ProxyAddress = address;
  ProxyPort = port;
  ProxyUser = user;
  ProxyPass = password;
}

void BasicHTTP::ClearProxy() {
  ProxyAddress.clear();
  ProxyUser.clear();
  ProxyPass.clear();
  ProxyPort = 0;
}

void BasicHTTP::SetClient(const std::string& name, double version) {
  Client = fw::ReplaceAll(fw::ReplaceAll(name, " ", ""), "/", "") + "/" + fw::Format(version, "0.0");
}
