#pragma once
// Private to the files library: an item's AppleDouble companion file
// ("._" + name), found beside it, read and written as a whole. Paths are
// native byte strings.
#include <string>

#include "framework/files/AppleDouble.h"

namespace fw::detail {

enum class CompanionState {
  Missing,     // no companion: no metadata
  Read,        // read (possibly with bad entries dropped)
  Corrupt,     // not an AppleDouble file: no metadata, may be replaced
  Unreadable,  // cannot be read (permissions, a folder, far too big): leave it alone
};

struct Companion {
  CompanionState state = CompanionState::Missing;
  AppleDouble content;
};

// The companion's path for an item; empty when the item cannot have one.
std::string CompanionPath(const std::string& itemPath);
Companion ReadCompanion(const std::string& itemPath);
// Replaces the companion as a whole (through a temporary file, flushed to
// the disk and renamed over it, so a failed write leaves the old one).
bool WriteCompanion(const std::string& itemPath, const AppleDouble& content);

}  // namespace fw::detail
