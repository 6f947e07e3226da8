#pragma once
// The settings: the place, the temperature and speed units and the robot,
// applied all at once by Save, and links to two of the maker's other
// products. The window keeps no state of its own: the saved settings live
// in Globals (UserLocation, UserTempUnit, UserSpeedUnit, UserRobot), and
// the core reads and sets the place and the three choices through the
// window's face.
#include <string>

#include "core/Views.h"
#include "framework/ui/SingleInstanceWindow.h"

class SettingsWin : public fw::SingleInstanceWindow<SettingsWin> {
 public:
  // The window as the core sees it; each call reaches the window of the
  // moment through Instance().
  static Views::SettingsView& View();

  // Shows the picture of the robot chosen in "Robot"; a name that is no
  // robot's leaves the preview as it was.
  void UpdateRobotPreview();

 protected:
  void Layout() override;
  void CreateControls() override;
  void Event_Open() override;
  bool Event_KeyDown(const std::string& key) override;

 private:
  bool Canvas1_MouseDown(int x, int y);
  bool StaticText5_MouseDown(int x, int y);
  void PushButton1_Action();
  void PushButton2_Action();
  void Robot_Change();
  bool Canvas3_MouseDown(int x, int y);
  bool StaticText8_MouseDown(int x, int y);

  // Makes the main window again (after the user closed it) without losing
  // the choices made here.
  void BringBackMainWindow();
  // Converts the weather values on hand when a unit changed.
  void ApplyTempUnit();
  void ApplySpeedUnit();
  // The main window, and the forecast window while it is in use.
  void RefillWindows();
};
