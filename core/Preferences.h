#pragma once
// The user's four settings (place, temperature unit, speed unit, robot):
// the preferences file "Breezeling" in the Preferences folder, the hidden
// application data folder beside it, and the copying of the settings into
// the settings window and the main window's place label.
#include <string>
#include <vector>

namespace Globals {

// The place shown until the user names one.
inline constexpr char kDefaultLocation[] = "Naseby, Otago, New Zealand";

// Makes the invisible folder "BZL Data" with its subfolder "Temp Data" in
// the Preferences folder, or repairs it (missing subfolder, visible).
void CreateAppDataDirectories();

// Reads the preferences file into UserLocation, UserTempUnit,
// UserSpeedUnit and UserRobot, or creates it (four keys with empty values,
// type "pref", creator "LKSP", an "Ownr" 128 resource) when it is missing.
// A setting the file lacks keeps its value. The file holds alternating key
// and value lines; the first 101 pairs are read and the rest is ignored.
// A file that cannot be read or made is reported and left alone.
void CreatePreferencesFile();

// The first index from 0 through lastIndex whose element equals key
// (letter case ignored); -1 when none does. Indexes past the end of the
// list are not searched.
int FindIndex(const std::vector<std::string>& list, const std::string& key, int lastIndex);

// Takes the settings window's place and units into the settings and
// replaces the preferences file with its four fields, so that a save cut
// short leaves the old file whole. A missing file is reported and not made
// again (that happens at the next start).
void UpdatePreferences();

// Gives every empty or short setting its default (the default place, the
// first item of each pop-up), puts the settings into the settings window's
// fields, the short place name into the main window and shows the robot.
void SetDefaultPrefs();

// The place name up to its first comma, or else up to its first space:
// "Naseby, Otago, New Zealand" gives "Naseby".
std::string StripCurrentLocation(const std::string& s);

}  // namespace Globals
