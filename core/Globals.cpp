#include "core/Globals.h"

namespace Globals {

std::string UserLocation;
std::string UserTempUnit;
std::string UserSpeedUnit;
std::string UserRobot;
std::string RequestType;
std::string RawResponse;
std::string CurrentURL;
std::string AppUpdateURL;
std::string ChangeLogData;
std::string ServerMessage;
std::string CR;
std::string LF;
std::string CRLF;
bool ForecastWinOpen = false;
bool DebugWInOpen = false;
bool InitialUpdateCheckRun = false;
bool AppLocked = false;
bool DebugMode = false;

void Release() {
  for (std::string* s : {&UserLocation, &UserTempUnit, &UserSpeedUnit, &UserRobot, &RequestType, &RawResponse,
                         &CurrentURL, &AppUpdateURL, &ChangeLogData, &ServerMessage, &CR, &LF, &CRLF}) {
    s->clear();
  }
  ForecastWinOpen = DebugWInOpen = InitialUpdateCheckRun = AppLocked = DebugMode = false;
}

}  // namespace Globals
