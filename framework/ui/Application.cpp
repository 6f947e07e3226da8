#include "framework/ui/Application.h"

#include <QApplication>
#include <QCoreApplication>

#include "framework/text/Exceptions.h"
#include "framework/ui/MsgBox.h"
#include "framework/ui/Window.h"

namespace fw {

namespace {
Application* g_instance = nullptr;
}

Application::Application() = default;

Application::~Application() {
  if (g_instance == this) g_instance = nullptr;
}

Application* Application::Instance() { return g_instance; }

void Application::Register() {
  g_instance = this;
  // An exception that leaves an event handler is shown, and the
  // application goes on: nothing is half-written at that point.
  SetUnhandledExceptionHandler([](const std::string& className, const std::string& message) {
    std::string text = "An exception of class " + className + " was not handled.";
    if (!message.empty()) text += "\r\r" + message;
    MsgBox(text);
  });
}

void Application::AddMenuHandler(const std::string& itemName, std::function<bool()> handler) {
  handlers_[itemName] = std::move(handler);
}

bool Application::HandleMenuCommand(const std::string& itemName) {
  auto it = handlers_.find(itemName);
  if (it == handlers_.end() || !it->second) return false;
  auto handler = it->second;
  bool handled = false;
  Guarded([&] { handled = handler(); });
  return true;
}

void Application::CallOpen() {
  if (opened_) return;
  opened_ = true;
  Guarded([this] { Event_Open(); });
}

void Application::PrepareMenus() {
  if (menuBar_) {
    std::function<void(MenuItem*)> autoEnable = [&](MenuItem* item) {
      for (int i = 0; i < item->Count(); ++i) {
        MenuItem* child = item->Item(i);
        if (child->AutoEnable()) child->Enable();
        autoEnable(child);
      }
    };
    for (int i = 0; i < menuBar_->Count(); ++i) autoEnable(menuBar_->Item(i));
  }
  Guarded([this] { Event_EnableMenuItems(); });
}

int Application::Run() {
  // Windows decide for themselves when the last one has gone.
  QApplication::setQuitOnLastWindowClosed(false);
  running_ = true;
  int status = QApplication::exec();
  running_ = false;
  Window::CloseAll();
  return status;
}

void Application::Quit() {
  // Ends the loop whatever windows are open. (Asking each window to close
  // first, as the toolkit's own quit does, stops at the first one whose
  // close turns into a Close of the window object.)
  QCoreApplication::exit(0);
}

}  // namespace fw
