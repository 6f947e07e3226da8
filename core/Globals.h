#pragma once
// The Globals module's shared state. Functions of the module are declared
// in the headers of the code that owns them.
#include <string>

namespace Globals {

// The user's settings, as stored in the preferences file.
extern std::string UserLocation;
extern std::string UserTempUnit;   // "Celsius" or "Fahrenheit"
extern std::string UserSpeedUnit;  // "km/h" or "mph"
extern std::string UserRobot;

// Request state: the kind of the request last started ("WEATHER" or
// "UPDATE") and the body of the last good reply, line ends turned into CR.
extern std::string RequestType;
extern std::string RawResponse;
extern std::string CurrentURL;

// Update information.
extern std::string AppUpdateURL;
extern std::string ChangeLogData;
extern std::string ServerMessage;

// Line ends, set at start.
extern std::string CR;
extern std::string LF;
extern std::string CRLF;

// Flags, all false at start.
extern bool ForecastWinOpen;
extern bool DebugWInOpen;
extern bool InitialUpdateCheckRun;
extern bool AppLocked;
extern bool DebugMode;

// Empties the strings and clears the flags (at quit, and for a fresh start).
void Release();

}  // namespace Globals
