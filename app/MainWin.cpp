#include "app/MainWin.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/MainWindowFilling.h"
#include "app/Menu.h"
#include "app/Pictures.h"
#include "core/Globals.h"
#include "core/LinkOpener.h"
#include "core/Preferences.h"
#include "core/Transport.h"
#include "core/UpdateInfo.h"
#include "core/Weather.h"
#include "framework/text/Date.h"
#include "framework/text/Exceptions.h"
#include "framework/text/Text.h"
#include "framework/ui/BevelButton.h"
#include "framework/ui/Canvas.h"
#include "framework/ui/ChasingArrows.h"
#include "framework/ui/Design.h"
#include "framework/ui/Keyboard.h"
#include "framework/ui/ProgressBar.h"
#include "framework/ui/PushButton.h"
#include "framework/ui/Screen.h"
#include "framework/ui/Separator.h"
#include "framework/ui/ShowURL.h"
#include "framework/ui/StaticText.h"
#include "framework/ui/TextStyle.h"
#include "framework/ui/Thread.h"
#include "framework/ui/Timer.h"
#include "windows/AboutWindow.h"
#include "windows/DebugWin.h"
#include "windows/ForecastFilling.h"
#include "windows/ForecastWin.h"
#include "windows/SettingsWin.h"

namespace {

using fw::Align;
using fw::BevelButton;
using fw::Canvas;
using fw::ChasingArrows;
using fw::ProgressBar;
using fw::PushButton;
using fw::Separator;
using fw::StaticText;
using fw::Thread;
using fw::Timer;
using layout::Set;

constexpr int kCaption = 9;  // pixel size of the captions
constexpr int kValue = 12;   // pixel size of the values

// The robot's 0/1 chatter, picked at random every 100 ms.
constexpr std::array<const char*, 12> kDigitPatterns{"001010", "011001", "101000", "100011",
                                                     "000110", "110010", "101001", "000000",
                                                     "000100", "100000", "001010", "110100"};
constexpr const char* kDigitPatternOutOfRange = "011011";

using WeatherTable::MainRow;

// The picture beside the value of a row.
fw::PicturePtr IconOf(MainRow row) { return Pictures::ForIcon(WeatherTable::At(row).icon); }

// The main window as the core sees it.
class MainWinView final : public Views::MainView {
 public:
  void ToggleLoadingStates(bool loading) override { Globals::ToggleLoadingStates(loading); }
  void ShowReading() override { Globals::ShowReading(); }
  void PopulateMainWindow() override { Globals::PopulateMainWindow(); }
  void SetStatus(const std::string& text) override { MainWin::Instance().SetStatus(text); }
  void ShowPlace(const std::string& shortPlace) override {
    MainWin::Instance().Ctl<StaticText>("LocationLabel").SetText(shortPlace);
  }
  void SetUserRobot() override { Globals::SetUserRobot(); }
  void ShowNewerVersion(bool downloadable) override {
    // The window is made (when closed) whether or not there is a button to
    // show: what the update file shows next comes up over it.
    MainWin& win = MainWin::Instance();
    if (downloadable) win.Ctl<BevelButton>("DownloadUpdateButton").SetVisible(true);
  }
  void DisableForecastButton() override {
    MainWin::Instance().Ctl<PushButton>("ForecastButton").SetEnabled(false);
  }
  void ShowLocked(const std::string& notice) override {
    MainWin& win = MainWin::Instance();
    win.Ctl<StaticText>(MainWin::ValueLabel(MainRow::Forecast)).SetText(notice);
    win.Ctl<BevelButton>("RefreshButton").SetEnabled(false);
  }
  void StartDigitAnimation() override { MainWin::Instance().StartDigitAnimation(); }
  void StopDigitAnimation() override { MainWin::Instance().StopDigitAnimation(); }
  void RunUpdateCheck() override { MainWin::Instance().RunUpdateCheck(); }
  void GetWithOwnClient(const std::string& url) override {
    MainWin::Instance().Ctl<MainWin::HTTPSockControl>("HTTPSock").Get(url);
  }
};

// The texts the last closed main window showed in the labels of the
// weather, by name; none when that window was still waiting for a reply.
std::vector<std::pair<std::string, std::string>>& LastLook() {
  static std::vector<std::pair<std::string, std::string>> texts;
  return texts;
}

}  // namespace

