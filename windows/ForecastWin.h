#pragma once
// The seven-day forecast: one row a day with the weekday, the high and the
// low, humidity and chance of rain, each after its icon, and the forecast
// text under them. windows/ForecastFilling.h fills it.
#include <string>

#include "core/Views.h"
#include "core/WeatherTable.h"
#include "framework/ui/SingleInstanceWindow.h"

class ForecastWin : public fw::SingleInstanceWindow<ForecastWin> {
 public:
  // The window as the core sees it; each call reaches the window of the
  // moment through Instance().
  static Views::ForecastView& View();

  // The label that shows a column's value on a day (1 to 7): "Max3" is the
  // third day's high.
  static std::string ValueLabel(WeatherTable::Column column, int day);

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
