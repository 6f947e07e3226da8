// The about window and the two notice windows (update available, server
// message): their texts, links and Command-W.
#include <QApplication>
#include <QWidget>
#include <string>
#include <vector>

#include "WindowsFixture.h"
#include "app/MainWindowFilling.h"
#include "app/Menu.h"
#include "app/Pictures.h"
#include "core/Globals.h"
#include "core/Hosts.h"
#include "core/UpdateInfo.h"
#include "framework/ui/Controls.h"
#include "support/Recorders.h"
#include "support/Wait.h"
#include "windows/AboutWindow.h"
#include "windows/ChangeLogWindow.h"
#include "windows/ServerMessageWindow.h"

namespace {

using fw::StaticText;

std::string AboutText(const std::string& name) { return AboutWindow::Instance().Ctl<StaticText>(name).Text(); }
fw::PicturePtr AboutRobot() { return AboutWindow::Instance().Ctl<fw::Canvas>("RobotIcon").Backdrop(); }

using NoticeTest = wintest::WindowsTest;

TEST_F(NoticeTest, TheAboutWindowShowsTheVersionEveryTimeItIsMade) {
  // Made at start and hidden, with the version and the user's robot.
  EXPECT_FALSE(AboutWindow::Instance().Visible());
  EXPECT_EQ(AboutText("AboutVersionLabel"), "UB v1.3.0");
  EXPECT_EQ(AboutRobot(), Pictures::Rivet());

  const std::vector<std::pair<void (*)(), void (*)(MainWin&)>> ways = {
      {[] { EXPECT_FALSE(AboutWindow::Instance().RaiseKeyDown("w", true, false)); },
       [](MainWin&) { Menu::AboutMenuItem().Trigger(); }},
      {[] { wintest::PressCloseButton("About"); },
       [](MainWin& main) { EXPECT_FALSE(main.Ctl<StaticText>("StaticText3").MouseDown(2, 2)); }}};
  for (const auto& [close, open] : ways) {
    Menu::AboutMenuItem().Trigger();
    ASSERT_TRUE(AboutWindow::Instance().Visible());
    EXPECT_FALSE(AboutWindow::Instance().RaiseKeyDown("w", false, false));  // only a letter
    ASSERT_TRUE(AboutWindow::IsLive());
    close();
    EXPECT_FALSE(AboutWindow::IsLive());
    open(Main());
    EXPECT_TRUE(AboutWindow::Instance().Visible());
    EXPECT_EQ(AboutText("AboutVersionLabel"), "UB v1.3.0");
    EXPECT_EQ(AboutRobot(), Pictures::BreezelingIcon());  // until the robot is set again
  }
  // After a close, SetUserRobot makes a new about window for the robot, hidden.
  AboutWindow::Instance().RaiseKeyDown("w", true, false);
  Globals::UserRobot = "Tinker";
  Globals::SetUserRobot();
  ASSERT_TRUE(AboutWindow::IsLive());
  EXPECT_FALSE(AboutWindow::Instance().Visible());
  EXPECT_EQ(AboutRobot(), Pictures::tinker());
}

TEST_F(NoticeTest, TheAboutLinksOpenWhatTheyShow) {
  Hosts::SetForTesting(server.HostPort(), "web.invalid:8080");
  AboutWindow::Instance().RaiseKeyDown("w", true, false);  // made anew with this host
  AboutWindow& about = AboutWindow::Instance();
  EXPECT_EQ(AboutText("StaticText4"), "http://web.invalid:8080");
  EXPECT_EQ(AboutText("StaticText5"), Hosts::AuthorURL());
  EXPECT_FALSE(about.Ctl<StaticText>("StaticText4").MouseDown(1, 1));
  EXPECT_FALSE(about.Ctl<StaticText>("StaticText5").MouseDown(1, 1));
  EXPECT_EQ(testsupport::Recorders::Get().links,
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
  QWidget* frame = nullptr;
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (widget->isVisible() && widget->windowTitle() == "Update Available") frame = widget;
  ASSERT_NE(frame, nullptr);
  const int wider = frame->width() + 120;
  frame->resize(wider, frame->height() + 80);
  ASSERT_TRUE(testsupport::WaitUntil([&] { return frame->width() == wider; }));
  testsupport::RunEventsFor(50);
  EXPECT_EQ(std::vector<int>({text.Left(), text.Top(), text.Width(), text.Height()}),
            std::vector<int>({4, 4, 292, 153}));

  EXPECT_FALSE(first->RaiseKeyDown("w", false, false));
  EXPECT_TRUE(ChangeLogWindow::IsLive());
  EXPECT_FALSE(first->RaiseKeyDown("w", true, false));
  EXPECT_FALSE(ChangeLogWindow::IsLive());
}

TEST_F(NoticeTest, ASecondServerMessageReplacesTheTextInTheSameWindow) {
  Globals::InitialUpdateCheckRun = true;  // no first weather request from here
  const auto update = [](const std::string& message) {
    Globals::ParseUpdateInfo("currentX:1.3.0\rxUrl:http://example.invalid/\rserverMessage:" + message);
  };
  update("Hello<br>there");
  ServerMessageWindow* first = &ServerMessageWindow::Instance();
  EXPECT_TRUE(first->Visible());
  auto& text = first->Ctl<StaticText>("ServerMessageText");
  EXPECT_EQ(text.Text(), "Hello\rthere");
  update("Second");
  EXPECT_EQ(&ServerMessageWindow::Instance(), first);
  EXPECT_EQ(text.Text(), "Second");

  EXPECT_FALSE(first->RaiseKeyDown("w", false, false));
  EXPECT_TRUE(ServerMessageWindow::IsLive());
  EXPECT_FALSE(first->RaiseKeyDown("w", true, false));
  EXPECT_FALSE(ServerMessageWindow::IsLive());
  update("");  // no message, no window
  EXPECT_FALSE(ServerMessageWindow::IsLive());
}

}  // namespace
