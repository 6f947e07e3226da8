// The about window and the two notice windows (update available, server
// message): their texts, links and Command-W.
#include "WindowsFixture.h"
#include "app/MainWindowFilling.h"
#include "core/UpdateInfo.h"
#include "framework/ui/Canvas.h"
#include "framework/ui/StaticText.h"
#include "windows/AboutWindow.h"
#include "windows/ChangeLogWindow.h"
#include "windows/ServerMessageWindow.h"

namespace {

std::string AboutText(const std::string& name) {
  return AboutWindow::Instance().Ctl<StaticText>(name).Text();
}
fw::PicturePtr AboutRobot() { return AboutWindow::Instance().Ctl<fw::Canvas>("RobotIcon").Backdrop(); }

// A letter alone leaves the window; Command-W closes it.
void ExpectClosedByCommandW(fw::Window& window, bool (*live)()) {
  EXPECT_FALSE(window.RaiseKeyDown("w", false, false));
  EXPECT_TRUE(live());
  EXPECT_FALSE(window.RaiseKeyDown("w", true, false));
  EXPECT_FALSE(live());
}

using NoticeTest = wintest::WindowsTest;

TEST_F(NoticeTest, TheAboutWindowShowsTheVersionAndTheLinksEveryTimeItIsMade) {
  // Made at start and hidden, with the version and the user's robot.
  EXPECT_FALSE(AboutWindow::Instance().Visible());
  EXPECT_EQ(AboutText("AboutVersionLabel"), "UB v1.3.0");
  EXPECT_EQ(AboutRobot(), Pictures::Rivet());
  Hosts::SetForTesting(server.HostPort(), "web.invalid:8080");

  const std::vector<std::pair<void (*)(), void (*)(MainWin&)>> ways = {
      {[] { ExpectClosedByCommandW(AboutWindow::Instance(), &AboutWindow::IsLive); },
       [](MainWin&) { Menu::AboutMenuItem().Trigger(); }},
      {[] { wintest::PressCloseButton("About"); },
       [](MainWin& main) { EXPECT_FALSE(main.Ctl<StaticText>("StaticText3").MouseDown(2, 2)); }}};
  for (const auto& [close, open] : ways) {
    Menu::AboutMenuItem().Trigger();
    ASSERT_TRUE(AboutWindow::Instance().Visible());
    close();
    EXPECT_FALSE(AboutWindow::IsLive());
    open(Main());
    EXPECT_TRUE(AboutWindow::Instance().Visible());
    EXPECT_EQ(AboutText("AboutVersionLabel"), "UB v1.3.0");
    EXPECT_EQ(AboutRobot(), Pictures::BreezelingIcon());  // until the robot is set again
  }
  // Made anew, it shows and opens the links of the hosts of the moment.
  EXPECT_EQ(AboutText("StaticText4"), "http://web.invalid:8080");
  EXPECT_EQ(AboutText("StaticText5"), Hosts::AuthorURL());
  for (const char* link : {"StaticText4", "StaticText5"})
    EXPECT_FALSE(AboutWindow::Instance().Ctl<StaticText>(link).MouseDown(1, 1));
  EXPECT_EQ(Recorders::Get().links,
            (std::vector<std::string>{"http://web.invalid:8080", Hosts::AuthorURL()}));
}

TEST_F(NoticeTest, ASecondChangeLogReplacesTheTextAndTheLabelKeepsItsSize) {
  Globals::CreateNotification("First log");
  ChangeLogWindow* first = &ChangeLogWindow::Instance();
  EXPECT_TRUE(first->Visible());
  auto& text = first->Ctl<StaticText>("ChangeLogText");
  EXPECT_EQ(text.Text(), "First log");
  const std::string longLog(4000, 'x');
  Globals::CreateNotification(longLog);
  EXPECT_EQ(&ChangeLogWindow::Instance(), first);
  EXPECT_EQ(text.Text(), longLog);

  // The user may enlarge the window; the label stays as it was.
  ASSERT_TRUE(wintest::EnlargeFrame("Update Available", 120, 80));
  testsupport::RunEventsFor(50);
  EXPECT_EQ(std::vector<int>({text.Left(), text.Top(), text.Width(), text.Height()}),
            std::vector<int>({4, 4, 292, 153}));
  ExpectClosedByCommandW(*first, &ChangeLogWindow::IsLive);
}

TEST_F(NoticeTest, ServerMessagesShowOnEveryCheckInOneWindow) {
  Globals::InitialUpdateCheckRun = true;  // no first weather request from here
  const auto update = [](const std::string& message) {
    Globals::ParseUpdateInfo("currentX:1.3.0\rxUrl:http://example.invalid/\rserverMessage:" + message);
  };
  update("\"Maintenance\"<br>Sunday");
  ServerMessageWindow& window = ServerMessageWindow::Instance();
  auto& text = window.Ctl<StaticText>("ServerMessageText");
  EXPECT_TRUE(window.Visible());
  EXPECT_EQ(text.Text(), "Maintenance\rSunday");
  EXPECT_EQ(Globals::ServerMessage, "Maintenance\rSunday");
  window.Hide();
  update("Second\r");
  EXPECT_EQ(&ServerMessageWindow::Instance(), &window);
  EXPECT_TRUE(window.Visible());
  EXPECT_EQ(text.Text(), "Second");

  // An empty message shows nothing and changes nothing in the window.
  window.Hide();
  update("\"\"\r");
  EXPECT_FALSE(window.Visible());
  EXPECT_EQ(text.Text(), "Second");
  EXPECT_EQ(Globals::ServerMessage, "");
  ExpectClosedByCommandW(window, &ServerMessageWindow::IsLive);
  update("");  // no message, no window
  EXPECT_FALSE(ServerMessageWindow::IsLive());
}

}  // namespace
