#pragma once
// Puts state into the main window: its loading look, the current weather
// values and the user's robot; and hides the secondary windows. Each reaches
// its windows through their accessors (making one when none is live) and
// the controls by name.

namespace Globals {

// True: the spinner turns, "Loading.." and a placeholder in every value
// label. False: only the spinner goes; the labels keep their texts until a
// reply fills them.
void ToggleLoadingStates(bool loading);

// Writes the forecast sentence, UV index, wind direction (as a compass
// point), sunrise, sunset and chance of rain from WeatherValues: the labels
// the weather reader fills after each reply, which a change of units in the
// settings leaves alone.
void ShowReading();

// Writes the temperatures, wind speed and humidity from WeatherValues,
// each followed by its unit.
void PopulateMainWindow();

// Shows the picture of Globals::UserRobot on the main window's and the
// about window's robot; an unknown or empty name shows the application's
// icon. The about window ends hidden, even when it was open.
void SetUserRobot();

// Hides the debug, settings, forecast and about windows (making any that
// is not live). Globals::ForecastWinOpen stays as it is: a hidden forecast
// window goes on being refilled.
void WindowsHide();

}  // namespace Globals
