#include "framework/ui/Window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <map>

#include "framework/text/Text.h"
#include "framework/ui/Application.h"
#include "framework/ui/Control_p.h"
#include "framework/ui/Keyboard.h"
#include "framework/ui/Keyboard_p.h"
#include "framework/ui/MenuBar_p.h"
#include "framework/ui/MenuItem_p.h"
#include "framework/ui/PushButton.h"

namespace fw {

namespace {

struct Registry {
  std::map<std::type_index, std::unique_ptr<Window>> live;
  // Closed windows wait here until the loop is back from their handlers.
  std::vector<std::unique_ptr<Window>> closed;
  int staggered = 0;
};

// Outlives every window: the program's stop steps release the windows
// (CloseAll) while the toolkit is up, and a process that ends any other way
// (exit()) leaves the windows and their widgets to the system instead of
// tearing them down after the toolkit's own state is gone.
Registry& Windows() {
  static Registry* const registry = new Registry;
  return *registry;
}

Window* WindowOfWidget(QWidget* widget);
MenuBar* ShownMenuBar(Window* window);

bool HasEnabledShortcut(const MenuItem& menu, const QKeySequence& keys) {
  for (int i = 0; i < menu.Count(); ++i) {
    const MenuItem* item = menu.Item(i);
    const QAction* action = item->impl().action.get();
    if (item->Enabled() && !action->shortcut().isEmpty() &&
        action->shortcut().matches(keys) == QKeySequence::ExactMatch)
      return true;
    if (HasEnabledShortcut(*item, keys)) return true;
  }
  return false;
}

bool HasEnabledShortcut(const MenuBar& bar, const QKeySequence& keys) {
  for (int i = 0; i < bar.Count(); ++i)
    if (bar.Item(i)->Enabled() && HasEnabledShortcut(*bar.Item(i), keys)) return true;
  return false;
}

std::string KeyText(const QKeyEvent& event) {
  int key = event.key();
  if (key >= Qt::Key_A && key <= Qt::Key_Z) {
    char letter = static_cast<char>('a' + (key - Qt::Key_A));
    if (event.modifiers() & Qt::ShiftModifier) letter = static_cast<char>(letter - 'a' + 'A');
    return std::string(1, letter);
  }
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return "\r";
    case Qt::Key_Escape:
      return "\x1b";
    case Qt::Key_Tab:
      return "\t";
    case Qt::Key_Backspace:
      return "\b";
    default:
      break;
  }
  return event.text().toStdString();
}

// Sees every key typed in our windows once, before the focused widget:
// the window's KeyDown, the default and cancel buttons, and the menus'
// preparation before a shortcut is looked up.
class KeyRouter : public QObject {
 public:
  static void Install() {
    static KeyRouter* router = nullptr;
    if (!router && qApp) {
      router = new KeyRouter(qApp);
      qApp->installEventFilter(router);
    }
  }

 protected:
  explicit KeyRouter(QObject* parent) : QObject(parent) {}

  bool eventFilter(QObject* object, QEvent* event) override {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride) return false;
    // Keys reach Qt's window object before its widgets; act on the widgets.
    if (!object->isWidgetType()) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    auto* receiver = static_cast<QWidget*>(object);
    // An unhandled key travels on to the parent widgets (as a copy of the
    // event); act on it once, where it first arrived.
    const auto fields = std::make_tuple(static_cast<int>(event->type()), key->timestamp(), key->key(),
                                        static_cast<int>(key->modifiers()), key->isAutoRepeat());
    bool travelling = fields == lastFields_ && lastReceiver_ && receiver->isAncestorOf(lastReceiver_);
    lastFields_ = fields;
    lastReceiver_ = receiver;
    if (travelling) return false;

    if (event->type() == QEvent::ShortcutOverride) {
      MenuBar* bar = ShownMenuBar(WindowOfWidget(receiver->window()));
      if (!bar) return false;
      if (key->modifiers() & Qt::ControlModifier) bar->PrepareMenus();
      // The menus' key equivalents come before a text field's own key
      // bindings (under X11 a line edit takes Control-U to delete the line):
      // kept from the field, the key goes to the window's shortcuts.
      if (HasEnabledShortcut(*bar, QKeySequence(key->keyCombination()))) {
        key->ignore();
        return true;
      }
      return false;
    }
    // Modifier keys alone are not keys typed.
    switch (key->key()) {
      case Qt::Key_Shift:
      case Qt::Key_Control:
      case Qt::Key_Meta:
      case Qt::Key_Alt:
      case Qt::Key_AltGr:
      case Qt::Key_CapsLock:
      case Qt::Key_NumLock:
      case Qt::Key_unknown:
        return false;
      default:
        break;
    }
    auto* widget = receiver;
    QPointer<QWidget> top = widget->window();
    Window* window = WindowOfWidget(top);
    if (!window) return false;
    bool command = key->modifiers() & Qt::ControlModifier;
    bool shift = key->modifiers() & Qt::ShiftModifier;
    if (window->RaiseKeyDown(KeyText(*key), command, shift)) return true;
    if (window->IsClosed() || !top) return true;
    if (!command &&
        (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_Escape)) {
      bool cancel = key->key() == Qt::Key_Escape;
      for (int i = 0; i < window->ControlCount(); ++i) {
        auto* button = dynamic_cast<PushButton*>(&window->ControlAt(i));
        if (button && (cancel ? button->IsCancel() : button->IsDefault()) && button->Enabled() &&
            button->Visible()) {
          button->Push();
          return true;
        }
      }
    }
    return false;
  }

