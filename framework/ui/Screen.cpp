#include "framework/ui/Screen.h"

#include <QGuiApplication>
#include <QScreen>

namespace fw {

namespace {
int g_depthOverride = 0;
}

int Screen::Depth() const {
  if (g_depthOverride > 0) return g_depthOverride;
  const auto screens = QGuiApplication::screens();
  if (index_ < 0 || index_ >= screens.size()) return 0;
  return screens.at(index_)->depth();
}

void Screen::SetDepthOverride(int depth) { g_depthOverride = depth; }

}  // namespace fw
