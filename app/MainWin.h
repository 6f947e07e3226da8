#pragma once
// The application's main window: place, forecast text, ten current values,
// the user's robot, the refresh, forecast and settings buttons, and the
// status line. Other code reaches it through Instance() and its controls by
// name ("Status", "ForecastLabel", "Digit", "UpdateCheckThread", ...).
#include <string>

#include "framework/ui/Window.h"

class MainWin : public fw::Window {
 public:
  // The one live main window, made when there is none.
  static MainWin& Instance() { return fw::ImplicitInstance<MainWin>(); }
  static bool IsLive() { return fw::HasLiveInstance<MainWin>(); }

  // Puts the header strip's backdrop for the month (1-12) when the main
  // screen has more than 256 colours: October and December have their own,
  // every other month the first. Open calls it with the current month.
  void ShowBackdropForMonth(int month);

 protected:
  void Layout() override;
  void CreateControls() override;
  void Event_Open() override;
  bool Event_KeyDown(const std::string& key) override;

 private:
  void RefreshButton_Action();
  void PushButton1_Action();
  bool RobotIcon_MouseDown(int x, int y);
  void ForecastButton_Action();
  bool StaticText3_MouseDown(int x, int y);
  void DownloadUpdateButton_Action();
  void UpdateCheckTimer_Action();
  void UpdateCheckThread_Run();
  void DigitFlip_Action();
  void DigitInit_Action();
};
