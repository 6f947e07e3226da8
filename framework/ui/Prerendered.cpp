#include "framework/ui/Prerendered.h"

namespace fw {

QString PrerenderedDrawing(int number, QSize size, int ratio) {
  return QStringLiteral(":/prerendered/%1/%2x%3@%4")
      .arg(number)
      .arg(size.width())
      .arg(size.height())
      .arg(ratio);
}

QString PrerenderedSize(int number) { return QStringLiteral(":/prerendered/%1/size").arg(number); }

}  // namespace fw
