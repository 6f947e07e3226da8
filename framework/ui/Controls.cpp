#include "framework/ui/Controls.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include "framework/text/Exceptions.h"
#include "framework/ui/Controls_p.h"
#include "framework/ui/Picture_p.h"
#include "framework/ui/PlainText.h"
#include "framework/ui/Window.h"

namespace fw {

namespace {

// Whether a button's font was set, rather than left to the platform's.
bool HasOwnFont(const TextStyle& style) { return style.size > 0 || style.font != "System"; }

QColor ToColor(std::uint32_t rgb) {
  return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

// Turns mouse presses on a widget into the control's MouseDown event.
class MouseDownFilter : public QObject {
 public:
  MouseDownFilter(QObject* parent, std::function<bool(int, int)>* handler)
      : QObject(parent), handler_(handler) {}

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::MouseButtonPress || !*handler_) return false;
    auto* mouse = static_cast<QMouseEvent*>(event);
    QPoint at = mouse->position().toPoint();
    bool consumed = false;
    auto handler = *handler_;
    Guarded([&] { consumed = handler(at.x(), at.y()); });
    return consumed;
  }

 private:
  std::function<bool(int, int)>* handler_;
};

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
    if (fitted_ && fittedContent_ == content_ && fittedFont_ == design_ &&
        fittedSmallest_ == smallestSize_ && fittedRoom_ == room && fittedWrap_ == wordWrap())
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
        for (const QString& line : lines)
          cut << metrics.elidedText(line, Qt::ElideRight, room);
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

class CanvasWidget : public QWidget {
 public:
  explicit CanvasWidget(QWidget* parent) : QWidget(parent) { setFocusPolicy(Qt::NoFocus); }
  PicturePtr picture;

 protected:
  void paintEvent(QPaintEvent*) override {
    if (!picture) return;
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture->impl().Pixmap(devicePixelRatioF()));
  }
};

class SpinnerWidget : public QWidget {
 public:
  explicit SpinnerWidget(QWidget* parent) : QWidget(parent) {
    // It turns over other controls (the refresh button): clicks go through.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    timer_.setInterval(80);
    QObject::connect(&timer_, &QTimer::timeout, this, [this] {
      step_ = (step_ + 1) % 12;
      update();
    });
  }

 protected:
  void showEvent(QShowEvent*) override { timer_.start(); }
  void hideEvent(QHideEvent*) override { timer_.stop(); }
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(width() / 2.0, height() / 2.0);
    const qreal radius = std::min(width(), height()) / 2.0 - 1.5;
    for (int i = 0; i < 12; ++i) {
      int age = (step_ - i + 12) % 12;
      QColor colour(40, 40, 40, 255 - age * 19);
      painter.save();
      painter.translate(centre);
      painter.rotate(i * 30.0);
      painter.setPen(QPen(colour, 1.6, Qt::SolidLine, Qt::RoundCap));
      painter.drawLine(QPointF(0, -radius * 0.45), QPointF(0, -radius));
      painter.restore();
    }
  }

 private:
  QTimer timer_;
  int step_ = 0;
};

}  // namespace

QFont MakeFont(const TextStyle& style) {
  QFont font = QApplication::font();
  // A family this machine lacks is drawn in the desktop's own font, as
  // "System" is, without asking for a substitute each time it is used.
  if (!style.font.empty() && style.font != "System") {
    const QString family = QString::fromStdString(style.font);
    if (QFontDatabase::hasFamily(family)) {
      font.setFamily(family);
      font.setStyleHint(QFont::SansSerif);
    }
  }
  if (style.size > 0) font.setPixelSize(style.size);
  font.setBold(style.bold);
  font.setItalic(style.italic);
  font.setUnderline(style.underline);
  return font;
}

// ---- Control ----

Control::Control() : impl_(std::make_unique<Impl>()) {}
Control::~Control() = default;

Control::Impl& Control::impl() const {
  if (window_) window_->Realize();
  return *impl_;
}

void Control::SetBounds(int left, int top, int width, int height) {
  left_ = left;
  top_ = top;
  width_ = width < 0 ? 0 : width;
  height_ = height < 0 ? 0 : height;
  ApplyGeometry();
}

void Control::ApplyGeometry() {
  if (impl_->widget) impl_->widget->setGeometry(left_, top_, width_, height_);
  Resized();
}

void Control::SetVisible(bool visible) {
  visible_ = visible;
  if (impl_->widget) impl_->widget->setVisible(visible);
}

