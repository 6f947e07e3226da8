// The end of a reply, for both carriers, against faces that only note what
// the core asks of the windows: the order of the steps, and where the two
// carriers differ. No window is made.
#include <optional>
#include <tuple>

#include "CoreFixture.h"
#include "core/Transport.h"
#include "core/Views.h"
#include "framework/ui/Window.h"

namespace {

using Trail = std::vector<std::string>;

// Every call any face receives, in one trail.
class RecordingFaces : public Views::MainView,
                       public Views::ForecastView,
                       public Views::SettingsView,
                       public Views::DebugView,
                       public Views::ChangeLogView,
                       public Views::ServerMessageView,
                       public Views::MenuView {
 public:
  Trail trail;

  void ToggleLoadingStates(bool loading) override { Note(loading ? "loading on" : "loading off"); }
  void ShowReading() override { Note("reading"); }
  void PopulateMainWindow() override { Note("values"); }
  void SetStatus(const std::string& text) override { Note("status:" + text); }
  void ShowPlace(const std::string& place) override { Note("place:" + place); }
  void SetUserRobot() override { Note("robot"); }
  void ShowNewerVersion(bool downloadable) override { Note(downloadable ? "newer, download" : "newer"); }
  void DisableForecastButton() override { Note("forecast button off"); }
  void ShowLocked(const std::string& notice) override { Note("locked:" + notice); }
  void StartDigitAnimation() override { Note("animation on"); }
  void StopDigitAnimation() override { Note("animation off"); }
  void RunUpdateCheck() override { Note("update check"); }
  void GetWithOwnClient(const std::string& url) override { Note("own client:" + url); }
  void PopulateForecastWindow() override { Note("forecast"); }
  std::string Location() override {
    Note("location?");
    return "";
  }
  void SetLocation(const std::string& text) override { Note("location:" + text); }
  std::vector<std::string> Items(Choice) override {
    Note("items?");
    return {};
  }
  std::string Chosen(Choice) override {
    Note("chosen?");
    return "";
  }
  void Select(Choice, int) override { Note("select"); }
  void ShowResponse(const std::string& text) override { Note("debug:" + text); }
  void Show(const std::string& text) override { Note("notice:" + text); }
  void DisableForecastItem() override { Note("forecast item off"); }

 private:
  void Note(const std::string& what) { trail.push_back(what); }
};

class ReplyEndingTest : public CoreTest {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    Views::Register({&faces, &faces, &faces, &faces, &faces, &faces, &faces});
    Recorders::Get().onBox = [this](const std::string& box) { faces.trail.push_back("box:" + box); };
  }
  RecordingFaces faces;
};

const Transport::Ending kSocket{Transport::DebugShows::AsReceived, true, false};
const Transport::Ending kOwnClient{Transport::DebugShows::WithCRLineEnds, false, true};

TEST_F(ReplyEndingTest, EachCarrierEndsItsRepliesInTheOrderOfItsOwnSteps) {
  const std::string weather = "{\"day1_forecast\":\"Fog\",\n\"x\":1}\n";
  const std::string unknownBox =
      "box:An error occured while waiting for a response.\r\rgone\r\rIf you are using a custom proxy server, "
      "please ensure the address is correct.";
  // Ending, kind, status, body; then the trail, what the reader took and
  // what became the raw response.
  const std::vector<std::tuple<const char*, Transport::Ending, std::string, std::optional<int>, std::string,
                               Trail, std::string, std::string>>
      rows = {
          {"socket, weather",
           kSocket,
           "WEATHER",
           200,
           weather,
           {"debug:" + weather, "reading", "values", "loading off", "loading off", "update check",
            "animation off", "status:"},
           "Fog",
           "{\"day1_forecast\":\"Fog\",\r\"x\":1}\r"},
          // The box is up before the status says the same; the reader still
          // runs, on nothing.
          {"socket, failed weather",
           kSocket,
           "WEATHER",
           404,
           "gone",
           {"debug:gone", unknownBox, "status:Unknown Network Error", "reading", "values", "loading off",
            "loading off", "update check", "animation off", "status:"},
           "",
           "before"},
          {"socket, update",
           kSocket,
           "UPDATE",
           200,
           "no\nkeys",
           {"debug:no\nkeys", "status:Error: Couldn't fetch update information", "status:"},
           "before",
           "no\rkeys"},
          {"socket, no kind",
           kSocket,
           "",
           200,
           "x",
           {"debug:x", "box:Error: Unhandled request type.", "status:"},
           "before",
           "x"},
          {"own client, weather",
           kOwnClient,
           "WEATHER",
           std::nullopt,
           weather,
           {"debug:{\"day1_forecast\":\"Fog\",\r\"x\":1}\r", "reading", "values", "loading off",
            "loading off", "update check", "animation off", "status:"},
           "Fog",
           "{\"day1_forecast\":\"Fog\",\r\"x\":1}\r"},
          // No status: whatever comes is the page.
          {"own client, update",
           kOwnClient,
           "UPDATE",
           std::nullopt,
           "no\r\nkeys",
           {"debug:no\rkeys", "status:Error: Couldn't fetch update information", "animation off", "status:"},
           "before",
           "no\rkeys"},
          {"own client, no kind",
           kOwnClient,
           "",
           std::nullopt,
           "x",
           {"debug:x", "animation off", "status:"},
           "before",
           "x"},
      };
  Globals::DebugWInOpen = true;
  for (const auto& [what, ending, kind, status, body, trail, read, raw] : rows) {
    SCOPED_TRACE(what);
    faces.trail.clear();
    Recorders::Get().boxes.clear();
    WeatherValues::Day1Forecast = Globals::RawResponse = "before";
    // A weather reply runs the first update check; an update reply would
    // start the first weather request, which is not looked at here.
    Globals::InitialUpdateCheckRun = kind != "WEATHER";
    Transport::EndReply(ending, kind, server.Url("/x"), status, body);
    EXPECT_EQ(faces.trail, trail);
    EXPECT_EQ(WeatherValues::Day1Forecast, read);
    EXPECT_EQ(Globals::RawResponse, raw);
  }
  // With the debug window closed nothing is shown there.
  Globals::DebugWInOpen = false;
  faces.trail.clear();
  Transport::EndReply(kSocket, "", server.Url("/x"), 200, "x");
  EXPECT_EQ(faces.trail, (Trail{"box:Error: Unhandled request type.", "status:"}));
  // Everything went through the faces.
  EXPECT_TRUE(fw::Window::LiveWindows().empty());
}

}  // namespace
