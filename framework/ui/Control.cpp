#include "framework/ui/Control.h"

#include <QApplication>
#include <QEvent>
#include <QFontDatabase>
#include <QMouseEvent>
#include <map>

#include "framework/text/Exceptions.h"
#include "framework/ui/Control_p.h"
#include "framework/ui/Window.h"

namespace fw {

namespace {

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

// Whether the machine has a family of that name, looked up once per name in
// the list of installed families (the font database's own test searches the
// desktop's substitutes for the name, which costs as much as loading a font).
bool Installed(const QString& family) {
  static std::map<QString, bool> known;
  auto it = known.find(family);
  if (it == known.end())
    it = known.emplace(family, QFontDatabase::families().contains(family, Qt::CaseInsensitive)).first;
  return it->second;
}

}  // namespace

QFont MakeFont(const TextStyle& style) {
  QFont font = QApplication::font();
  // A family this machine lacks is drawn in the desktop's own font, as
  // "System" is, without asking for a substitute each time it is used.
  if (!style.font.empty() && style.font != "System") {
    const QString family = QString::fromStdString(style.font);
    if (Installed(family)) {
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

bool HasOwnFont(const TextStyle& style) { return style.size > 0 || style.font != "System"; }

void ForwardMouseDown(QWidget* widget, std::function<bool(int x, int y)>* handler) {
  widget->installEventFilter(new MouseDownFilter(widget, handler));
}

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
    if (lockLeft_)
      width_ += dx;
    else
      left_ += dx;
  }
  if (lockBottom_) {
    if (lockTop_)
      height_ += dy;
    else
      top_ += dy;
  }
  if (width_ < 0) width_ = 0;
  if (height_ < 0) height_ = 0;
  ApplyGeometry();
}

}  // namespace fw
