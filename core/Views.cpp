#include "core/Views.h"

#include "framework/text/Exceptions.h"

namespace Views {

namespace {

Faces& InUse() {
  static Faces faces;
  return faces;
}

template <class Face>
Face& Get(Face* face, const char* window) {
  if (!face) throw fw::NilObjectException(std::string("no face registered for the ") + window);
  return *face;
}

}  // namespace

void Register(const Faces& faces) { InUse() = faces; }

const Faces& Registered() { return InUse(); }

MainView& Main() { return Get(InUse().main, "main window"); }
ForecastView& Forecast() { return Get(InUse().forecast, "forecast window"); }
SettingsView& Settings() { return Get(InUse().settings, "settings window"); }
DebugView& Debug() { return Get(InUse().debug, "debug window"); }
ChangeLogView& ChangeLog() { return Get(InUse().changeLog, "update-available window"); }
ServerMessageView& ServerMessage() { return Get(InUse().serverMessage, "server-message window"); }
MenuView& Menu() { return Get(InUse().menu, "menu bar"); }

}  // namespace Views
