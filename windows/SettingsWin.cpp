#include "windows/SettingsWin.h"

#include <string>
#include <vector>

#include "app/MainWin.h"
#include "app/MainWindowFilling.h"
#include "app/Pictures.h"
#include "core/Globals.h"
#include "core/Hosts.h"
#include "core/Preferences.h"
#include "core/Units.h"
#include "core/Weather.h"
#include "core/WeatherValues.h"
#include "framework/text/Text.h"
#include "framework/ui/Canvas.h"
#include "framework/ui/Design.h"
#include "framework/ui/EditField.h"
#include "framework/ui/Placard.h"
#include "framework/ui/PopupMenu.h"
#include "framework/ui/PushButton.h"
#include "framework/ui/Separator.h"
#include "framework/ui/ShowURL.h"
#include "framework/ui/StaticText.h"
#include "windows/ForecastFilling.h"

namespace {

using fw::Canvas;
using fw::EditField;
using fw::Placard;
using fw::PopupMenu;
using fw::PushButton;
using fw::Separator;
using fw::StaticText;
using layout::Set;

constexpr int kLabel = 12;  // pixel sizes of the labels and of the tiles' captions
constexpr int kTile = 9;
constexpr std::uint32_t kLinkColour = 0x070FFF;

class SettingsWinView final : public Views::SettingsView {
 public:
  std::string Location() override { return Field().Text(); }
  void SetLocation(const std::string& text) override { Field().SetText(text); }
  std::vector<std::string> Items(Choice choice) override {
    PopupMenu& popup = Popup(choice);
    std::vector<std::string> items;
    for (int i = 0; i < popup.ListCount(); ++i) items.push_back(popup.List(i));
    return items;
  }
  std::string Chosen(Choice choice) override { return Popup(choice).Text(); }
  void Select(Choice choice, int index) override { Popup(choice).SetListIndex(index); }

 private:
  static EditField& Field() { return SettingsWin::Instance().Ctl<EditField>("Location"); }
  static PopupMenu& Popup(Choice choice) {
    const char* name = choice == Choice::Temp ? "Temp" : choice == Choice::Speed ? "Speed" : "Robot";
    return SettingsWin::Instance().Ctl<PopupMenu>(name);
  }
};

void OpenProductPage(const std::string& product) { fw::ShowURL(Hosts::ProductURL(product)); }

}  // namespace

Views::SettingsView& SettingsWin::View() {
  static SettingsWinView view;
  return view;
}

void SettingsWin::Layout() {
  Apply({.title = "Settings",
         .width = 300,
         .height = 276,
         .frame = 0,
         .placement = 2,
         .resizeable = false,
         .closeButton = true,
         .minimizeButton = false,
         .maximizeButton = false,
         .hasBackColor = false,
         .backColor = 0x000000});
}

void SettingsWin::CreateControls() {
  // name, left, top, width, height, then the design-time settings, in
  // creation order. A pop-up gets its rows before its Change handler, so
  // that making it raises nothing.
  Set(Add<EditField>("Location", 90, 12, 190, 22)).Font("System", kLabel).Text(Globals::kDefaultLocation);
  Set(Add<StaticText>("StaticText2", 6, 14, 73, 20)).Font("System", kLabel).Text("Location:");
  Set(Add<StaticText>("StaticText3", 6, 46, 69, 20)).Font("System", kLabel).Text("Temp Unit:");
  Set(Add<PopupMenu>("Temp", 90, 46, 114, 20)).Font("System", kLabel).Rows({"Celsius", "Fahrenheit"}, 0);
  Set(Add<StaticText>("StaticText1", 6, 78, 73, 20)).Font("System", kLabel).Text("Speed Unit:");
  Set(Add<PopupMenu>("Speed", 90, 79, 114, 20)).Font("System", kLabel).Rows({"km/h", "mph"}, 0);
  Add<Separator>("Separator1", 6, 142, 288, 4);
  Set(Add<StaticText>("StaticText4", 6, 150, 198, 20)).Font("System", kLabel).Text("More from Larkspire SW:");
  Set(Add<Canvas>("Canvas1", 68, 170, 32, 32))
      .Backdrop(Pictures::Sagewick())
      .OnMouseDown([this](int x, int y) { return Canvas1_MouseDown(x, y); });
  Set(Add<StaticText>("StaticText5", 64, 204, 42, 20))
      .Font("System", kTile)
      .Color(kLinkColour)
      .Text("Sagewick")
      .OnMouseDown([this](int x, int y) { return StaticText5_MouseDown(x, y); });
  Add<Placard>("Placard1", -1, 229, 302, 48);
  Set(Add<PushButton>("PushButton1", 220, 243, 69, 20))
      .Font("System", kLabel)
      .Caption("Save")
      .Default()
      .OnAction([this] { PushButton1_Action(); });
  Set(Add<PushButton>("PushButton2", 139, 243, 69, 20))
      .Font("System", kLabel)
      .Caption("Cancel")
      .Cancel()
      .OnAction([this] { PushButton2_Action(); });
  Set(Add<StaticText>("StaticText6", 44, 111, 43, 20)).Font("System", kLabel).Text("Robot:");
  Set(Add<PopupMenu>("Robot", 90, 111, 114, 20))
      .Font("System", kLabel)
      .Rows({"Rivet", "Cogwheel", "Q-7", "Boltro", "Blorpo", "Gadget", "Abacus", "Wrenchy", "Tinker",
             "Sprocket", "Gizmo"},
            0)
      .OnChange([this] { Robot_Change(); });
  Set(Add<StaticText>("StaticText7", 118, 204, 163, 20)).Font("System", kTile).Text("Nookpals (coming soon)");
  Set(Add<Canvas>("Canvas2", 121, 170, 32, 32)).Backdrop(Pictures::Nookpals());
  Add<Canvas>("RobotPreview", 6, 104, 32, 32);
  Set(Add<Canvas>("Canvas3", 12, 170, 32, 32))
      .Backdrop(Pictures::Funcrate())
      .OnMouseDown([this](int x, int y) { return Canvas3_MouseDown(x, y); });
  Set(Add<StaticText>("StaticText8", 8, 204, 44, 20))
      .Font("System", kTile)
      .Color(kLinkColour)
      .Text("Funcrate")
      .OnMouseDown([this](int x, int y) { return StaticText8_MouseDown(x, y); });
}