void Control::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (impl_->widget) impl_->widget->setEnabled(enabled);
}

void Control::SetLocks(bool left, bool top, bool right, bool bottom) {
  lockLeft_ = left;
  lockTop_ = top;
  lockRight_ = right;
  lockBottom_ = bottom;
}

void Control::FollowWindow(int oldWidth, int oldHeight, int newWidth, int newHeight) {
  int dx = newWidth - oldWidth, dy = newHeight - oldHeight;
  if (lockRight_) {
    if (lockLeft_) width_ += dx; else left_ += dx;
  }
  if (lockBottom_) {
    if (lockTop_) height_ += dy; else top_ += dy;
  }
  if (width_ < 0) width_ = 0;
  if (height_ < 0) height_ = 0;
  ApplyGeometry();
}

// ---- StaticText ----

void StaticText::Attach() {
  auto* label = new LabelWidget(ContentOf(OwnerWindow()));
  label->setObjectName(QString::fromStdString(Name()));
  label->installEventFilter(new MouseDownFilter(label, &MouseDown));
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

StaticText& StaticText::Underline(bool on) { style_.underline = on; ApplyStyle(); return *this; }
StaticText& StaticText::Bold(bool on) { style_.bold = on; ApplyStyle(); return *this; }
StaticText& StaticText::TextColor(std::uint32_t rgb) { style_.color = rgb; ApplyStyle(); return *this; }
StaticText& StaticText::Alignment(Align align) { style_.align = align; ApplyStyle(); return *this; }
StaticText& StaticText::Multiline(bool on) { multiline_ = on; ApplyStyle(); return *this; }

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

// ---- Canvas ----

void Canvas::Attach() {
  auto* canvas = new CanvasWidget(ContentOf(OwnerWindow()));
  canvas->setObjectName(QString::fromStdString(Name()));
  canvas->installEventFilter(new MouseDownFilter(canvas, &MouseDown));
  canvas->picture = backdrop_;
  impl_->widget = canvas;
}

void Canvas::SetBackdrop(PicturePtr picture) {
  backdrop_ = std::move(picture);
  if (auto* canvas = static_cast<CanvasWidget*>(impl_->widget.data())) {
    canvas->picture = backdrop_;
    canvas->update();
  }
}

void Canvas::Refresh(bool) {
  if (impl_->widget) impl_->widget->repaint();
}

// ---- EditField ----

void EditField::Attach() { Rebuild(); }

void EditField::Rebuild() {
  QWidget* parent = MadeContentOf(OwnerWindow());
  if (!parent) return;
  delete impl_->widget.data();
  QWidget* widget = nullptr;
  if (multiline_) {
    auto* edit = new QPlainTextEdit(parent);
    edit->setPlainText(DisplayText(text_));
    edit->setReadOnly(readOnly_);
    edit->setVerticalScrollBarPolicy(vscroll_ ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    edit->setHorizontalScrollBarPolicy(hscroll_ ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    edit->setLineWrapMode(hscroll_ ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
    edit->setFrameShape(border_ ? QFrame::StyledPanel : QFrame::NoFrame);
    QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [this, edit] {
      // Only the user's typing changes the field's text; what code set stays exact.
      if (edit->property("settingText").toBool()) return;
      text_ = edit->toPlainText().toStdString();
    });
    widget = edit;
  } else {
    auto* edit = new QLineEdit(parent);
    edit->setText(DisplayText(text_));
    edit->setReadOnly(readOnly_);
    edit->setFrame(border_);
    // Not only typing: a screen reader or voice input sets the text
    // through the field's accessibility interface, which no edit signal reports.
    QObject::connect(edit, &QLineEdit::textChanged, edit, [this, edit](const QString& text) {
      if (edit->property("settingText").toBool()) return;
      text_ = text.toStdString();
    });
    widget = edit;
  }
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Base, Qt::white);
  palette.setColor(QPalette::Text, Qt::black);
  widget->setPalette(palette);
  widget->setFont(MakeFont(style_));
  widget->setObjectName(QString::fromStdString(Name()));
  impl_->widget = widget;
  ApplyGeometry();
  widget->setVisible(Visible());
  widget->setEnabled(Enabled());
}

std::string EditField::Text() const { return text_; }

void EditField::SetText(const std::string& text) {
  text_ = text;
  if (auto* edit = qobject_cast<QPlainTextEdit*>(impl_->widget.data())) {
    edit->setProperty("settingText", true);
    edit->setPlainText(DisplayText(text));
    edit->setProperty("settingText", false);
  } else if (auto* line = qobject_cast<QLineEdit*>(impl_->widget.data())) {
    line->setProperty("settingText", true);
    line->setText(DisplayText(text));
    line->setProperty("settingText", false);
  }
}

EditField& EditField::Font(const std::string& family, int size) {
  style_.font = family;
  style_.size = size;
  if (impl_->widget) impl_->widget->setFont(MakeFont(style_));
  return *this;
}

EditField& EditField::Multiline(bool on) {
  if (multiline_ != on) {
    multiline_ = on;
    Rebuild();
  }
  return *this;
}

EditField& EditField::ReadOnly(bool on) {
  readOnly_ = on;
  if (auto* edit = qobject_cast<QPlainTextEdit*>(impl_->widget.data())) edit->setReadOnly(on);
  if (auto* line = qobject_cast<QLineEdit*>(impl_->widget.data())) line->setReadOnly(on);
  return *this;
}

EditField& EditField::ScrollBars(bool vertical, bool horizontal) {
  vscroll_ = vertical;
  hscroll_ = horizontal;
  if (multiline_) Rebuild();
  return *this;
}

EditField& EditField::Border(bool on) {
  border_ = on;
  Rebuild();
  return *this;
}

// ---- PopupMenu ----

void PopupMenu::Attach() {
  auto* combo = new QComboBox(ContentOf(OwnerWindow()));
  combo->setObjectName(QString::fromStdString(Name()));
  combo->setFont(MakeFont(style_));
  {
    QSignalBlocker block(combo);
    for (const std::string& row : rows_) combo->addItem(QString::fromStdString(row));
    // The box selects its first row by itself; the selection is ours.
    combo->setCurrentIndex(index_);
  }
  QObject::connect(combo, &QComboBox::activated, combo, [this](int index) {
    if (index == index_) return;
    index_ = index;
    if (Change) {
      auto change = Change;
      Guarded(change);
    }
  });
  impl_->widget = combo;
}

void PopupMenu::AddRow(const std::string& text) {
  rows_.push_back(text);
  if (auto* combo = qobject_cast<QComboBox*>(impl_->widget.data())) {
    QSignalBlocker block(combo);
    combo->addItem(QString::fromStdString(text));
    // The box selects its first row by itself; the selection is ours.
    combo->setCurrentIndex(index_);
  }
}

void PopupMenu::DeleteAllRows() {
  rows_.clear();
  if (auto* combo = qobject_cast<QComboBox*>(impl_->widget.data())) {
    QSignalBlocker block(combo);
    combo->clear();
  }
  SetListIndex(-1);
}

std::string PopupMenu::List(int index) const {
  if (index < 0 || index >= ListCount()) return "";
  return rows_[static_cast<std::size_t>(index)];
}

void PopupMenu::SetListIndex(int index) {
  if (index < -1 || index >= ListCount()) index = -1;
  if (auto* combo = qobject_cast<QComboBox*>(impl_->widget.data())) {
    QSignalBlocker block(combo);
    combo->setCurrentIndex(index);
  }
  if (index == index_) return;
  index_ = index;
  if (Change) {
    auto change = Change;
    Guarded(change);
  }
}

PopupMenu& PopupMenu::Font(const std::string& family, int size) {
  style_.font = family;
  style_.size = size;
  if (impl_->widget) impl_->widget->setFont(MakeFont(style_));
  return *this;
}

// ---- PushButton ----

void PushButton::Attach() {
  auto* button = new QPushButton(ContentOf(OwnerWindow()));
  button->setObjectName(QString::fromStdString(Name()));
  button->setAutoDefault(false);
  QObject::connect(button, &QPushButton::clicked, button, [this] {
    if (Action) {
      auto action = Action;
      Guarded(action);
    }
  });
  impl_->widget = button;
  if (HasOwnFont(style_)) button->setFont(MakeFont(style_));
  button->setDefault(default_);
  SetCaption(caption_);
}

void PushButton::SetCaption(const std::string& caption) {
  caption_ = caption;
  if (auto* button = qobject_cast<QPushButton*>(impl_->widget.data())) {
    QString text = QString::fromStdString(caption);
    button->setText(text.replace(QStringLiteral("&"), QStringLiteral("&&")));
  }
}

PushButton& PushButton::Font(const std::string& family, int size) {
  style_.font = family;
  style_.size = size;
  if (impl_->widget) impl_->widget->setFont(MakeFont(style_));
  return *this;
}

PushButton& PushButton::Default(bool on) {
  default_ = on;
  if (auto* button = qobject_cast<QPushButton*>(impl_->widget.data())) button->setDefault(on);
  return *this;
}

PushButton& PushButton::Cancel(bool on) {
  cancel_ = on;
  return *this;
}

void PushButton::Push() {
  if (!Enabled() || !Visible()) return;
  if (auto* button = qobject_cast<QPushButton*>(impl_->widget.data())) {
    button->click();
  } else if (Action) {
    auto action = Action;
    Guarded(action);
  }
}

// ---- BevelButton ----

void BevelButton::Attach() {
  auto* button = new QToolButton(ContentOf(OwnerWindow()));
  button->setObjectName(QString::fromStdString(Name()));
  button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  QObject::connect(button, &QToolButton::clicked, button, [this] {
    if (Action) {
      auto action = Action;
      Guarded(action);
    }
  });
  impl_->widget = button;
  if (HasOwnFont(style_)) button->setFont(MakeFont(style_));
  SetCaption(caption_);
  SetIcon(icon_);
}

void BevelButton::SetCaption(const std::string& caption) {
  caption_ = caption;
  if (auto* button = qobject_cast<QToolButton*>(impl_->widget.data())) {
    QString text = QString::fromStdString(caption);
    button->setText(text.replace(QStringLiteral("&"), QStringLiteral("&&")));
    button->setToolButtonStyle(caption.empty() ? Qt::ToolButtonIconOnly
                                               : Qt::ToolButtonTextBesideIcon);
  }
}

BevelButton& BevelButton::CaptionSize(int size) {
  style_.size = size;
  if (impl_->widget) impl_->widget->setFont(MakeFont(style_));
  return *this;
}

void BevelButton::SetIcon(PicturePtr icon) {
  icon_ = std::move(icon);
  auto* button = qobject_cast<QToolButton*>(impl_->widget.data());
  if (!button) return;
  if (!icon_) {
    button->setIcon(QIcon());
    return;
  }
  // Drawn at the screen's pixel ratio when the button is painted.
  button->setIcon(IconOf(icon_));
  button->setIconSize(QSize(icon_->Width(), icon_->Height()));
}

void BevelButton::Push() {
  if (!Enabled() || !Visible()) return;
  if (auto* button = qobject_cast<QToolButton*>(impl_->widget.data())) {
    button->click();
  } else if (Action) {
    auto action = Action;
    Guarded(action);
  }
}

// ---- ProgressBar, ChasingArrows, Placard, Separator ----

void ProgressBar::Attach() {
  auto* bar = new QProgressBar(ContentOf(OwnerWindow()));
  bar->setObjectName(QString::fromStdString(Name()));
  bar->setTextVisible(false);
  bar->setRange(0, maximum_);
  bar->setValue(value_);
  impl_->widget = bar;
}

void ProgressBar::SetValue(int value) {
  value_ = value;
  if (auto* bar = qobject_cast<QProgressBar*>(impl_->widget.data()))
    bar->setValue(std::clamp(value, 0, std::max(0, maximum_)));
}

void ProgressBar::SetMaximum(int maximum) {
  maximum_ = maximum;
  if (auto* bar = qobject_cast<QProgressBar*>(impl_->widget.data())) {
    bar->setRange(0, std::max(0, maximum));
    bar->setValue(std::clamp(value_, 0, std::max(0, maximum)));
  }
}

void ChasingArrows::Attach() {
  auto* spinner = new SpinnerWidget(ContentOf(OwnerWindow()));
  spinner->setObjectName(QString::fromStdString(Name()));
  impl_->widget = spinner;
}

void Placard::Attach() {
  auto* frame = new QFrame(ContentOf(OwnerWindow()));
  frame->setObjectName(QString::fromStdString(Name()));
  frame->setFrameShape(QFrame::StyledPanel);
  frame->setFrameShadow(QFrame::Raised);
  frame->setAutoFillBackground(true);
  QPalette palette = frame->palette();
  palette.setColor(QPalette::Window, QColor(0xEE, 0xEE, 0xEE));
  frame->setPalette(palette);
  impl_->widget = frame;
}

void Separator::Attach() {
  auto* line = new QFrame(ContentOf(OwnerWindow()));
  line->setObjectName(QString::fromStdString(Name()));
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  impl_->widget = line;
}

}  // namespace fw
