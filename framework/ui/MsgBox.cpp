#include "framework/ui/MsgBox.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QStringList>
#include <QTextLayout>
#include <algorithm>

#include "framework/ui/MsgBox_p.h"
#include "framework/ui/PlainText.h"

namespace fw {

namespace {

MsgBoxHandler& Handler() {
  static MsgBoxHandler handler;
  return handler;
}

// A box shows a few lines of a long text; the whole of a server's reply is
// for the debug window, not for a box that would outgrow the screen.
constexpr int kMostLines = 15;
const QChar kEllipsis(0x2026);

// The text as a box shows it: laid out in lines of the given width, at most
// mostLines of them; a text that goes on ends its last line in an ellipsis.
QString CutForBox(const QString& text, const QFont& font, int width, int mostLines) {
  const QFontMetrics metrics(font);
  const QStringList paragraphs = text.split(QChar('\n'));
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  int lines = 0;
  for (qsizetype p = 0; p < paragraphs.size(); ++p) {
    const QString& paragraph = paragraphs[p];
    QTextLayout layout(paragraph, font);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
      line.setLineWidth(width);
      if (++lines < mostLines) continue;
      const qsizetype end = line.textStart() + line.textLength();
      const bool more = end < paragraph.size() || p + 1 < paragraphs.size();
      layout.endLayout();
      if (!more) return text;
      // The last line shown, with room made for the ellipsis.
      QString last = paragraph.mid(line.textStart(), line.textLength());
      while (!last.isEmpty() &&
             (last.back().isSpace() || metrics.horizontalAdvance(last + kEllipsis) > width))
        last.chop(1);
      QStringList shown = paragraphs.mid(0, p);
      shown << paragraph.left(line.textStart()) + last + kEllipsis;
      return shown.join(QChar('\n'));
    }
    layout.endLayout();
  }
  return text;
}

}  // namespace

std::unique_ptr<QMessageBox> MakeMsgBox(const std::string& text) {
  auto box = std::make_unique<QMessageBox>(QMessageBox::NoIcon, QApplication::applicationDisplayName(),
                                           QString(), QMessageBox::Ok);
  box->setTextFormat(Qt::PlainText);
  // The box wraps its text at about half the screen's width (500 pixels at
  // most); the lines are counted a little narrower, so never too few.
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  const int width = std::max(100, std::min(area.width() / 2, 500) - 60);
  const QFont font = box->font();
  // Room for the title bar, margins and the button besides the lines.
  const int lines =
      std::clamp((area.height() - 160) / std::max(1, QFontMetrics(font).lineSpacing()), 3, kMostLines);
  box->setText(CutForBox(DisplayText(text), font, width, lines));
  return box;
}

void SetMsgBoxHandler(MsgBoxHandler handler) { Handler() = std::move(handler); }

void MsgBox(const std::string& text) {
  if (Handler()) {
    // Copy first: the handler may replace itself while it runs.
    MsgBoxHandler handler = Handler();
    handler(text);
    return;
  }
  MakeMsgBox(text)->exec();
}

}  // namespace fw