 private:
  std::tuple<int, quint64, int, int, bool> lastFields_{0, 0, 0, 0, false};
  QPointer<QWidget> lastReceiver_;
};

}  // namespace

// The top-level widget of a window.
class FrameWidget : public QWidget {
 public:
  explicit FrameWidget(Window* owner) : owner_(owner) {}
  Window* owner_;

 protected:
  void closeEvent(QCloseEvent* event) override {
    // The window's close button closes the window object, not only the widget.
    event->ignore();
    if (owner_ && !owner_->IsClosed()) owner_->Close();
  }
};

// The content area; keeps controls locked to its edges in place.
class ContentWidget : public QWidget {
 public:
  ContentWidget(QWidget* parent, Window* owner) : QWidget(parent), owner_(owner) {}

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QSize old = event->oldSize();
    if (old.isValid() && owner_) {
      for (int i = 0; i < owner_->ControlCount(); ++i)
        owner_->ControlAt(i).FollowWindow(old.width(), old.height(), width(), height());
    }
  }

 private:
  Window* owner_;
};

struct Window::Impl {
  // Made when the window is first shown or its widgets are first asked for.
  FrameWidget* frame = nullptr;
  ContentWidget* content = nullptr;
  QMenuBar* menuBar = nullptr;
  // What the window has the loop do for it later is tied to this object,
  // made with the window's controls and deleted with the window: pending
  // work goes with the window, or with the application if that goes first.
  QPointer<QObject> lifetime;
};

namespace {
Window* WindowOfWidget(QWidget* widget) {
  auto* frame = dynamic_cast<FrameWidget*>(widget);
  return frame ? frame->owner_ : nullptr;
}

// The menu bar the window shows, or none.
MenuBar* ShownMenuBar(Window* window) {
  return window && window->impl().menuBar ? window->GetMenuBar() : nullptr;
}
}  // namespace

QWidget* ContentOf(Window* window) {
  if (!window) return nullptr;
  window->Realize();
  return window->impl().content;
}

QWidget* MadeContentOf(Window* window) { return window ? window->impl().content : nullptr; }

Window::Window() : impl_(std::make_unique<Impl>()) { KeyRouter::Install(); }

Window::~Window() {
  delete impl_->lifetime.data();
  // The widgets go first, while the controls they call back into still exist.
  if (impl_->frame) {
    impl_->frame->owner_ = nullptr;
    delete impl_->frame;
    impl_->frame = nullptr;
  }
  controls_.clear();
}

void Window::Realize() {
  if (impl_->frame || closed_) return;
  auto* frame = new FrameWidget(this);
  frame->setAttribute(Qt::WA_DeleteOnClose, false);
  auto* layout = new QVBoxLayout(frame);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  impl_->frame = frame;
  impl_->content = new ContentWidget(frame, this);
  layout->addWidget(impl_->content);
  frame->setWindowTitle(QString::fromStdString(title_));
  ApplyFlags();
  ApplyBackColor();
  if (menuBar_ && menuBarVisible_) {
    impl_->menuBar = new QMenuBar(frame);
    AttachMenuBar(*menuBar_, impl_->menuBar);
    layout->setMenuBar(impl_->menuBar);
  }
  ApplyResizeable();
  for (const auto& control : controls_) AttachControl(*control);
  ApplySize();
}

bool Window::Realized() const { return impl_->frame != nullptr; }

void Window::AttachControl(Control& control) {
  control.Attach();
  QWidget* widget = control.impl_->widget;
  if (!widget) return;
  // Later controls lie on top of earlier ones, as they were created.
  widget->raise();
  widget->setVisible(control.Visible());
  widget->setEnabled(control.Enabled());
  control.ApplyGeometry();
}

void Window::Apply(const WindowRecord& r) {
  SetTitle(r.title);
  SetSize(r.width, r.height);
  SetMinSize(r.minWidth, r.minHeight);
  SetMaxSize(r.maxWidth, r.maxHeight);
  SetFrame(r.frame);
  SetPlacement(r.placement);
  SetResizeable(r.resizeable);
  SetButtons(r.closeButton, r.minimizeButton, r.maximizeButton);
  SetBackColor(r.hasBackColor, r.backColor);
  SetVisibleWhenCreated(r.visible);
  SetMenuBarVisible(r.menuBarVisible);
}

