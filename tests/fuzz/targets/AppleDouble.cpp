// The reader of AppleDouble companion files ("._" + name), which carry a
// file's type, creator, invisible flag and resource fork. The companion is
// read as bytes, written back, and used as the companion of a real file
// whose metadata is then read and changed: nothing readable may be lost.
// Input: the companion's bytes.
#include "framework/files/AppleDouble.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/files/FolderItem.h"
#include "framework/files/Resource.h"
#include "framework/files/ResourceFork.h"
#include "support/FuzzApp.h"

namespace {

namespace detail = fw::detail;

void WriteFile(const std::string& path, const std::string& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) fuzz::Fail("cannot write " + path);
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  if (std::fclose(file) != 0 || !written) fuzz::Fail("cannot write " + path);
}

void CheckRoundTrip(const std::string& bytes) {
  const std::optional<detail::AppleDouble> parsed = detail::ParseAppleDouble(bytes);
  if (!parsed) return;
  const std::optional<std::string> written = detail::SerializeAppleDouble(*parsed);
  FUZZ_CHECK(written.has_value(), "a companion that was read cannot be written back");
  const std::optional<detail::AppleDouble> again = detail::ParseAppleDouble(*written);
  FUZZ_CHECK(again.has_value(), "a companion written back cannot be read");
  FUZZ_CHECK(again->filler == parsed->filler, "the filler changed on the way back");
  FUZZ_CHECK(again->entries.size() == parsed->entries.size(), "entries lost or gained on the way back");
  for (const detail::AppleDoubleEntry& entry : parsed->entries) {
    const std::string* data = again->Find(entry.id);
    FUZZ_CHECK(data != nullptr && *data == entry.data,
               "entry " + std::to_string(entry.id) + " changed on the way back");
  }
}

bool SameResource(const fw::Resource& a, const fw::Resource& b) {
  return a.type == b.type && a.id == b.id && a.name == b.name && a.data == b.data;
}

// Every resource of before is in after, unless replaced on purpose.
void CheckKept(const std::vector<fw::Resource>& before, const fw::ResourceFork& after, const char* what,
               const fw::Resource* replaced = nullptr) {
  for (const fw::Resource& resource : before) {
    if (replaced && resource.type == replaced->type && resource.id == replaced->id) continue;
    bool found = false;
    for (const fw::Resource& kept : after.Resources()) found = found || SameResource(resource, kept);
    FUZZ_CHECK(found,
               std::string(what) + " lost resource " + resource.type + " " + std::to_string(resource.id));
  }
}

void FuzzOne(const std::uint8_t* data, std::size_t size) {
  fuzz::StartApp();
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  CheckRoundTrip(bytes);

  const std::string path = fuzz::ScratchFolder() + "/item";
  WriteFile(path, "data fork");
  WriteFile(fuzz::ScratchFolder() + "/._item", bytes);
  const fw::FolderItem item(path);

  // Reading must cope with anything.
  (void)item.MacType();
  (void)item.MacCreator();
  (void)item.Visible();
  std::vector<fw::Resource> resources;
  {
    const fw::ResourceFork fork(path);
    resources = fork.Resources();
    (void)fork.GetResource("TEXT", 128);
  }

  item.SetMacType("pref");
  item.SetMacCreator("LKSP");
  item.SetVisible(false);
  FUZZ_CHECK(item.MacType() == "pref", "type set, then read as \"" + item.MacType() + "\"");
  FUZZ_CHECK(item.MacCreator() == "LKSP", "creator set, then read as \"" + item.MacCreator() + "\"");
  FUZZ_CHECK(!item.Visible(), "made invisible, then read as visible");
  CheckKept(resources, fw::ResourceFork(path), "setting the Finder info");

  const fw::Resource added{"Ownr", 128, "Preferences", "Owner ID"};
  {
    fw::ResourceFork fork(path);
    fork.AddResource(added.data, added.type, added.id, added.name);
    FUZZ_CHECK(fork.Close(), "a resource fork could not be written");
  }
  const fw::ResourceFork reopened(path);
  const std::optional<fw::Resource> got = reopened.GetResource(added.type, added.id);
  FUZZ_CHECK(got && SameResource(*got, added), "an added resource was not read back");
  CheckKept(resources, reopened, "adding a resource", &added);
  FUZZ_CHECK(item.MacType() == "pref", "writing the fork lost the type");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzOne(data, size);
  // After FuzzOne's objects are gone, so that what they queued runs too.
  fuzz::Settle();
  return 0;
}
