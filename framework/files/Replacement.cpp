#include "framework/files/Replacement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <optional>
#include <random>
#include <utility>

#include "framework/files/FileAccess.h"

namespace fw::detail {

namespace {

// As many links as the system itself follows before it gives up.
constexpr int kMaxLinkHops = 40;

// The folder part of a path with its slash ("" for a bare name).
std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::optional<std::string> ReadLink(const std::string& path) {
  std::string target(256, '\0');
  for (;;) {
    const ssize_t got = ::readlink(path.c_str(), target.data(), target.size());
    if (got < 0) return std::nullopt;
    if (static_cast<std::size_t>(got) < target.size()) {
      target.resize(static_cast<std::size_t>(got));
      return target;
    }
    target.resize(target.size() * 2);
  }
}

// The path at the end of a chain of links; a link that names nothing yet
// ends at the name it gives. None for a loop or a link that cannot be read.
std::optional<std::string> FollowLinks(std::string path) {
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    std::optional<std::string> target = ReadLink(path);
    if (!target || target->empty()) return std::nullopt;
    path = target->front() == '/' ? *target : FolderOf(path) + *target;
  }
  return std::nullopt;
}

std::uint64_t RandomBits() {
  try {
    std::random_device device;
    return (static_cast<std::uint64_t>(device()) << 32) ^ device();
  } catch (const std::exception&) {
    // No source of chance: the clock still differs from call to call, and
    // a name that is taken is tried again.
    const auto ticks =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    return ticks * 0x9E3779B97F4A7C15ull ^ static_cast<std::uint64_t>(::getpid());
  }
}

// A name nobody can guess ahead of us; short, since the folder may hold
// names at the file system's limit.
std::string TemporaryName() {
  static const char kHex[] = "0123456789abcdef";
  std::string name = ".~tmp";
  std::uint64_t bits = RandomBits();
  for (int i = 0; i < 12; ++i, bits >>= 4) name += kHex[bits & 0xF];
  return name;
}

bool SyncToDisk(int fd) {
#ifdef F_FULLFSYNC
  // Plain fsync leaves the bytes in the drive's cache on these systems.
  if (::fcntl(fd, F_FULLFSYNC) == 0) return true;
#endif
  return ::fsync(fd) == 0;
}

// Makes the rename itself last; some file systems cannot sync a folder, and
// the new file is in place either way.
void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

bool FolderRefusesNewFiles(int error) { return error == EACCES || error == EPERM || error == EROFS; }

bool WriteAllAt(int fd, const char* bytes, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t wrote = ::pwrite(fd, bytes + done, size - done, static_cast<off_t>(done));
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) return false;
    done += static_cast<std::size_t>(wrote);
  }
  return true;
}

}  // namespace

std::unique_ptr<Replacement> Replacement::Begin(const std::string& path, LinkHandling links) {
  if (!UsablePath(path)) return nullptr;
  std::string target = path;
  if (links == LinkHandling::WriteTarget) {
    std::optional<std::string> followed = FollowLinks(path);
    if (!followed) return nullptr;
    target = std::move(*followed);
  }

  struct stat old {};
  const bool exists = ::lstat(target.c_str(), &old) == 0;
  if (!exists && errno != ENOENT) return nullptr;
  const bool oldFile = exists && S_ISREG(old.st_mode);
  // A link left here is one to replace; anything else but a plain file is
  // not ours to overwrite.
  if (exists && !oldFile && !S_ISLNK(old.st_mode)) return nullptr;
  // Writing in place would be refused too: a file made read-only stays so.
  if (oldFile && ::access(target.c_str(), W_OK) != 0) return nullptr;

  std::unique_ptr<Replacement> replacement(new Replacement());
  replacement->target_ = target;
  const std::string folder = FolderOf(target);
  int fd = -1;
  int error = 0;
  for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
    replacement->temp_ = folder + TemporaryName();
    // A new file gets what the umask allows, as any new file would.
    fd = ::open(replacement->temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, oldFile ? 0600 : 0666);
    error = fd < 0 ? errno : 0;
    if (error != 0 && error != EEXIST) break;
  }

  if (fd < 0) {
    replacement->temp_.clear();
    if (!FolderRefusesNewFiles(error) || !oldFile) return nullptr;
    // The only way left to save. The bytes gather in memory and go into the
    // file at Commit, so the old text stays whole until then.
    const int noFollow = links == LinkHandling::ReplaceLink ? O_NOFOLLOW : 0;
    replacement->inPlaceFd_ = ::open(target.c_str(), O_WRONLY | O_CLOEXEC | noFollow);
    if (replacement->inPlaceFd_ < 0) return nullptr;
    struct stat now {};
    if (::fstat(replacement->inPlaceFd_, &now) != 0 || !S_ISREG(now.st_mode)) return nullptr;
    replacement->file_ = ::open_memstream(&replacement->buffer_, &replacement->bufferSize_);
    if (replacement->file_ == nullptr) return nullptr;
    return replacement;
  }

  if (oldFile) {
    // The new file takes the old one's permissions, and its owner where we
    // may give it one (only root may give a file away).
    if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
      [[maybe_unused]] const int given = ::fchown(fd, old.st_uid, old.st_gid);
    }
    ::fchmod(fd, old.st_mode & 07777);
  }
  replacement->file_ = ::fdopen(fd, "wb");
  if (replacement->file_ == nullptr) {
    ::close(fd);
    ::unlink(replacement->temp_.c_str());
    replacement->temp_.clear();
    return nullptr;
  }
  return replacement;
}

Replacement::~Replacement() { Abandon(); }

void Replacement::Close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  if (inPlaceFd_ >= 0) ::close(inPlaceFd_);
  inPlaceFd_ = -1;
  std::free(buffer_);
  buffer_ = nullptr;
  bufferSize_ = 0;
}

void Replacement::Abandon() {
  const bool pending = file_ != nullptr;
  Close();
  if (pending && !temp_.empty()) ::unlink(temp_.c_str());
}

bool Replacement::Commit() {
  if (file_ == nullptr) return false;
  if (InPlace()) {
    // Over the old text, then cut to the new length: the file is never
    // empty on the way.
    bool ok = std::fflush(file_) == 0;
    ok = ok && WriteAllAt(inPlaceFd_, buffer_, bufferSize_);
    ok = ok && ::ftruncate(inPlaceFd_, static_cast<off_t>(bufferSize_)) == 0;
    ok = ok && SyncToDisk(inPlaceFd_);
    ok = ::close(std::exchange(inPlaceFd_, -1)) == 0 && ok;
    Close();
    return ok;
  }
  std::FILE* file = std::exchange(file_, nullptr);
  bool ok = std::fflush(file) == 0;
  ok = ok && SyncToDisk(::fileno(file));
  ok = std::fclose(file) == 0 && ok;
  ok = ok && std::rename(temp_.c_str(), target_.c_str()) == 0;
  if (!ok) {
    ::unlink(temp_.c_str());
    return false;
  }
  SyncFolder(FolderOf(target_));
  return true;
}

bool ReplaceFile(const std::string& path, const std::string& bytes) {
  std::unique_ptr<Replacement> replacement = Replacement::Begin(path, LinkHandling::ReplaceLink);
  if (!replacement) return false;
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), replacement->File()) != bytes.size()) {
    return false;
  }
  return replacement->Commit();
}

}  // namespace fw::detail
