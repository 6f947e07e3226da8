#include "core/Preferences.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>

#include "core/Globals.h"
#include "core/Views.h"
#include "framework/files/FolderItem.h"
#include "framework/text/Text.h"
#include "framework/ui/MsgBox.h"

namespace Globals {

namespace {

// Both lists have room for this many pairs; pairs after them are not read.
// The writers put the four keys first, so a longer file loses none of them.
constexpr int kMaxPairs = 101;

constexpr std::array<const char*, 4> kKeys = {"userLocation", "userTempUnit", "userSpeedUnit", "userRobot"};

std::optional<fw::FolderItem> PreferencesFile() { return fw::PreferencesFolder().Child("Breezeling"); }

void StampAsPreferences(const fw::FolderItem& file) {
  file.SetMacType("pref");
  file.SetMacCreator("LKSP");
}

// A value is one line of the file: a line break inside it would shift
// every later pair, so it is written as a space.
std::string OneLine(std::string value) {
  std::replace_if(
      value.begin(), value.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  return value;
}

using Choice = Views::SettingsView::Choice;

// Selects the pop-up item that equals the setting, or none; a setting of
// two characters or fewer takes the first item instead.
void ShowSetting(Views::SettingsView& settings, Choice choice, std::string& setting) {
  if (fw::Len(setting) > 2) {
    const std::vector<std::string> items = settings.Items(choice);
    int match = -1;
    for (std::size_t i = 0; i < items.size(); ++i) {
      if (fw::StrEq(items[i], setting)) {
        match = static_cast<int>(i);
        break;
      }
    }
    settings.Select(choice, match);
  } else {
    settings.Select(choice, 0);
    setting = settings.Chosen(choice);
  }
}

}  // namespace

void CreateAppDataDirectories() {
  const std::optional<fw::FolderItem> data = fw::PreferencesFolder().Child("BZL Data");
  if (!data) return;
  const std::optional<fw::FolderItem> temp = data->Child("Temp Data");
  if (data->Exists()) {
    if (temp && !temp->Exists()) temp->CreateAsFolder();
    if (data->Visible()) data->SetVisible(false);
  } else {
    data->CreateAsFolder();
    data->SetVisible(false);
    if (temp) temp->CreateAsFolder();
  }
}

void CreatePreferencesFile() {
  std::vector<std::string> keys(kMaxPairs), values(kMaxPairs);
  int n = 0;

  const std::optional<fw::FolderItem> file = PreferencesFile();
  if (!file) return;

  if (file->Exists()) {
    const auto in = file->OpenAsTextFile();
    if (!in) {
      // Left as it is: the settings take their defaults for this run.
      fw::MsgBox("Preference file could not be read.");
      return;
    }
    while (!in->Eof() && n < kMaxPairs) {
      const auto at = static_cast<std::size_t>(n);
      keys[at] = in->ReadLine();
      values[at] = in->ReadLine();  // the empty text after a last key line
      ++n;
    }
    in->Close();
    // A file that carries either code of ours keeps the other as it is.
    if (!fw::StrEq(file->MacType(), "pref") && !fw::StrEq(file->MacCreator(), "LKSP")) {
      StampAsPreferences(*file);
    }
  } else {
    const auto out = file->CreateTextFile();
    if (!out) {
      fw::MsgBox("Preference file could not be created.");
      return;
    }
    for (const char* key : kKeys) {
      out->WriteLine(key);
      out->WriteLine("");
    }
    if (!out->Close()) {
      fw::MsgBox("Preference file could not be created.");
      return;
    }
    StampAsPreferences(*file);
    const auto fork = file->OpenResourceFork();
    if (!fork) return;
    fork->AddResource("Preferences", "Ownr", 128, "Owner ID");
    fork->Close();
    // A new file holds no values: the settings stay as they are.
  }

  std::array<std::string*, 4> settings = {&UserLocation, &UserTempUnit, &UserSpeedUnit, &UserRobot};
  for (std::size_t k = 0; k < kKeys.size(); ++k) {
    // Index n is the empty entry after the last pair read (none after 101).
    const int i = FindIndex(keys, kKeys[k], n);
    if (i != -1) *settings[k] = values[static_cast<std::size_t>(i)];
  }
}

int FindIndex(const std::vector<std::string>& list, const std::string& key, int lastIndex) {
  const int last = std::min(lastIndex, static_cast<int>(list.size()) - 1);
  for (int i = 0; i <= last; ++i) {
    if (fw::StrEq(list[static_cast<std::size_t>(i)], key)) return i;
  }
  return -1;
}

void UpdatePreferences() {
  Views::SettingsView& settings = Views::Settings();
  UserLocation = settings.Location();
  UserTempUnit = settings.Chosen(Choice::Temp);
  UserSpeedUnit = settings.Chosen(Choice::Speed);

  const std::optional<fw::FolderItem> file = PreferencesFile();
  if (!file || !file->Exists()) {
    fw::MsgBox("Preference file not found. Please restart the application.");
    return;
  }
  // Never rewritten in place: a crash or a full disk on the way would leave
  // the user with a broken file and none of the settings.
  const auto out = file->ReplaceTextFile();
  bool written = out != nullptr;
  if (out) {
    const std::array<std::string, 4> fields = {settings.Location(), settings.Chosen(Choice::Temp),
                                               settings.Chosen(Choice::Speed),
                                               settings.Chosen(Choice::Robot)};
    for (std::size_t k = 0; k < kKeys.size(); ++k) {
      written = out->WriteLine(kKeys[k]) && out->WriteLine(OneLine(fields[k])) && written;
    }
    written = out->Close() && written;
  }
  if (!written) {
    fw::MsgBox("Preference file could not be saved.");
    return;
  }
  StampAsPreferences(*file);
}

void SetDefaultPrefs() {
  Views::SettingsView& settings = Views::Settings();
  if (fw::Len(UserLocation) > 2) {
    settings.SetLocation(UserLocation);
  } else {
    settings.SetLocation(kDefaultLocation);
    UserLocation = settings.Location();
  }

  Views::Main().ShowPlace(StripCurrentLocation(UserLocation));

  ShowSetting(settings, Choice::Temp, UserTempUnit);
  ShowSetting(settings, Choice::Speed, UserSpeedUnit);
  ShowSetting(settings, Choice::Robot, UserRobot);

  Views::Main().SetUserRobot();
}

std::string StripCurrentLocation(const std::string& s) {
  int p = fw::InStr(s, ",");
  if (p == 0) p = fw::InStr(s, " ");
  return p == 0 ? s : fw::Left(s, p - 1);
}

}  // namespace Globals
