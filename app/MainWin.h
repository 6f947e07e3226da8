#pragma once
// The application's main window: place, forecast text, ten current values,
// the user's robot, the refresh, forecast and settings buttons, and the
// status line. The core reaches it through its face (View()), the rest of
// the program through Instance().
#include <array>
#include <string>

#include "core/Views.h"
#include "core/WeatherTable.h"
#include "framework/ui/NonVisual.h"
#include "framework/ui/SingleInstanceWindow.h"
#include "http/BasicHTTP.h"

class MainWin : public fw::SingleInstanceWindow<MainWin> {
 public:
  // The window's own HTTP client. It notes the kind of request it carries
  // (Globals::RequestType as it stands when Get is called, which the
  // request functions set just before), so that its page goes to the reader
  // of that kind whatever request is started while it runs. Redirections
  // and repeats with credentials keep the kind; a new Get replaces it.
  class HTTPClient : public BasicHTTP {
   public:
    void Get(const std::string& url) override;
    const std::string& RequestType() const { return requestType_; }

   private:
    std::string requestType_;
  };
  // The class of the control "HTTPSock".
  using HTTPSockControl = fw::NonVisual<HTTPClient>;

  // The window as the core sees it; each call reaches the window of the
  // moment through Instance().
  static Views::MainView& View();

  // The ten rows of current values, each a caption and a value after its
  // icon; and the label of each row that shows a value of today.
  static constexpr std::array<WeatherTable::MainRow, 10> kValueRows{
      WeatherTable::MainRow::Current,       WeatherTable::MainRow::High,    WeatherTable::MainRow::Low,
      WeatherTable::MainRow::Sunrise,       WeatherTable::MainRow::UVIndex, WeatherTable::MainRow::WindSpeed,
      WeatherTable::MainRow::Precipitation, WeatherTable::MainRow::Sunset,  WeatherTable::MainRow::FeelsLike,
      WeatherTable::MainRow::Humidity};
  static const char* ValueLabel(WeatherTable::MainRow row);

  // The one-line status text.
  void SetStatus(const std::string& text);
  // Runs the update-check thread.
  void RunUpdateCheck();

  // Puts the header strip's backdrop for the month (1-12) when the main
  // screen has more than 256 colours: October and December have their own,
  // every other month the first. Open calls it with the current month.
  void ShowBackdropForMonth(int month);

  // The robot's 0/1 chatter: Start shows it and flips it every 100 ms until
  // DigitInit ends it 3 s later; Stop ends it at once.
  void StartDigitAnimation();
  void StopDigitAnimation();

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
  void HTTPSock_GotHeaders(int code, const std::shared_ptr<HTTPHeaders>& headers, bool informational,
                           bool complete);
  void HTTPSock_DataProgress(double received, double total, double added);
  void DigitFlip_Action();
  void DigitInit_Action();
};
