#include "framework/ui/StaticText.h"

#include <QFontMetrics>
#include <QLabel>

#include "framework/ui/Control_p.h"
#include "framework/ui/PlainText.h"

namespace fw {

namespace {

QColor ToColor(std::uint32_t rgb) { return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

// A label that shows its text whole or visibly shortened, never cut off at
// its edge: see StaticText.
class LabelWidget : public QLabel {
 public:
  explicit LabelWidget(QWidget* parent) : QLabel(parent) { setTextFormat(Qt::PlainText); }

  void SetContent(const QString& text) {
    content_ = text;
    Fit();
  }
  // The text, fitted with the next design font.
  void PrepareContent(const QString& text) { content_ = text; }
  void SetDesignFont(const QFont& font, int smallestSize) {
    design_ = font;
    smallestSize_ = smallestSize;
    Fit();
  }

  void Fit() {
    // A hidden label is fitted when it is shown: measuring is the costly
    // part (the first text in a font loads that font). For the same
    // reason a label fitted again with the same text, font and room (when
    // it is placed, shown or restyled) is already right.
    if (isHidden()) return;
    const int room = contentsRect().width() - 2 * margin();
    if (fitted_ && fittedContent_ == content_ && fittedFont_ == design_ && fittedSmallest_ == smallestSize_ &&
        fittedRoom_ == room && fittedWrap_ == wordWrap())
      return;
    fitted_ = true;
    fittedContent_ = content_;
    fittedFont_ = design_;
    fittedSmallest_ = smallestSize_;
    fittedRoom_ = room;
    fittedWrap_ = wordWrap();

    QFont font = design_;
    QString shown = content_;
    bool shortened = false;
    if (!wordWrap()) {
      const QStringList lines = content_.split(QChar('\n'));
      const auto fits = [&](const QFont& f) {
        const QFontMetrics metrics(f);
        for (const QString& line : lines)
          if (metrics.horizontalAdvance(line) > room) return false;
        return true;
      };
      if (smallestSize_ > 0) {
        for (int size = design_.pixelSize() - 1; size >= smallestSize_ && !fits(font); --size)
          font.setPixelSize(size);
      }
      if (!fits(font)) {
        const QFontMetrics metrics(font);
        QStringList cut;
        for (const QString& line : lines) cut << metrics.elidedText(line, Qt::ElideRight, room);
        shown = cut.join(QChar('\n'));
        shortened = true;
      }
    }
    setFont(font);
    setText(shown);
    setToolTip(shortened ? content_ : QString());
    setAccessibleDescription(shortened ? content_ : QString());
  }

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QLabel::resizeEvent(event);
    Fit();
  }
  void showEvent(QShowEvent* event) override {
    Fit();
    QLabel::showEvent(event);
  }

 private:
  QString content_;
  QFont design_;
  int smallestSize_ = 0;
  bool fitted_ = false;
  QString fittedContent_;
  QFont fittedFont_;
  int fittedSmallest_ = 0, fittedRoom_ = 0;
  bool fittedWrap_ = false;
};

}  // namespace

void StaticText::Attach() {
  auto* label = new LabelWidget(ContentOf(OwnerWindow()));
  label->setObjectName(QString::fromStdString(Name()));
  ForwardMouseDown(label, &MouseDown);
  // Placed before the text is fitted, so that it is fitted once.
  label->setGeometry(Left(), Top(), Width(), Height());
  label->PrepareContent(DisplayText(text_));
  impl_->widget = label;
  ApplyStyle();
}

void StaticText::SetText(const std::string& text) {
  text_ = text;
  if (auto* label = dynamic_cast<LabelWidget*>(impl_->widget.data())) label->SetContent(DisplayText(text));
}

void StaticText::Resized() {
  if (auto* label = dynamic_cast<LabelWidget*>(impl_->widget.data())) label->Fit();
}

StaticText& StaticText::ShrinkToFit(int smallestSize) {
  smallestSize_ = smallestSize;
  ApplyStyle();
  return *this;
}

StaticText& StaticText::Font(const std::string& family, int size) {
  style_.font = family;
  style_.size = size;
  ApplyStyle();
  return *this;
}

StaticText& StaticText::Underline(bool on) {
  style_.underline = on;
  ApplyStyle();
  return *this;
}
StaticText& StaticText::Bold(bool on) {
  style_.bold = on;
  ApplyStyle();
  return *this;
}
StaticText& StaticText::TextColor(std::uint32_t rgb) {
  style_.color = rgb;
  ApplyStyle();
  return *this;
}
StaticText& StaticText::Alignment(Align align) {
  style_.align = align;
  ApplyStyle();
  return *this;
}
StaticText& StaticText::Multiline(bool on) {
  multiline_ = on;
  ApplyStyle();
  return *this;
}

void StaticText::ApplyStyle() {
  auto* label = dynamic_cast<LabelWidget*>(impl_->widget.data());
  if (!label) return;
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, ToColor(style_.color));
  label->setPalette(palette);
  Qt::Alignment horizontal = style_.align == Align::Center  ? Qt::AlignHCenter
                             : style_.align == Align::Right ? Qt::AlignRight
                                                            : Qt::AlignLeft;
  label->setAlignment(horizontal | (multiline_ ? Qt::AlignTop : Qt::AlignVCenter));
  label->setWordWrap(multiline_);
  label->SetDesignFont(MakeFont(style_), smallestSize_);
}

}  // namespace fw
