#include "platform/Bildschirm.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace bildschirm {
namespace {
double gDpiGesetzt = 0;
}

double dpi() {
  if (gDpiGesetzt > 0) return gDpiGesetzt;
  if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
    if (QScreen* s = app->primaryScreen()) return s->logicalDotsPerInchX();
  return 96.0;
}

int twipsZuPixel(double twips) { return static_cast<int>(std::lround(twips * dpi() / 1440.0)); }
double pixelZuTwips(int pixel) { return pixel * 1440.0 / dpi(); }
void setzeDpi(double d) { gDpiGesetzt = d; }

}  // namespace bildschirm
