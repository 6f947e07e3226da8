#pragma once
// Files and folders. Mac file type, creator, the invisible flag and the
// resource fork are kept the way Mac systems keep them on other file
// systems: in an AppleDouble companion file ("._" + name) beside the item.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "framework/files/ResourceFork.h"
#include "framework/files/TextInputStream.h"
#include "framework/files/TextOutputStream.h"

namespace fw {

// What writing a file does with a file that is a symbolic link.
enum class LinkHandling {
  WriteTarget,  // the link stays and the file it names gets the new text
  ReplaceLink,  // the link goes and a file takes its place; nothing is written through it
};

class FolderItem {
 public:
  FolderItem() = default;
  explicit FolderItem(std::string nativePath);

  // The item named `name` inside this folder; none when the name cannot
  // name an item (empty, ".", "..", or holding a "/" or a NUL byte).
  std::optional<FolderItem> Child(const std::string& name) const;
  std::optional<FolderItem> Parent() const;

  std::string Name() const;
  const std::string& NativePath() const { return path_; }

  bool Exists() const;
  bool IsFolder() const;
  // Deletes the file or the (empty) folder, and its companion file; false
  // when the item could not be deleted.
  bool Delete() const;
  bool CreateAsFolder() const;

  // Finder's invisible flag.
  bool Visible() const;
  void SetVisible(bool visible) const;
  // Four-character codes (bytes), cut or padded with spaces to four when
  // set; the empty text when none is set. Folders have none.
  std::string MacType() const;
  void SetMacType(const std::string& code) const;
  std::string MacCreator() const;
  void SetMacCreator(const std::string& code) const;

  // Length of the data fork in bytes; 0 for a missing item.
  std::int64_t Length() const;

  // None when the stream cannot be opened.
  std::unique_ptr<TextOutputStream> CreateTextFile() const;  // replaces an existing file
  std::unique_ptr<TextInputStream> OpenAsTextFile() const;
  std::unique_ptr<TextOutputStream> AppendToTextFile() const;  // creates a missing file
  std::unique_ptr<ResourceFork> OpenResourceFork() const;      // creates an empty fork when none

  // For a file that holds the user's data: like CreateTextFile, but the new
  // text takes the file's place only when the stream closes with every byte
  // written. It goes to a temporary file beside the file, is flushed to the
  // disk and renamed over it, so a crash, a kill or a full disk at any
  // moment leaves the whole old text or the whole new one. The file keeps
  // its permissions; a file the user may not write is not replaced. Only
  // where the folder cannot take a new file is the file rewritten in place.
  std::unique_ptr<TextOutputStream> ReplaceTextFile(LinkHandling links = LinkHandling::WriteTarget) const;

  // Opens the item with the application the system chooses for it.
  void Launch(bool activate = true) const;

 private:
  std::string path_;
};

// The user's preferences (configuration) folder and the temporary folder.
FolderItem PreferencesFolder();
FolderItem TemporaryFolder();
// A folder for temporary files that no other user can enter or prepare in
// advance: a real folder (never a link) owned by this user with mode 0700,
// in the session's runtime folder when there is one, else in the temporary
// folder. None when no such folder can be had.
std::optional<FolderItem> PrivateTemporaryFolder();

// Replaces what Launch does (tests record launches instead of opening
// them). An empty handler restores the real one.
using LaunchHandler = std::function<void(const FolderItem& item, bool activate)>;
void SetLaunchHandler(LaunchHandler handler);

}  // namespace fw