void MainWin::Layout() {
  SetMenuBar(&Menu::Menu::Instance());
  Apply({.title = "Breezeling",
         .width = 301,
         .height = 210,
         .frame = 0,
         .placement = 2,
         .resizeable = false,
         .closeButton = true,
         .minimizeButton = false,
         .maximizeButton = false,
         .hasBackColor = false,
         .backColor = 0xFFFFFF});
}

void MainWin::CreateControls() {
  // name, left, top, width, height, then the design-time settings; in
  // creation order, so later controls lie on top of earlier ones.
  Set(Add<StaticText>("Status", 131, 193, 157, 17)).Font("Geneva", kCaption).Align(Align::Right);
  Add<Canvas>("BackgroundCanvas", 0, 0, 302, 50);
  Set(Add<BevelButton>("RefreshButton", 6, 167, 20, 20)).CaptionSize(kValue).Caption("").OnAction([this] {
    RefreshButton_Action();
  });
  Set(Add<Canvas>("Canvas1", 6, 121, 16, 16)).Backdrop(IconOf(MainRow::FeelsLike));
  Set(Add<StaticText>("LocationLabel", 48, 5, 234, 20)).Font("System", kValue).Underline().Text("Naseby");
  Set(Add<StaticText>("StaticText1", 27, 81, 29, 16)).Font("System", kCaption).Text("High:");
  Set(Add<StaticText>("StaticText4", 27, 101, 29, 16)).Font("System", kCaption).Text("Low:");
  Set(Add<StaticText>("ForecastLabel", 48, 28, 234, 16))
      .Font("System", kValue)
      .Text("Rainy with a chance of meatballs");
  Set(Add<Canvas>("Canvas3", 6, 101, 16, 16)).Backdrop(IconOf(MainRow::Low));
  Set(Add<Canvas>("Canvas4", 6, 81, 16, 16)).Backdrop(IconOf(MainRow::High));
  Set(Add<StaticText>("TempMaxLabel", 80, 81, 58, 16)).Font("System", kValue);
  Set(Add<StaticText>("TempMinLabel", 80, 101, 58, 16)).Font("System", kValue);
  Set(Add<StaticText>("StaticText5", 160, 61, 48, 16)).Font("System", kCaption).Text("UV Index:");
  Set(Add<Canvas>("Canvas5", 139, 61, 16, 16)).Backdrop(IconOf(MainRow::UVIndex));
  Set(Add<StaticText>("UVIndexLabel", 229, 61, 58, 16)).Font("System", kValue);
  Set(Add<StaticText>("StaticText7", 160, 81, 61, 16)).Font("System", kCaption).Text("Wind Speed:");
  Set(Add<Canvas>("Canvas6", 139, 81, 16, 16)).Backdrop(IconOf(MainRow::WindSpeed));
  // Reaches the window's edge: a three-digit speed in km/h needs the room.
  Set(Add<StaticText>("WindSpeedLabel", 229, 81, 72, 15)).Font("System", kValue);
  Set(Add<Canvas>("Canvas7", 139, 121, 16, 16)).Backdrop(IconOf(MainRow::Humidity));
  Set(Add<StaticText>("FeelsLikeLabel", 80, 121, 54, 16)).Font("System", kValue);
  Set(Add<StaticText>("HumidityLabel", 229, 121, 59, 16)).Font("System", kValue);
  Set(Add<StaticText>("WindDirectionLabel", 270, 71, 20, 15)).Font("System", kCaption);
  Set(Add<Canvas>("Canvas8", 139, 101, 16, 16)).Backdrop(IconOf(MainRow::Precipitation));
  Set(Add<StaticText>("PrecipitationLabel", 229, 101, 40, 16)).Font("System", kValue);
  Set(Add<PushButton>("PushButton1", 225, 167, 69, 20))
      .Font("System", kValue)
      .Caption("Settings")
      .OnAction([this] { PushButton1_Action(); });
  Set(Add<Canvas>("RobotIcon", 7, 9, 32, 32)).Backdrop(Pictures::tinker()).OnMouseDown([this](int x, int y) {
    return RobotIcon_MouseDown(x, y);
  });
  Set(Add<Canvas>("Canvas2", 6, 61, 16, 16)).Backdrop(IconOf(MainRow::Current));
  Set(Add<StaticText>("StaticText2", 27, 61, 43, 16)).Font("System", kCaption).Text("Current:");
  Set(Add<StaticText>("Current", 80, 61, 58, 16)).Font("System", kValue);
  Set(Add<StaticText>("StaticText6", 27, 121, 48, 16)).Font("System", kCaption).Text("Feels like:");
  Set(Add<StaticText>("StaticText8", 160, 121, 48, 16)).Font("System", kCaption).Text("Humidity:");
  Set(Add<StaticText>("StaticText9", 160, 102, 64, 16)).Font("System", kCaption).Text("Precipitation:");
  Add<Separator>("Separator1", 0, 48, 302, 4);
  Set(Add<PushButton>("ForecastButton", 35, 167, 120, 20))
      .Font("System", kValue)
      .Caption("7 Day Forecast")
      .OnAction([this] { ForecastButton_Action(); });
  Set(Add<StaticText>("StaticText3", 6, 193, 110, 17))
      .Font("System", kCaption)
      .Text("Larkspire SW")
      .OnMouseDown([this](int x, int y) { return StaticText3_MouseDown(x, y); });
  Set(Add<BevelButton>("DownloadUpdateButton", 169, 4, 125, 20))
      .CaptionSize(kCaption)
      .Caption("Download Update")
      .Hidden()
      .OnAction([this] { DownloadUpdateButton_Action(); });
  Set(Add<Timer>("UpdateCheckTimer")).Timing(Timer::Single, 10).OnAction([this] {
    UpdateCheckTimer_Action();
  });
  Set(Add<Thread>("UpdateCheckThread")).Priority(5, 0).OnRun([this] { UpdateCheckThread_Run(); });
  auto& sock = Add<HTTPSockControl>("HTTPSock");
  sock.TCPError = [this](int code) { HTTPSock_TCPError(code); };
  sock.ProtocolError = [this](int code, std::shared_ptr<HTTPHeaders> headers) {
    HTTPSock_ProtocolError(code, headers);
  };
  sock.ProgressChange = [this](const std::string& message) { HTTPSock_ProgressChange(message); };
  sock.PageReceived = [this](const std::string& type, const std::string& content, bool viaGrab) {
    HTTPSock_PageReceived(type, content, viaGrab);
  };
  sock.OperationError = [this](const std::string& message, bool flag) {
    HTTPSock_OperationError(message, flag);
  };
  sock.HandleRedirection = [this](const std::string& url) { return HTTPSock_HandleRedirection(url); };
  sock.GotHeaders = [this](int code, std::shared_ptr<HTTPHeaders> headers, bool informational,
                           bool complete) { HTTPSock_GotHeaders(code, headers, informational, complete); };
  sock.DataProgress = [this](double received, double total, double added) {
    HTTPSock_DataProgress(received, total, added);
  };
  Set(Add<ProgressBar>("Progress", 65, 181, 100, 12)).Range(0, 100).Hidden();
  Set(Add<ChasingArrows>("ChasingArrows1", 8, 169, 16, 16)).Hidden();
  Set(Add<StaticText>("Digit", 6, 40, 34, 10))
      .Font("System", 8)
      .Align(Align::Center)
      .Text(kDigitPatterns[0])
      .Hidden();
  Set(Add<Timer>("DigitFlip")).Timing(Timer::Off, 100).OnAction([this] { DigitFlip_Action(); });
  Set(Add<Timer>("DigitInit")).Timing(Timer::Off, 3000).OnAction([this] { DigitInit_Action(); });
  Set(Add<Canvas>("ArrowIcon", 8, 169, 18, 16)).Backdrop(Pictures::Arrows()).Disabled();
  Set(Add<Canvas>("Canvas9", 6, 141, 16, 16)).Backdrop(IconOf(MainRow::Sunrise));
  Set(Add<Canvas>("Canvas10", 139, 141, 16, 16)).Backdrop(IconOf(MainRow::Sunset));
  Set(Add<StaticText>("SunriseLabel", 80, 140, 54, 16)).Font("System", kValue);
  Set(Add<StaticText>("SunsetLabel", 229, 141, 59, 16)).Font("System", kValue);
  Set(Add<StaticText>("StaticText12", 27, 141, 37, 16)).Font("System", kCaption).Text("Sunrise:");
  Set(Add<StaticText>("StaticText13", 160, 141, 37, 16)).Font("System", kCaption).Text("Sunset:");

  // A value too wide for its label goes down to the captions' size rather
  // than lose its end.
  for (MainRow row : kValueRows) Ctl<StaticText>(ValueLabel(row)).ShrinkToFit(kCaption);
}

