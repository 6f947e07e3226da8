#pragma once
// Private to the files library: new bytes for a file that take its place
// only once they are all on the disk. They are written to a temporary file
// beside it, flushed to the disk and renamed over it, so that a crash, a
// kill or a full disk at any moment leaves either the old file or the new
// one, never a mix or an empty file.
#include <cstdio>
#include <memory>
#include <string>

#include "framework/files/FolderItem.h"

namespace fw::detail {

class Replacement {
 public:
  // None when the file cannot be replaced: its folder is missing, it is not
  // a plain file (a folder, a pipe, a device), it is a file the user may
  // not write, or links loop. Where the folder cannot take a new file but
  // the file itself can be written, the bytes go into the file itself
  // (written over, then cut to length) as the only way left to save.
  static std::unique_ptr<Replacement> Begin(const std::string& path, LinkHandling links);
  ~Replacement();  // without Commit: the old file stays as it is
  Replacement(const Replacement&) = delete;
  Replacement& operator=(const Replacement&) = delete;

  std::FILE* File() const { return file_; }
  // Puts the written bytes in the file's place; false (and the old file
  // left whole) when any step fails.
  bool Commit();
  // Drops the written bytes.
  void Abandon();

  // Where the bytes end up (the link's target when links are followed), and
  // whether they are written into it directly.
  const std::string& Target() const { return target_; }
  bool InPlace() const { return temp_.empty(); }

 private:
  Replacement() = default;
  void Close();

  std::string target_;
  std::string temp_;    // empty when writing in place
  int inPlaceFd_ = -1;  // the file itself, written only at Commit
  std::FILE* file_ = nullptr;
  // Where an in-place stream gathers its bytes until Commit.
  char* buffer_ = nullptr;
  std::size_t bufferSize_ = 0;
};

// The bytes of a whole file, replaced as above (links replaced).
bool ReplaceFile(const std::string& path, const std::string& bytes);

}  // namespace fw::detail