void Window::SetTitle(const std::string& title) {
  title_ = title;
  if (impl_->frame) impl_->frame->setWindowTitle(QString::fromStdString(title));
}

void Window::SetSize(int width, int height) {
  width_ = std::clamp(width, 1, 32000);
  height_ = std::clamp(height, 1, 32000);
  ApplySize();
}

void Window::ApplySize() {
  if (!impl_->frame) return;
  if (resizeable_) {
    // A layout would shrink a resizable window to its minimum: size the
    // frame by hand, the content area plus the menu bar above it.
    impl_->content->resize(width_, height_);
    // The frame still carries the minimum of a fixed layout: take it anew.
    impl_->frame->layout()->invalidate();
    impl_->frame->layout()->activate();
    int bar = impl_->menuBar ? impl_->menuBar->sizeHint().height() : 0;
    impl_->frame->resize(width_, height_ + bar);
  } else {
    impl_->content->setFixedSize(width_, height_);
    impl_->frame->adjustSize();
  }
}

void Window::SetMinSize(int width, int height) {
  minWidth_ = width;
  minHeight_ = height;
  if (resizeable_ && impl_->frame) impl_->content->setMinimumSize(width, height);
}

void Window::SetMaxSize(int width, int height) {
  maxWidth_ = width;
  maxHeight_ = height;
  if (resizeable_ && impl_->frame)
    impl_->content->setMaximumSize(std::min(width, QWIDGETSIZE_MAX), std::min(height, QWIDGETSIZE_MAX));
}

void Window::SetFrame(int frame) {
  frame_ = frame;
  ApplyFlags();
}

void Window::SetResizeable(bool value) {
  resizeable_ = value;
  ApplyResizeable();
  ApplySize();
}

void Window::ApplyResizeable() {
  if (!impl_->frame) return;
  if (resizeable_) {
    impl_->content->setMinimumSize(minWidth_, minHeight_);
    impl_->content->setMaximumSize(std::min(maxWidth_, QWIDGETSIZE_MAX),
                                   std::min(maxHeight_, QWIDGETSIZE_MAX));
    impl_->frame->layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
  } else {
    impl_->frame->layout()->setSizeConstraint(QLayout::SetFixedSize);
  }
}

void Window::SetButtons(bool close, bool minimize, bool maximize) {
  closeButton_ = close;
  minimizeButton_ = minimize;
  maximizeButton_ = maximize;
  ApplyFlags();
}

void Window::ApplyFlags() {
  if (!impl_->frame) return;
  Qt::WindowFlags flags =
      (frame_ == 3 ? Qt::Tool : Qt::Window) | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if (closeButton_) flags |= Qt::WindowCloseButtonHint;
  if (minimizeButton_) flags |= Qt::WindowMinimizeButtonHint;
  if (maximizeButton_ && resizeable_) flags |= Qt::WindowMaximizeButtonHint;
  bool shown = impl_->frame->isVisible();
  impl_->frame->setWindowFlags(flags);
  if (shown) impl_->frame->show();
}

void Window::SetBackColor(bool hasBackColor, std::uint32_t rgb) {
  hasBackColor_ = hasBackColor;
  backColor_ = rgb;
  ApplyBackColor();
}

void Window::ApplyBackColor() {
  if (!impl_->frame) return;
  impl_->content->setAutoFillBackground(hasBackColor_);
  if (hasBackColor_) {
    QPalette palette = impl_->content->palette();
    palette.setColor(QPalette::Window,
                     QColor((backColor_ >> 16) & 0xFF, (backColor_ >> 8) & 0xFF, backColor_ & 0xFF));
    impl_->content->setPalette(palette);
  }
}

void Window::SetMenuBar(MenuBar* bar) {
  menuBar_ = bar;
  if (!bar || !menuBarVisible_ || impl_->menuBar || !impl_->frame) return;
  impl_->menuBar = new QMenuBar(impl_->frame);
  AttachMenuBar(*bar, impl_->menuBar);
  impl_->frame->layout()->setMenuBar(impl_->menuBar);
  ApplySize();
}

void Window::Register(std::unique_ptr<Control> control, const std::string& name) {
  control->name_ = name;
  control->window_ = this;
  if (impl_->frame) AttachControl(*control);
  controls_.push_back(std::move(control));
}

Control* Window::FindControl(const std::string& name) const {
  for (const auto& control : controls_)
    if (control->Name() == name) return control.get();
  return nullptr;
}