Views::MainView& MainWin::View() {
  static MainWinView view;
  return view;
}

void MainWin::SetStatus(const std::string& text) { Ctl<StaticText>("Status").SetText(text); }

void MainWin::RunUpdateCheck() { Ctl<Thread>("UpdateCheckThread").Run(); }

const char* MainWin::ValueLabel(MainRow row) {
  switch (row) {
    case MainRow::Forecast:
      return "ForecastLabel";
    case MainRow::Current:
      return "Current";
    case MainRow::High:
      return "TempMaxLabel";
    case MainRow::Low:
      return "TempMinLabel";
    case MainRow::FeelsLike:
      return "FeelsLikeLabel";
    case MainRow::Sunrise:
      return "SunriseLabel";
    case MainRow::UVIndex:
      return "UVIndexLabel";
    case MainRow::WindSpeed:
      return "WindSpeedLabel";
    case MainRow::WindDirection:
      return "WindDirectionLabel";
    case MainRow::Precipitation:
      return "PrecipitationLabel";
    case MainRow::Humidity:
      return "HumidityLabel";
    case MainRow::Sunset:
      return "SunsetLabel";
    case MainRow::None:
      break;
  }
  throw fw::NilObjectException("the main window shows no value in that row");
}

void MainWin::Event_Open() {
  const fw::Date now;
  Globals::SetDefaultPrefs();
  Globals::ToggleLoadingStates(true);
  // Made again after it was closed, the window shows the weather the closed
  // one showed: whatever brings it back (a status text, Save in the
  // settings) may fill only part of it.
  if (!LastLook().empty()) {
    for (const auto& [name, text] : LastLook()) Ctl<StaticText>(name).SetText(text);
    Globals::ToggleLoadingStates(false);
  }
  ShowBackdropForMonth(now.Month());
  // The spinner takes the arrows' place on the button; the canvas copy of
  // the arrows is never shown.
  Ctl<Canvas>("ArrowIcon").SetVisible(false);
  Ctl<BevelButton>("RefreshButton").SetIcon(Pictures::Arrows());
}

