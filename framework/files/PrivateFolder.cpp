#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <cerrno>
#include <cstdlib>
#include <string>

#include "framework/files/FileAccess.h"
#include "framework/files/FolderItem.h"

namespace fw {

namespace {

// Ours alone: a real folder, not a link to one, owned by this user, that
// no one else may enter. Anything else under our name may have been put
// there by someone else to catch what we write.
bool IsPrivateFolder(const std::string& path) {
  struct stat st {};
  return detail::UsablePath(path) && ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
         st.st_uid == ::geteuid() && (st.st_mode & 077) == 0;
}

bool MakePrivateFolder(const std::string& path) {
  if (!detail::UsablePath(path)) return false;
  if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
  return IsPrivateFolder(path);
}

std::string FolderName() {
  std::string name = QFile::encodeName(QCoreApplication::applicationName()).toStdString();
  for (char& c : name) {
    if (c == '/' || c == '\0') c = '_';
  }
  return name.empty() || name == "." || name == ".." ? std::string("temporary items") : name;
}

}  // namespace

std::optional<FolderItem> PrivateTemporaryFolder() {
  const std::string name = FolderName();

  // The session's runtime folder is the user's alone; checked all the same,
  // since the variable may name anything.
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR");
      runtime != nullptr && runtime[0] == '/' && IsPrivateFolder(runtime)) {
    const std::string folder = std::string(runtime) + "/" + name;
    if (MakePrivateFolder(folder)) return FolderItem(folder);
  }

  const std::string temp = TemporaryFolder().NativePath();
  if (temp.empty()) return std::nullopt;
  const std::string base = temp == "/" ? std::string() : temp;

  // The same folder on every run, unless someone else has taken its name.
  const std::string usual = base + "/" + name + "-" + std::to_string(::geteuid());
  if (MakePrivateFolder(usual)) return FolderItem(usual);

  // Then a folder of a name no one can take ahead of us, kept for the run.
  static std::string madeIn, made;
  if (madeIn == temp && IsPrivateFolder(made)) return FolderItem(made);
  std::string pattern = base + "/" + name + "-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr || !IsPrivateFolder(pattern)) return std::nullopt;
  madeIn = temp;
  made = pattern;
  return FolderItem(made);
}

}  // namespace fw