void Window::Construct() {
  impl_->lifetime = new QObject(qApp);
  Guarded([this] { Layout(); });
  // Where menus live inside windows, a window that shows the menu bar and
  // names none of its own carries the application's: the same menus,
  // handlers and enabling, above its content.
  if (menuBarVisible_ && !menuBar_) {
    if (Application* app = Application::Instance(); app && app->GetMenuBar()) SetMenuBar(app->GetMenuBar());
  }
  Guarded([this] { CreateControls(); });
  Guarded([this] { Event_Open(); });
  if (closed_) return;
  // A window that is hidden again right after it was made never flashes up,
  // and one that stays hidden never makes its widgets.
  if (visible_) {
    QTimer::singleShot(0, impl_->lifetime.data(), [this] {
      if (visible_ && !closed_) Show();
    });
  }
}

void Window::Show() {
  if (closed_) return;
  visible_ = true;
  Realize();
  QWidget* frame = impl_->frame;
  if (!placed_) {
    placed_ = true;
    if (!resizeable_) frame->adjustSize();
    QScreen* screen = QGuiApplication::primaryScreen();
    QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    QSize size = frame->frameSize().isValid() ? frame->frameSize() : frame->sizeHint();
    QPoint at;
    if (placement_ == 4) {
      int step = 24 * (Windows().staggered++ % 8);
      at = area.topLeft() + QPoint(48 + step, 48 + step);
    } else {
      QRect over = area;
      if (placement_ == 1) {
        if (QWidget* front = QApplication::activeWindow()) over = front->frameGeometry();
      }
      at = QPoint(over.center().x() - size.width() / 2, over.top() + (over.height() - size.height()) / 3);
    }
    at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() - size.width())));
    at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() - size.height())));
    frame->move(at);
  }
  // Shown from the menu, a minimised window comes back as well.
  if (frame->windowState() & Qt::WindowMinimized)
    frame->setWindowState(frame->windowState() & ~Qt::WindowMinimized);
  frame->show();
  // Each control shown with the window asks for its own repaint, after the
  // window's first paint would already have drawn it; asked now, they are
  // part of that first paint instead of a second one.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateLater);
  frame->raise();
  frame->activateWindow();
}

void Window::Hide() {
  visible_ = false;
  if (impl_->frame) impl_->frame->hide();
}

void Window::Close() {
  if (closed_) return;
  closed_ = true;
  Guarded([this] { Event_Close(); });
  if (impl_->frame) impl_->frame->hide();
  auto& registry = Windows();
  for (auto it = registry.live.begin(); it != registry.live.end(); ++it) {
    if (it->second.get() == this) {
      registry.closed.push_back(std::move(it->second));
      registry.live.erase(it);
      break;
    }
  }
  // Destroyed once the loop is back, after the handler that closed it.
  QTimer::singleShot(0, qApp, [this] {
    auto& closed = Windows().closed;
    for (auto it = closed.begin(); it != closed.end(); ++it) {
      if (it->get() == this) {
        closed.erase(it);
        break;
      }
    }
  });
#ifndef Q_OS_MACOS
  // Without an application-wide menu bar, a person could no longer reach
  // an application whose last window has gone.
  bool anyVisible = false;
  for (auto& [type, window] : registry.live) anyVisible = anyVisible || window->Visible();
  if (!anyVisible && Application::Instance() && Application::Instance()->Running()) {
    QTimer::singleShot(0, qApp, [] {
      bool stillNone = true;
      for (auto& [type, window] : Windows().live) stillNone = stillNone && !window->Visible();
      if (stillNone) QCoreApplication::exit(0);
    });
  }
#endif
}

bool Window::RaiseKeyDown(const std::string& key, bool commandKey, bool shiftKey) {
  KeyState saved = HandledKeys();
  HandledKeys() = {true, commandKey, shiftKey};
  bool consumed = false;
  Guarded([&] { consumed = Event_KeyDown(key); });
  HandledKeys() = saved;
  return consumed;
}

bool Window::IsCloseKey(const std::string& key) { return StrEq(key, "w") && Keyboard::CommandKey(); }

Window* Window::LiveInstance(std::type_index type) {
  auto& live = Windows().live;
  auto it = live.find(type);
  return it == live.end() ? nullptr : it->second.get();
}

void Window::AdoptInstance(std::type_index type, std::unique_ptr<Window> window) {
  Windows().live[type] = std::move(window);
}

void Window::CloseAll() {
  auto& registry = Windows();
  auto live = std::move(registry.live);
  auto closed = std::move(registry.closed);
  registry.live.clear();
  registry.closed.clear();
  live.clear();
  closed.clear();
  registry.staggered = 0;
}

std::vector<Window*> Window::LiveWindows() {
  std::vector<Window*> result;
  for (auto& [type, window] : Windows().live) result.push_back(window.get());
  return result;
}

}  // namespace fw
