#pragma once
// Puts state into the main window: its loading look, the current weather
// values and the user's robot. Each reaches the window through its accessor
// (making it when none is live) and its controls by name.

namespace Globals {

// True: the spinner turns, "Loading.." and a placeholder in every value
// label. False: only the spinner goes; the labels keep their texts until a
// reply fills them.
void ToggleLoadingStates(bool loading);

// Writes the temperatures, wind speed and humidity from WeatherValues,
// each followed by its unit.
void PopulateMainWindow();

// Shows the picture of Globals::UserRobot on the main window's robot; an
// unknown or empty name shows the application's icon.
void SetUserRobot();

}  // namespace Globals