void MainWin::ShowBackdropForMonth(int month) {
  // With 256 colours or fewer the artwork would only dither: no backdrop.
  if (fw::Screen(0).Depth() <= 8) return;
  fw::PicturePtr backdrop = month == 10   ? Pictures::background2()
                            : month == 12 ? Pictures::background3()
                                          : Pictures::background1();
  Ctl<Canvas>("BackgroundCanvas").SetBackdrop(backdrop);
}

void MainWin::Event_Close() {
  LastLook().clear();
  // While a reply is awaited the next window waits in the loading look too.
  if (Ctl<ChasingArrows>("ChasingArrows1").Visible()) return;
  const auto keep = [this](MainRow row) {
    LastLook().emplace_back(ValueLabel(row), Ctl<StaticText>(ValueLabel(row)).Text());
  };
  for (MainRow row : {MainRow::Forecast, MainRow::WindDirection}) keep(row);
  for (MainRow row : kValueRows) keep(row);
}

void MainWin::ForgetLastLook() { LastLook().clear(); }

bool MainWin::Event_KeyDown(const std::string& key) {
  if (IsCloseKey(key)) Close();
  if (fw::StrEq(key, "d") && fw::Keyboard::CommandKey() && fw::Keyboard::ShiftKey())
    DebugWin::Instance().Show();
  // The key goes on to the focused control in every case.
  return false;
}

void MainWin::RefreshButton_Action() { Globals::GetForecast(); }

void MainWin::PushButton1_Action() {
  // The window shows the saved settings, not edits an earlier visit left.
  Globals::SetDefaultPrefs();
  SettingsWin::Instance().Show();
}

// The same as the "7 Day Forecast" menu item.
void MainWin::ForecastButton_Action() {
  Globals::ForecastWinOpen = true;
  Globals::PopulateForecastWindow();
  ForecastWin::Instance().Show();
}

bool MainWin::StaticText3_MouseDown(int, int) {
  AboutWindow::Instance().Show();
  return false;
}

bool MainWin::RobotIcon_MouseDown(int, int) {
  StartDigitAnimation();
  return false;
}

void MainWin::StartDigitAnimation() {
  Ctl<Timer>("DigitInit").SetMode(Timer::Single);
  Ctl<Timer>("DigitFlip").SetMode(Timer::Multiple);
  Ctl<StaticText>("Digit").SetVisible(true);
}

void MainWin::StopDigitAnimation() {
  Ctl<Timer>("DigitInit").SetMode(Timer::Off);
  Ctl<Timer>("DigitFlip").SetMode(Timer::Off);
  Ctl<StaticText>("Digit").SetVisible(false);
}

