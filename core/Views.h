#pragma once
// What the core tells each window, and nothing more. The core declares one
// face per window here and speaks to the windows only through them; the
// windows' side implements them (app/ and windows/) and registers them at
// start, so the core includes nothing of theirs and control names stay
// inside their windows.
//
// Every call reaches its window through the window's accessor at the
// moment of the call: a window that is not live is made by it, exactly as
// using the window by its name would make it. A face keeps no window and
// no state of its own.
#include <string>
#include <vector>

namespace Views {

class MainView {
 public:
  virtual ~MainView() = default;

  // The loading look: the spinner turns, "Loading.." stands in place of
  // the forecast and a placeholder in every value label (true); or the
  // spinner stops and every text stays (false).
  virtual void ToggleLoadingStates(bool loading) = 0;
  // The values the reader shows after each reply as they are: forecast
  // sentence, UV index, wind direction, sunrise, sunset, chance of rain.
  virtual void ShowReading() = 0;
  // Today's temperatures, wind speed and humidity with their units.
  virtual void PopulateMainWindow() = 0;
  // The one-line status text.
  virtual void SetStatus(const std::string& text) = 0;
  // The short place name in the header.
  virtual void ShowPlace(const std::string& shortPlace) = 0;
  // The picture of Globals::UserRobot, here and in the about window.
  virtual void SetUserRobot() = 0;
  // A newer version is announced; the download button appears when there
  // is an address to download it from.
  virtual void ShowNewerVersion(bool downloadable) = 0;
  // The remote lock: first the forecast button goes; then the lock's
  // notice stands in place of the forecast, and refresh is disabled.
  virtual void DisableForecastButton() = 0;
  virtual void ShowLocked(const std::string& notice) = 0;
  // The robot's 0/1 chatter.
  virtual void StartDigitAnimation() = 0;
  virtual void StopDigitAnimation() = 0;
  // Runs the update-check thread, which requests the update file.
  virtual void RunUpdateCheck() = 0;
  // Hands a request to the window's own HTTP client, which ends its reply
  // itself.
  virtual void GetWithOwnClient(const std::string& url) = 0;
};

class ForecastView {
 public:
  virtual ~ForecastView() = default;
  // The seven days' values from WeatherValues.
  virtual void PopulateForecastWindow() = 0;
};

class SettingsView {
 public:
  virtual ~SettingsView() = default;
  // The three pop-up menus.
  enum class Choice { Temp, Speed, Robot };

  // The place field.
  virtual std::string Location() = 0;
  virtual void SetLocation(const std::string& text) = 0;
  // A pop-up's items in their order, the text of its selected item, and
  // its selection by index (-1 for none).
  virtual std::vector<std::string> Items(Choice choice) = 0;
  virtual std::string Chosen(Choice choice) = 0;
  virtual void Select(Choice choice, int index) = 0;
};

class DebugView {
 public:
  virtual ~DebugView() = default;
  // The reply text the window shows.
  virtual void ShowResponse(const std::string& text) = 0;
};

// The update-available window and the server-message window: each is shown
// first, then given its text.
class ChangeLogView {
 public:
  virtual ~ChangeLogView() = default;
  virtual void Show(const std::string& changeLog) = 0;
};

class ServerMessageView {
 public:
  virtual ~ServerMessageView() = default;
  virtual void Show(const std::string& message) = 0;
};

class MenuView {
 public:
  virtual ~MenuView() = default;
  // "7 Day Forecast" disabled until the menus are next prepared.
  virtual void DisableForecastItem() = 0;
};

// The faces in use; none is owned here.
struct Faces {
  MainView* main = nullptr;
  ForecastView* forecast = nullptr;
  SettingsView* settings = nullptr;
  DebugView* debug = nullptr;
  ChangeLogView* changeLog = nullptr;
  ServerMessageView* serverMessage = nullptr;
  MenuView* menu = nullptr;
};

// Puts faces in use, replacing all that were; Registered gives them back,
// so that a test can swap one face and restore the rest.
void Register(const Faces& faces);
const Faces& Registered();

// The face of each window. fw::NilObjectException when none is registered,
// as for a window that does not exist.
MainView& Main();
ForecastView& Forecast();
SettingsView& Settings();
DebugView& Debug();
ChangeLogView& ChangeLog();
ServerMessageView& ServerMessage();
MenuView& Menu();

}  // namespace Views