void SettingsWin::Event_Open() { UpdateRobotPreview(); }

bool SettingsWin::Event_KeyDown(const std::string& key) {
  if (IsCloseKey(key)) Close();
  return false;
}

void SettingsWin::UpdateRobotPreview() {
  if (fw::PicturePtr picture = Pictures::RobotPicture(Ctl<PopupMenu>("Robot").Text()))
    Ctl<Canvas>("RobotPreview").SetBackdrop(picture);
}

bool SettingsWin::Canvas1_MouseDown(int, int) {
  OpenProductPage("sagewick");
  return false;
}

bool SettingsWin::StaticText5_MouseDown(int, int) {
  OpenProductPage("sagewick");
  return false;
}

bool SettingsWin::Canvas3_MouseDown(int, int) {
  OpenProductPage("funcrate");
  return false;
}

bool SettingsWin::StaticText8_MouseDown(int, int) {
  OpenProductPage("funcrate");
  return false;
}

void SettingsWin::Robot_Change() { UpdateRobotPreview(); }

// Cancel drops the edits with the window; the saved settings stay.
void SettingsWin::PushButton2_Action() { Close(); }

// Save. Every control is read afresh where it is used: the calls in
// between may have changed it.
void SettingsWin::PushButton1_Action() {
  if (!MainWin::IsLive()) BringBackMainWindow();
  // A line break or other control character pasted into the place would
  // reach the request and the preferences file; it goes before anything
  // reads the field.
  auto& place = Ctl<EditField>("Location");
  place.SetText(Globals::WithoutControlCharacters(place.Text()));

  ApplyTempUnit();
  ApplySpeedUnit();

  if (!fw::StrEq(Globals::UserRobot, Ctl<PopupMenu>("Robot").Text())) {
    Globals::UserRobot = Ctl<PopupMenu>("Robot").Text();
    Globals::SetUserRobot();
  }

  RefillWindows();

  // A changed place is fetched at once, however short; a place too short to
  // name anything is then replaced by the default for the next time.
  if (!fw::StrEq(Ctl<EditField>("Location").Text(), Globals::UserLocation)) {
    Globals::UserLocation = Ctl<EditField>("Location").Text();
    Globals::GetForecast();
  }
  if (fw::Len(Ctl<EditField>("Location").Text()) < 2) {
    Globals::UserLocation = Globals::kDefaultLocation;
    Ctl<EditField>("Location").SetText(Globals::kDefaultLocation);
  }

  Globals::UpdatePreferences();
  Globals::SetDefaultPrefs();
  Globals::WindowsHide();
}

void SettingsWin::BringBackMainWindow() {
  // A new main window puts the saved settings into these fields as it
  // opens. Made in the middle of Save, it would undo the user's choices
  // half-way (a unit converted but not kept, a new place never fetched), so
  // it is made first and the choices are put back.
  const std::string location = Ctl<EditField>("Location").Text();
  const int temp = Ctl<PopupMenu>("Temp").ListIndex();
  const int speed = Ctl<PopupMenu>("Speed").ListIndex();
  const int robot = Ctl<PopupMenu>("Robot").ListIndex();
  MainWin::Instance();
  Ctl<EditField>("Location").SetText(location);
  Ctl<PopupMenu>("Temp").SetListIndex(temp);
  Ctl<PopupMenu>("Speed").SetListIndex(speed);
  Ctl<PopupMenu>("Robot").SetListIndex(robot);
}

void SettingsWin::ApplyTempUnit() {
  if (fw::StrEq(Globals::UserTempUnit, Ctl<PopupMenu>("Temp").Text())) return;
  // The unit letter says what the values on hand are in. Before any reply
  // has been converted, or with a stored unit that is neither of the two,
  // they may already be in the chosen unit: converting them again would
  // show wrong numbers.
  const bool inFahrenheit = fw::StrEq(WeatherValues::UnitTemp, "F");
  if (fw::StrEq(Ctl<PopupMenu>("Temp").Text(), "Fahrenheit")) {
    if (!inFahrenheit) Globals::ConvertTemps();
  } else if (inFahrenheit) {
    Globals::ConvertTempsMetric();
  }
  Globals::UserTempUnit = Ctl<PopupMenu>("Temp").Text();
}

void SettingsWin::ApplySpeedUnit() {
  if (fw::StrEq(Globals::UserSpeedUnit, Ctl<PopupMenu>("Speed").Text())) return;
  const bool inMph = fw::StrEq(WeatherValues::UnitSpeed, "mph");
  if (fw::StrEq(Ctl<PopupMenu>("Speed").Text(), "mph")) {
    if (!inMph) Globals::ConvertSpeeds();
  } else if (inMph) {
    Globals::ConvertSpeedsMetric();
  }
  RefillWindows();
  Globals::UserSpeedUnit = Ctl<PopupMenu>("Speed").Text();
}

void SettingsWin::RefillWindows() {
  Globals::PopulateMainWindow();
  if (Globals::ForecastWinOpen) Globals::PopulateForecastWindow();
}
