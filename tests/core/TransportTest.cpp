// The request transport: status line, failure reports and reply dispatch,
// against real sockets.
#include <algorithm>
#include <tuple>

#include "CoreFixture.h"
#include "core/MyHTTPSocket.h"
#include "core/UpdateInfo.h"
#include "core/Weather.h"
#include "framework/text/Text.h"
#include "framework/ui/StaticText.h"
#include "framework/ui/Timer.h"

namespace {

// Notes the status text after every step of its request, and opens the
// error handler to direct calls.
class ProbeSocket : public MyHTTPSocket {
 public:
  void Start(const std::string& url) {
    GetURL(url);
    Note();
  }
  void Event_Error(int code) override {
    MyHTTPSocket::Event_Error(code);
    Note();
    done = true;
  }
  std::vector<std::string> trail;  // consecutive repeats collapsed
  bool done = false;

 protected:
  void Event_Connected() override {
    MyHTTPSocket::Event_Connected();
    Note();
  }
  void Event_HeadersReceived(const fw::InternetHeaders& headers, int status) override {
    MyHTTPSocket::Event_HeadersReceived(headers, status);
    Note();
  }
  void Event_ReceiveProgress(int got, int total, const std::string& data) override {
    MyHTTPSocket::Event_ReceiveProgress(got, total, data);
    Note();
  }
  void Event_PageReceived(const std::string& url, int status, const fw::InternetHeaders& headers,
                          const std::string& content) override {
    MyHTTPSocket::Event_PageReceived(url, status, headers, content);
    Note();
    done = true;
  }

