// The reader of the preferences file, with the settings it read put into
// the settings window and the main window; then the settings are saved and
// read back, which must give them again. Input: the file's bytes.
#include "core/Preferences.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "CoreSetup.h"
#include "framework/files/FolderItem.h"
#include "framework/ui/PopupMenu.h"
#include "windows/SettingsWin.h"

namespace {

struct Settings {
  std::string location, temp, speed, robot;
};

Settings Current() {
  return {Globals::UserLocation, Globals::UserTempUnit, Globals::UserSpeedUnit, Globals::UserRobot};
}

void Forget() {
  Globals::UserLocation.clear();
  Globals::UserTempUnit.clear();
  Globals::UserSpeedUnit.clear();
  Globals::UserRobot.clear();
}

void FuzzOne(const std::uint8_t* data, std::size_t size) {
  fuzz::StartCore();
  fuzz::ClearBoxes();

  const std::string folder = fw::PreferencesFolder().NativePath();
  const std::string path = folder + "/Breezeling";
  std::remove((folder + "/._Breezeling").c_str());
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) fuzz::Fail("cannot write " + path);
  const bool written = std::fwrite(data, 1, size, file) == size;
  if (std::fclose(file) != 0 || !written) fuzz::Fail("cannot write " + path);

  Forget();
  Globals::CreatePreferencesFile();
  Globals::SetDefaultPrefs();
  FUZZ_CHECK(fuzz::Boxes().empty(), "a readable preferences file was reported: " + fuzz::Boxes().front());

  Globals::UpdatePreferences();
  FUZZ_CHECK(fuzz::Boxes().empty(), "saving the preferences failed: " + fuzz::Boxes().front());
  Settings saved = Current();
  saved.robot = SettingsWin::Instance().Ctl<fw::PopupMenu>("Robot").Text();

  Forget();
  Globals::CreatePreferencesFile();
  const Settings read = Current();
  FUZZ_CHECK(read.location == saved.location,
             "place read back as \"" + read.location + "\", saved \"" + saved.location + "\"");
  FUZZ_CHECK(read.temp == saved.temp, "temperature unit read back as \"" + read.temp + "\"");
  FUZZ_CHECK(read.speed == saved.speed, "speed unit read back as \"" + read.speed + "\"");
  FUZZ_CHECK(read.robot == saved.robot, "robot read back as \"" + read.robot + "\"");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzOne(data, size);
  // After FuzzOne's objects are gone, so that what they queued runs too.
  fuzz::Settle();
  return 0;
}
