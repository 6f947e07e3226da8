#pragma once
// Fills the forecast window. Both reach it through its accessor, so a call
// while none is live makes one (and shows it).

namespace Globals {

// Writes the 35 value labels from WeatherValues as they stand: the forecast
// text, humidity and chance of rain with "%", high and low with a blank,
// the degree sign and WeatherValues::UnitTemp. An empty value leaves its
// suffix alone in the label.
void PopulateForecastWindow();

// Names rows 2 to 7 after the six days that follow today.
void SetDayNames();

}  // namespace Globals