 private:
  void Note() {
    const std::string now = MainWin::Instance().Ctl<fw::StaticText>("Status").Text();
    if (trail.empty() || trail.back() != now) trail.push_back(now);
  }
};

class TransportTest : public CoreTest {
 protected:
  // Runs one request on a probe socket and waits for its last event.
  std::shared_ptr<ProbeSocket> Fetch(const std::string& path, Script script) {
    Win();
    server.Enqueue(std::move(script));
    auto socket = std::make_shared<ProbeSocket>();
    socket->Start(server.Url(path));
    EXPECT_TRUE(WaitUntil([&] { return socket->done; }));
    return socket;
  }
  // Notes the status text at the moment each box comes up.
  void WatchBoxes() {
    seen.clear();
    Recorders::Get().boxes.clear();
    Recorders::Get().onBox = [this](const std::string&) { seen.push_back(Status()); };
  }
  std::vector<std::string> seen;
};

const std::string kWeatherPath = "/breezeling/weather?location=Naseby";
const std::string kUnhandled = "Error: Unhandled request type.";
const std::string kUnknown = "An error occured while waiting for a response.";
const std::string kProxyHint =
    "\r\rIf you are using a custom proxy server, please ensure the address is correct.";

TEST_F(TransportTest, StatusLineFollowsTheRequestAndAnUpdateReplyGoesToTheUpdateReader) {
  WeatherValues::Day1Forecast = "Old";
  Globals::InitialUpdateCheckRun = true;  // the reply starts no weather request
  Globals::RequestType = "UPDATE";
  auto socket = Fetch("/x", Script::Reply(200, "currentX:1.3.1\nxUrl:http://h/u\n"));
  EXPECT_EQ(socket->trail, (std::vector<std::string>{"Connecting to server...", "Waiting for response...",
                                                     "Status: 200", "Waiting for response...", ""}));
  EXPECT_EQ(Globals::RawResponse, "currentX:1.3.1\rxUrl:http://h/u\r");
  EXPECT_EQ(Globals::AppUpdateURL, "http://h/u");
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(WeatherValues::Day1Forecast, "Old");
  EXPECT_TRUE(LoadingLook());  // as the new window opened: no weather reply ended it
  testsupport::RunEventsFor(50);
  EXPECT_EQ(updateChecks, 0);
}

TEST_F(TransportTest, EveryReplyStatusRow) {
  // Status, path and body of the reply, then the box and the status text.
  const std::vector<std::tuple<int, std::string, std::string, std::string, std::string>> rows = {
      {429, kWeatherPath, "",
       "Weather server overloaded.\r\rThe weather API is currently overloaded. Please try again soon.",
       "OpenAI API overloaded. Try again."},
      {400, kWeatherPath, "no\nplace", "Couldn't retrieve a response.\r\rno\nplace",
       "Couldn't retrieve response."},
      {504, kWeatherPath, "",
       "Server Timeout\r\rThe weather server took too long to respond and the connection timed out.",
       "Server Timeout: 504"},
      {500, kWeatherPath, "boom",
       "A Server Error Occurred\r\rSomething unexpected happened with the server's response. Please let "
       "Larkspire SW know if this issue persists.\r\rError: boom",
       "Server Error: 500"},
      {102, kWeatherPath, "",
       "The Server Was Unreachable\r\rThe server may be undergoing maintennance. Wait a minute or two and "
       "try "
       "again.",
       "Server undergoing maintennance."},
      {404, "/updates/breezeling-remote.txt", "gone",
       "Something went wrong..\r\rThe update service is not available.", "Update service unavailable."},
      {503, "/breezeling/", "",
       "Something went wrong..\r\rThe proxy server is unavailable. Please try again soon.",
       "Server Unavailable."},
      {404, kWeatherPath, "Not\nhere", kUnknown + "\r\rNot\nhere" + kProxyHint, "Unknown Network Error"},
      // The proxy's own row is for its base address only.
      {404, "/breezeling/x", "", kUnknown + "\r\r" + kProxyHint, "Unknown Network Error"},
  };
  for (const auto& [status, path, body, box, statusText] : rows) {
    SCOPED_TRACE(std::to_string(status) + " " + path);
    // No request kind: the unhandled box follows the row's box, and shows
    // what the status line held once the row's box was dismissed.
    Globals::RequestType = "";
    WatchBoxes();
    Fetch(path, Script::Reply(status, body));
    EXPECT_EQ(Boxes(), (std::vector<std::string>{box, kUnhandled}));
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_NE(seen[0], statusText);
    EXPECT_EQ(seen[1], statusText);
    EXPECT_EQ(Status(), "");
  }
}

TEST_F(TransportTest, EverySocketErrorRow) {
  // The error code, the box (empty: none) and the status text.
  const std::vector<std::tuple<int, std::string, std::string>> rows = {
      {102,
       "The proxy server was unreachable, it may be undergoing maintennance. Wait a minute or two and try "
       "again.",
       "Error: Try again soon."},
      {103, "The proxy server was unreachable.", "Error: Proxy server may be misconfigured."},
      {-3162, "The server was unreachable\r\rPlease check your internet connection.",
       "Error: Check Internet Connection."},
      {100, "", "Error: 100"},
      {-1, "", "Error: -1"},
  };
  WeatherValues::Day1Forecast = "Old";
  for (const auto& [code, box, statusText] : rows) {
    SCOPED_TRACE(code);
    Win().Ctl<fw::StaticText>("Status").SetText("before");
    WatchBoxes();
    std::make_shared<ProbeSocket>()->Event_Error(code);
    const bool boxed = !box.empty();
    EXPECT_EQ(Boxes(), boxed ? std::vector<std::string>{box} : std::vector<std::string>{});
    EXPECT_EQ(seen, boxed ? std::vector<std::string>{"before"} : std::vector<std::string>{});
    EXPECT_EQ(Status(), statusText);  // kept: nothing empties it
    // A failed request ends nothing: the loading look and the values stay.
    EXPECT_TRUE(LoadingLook());
    EXPECT_EQ(Label("ForecastLabel") + " " + WeatherValues::Day1Forecast, "Loading.. Old");
  }
  testsupport::RunEventsFor(50);
  EXPECT_EQ(updateChecks, 0);
  // A refused connection is the first row's error.
  Hosts::SetForTesting("127.0.0.1:" + std::to_string(testsupport::RefusedPort()), server.HostPort());
  Globals::GetForecast();
  EXPECT_TRUE(WaitUntil([&] { return Status() == "Error: Try again soon."; })) << "status: " << Status();
}

TEST_F(TransportTest, AWeatherReplyGoodOrFailedIsParsedAndEndsTheRequest) {
  // Status, then the forecast and temperature read, and how the box starts (empty: none).
  const std::vector<std::tuple<int, std::string, std::string, std::string>> rows = {{200, "Fine", "12.5", ""},
                                                                                    {404, "", "", kUnknown}};
  for (const auto& [status, forecast, temp, box] : rows) {
    SCOPED_TRACE(status);
    WatchBoxes();
    WeatherValues::Day1Forecast = WeatherValues::Day1TempCurrent = WeatherValues::FeelsLikeCurrent = "Old";
    Win().Ctl<fw::StaticText>("ForecastLabel").SetText("Loading..");
    server.Enqueue(Script::Reply(status, "{\n\"current_temperature\":12.5,\n\"day1_forecast\":\"Fine\"\n}"));
    Globals::GetForecast();
    ASSERT_TRUE(WaitUntil([&] { return Status().empty() && updateChecks == 1; })) << "status: " << Status();
    updateChecks = 0;
    const auto boxes = Boxes();
    EXPECT_EQ(boxes.size(), box.empty() ? 0u : 1u);
    EXPECT_EQ(boxes.empty() ? "" : boxes[0].substr(0, box.size()), box);
    const std::string read = WeatherValues::Day1Forecast + "|" + WeatherValues::Day1TempCurrent + "|";
    EXPECT_EQ(read + WeatherValues::FeelsLikeCurrent, forecast + "|" + temp + "|");
    EXPECT_EQ(Label("ForecastLabel"), forecast);
    EXPECT_EQ(Label("PrecipitationLabel"), "%");
    EXPECT_FALSE(LoadingLook());
    EXPECT_EQ(Win().Ctl<fw::Timer>("DigitInit").GetMode(), fw::Timer::Off);
    EXPECT_EQ(Win().Ctl<fw::Timer>("DigitFlip").GetMode(), fw::Timer::Off);
    EXPECT_FALSE(Win().Ctl<fw::StaticText>("Digit").Visible());
  }

  // Once the first update check has been run, a reply starts no other.
  Globals::InitialUpdateCheckRun = true;
  server.Enqueue(Script::Reply(200, "{}"));
  Globals::GetForecast();
  ASSERT_TRUE(WaitUntil([&] { return server.FinishedCount() == 3 && Status().empty(); })) << Status();
  testsupport::RunEventsFor(50);
  EXPECT_EQ(updateChecks, 0);
}

// A reply of exactly the given size that its reader recognises: the
// forecast "Big", or an update file announcing the address http://h/big.
std::string Padded(const std::string& head, const std::string& tail, std::size_t size) {
  return head + std::string(size - head.size() - tail.size(), ' ') + tail;
}
std::string BigWeather(std::size_t size) { return Padded(R"({"day1_forecast":"Big",)", "}", size); }
std::string BigUpdate(std::size_t size) { return Padded("currentX:1.3.1\nxUrl:http://h/big\n", "\n", size); }

TEST_F(TransportTest, AReplyOverItsKindsLimitIsRefusedAsItArrivesAndNeverReachesItsReader) {
  constexpr std::size_t KiB = 1024, MiB = 1024 * 1024;
  struct Row {
    const char* kind;
    std::size_t size;  // body bytes the server has
    std::size_t sent;  // of them sent: fewer when only the announced length matters
    bool announced;    // with Content-Length
    bool closed;       // the server closes after sending; else the connection stays open
    bool refused;
  };
  const std::vector<Row> rows = {
      {"WEATHER", MiB, MiB, true, true, false},              // at the limit
      {"WEATHER", MiB + 1, MiB + 1, false, true, true},      // one byte over
      {"WEATHER", 2 * MiB, 2 * MiB, false, false, true},     // refused while it streams
      {"WEATHER", 20 * MiB, 64 * KiB, true, false, true},    // announced too long
      {"UPDATE", 256 * KiB, 256 * KiB, false, true, false},  // at the limit
      {"UPDATE", 256 * KiB + 1, 256 * KiB + 1, true, true, true},
      {"UPDATE", MiB, MiB, false, false, true},  // a weather size is too long here
  };
  Globals::InitialUpdateCheckRun = true;  // an update reply starts no weather request
  Win();
  for (const Row& row : rows) {
    const bool weather = std::string(row.kind) == "WEATHER";
    SCOPED_TRACE(std::string(row.kind) + " " + std::to_string(row.size));
    WeatherValues::Day1Forecast = Globals::AppUpdateURL = Globals::RawResponse = "before";
    Recorders::Get().boxes.clear();
    const std::string body = weather ? BigWeather(row.size) : BigUpdate(row.size);
    std::string reply = Script::Response(200, body, {}, row.announced);
    reply.resize(reply.size() - (row.size - row.sent));
    Script script;
    script.WaitForRequest().Send(reply);
    if (row.closed) script.Close();
    server.Enqueue(std::move(script));

    weather ? Globals::GetForecast() : Globals::GetUpdateData();
    const std::string read = weather ? "Big" : "http://h/big";
    std::string& value = weather ? WeatherValues::Day1Forecast : Globals::AppUpdateURL;
    if (row.refused) {
      ASSERT_TRUE(WaitUntil([&] { return Status() == "Error: 100"; }, 10000)) << Status();
      EXPECT_EQ(value + " " + Globals::RawResponse, "before before");
    } else {
      ASSERT_TRUE(WaitUntil([&] { return Status().empty() && value == read; }, 10000)) << Status();
      EXPECT_EQ(Globals::RawResponse.size(), row.size);
    }
    EXPECT_TRUE(Boxes().empty());
  }
}

TEST_F(TransportTest, TwoRequestsInFlightEachReachTheReaderOfTheirOwnKind) {
  const std::string weather = R"({"day1_forecast":"Sunny"})";
  const std::string update = "currentX:1.3.1\nxUrl:http://h/dl\n";
  Globals::InitialUpdateCheckRun = true;
  Win();
  for (const bool weatherFirst : {true, false}) {
    SCOPED_TRACE(weatherFirst ? "refresh, then check for updates" : "check for updates, then refresh");
    WeatherValues::Day1Forecast = Globals::AppUpdateURL = "before";
    // The first reply is held back until the second request has been
    // started, so it arrives while the shared request kind names the other.
    Script held;
    held.WaitForRequest().Pause(300).Send(Script::Response(200, weatherFirst ? weather : update)).Close();
    server.Enqueue(std::move(held));
    server.Enqueue(Script::Reply(200, weatherFirst ? update : weather));
    const int before = server.ConnectionCount();
    weatherFirst ? Globals::GetForecast() : Globals::GetUpdateData();
    ASSERT_TRUE(WaitUntil([&] {
      const auto requests = server.Requests();
      return static_cast<int>(requests.size()) > before &&
             requests.back().find("\r\n\r\n") != std::string::npos;
    }));
    weatherFirst ? Globals::GetUpdateData() : Globals::GetForecast();
    // Handed to the wrong reader, a reply leaves its value as it was.
    EXPECT_TRUE(WaitUntil([&] {
      return WeatherValues::Day1Forecast == "Sunny" && Globals::AppUpdateURL == "http://h/dl" &&
             Status().empty();
    })) << WeatherValues::Day1Forecast
        << " " << Globals::AppUpdateURL;
    EXPECT_TRUE(Boxes().empty());
  }
}

TEST_F(TransportTest, ControlCharactersInThePlaceNeverReachTheWire) {
  // The place as it stands in the settings, then the query sent.
  const std::vector<std::pair<std::string, std::string>> rows = {
      {"Nase\r\nby", "Naseby"},
      {"Naseby HTTP/1.0\r\nHost: evil.invalid\r\n\r\nGET /x",
       "Naseby%20HTTP/1.0Host:%20evil.invalidGET%20/x"},
      {"\tNase\nby\r", "Naseby"},
      {"Nase\x7f"
       "by\x01\x1f",
       "Naseby"},
      {"Z\xC3\xBCrich\xC2\x85", "Z\xC3\xBCrich"},  // C1 line break; the u-umlaut stays
      {"Z\xC2\xA0rich\xC2\x9F", "Z\xC2\xA0rich"},  // no-break space stays, C1 goes
  };
  Win();
  for (const auto& [place, query] : rows) {
    SCOPED_TRACE(query);
    server.Enqueue(Script::Reply(200, "{}"));
    Globals::UserLocation = place;
    const int done = server.FinishedCount();
    Globals::GetForecast();
    ASSERT_TRUE(WaitUntil([&] { return server.FinishedCount() > done && Status().empty(); }));
    const std::string request = server.Requests().back();
    EXPECT_EQ(request.substr(0, request.find("\r\n")),
              "GET /breezeling/weather?location=" + query + " HTTP/1.0");
    // One request whose every line ends in CR LF: no bare CR or LF, nothing
    // after the blank line.
    const auto count = [&](char c) { return std::count(request.begin(), request.end(), c); };
    EXPECT_EQ(count('\r'), count('\n'));
    EXPECT_EQ(request.find("\r\n\r\n"), request.size() - 4);
    // The place is kept as it was sent.
    EXPECT_EQ(Globals::UserLocation, fw::ReplaceAll(query, "%20", " "));
  }
}

}  // namespace
