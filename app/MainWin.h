#pragma once
// The application's main window: place, forecast text, ten current values,
// the user's robot, the refresh, forecast and settings buttons, and the
// status line. Other code reaches it through Instance() and its controls by
// name ("Status", "ForecastLabel", "Digit", "UpdateCheckThread", ...).
#include <string>

#include "framework/ui/Window.h"
#include "http/BasicHTTP.h"

class MainWin : public fw::Window {
 public:
  // The class of the window's own HTTP client, the control "HTTPSock".
  using HTTPSockControl = fw::NonVisual<BasicHTTP>;

  // The one live main window, made when there is none.
  static MainWin& Instance() { return fw::ImplicitInstance<MainWin>(); }
  static bool IsLive() { return fw::HasLiveInstance<MainWin>(); }

  // Puts the header strip's backdrop for the month (1-12) when the main
  // screen has more than 256 colours: October and December have their own,
  // every other month the first. Open calls it with the current month.
  void ShowBackdropForMonth(int month);

  // Drops what the last closed main window showed (at quit): the next
  // window opens in the loading look.
  static void ForgetLastLook();

 protected:
  void Layout() override;
  void CreateControls() override;
  void Event_Open() override;
  void Event_Close() override;
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
  void HTTPSock_TCPError(int code);
  void HTTPSock_ProtocolError(int code, const std::shared_ptr<HTTPHeaders>& headers);
  void HTTPSock_ProgressChange(const std::string& message);
  void HTTPSock_PageReceived(const std::string& type, const std::string& content, bool viaGrab);
  void HTTPSock_OperationError(const std::string& message, bool flag);
  bool HTTPSock_HandleRedirection(const std::string& url);
  void HTTPSock_GotHeaders(int code, const std::shared_ptr<HTTPHeaders>& headers,
                           bool informational, bool complete);
  void HTTPSock_DataProgress(double received, double total, double added);
  void DigitFlip_Action();
  void DigitInit_Action();
};