void MainWin::DownloadUpdateButton_Action() {
  // The address comes from a file on the web; only a web page may be
  // opened with it, never a local file or program.
  if (!Globals::IsWebAddress(Globals::AppUpdateURL)) return;
  // Opened twice on purpose: directly, and through the forwarding page.
  fw::ShowURL(Globals::AppUpdateURL);
  Globals::OpenUrl(Globals::AppUpdateURL, "BreezelingUpdate.html");
}

void MainWin::UpdateCheckTimer_Action() { RunUpdateCheck(); }

void MainWin::UpdateCheckThread_Run() {
  // No refresh can be started while the thread's work is under way.
  auto& refresh = Ctl<BevelButton>("RefreshButton");
  refresh.SetEnabled(false);
  Globals::GetUpdateData();
  refresh.SetEnabled(true);
}

// ---- The window's own HTTP client ----

void MainWin::HTTPClient::Get(const std::string& url) {
  requestType_ = Globals::RequestType;
  BasicHTTP::Get(url);
}

void MainWin::HTTPSock_TCPError(int code) { SetStatus("TCP Error: " + fw::Str(code)); }

void MainWin::HTTPSock_ProtocolError(int code, const std::shared_ptr<HTTPHeaders>&) {
  SetStatus("Protocol Error: " + fw::Str(code));
}

void MainWin::HTTPSock_ProgressChange(const std::string& message) { SetStatus(message); }

void MainWin::HTTPSock_PageReceived(const std::string&, const std::string& content, bool) {
  // The client reports no status: whatever it hands over is the page. The
  // debug window gets the page as the readers do; a kind no reader takes
  // goes unreported; the animation stops after every page.
  // Copies: a reader may start the client on a new request.
  const auto& sock = Ctl<HTTPSockControl>("HTTPSock");
  const std::string kind = sock.RequestType(), url = sock.OriginalURL;
  Transport::EndReply({.debug = Transport::DebugShows::WithCRLineEnds,
                       .reportsUnknownKind = false,
                       .stopsAnimationAfterEveryKind = true},
                      kind, url, std::nullopt, content);
}

void MainWin::HTTPSock_OperationError(const std::string& message, bool) {
  SetStatus("Operation Error: " + message);
}

bool MainWin::HTTPSock_HandleRedirection(const std::string& url) {
  // Absolute web addresses are followed; anything else (a relative
  // location) is taken as the page itself.
  return !fw::StrEq(fw::Left(url, 7), "http://");
}

void MainWin::HTTPSock_GotHeaders(int code, const std::shared_ptr<HTTPHeaders>& headers, bool,
                                  bool complete) {
  // Only a reply without a body (HEAD, OPTIONS) is worth showing here.
  if (!complete) return;
  SetStatus("Headers Received!");
  const std::string lines = headers ? fw::ReplaceAll(headers->Data(), fw::Chr(10), "") : "";
  DebugWin::View().ShowResponse("Code: " + fw::Str(code) + fw::Chr(13) + lines);
}

void MainWin::HTTPSock_DataProgress(double received, double total, double) {
  // A page kept in memory may not outgrow its kind's limit: the transfer
  // ends there, reported as the client reports a failed connection.
  auto& sock = Ctl<HTTPSockControl>("HTTPSock");
  if (sock.Mode == 0 && Transport::ReplyTooLarge(sock.RequestType(), received, total)) {
    sock.Cancel();
    HTTPSock_TCPError(Transport::kReplyTooLarge);
    return;
  }
  // Small replies are over before a bar would mean anything.
  if (total <= 5120) return;
  auto& bar = Ctl<ProgressBar>("Progress");
  if (static_cast<double>(bar.Maximum()) != total / 1024) bar.SetMaximum(fw::ToInt32(total / 1024));
  bar.SetValue(fw::ToInt32(received / 1024));
}

void MainWin::DigitFlip_Action() {
  const std::int32_t index = fw::ToInt32(fw::Rnd() * 12.0);
  const bool known = index >= 0 && index < static_cast<std::int32_t>(kDigitPatterns.size());
  Ctl<StaticText>("Digit").SetText(known ? kDigitPatterns[static_cast<std::size_t>(index)]
                                         : kDigitPatternOutOfRange);
}

void MainWin::DigitInit_Action() {
  Ctl<Timer>("DigitFlip").SetMode(Timer::Off);
  Ctl<StaticText>("Digit").SetVisible(false);
}
