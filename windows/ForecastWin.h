#pragma once
// The seven-day forecast: one row a day with the weekday, the high and the
// low, humidity and chance of rain, each after its icon, and the forecast
// text under them. windows/ForecastFilling.h fills it; other code reaches
// the labels by name ("Fore1".."Fore7", "Pre1", "Hum1", "Max1", "Min1", ...,
// "DayLabel1".."DayLabel7").
#include <string>

#include "framework/ui/Window.h"

class ForecastWin : public fw::Window {
 public:
  // The one live forecast window, made when there is none.
  static ForecastWin& Instance() { return fw::ImplicitInstance<ForecastWin>(); }
  static bool IsLive() { return fw::HasLiveInstance<ForecastWin>(); }

  // Names rows 2 to 7 after the six days that follow a day of the given
  // weekday (1 = Sunday ... 7 = Saturday); row 1 always reads "Today".
  // Any other number counts on round the week the same way.
  void ShowDayNamesAfter(int weekday);

 protected:
  void Layout() override;
  void CreateControls() override;
  void Event_Close() override;
  bool Event_KeyDown(const std::string& key) override;
};
