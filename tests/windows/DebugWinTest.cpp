// The debug window: what it shows when it opens, the replies that arrive
// while it is open, and its closing.
#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>

#include "WindowsFixture.h"
#include "app/MainWindowFilling.h"
#include "framework/ui/Control_p.h"
#include "framework/ui/EditField.h"
#include "windows/DebugWin.h"

namespace {

class DebugTest : public wintest::WindowsTest {
 protected:
  void OpenDebug() { Main().RaiseKeyDown("d", true, true); }
  static std::string Response() { return DebugWin::Instance().Ctl<fw::EditField>("Response").Text(); }
  static QPlainTextEdit* Shown() {
    return qobject_cast<QPlainTextEdit*>(DebugWin::Instance().Ctl<fw::EditField>("Response").impl().widget);
  }
};

TEST_F(DebugTest, OnlyCommandShiftDOpensItAndWhileOpenItShowsEveryReplyAsItCame) {
  EXPECT_FALSE(DebugWin::IsLive() || Globals::DebugWInOpen);
  Main().RaiseKeyDown("d", true, false);
  Main().RaiseKeyDown("d", false, true);
  EXPECT_FALSE(DebugWin::IsLive());
  OpenDebug();
  ASSERT_TRUE(DebugWin::IsLive());
  EXPECT_TRUE(DebugWin::Instance().Visible() && Globals::DebugWInOpen);
  EXPECT_EQ(Response(), "");

  // Failed replies too; only good ones become the raw response.
  ASSERT_TRUE(Fetch(Script::Reply(200, "{\"current_temperature\":1.0}\nline two\n")));
  EXPECT_EQ(Response(), "{\"current_temperature\":1.0}\nline two\n");
  ASSERT_TRUE(Fetch(Script::Reply(404, "not\nfound")));
  EXPECT_EQ(Response(), "not\nfound");
  EXPECT_EQ(Recorders::Get().boxes.size(), 1u);
  EXPECT_EQ(Globals::RawResponse, "{\"current_temperature\":1.0}\rline two\r");
}

TEST_F(DebugTest, OpenedAfterRepliesItShowsTheLastGoodOneAndClosedItShowsNothing) {
  ASSERT_TRUE(Fetch(Script::Reply(200, "first\nreply")));
  ASSERT_TRUE(Fetch(Script::Reply(500, "broken")));
  OpenDebug();
  EXPECT_EQ(Response(), "first\rreply");
  EXPECT_FALSE(DebugWin::Instance().RaiseKeyDown("w", false, false));  // only a letter
  EXPECT_TRUE(DebugWin::IsLive());
  EXPECT_FALSE(DebugWin::Instance().RaiseKeyDown("w", true, false));
  EXPECT_FALSE(DebugWin::IsLive() || Globals::DebugWInOpen);

  ASSERT_TRUE(Fetch(Script::Reply(200, "second\nreply")));
  EXPECT_FALSE(DebugWin::IsLive());
  OpenDebug();
  EXPECT_EQ(Response(), "second\rreply");
  wintest::PressCloseButton("Debug");
  EXPECT_FALSE(Globals::DebugWInOpen);
}

TEST_F(DebugTest, HiddenItKeepsReceivingAndItsFieldGrowsWithTheWindow) {
  OpenDebug();
  Globals::WindowsHide();
  EXPECT_TRUE(Globals::DebugWInOpen);
  const std::string longLine(3000, 'a');
  ASSERT_TRUE(Fetch(Script::Reply(200, longLine)));
  EXPECT_EQ(Response(), longLine);

  OpenDebug();
  auto& field = DebugWin::Instance().Ctl<fw::EditField>("Response");
  const int width = field.Width(), height = field.Height();
  ASSERT_TRUE(wintest::EnlargeFrame("Debug", 100, 50));
  EXPECT_TRUE(testsupport::WaitUntil([&] { return field.Width() == width + 100; }));
  EXPECT_EQ(std::vector<int>({field.Left(), field.Top(), field.Height()}),
            std::vector<int>({20, 37, height + 50}));
}

TEST_F(DebugTest, ACrLfPairIsOneLineBreakOnScreenAndInWhatIsCopied) {
  // reply body, what the field shows and a copy carries
  const std::vector<std::pair<std::string, std::string>> bodies = {{"first\r\nsecond\r\n", "first\nsecond\n"},
                                                                   {"blank\r\n\r\nline", "blank\n\nline"},
                                                                   {"lf\nonly", "lf\nonly"},
                                                                   {"cr\ronly\r\r", "cr\nonly\n\n"}};
  for (const auto& [body, expected] : bodies) {
    // Opened after the reply (from the raw response), and open as it arrives.
    for (bool openFirst : {false, true}) {
      SCOPED_TRACE(body + (openFirst ? " open" : " opened after"));
      if (openFirst) OpenDebug();
      ASSERT_TRUE(Fetch(Script::Reply(200, body)));
      if (!openFirst) OpenDebug();
      QPlainTextEdit* field = Shown();
      ASSERT_NE(field, nullptr);
      EXPECT_EQ(field->toPlainText().toStdString(), expected);
      field->selectAll();
      field->copy();
      EXPECT_EQ(QApplication::clipboard()->text().toStdString(), expected);
      DebugWin::Instance().Close();
    }
  }
}

}  // namespace
