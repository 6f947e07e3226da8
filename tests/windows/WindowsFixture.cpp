#include "WindowsFixture.h"

#include <QApplication>
#include <QWidget>

#include "app/App.h"
#include "app/Startup.h"
#include "core/Weather.h"
#include "framework/files/FolderItem.h"
#include "framework/files/TextInputStream.h"
#include "framework/text/Text.h"
#include "framework/ui/Screen.h"
#include "framework/ui/Thread.h"
#include "framework/ui/Timer.h"
#include "support/TestHooks.h"

namespace wintest {

namespace {

// Before a test on a pretend 24-bit screen, after it on the real one.
void Fresh(int depth) {
  _ReleaseAll();
  _RegisterViews();
  Hosts::ResetForTesting();
  fw::Screen::SetDepthOverride(depth);
}

testsupport::RegisterHook before(testsupport::HookTime::BeforeTest, [] { Fresh(24); });
testsupport::RegisterHook after(testsupport::HookTime::AfterTest, [] { Fresh(0); });

QWidget* Frame(const std::string& title) {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (widget->isVisible() && widget->windowTitle() == QString::fromStdString(title)) return widget;
  ADD_FAILURE() << "no visible window \"" << title << "\"";
  return nullptr;
}

}  // namespace

std::string FullReply() {
  std::string body =
      "{\"current_temperature\":20.0,\"day1_windspeed_max\":100,"
      "\"day1_windgusts_max\":50";
  for (int n = 1; n <= 7; ++n) {
    const std::string d = "\"day" + fw::Str(n);
    body += "," + d + "_forecast\":\"Forecast " + fw::Str(n) + "\"";
    body += "," + d + "_precipitation_probability_max\":1" + fw::Str(n);
    body += "," + d + "_humidity_probability_max\":6" + fw::Str(n);
    body += "," + d + "_temperature_max\":2" + fw::Str(n) + ".5";
    body += "," + d + "_temperature_min\":" + fw::Str(n) + ".5";
  }
  return body + "}";
}

std::vector<std::string> ExpectedDay(int n) {
  const std::string degrees = " " + kDegree + "C";
  return {"Forecast " + fw::Str(n), "1" + fw::Str(n) + "%", "6" + fw::Str(n) + "%",
          "2" + fw::Str(n) + ".5" + degrees, fw::Str(n) + ".5" + degrees};
}

std::vector<std::string> PreferencesLines() {
  std::vector<std::string> lines;
  auto file = fw::PreferencesFolder().Child("Breezeling");
  if (!file || !file->Exists()) return lines;
  auto stream = file->OpenAsTextFile();
  if (!stream) return lines;
  while (!stream->Eof()) lines.push_back(stream->ReadLine());
  return lines;
}

void PressCloseButton(const std::string& title) {
  if (QWidget* frame = Frame(title)) frame->close();
}

::testing::AssertionResult EnlargeFrame(const std::string& title, int dw, int dh) {
  QWidget* frame = Frame(title);
  if (!frame) return ::testing::AssertionFailure() << "no window \"" << title << "\"";
  const int width = frame->width() + dw;
  frame->resize(width, frame->height() + dh);
  if (testsupport::WaitUntil([&] { return frame->width() == width; })) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "\"" << title << "\" kept its size";
}

void WindowsTest::SetUp() {
  Hosts::SetForTesting(server.HostPort(), server.HostPort());
  _InitFileTypes();
  _NewAppInstance();
  _ApplicationAddMenuHandlers();
  App::Get().CallOpen();
  _MakeDefaultView();
  // Only requests that the code under test starts reach the server.
  Main().Ctl<fw::Timer>("UpdateCheckTimer").SetMode(fw::Timer::Off);
  Main().Ctl<fw::Thread>("UpdateCheckThread").RunEvent = [] {};
}

::testing::AssertionResult WindowsTest::Fetch(testsupport::Script script) {
  server.Enqueue(std::move(script));
  Globals::GetForecast();
  // The status line is emptied as the last step of handling a reply.
  if (testsupport::WaitUntil([this] { return MainText("Status").empty(); }, 10000))
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "no reply handled; status \"" << MainText("Status") << "\"";
}

std::string WindowsTest::RequestLine(int n) {
  const auto index = static_cast<std::size_t>(n - 1);
  std::string request;
  testsupport::WaitUntil(
      [&] {
        const auto requests = server.Requests();
        request = requests.size() > index ? requests[index] : "";
        return request.find("\r\n\r\n") != std::string::npos;
      },
      10000);
  return request.substr(0, request.find("\r\n"));
}

}  // namespace wintest
