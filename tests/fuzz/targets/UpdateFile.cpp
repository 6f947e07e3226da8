// The reader of the update file on the maker's web host, with everything it
// may show (download button, update-available window, server message) and
// the remote lock.
#include <cstddef>
#include <cstdint>
#include <string>

#include "CoreSetup.h"
#include "core/UpdateInfo.h"

namespace {

void FuzzOne(const std::uint8_t* data, std::size_t size) {
  fuzz::StartCore();
  fuzz::ClearBoxes();
  const std::string text(reinterpret_cast<const char*>(data), size);

  // Not the first result after start: no weather request follows.
  Globals::InitialUpdateCheckRun = true;
  Globals::AppLocked = false;
  Globals::RequestType = "UPDATE";
  Globals::ParseUpdateInfo(text);

  // Only the missing address key is ever worth a box here.
  for (const std::string& box : fuzz::Boxes()) {
    FUZZ_CHECK(box == "Update Error: Update URL key not found", "unexpected message box: " + box);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzOne(data, size);
  // After FuzzOne's objects are gone, so that what they queued runs too.
  fuzz::Settle();
  return 0;
}
