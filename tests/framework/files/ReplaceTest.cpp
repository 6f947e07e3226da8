// Replacing a file that holds the user's data, and the private folder for
// temporary files.
#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string>

#include "framework/files/FolderItem.h"

namespace {

namespace fs = std::filesystem;
using fw::LinkHandling;

constexpr uid_t kNobody = 65534;

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void Write(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Every item under a folder, links not followed: a file's text, "-> target"
// for a link, "folder" for a folder. Left-over temporary files show up too.
std::map<std::string, std::string> Snapshot(const std::string& folder) {
  std::map<std::string, std::string> items;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    const std::string name = entry.path().lexically_relative(folder).string();
    if (entry.is_symlink()) {
      items[name] = "-> " + fs::read_symlink(entry.path()).string();
    } else if (entry.is_directory()) {
      items[name] = "folder";
    } else {
      items[name] = entry.is_regular_file() ? Read(entry.path()) : "special";
    }
  }
  return items;
}

struct stat Stat(const std::string& path) {
  struct stat st {};
  lstat(path.c_str(), &st);
  return st;
}

// Runs a step in a child process that permissions bind: root writes any
// file and into any folder, so a child of root's becomes nobody first.
bool AsOrdinaryUser(const std::function<bool()>& step) {
  if (geteuid() == 0) {
    // Nobody must reach the test's folders.
    chmod(fw::TemporaryFolder().Parent()->NativePath().c_str(), 0711);
  }
  const pid_t pid = fork();
  if (pid == 0) {
    const bool user =
        geteuid() != 0 || (setgroups(0, nullptr) == 0 && setgid(kNobody) == 0 && setuid(kNobody) == 0);
    _exit(user && step() ? 0 : 1);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool Save(const std::string& path, LinkHandling links, const std::string& text) {
  auto out = fw::FolderItem(path).ReplaceTextFile(links);
  return out && out->Write(text) && out->Close();
}

// Writes past this many bytes fail, as on a full disk.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &old_);
    oldSignal_ = signal(SIGXFSZ, SIG_IGN);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    signal(SIGXFSZ, oldSignal_);
  }

 private:
  rlimit old_{};
  sighandler_t oldSignal_;
};

const std::string kOld = "userLocation\nthe old place, longer than the new one\n";
const std::string kNew = "userLocation\nnew\n";

TEST(ReplaceTextFile, TheNewTextTakesTheFilesPlaceOrNothingChanges) {
  using Items = std::map<std::string, std::string>;
  const mode_t mask = umask(0);
  umask(mask);
  struct Case {
    const char* what;
    std::function<void(const std::string& dir)> prepare;  // "file" in dir is saved
    LinkHandling links;
    bool ordinaryUser;
    bool saved;
    Items after;
    mode_t mode;    // of the file the text went to; 0: not checked
    int sameInode;  // 1 in place, 0 a new file, -1 not checked
  };
  const auto file = [](mode_t mode) {
    return [mode](const std::string& dir) {
      Write(dir + "/file", kOld);
      chmod((dir + "/file").c_str(), mode);
    };
  };
  const auto link = [](std::string to) {
    return [to](const std::string& dir) { fs::create_symlink(to, dir + "/file"); };
  };
  const LinkHandling follow = LinkHandling::WriteTarget, replace = LinkHandling::ReplaceLink;
  const Case cases[] = {
      {"new file",
       [](const std::string&) {},
       follow,
       false,
       true,
       {{"file", kNew}},
       static_cast<mode_t>(0666 & ~mask),
       -1},
      {"old file, its mode kept", file(0640), follow, false, true, {{"file", kNew}}, 0640, 0},
      {"link",
       [](const std::string& d) {
         Write(d + "/real", kOld);
         fs::create_symlink("real", d + "/file");
       },
       follow,
       false,
       true,
       {{"file", "-> real"}, {"real", kNew}},
       0,
       0},
      {"chain of links into other folders",
       [](const std::string& d) {
         fs::create_directories(d + "/a/b");
         Write(d + "/a/b/real", kOld);
         fs::create_symlink("a/one", d + "/file");
         fs::create_symlink("b/real", d + "/a/one");
       },
       follow,
       false,
       true,
       {{"file", "-> a/one"}, {"a", "folder"}, {"a/one", "-> b/real"}, {"a/b", "folder"}, {"a/b/real", kNew}},
       0,
       0},
      {"link to nothing yet",
       link("made"),
       follow,
       false,
       true,
       {{"file", "-> made"}, {"made", kNew}},
       0,
       -1},
      {"link loop",
       [](const std::string& d) {
         fs::create_symlink("loop", d + "/file");
         fs::create_symlink("file", d + "/loop");
       },
       follow,
       false,
       false,
       {{"file", "-> loop"}, {"loop", "-> file"}},
       0,
       -1},
      {"link into a missing folder",
       link("gone/file"),
       follow,
       false,
       false,
       {{"file", "-> gone/file"}},
       0,
       -1},
      {"folder",
       [](const std::string& d) { fs::create_directory(d + "/file"); },
       follow,
       false,
       false,
       {{"file", "folder"}},
       0,
       -1},
      {"pipe",
       [](const std::string& d) { mkfifo((d + "/file").c_str(), 0600); },
       follow,
       false,
       false,
       {{"file", "special"}},
       0,
       -1},
      {"link replaced",
       [](const std::string& d) {
         Write(d + "/victim", kOld);
         fs::create_symlink("victim", d + "/file");
       },
       replace,
       false,
       true,
       {{"file", kNew}, {"victim", kOld}},
       0,
       -1},
      {"link to nothing replaced", link("nowhere"), replace, false, true, {{"file", kNew}}, 0, -1},
      {"read-only file", file(0444), follow, true, false, {{"file", kOld}}, 0444, 1},
      {"read-only folder: in place",
       [&](const std::string& d) {
         file(0666)(d);
         chmod(d.c_str(), 0555);
       },
       follow,
       true,
       true,
       {{"file", kNew}},
       0666,
       1},
      {"read-only folder, no file",
       [](const std::string& d) { chmod(d.c_str(), 0555); },
       follow,
       true,
       false,
       {},
       0,
       -1},
      {"read-only folder, link to a writable one",
       [](const std::string& d) {
         fs::create_directory(d + "/w");
         Write(d + "/w/real", kOld);
         chmod((d + "/w").c_str(), 0777);
         chmod((d + "/w/real").c_str(), 0666);
         fs::create_symlink("w/real", d + "/file");
         chmod(d.c_str(), 0555);
       },
       follow,
       true,
       true,
       {{"file", "-> w/real"}, {"w", "folder"}, {"w/real", kNew}},
       0666,
       0},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string dir = fw::TemporaryFolder().NativePath() + "/case" + std::to_string(n++);
    fs::create_directory(dir);
    chmod(dir.c_str(), 0777);
    c.prepare(dir);
    const ino_t before = Stat(dir + "/file").st_ino;
    const std::string path = dir + "/file";
    const bool saved = c.ordinaryUser ? AsOrdinaryUser([&] { return Save(path, c.links, kNew); })
                                      : Save(path, c.links, kNew);
    EXPECT_EQ(saved, c.saved);
    EXPECT_EQ(Snapshot(dir), c.after);
    struct stat target {};
    stat(path.c_str(), &target);
    if (c.mode != 0) {
      EXPECT_EQ(target.st_mode & 07777, c.mode);
    }
    if (c.sameInode != -1) {
      EXPECT_EQ(target.st_ino == before, c.sameInode == 1);
    }
    chmod(dir.c_str(), 0755);  // so the folder can go
  }
}

TEST(ReplaceTextFile, AWriteThatFailsLeavesTheOldFileAndNoTemporaryFile) {
  const std::string dir = fw::TemporaryFolder().NativePath();
  const fw::FolderItem item(dir + "/Breezeling");
  Write(item.NativePath(), kOld);
  {
    auto out = item.ReplaceTextFile();
    ASSERT_TRUE(out);
    const FileSizeLimit full(8);
    out->Write(std::string(100000, 'x'));  // fails here, or when flushed at Close
    EXPECT_FALSE(out->Close());
  }
  {
    auto out = item.ReplaceTextFile();
    ASSERT_TRUE(out);
    out->Write("dropped");
    const FileSizeLimit full(0);
    EXPECT_FALSE(out->WriteLine(std::string(100000, 'y')));
  }  // closed once the disk has room again, the failed stream still commits nothing
  EXPECT_EQ(Snapshot(dir), (std::map<std::string, std::string>{{"Breezeling", kOld}}));
  // Dropped between two writes by an exception, a sound stream commits nothing.
  try {
    auto out = item.ReplaceTextFile();
    out->WriteLine("half");
    throw std::runtime_error("between two writes");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(Snapshot(dir), (std::map<std::string, std::string>{{"Breezeling", kOld}}));
}

TEST(ReplaceTextFile, CodesAreSetInAReadOnlyFolderThroughAWritableCompanion) {
  const fw::FolderItem item = *fw::TemporaryFolder().Child("Breezeling");
  Write(item.NativePath(), kOld);
  item.SetMacType("TEXT");
  const std::string folder = fw::TemporaryFolder().NativePath();
  chmod(item.NativePath().c_str(), 0666);
  chmod((folder + "/._Breezeling").c_str(), 0666);
  chmod(folder.c_str(), 0555);
  EXPECT_TRUE(AsOrdinaryUser([&] {
    item.SetMacType("pref");
    item.SetMacCreator("LKSP");
    return Save(item.NativePath(), LinkHandling::WriteTarget, kNew);
  }));
  chmod(folder.c_str(), 0755);
  EXPECT_EQ(item.MacType() + "/" + item.MacCreator(), "pref/LKSP");
  EXPECT_EQ(Read(item.NativePath()), kNew);
}

// The folder a call gives, checked to be ours alone.
std::string PrivateFolder() {
  const std::optional<fw::FolderItem> folder = fw::PrivateTemporaryFolder();
  if (!folder) return "none";
  const struct stat st = Stat(folder->NativePath());
  EXPECT_TRUE(S_ISDIR(st.st_mode)) << folder->NativePath();
  EXPECT_EQ(st.st_uid, geteuid());
  EXPECT_EQ(st.st_mode & 07777, 0700u);
  return folder->NativePath();
}

TEST(PrivateTemporaryFolder, IsOursAloneAndNotWhatAnotherUserPreparedUnderItsName) {
  const std::string root = fw::TemporaryFolder().Parent()->NativePath();
  const std::string name = fw::FolderItem(PrivateFolder()).Name();
  ASSERT_EQ(PrivateFolder(), std::getenv("XDG_RUNTIME_DIR") + ("/" + name));
  const std::string usual = name + "-" + std::to_string(geteuid());

  // What is prepared in a fresh runtime folder "run" and temporary folder
  // "tmp", and where the folder must be: "run", "usual" (the usual name in
  // "tmp") or "other" (another name in "tmp").
  struct Case {
    const char* what;
    std::function<void(const std::string& run, const std::string& tmp)> prepare;
    const char* runtimeVariable;  // "run", "unset", or a value
    const char* where;
  };
  const auto tmpItem = [&](std::function<void(const std::string&)> make) {
    return [=](const std::string&, const std::string& tmp) { make(tmp + "/" + usual); };
  };
  const auto ourFolder = [](const std::string& path, mode_t mode) {
    fs::create_directories(path);
    chmod(path.c_str(), mode);
  };
  std::vector<Case> cases = {
      {"runtime folder", [](auto&, auto&) {}, "run", "run"},
      {"no runtime folder", [](auto&, auto&) {}, "unset", "usual"},
      {"relative runtime folder", [](auto&, auto&) {}, "run-relative", "usual"},
      {"runtime folder others may enter", [&](auto& run, auto&) { chmod(run.c_str(), 0755); }, "run",
       "usual"},
      {"runtime folder is a link",
       [&](auto& run, auto& tmp) {
         ourFolder(tmp + "/real", 0700);
         fs::remove(run);
         fs::create_symlink(tmp + "/real", run);
       },
       "run", "usual"},
      {"link in the runtime folder",
       [&](auto& run, auto& tmp) {
         ourFolder(tmp + "/real", 0700);
         fs::create_symlink(tmp + "/real", run + "/" + name);
       },
       "run", "usual"},
      {"usual name reused", tmpItem([&](auto& p) {
         ourFolder(p, 0700);
         Write(p + "/page", "kept");
       }),
       "unset", "usual"},
      {"usual name taken by a file", tmpItem([](auto& p) { Write(p, "theirs"); }), "unset", "other"},
      {"usual name taken by an open folder", tmpItem([&](auto& p) { ourFolder(p, 0755); }), "unset", "other"},
      {"usual name taken by a link",
       [&](auto&, auto& tmp) {
         ourFolder(tmp + "/real", 0700);
         fs::create_symlink(tmp + "/real", tmp + "/" + usual);
       },
       "unset", "other"},
  };
  if (geteuid() == 0) {
    cases.push_back({"usual name taken by another user's folder", tmpItem([&](auto& p) {
                       ourFolder(p, 0700);
                       ASSERT_EQ(chown(p.c_str(), kNobody, kNobody), 0);
                     }),
                     "unset", "other"});
  }
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string run = root + "/run" + std::to_string(n), tmp = root + "/tmp" + std::to_string(n++);
    ourFolder(run, 0700);
    ourFolder(tmp, 0755);
    c.prepare(run, tmp);
    const std::string variable = c.runtimeVariable;
    if (variable == "unset") {
      unsetenv("XDG_RUNTIME_DIR");
    } else {
      setenv("XDG_RUNTIME_DIR", variable == "run" ? run.c_str() : variable.c_str(), 1);
    }
    setenv("TMPDIR", tmp.c_str(), 1);
    const auto before = Snapshot(tmp);

    const std::string folder = PrivateFolder();
    const std::string where = c.where;
    if (where == "run") {
      EXPECT_EQ(folder, run + "/" + name);
    }
    if (where == "usual") {
      EXPECT_EQ(folder, tmp + "/" + usual);
    }
    if (where == "other") {
      EXPECT_EQ(fs::path(folder).parent_path().string(), tmp);
      EXPECT_NE(folder, tmp + "/" + usual);
      EXPECT_EQ(folder.rfind(tmp + "/" + name + "-", 0), 0u);
    }
    EXPECT_EQ(PrivateFolder(), folder);  // the same on the next call
    // What was there before is left as it was.
    auto after = Snapshot(tmp);
    for (const auto& [item, what] : before) EXPECT_EQ(after[item], what) << item;
  }

  // No folder at all: a file where the temporary folder should be.
  unsetenv("XDG_RUNTIME_DIR");
  Write(root + "/not a folder", "x");
  setenv("TMPDIR", (root + "/not a folder").c_str(), 1);
  EXPECT_EQ(PrivateFolder(), "none");
}

}  // namespace
