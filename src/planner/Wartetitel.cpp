#include "planner/Wartetitel.h"

#include <QApplication>
#include <QFontMetrics>
#include <QTimer>
#include <cmath>

#include "planner/frmVelkora.h"
#include "platform/Bildschirm.h"
#include "startup/Meldungen.h"

namespace {
const QString kPunkte = QStringLiteral(" . . .");
}

QString Wartetitel_nächster(const QString& titel, const std::function<int(const QString&)>& breiteTwips,
                            int fensterbreiteTwips) {
  QString t = titel.endsWith(kPunkte) ? titel + QStringLiteral(" .") : titel + QStringLiteral(" - Bitte warten . . .");
  if (breiteTwips(t) + 1200 > fensterbreiteTwips) {
    const qsizetype i = t.indexOf(kPunkte);
    if (i >= 0) t = t.left(i + kPunkte.size());
  }
  return t;
}

void tmrTimer2_Timer(frmVelkora& f) {
  try {
    QWidget* fenster = QApplication::activeWindow();
    if (!fenster) fenster = &f;
    const QFontMetrics maß(f.font());
    const auto breite = [&](const QString& t) {
      return static_cast<int>(std::lround(bildschirm::pixelZuTwips(maß.horizontalAdvance(t))));
    };
    const int fensterbreite = static_cast<int>(std::lround(bildschirm::pixelZuTwips(fenster->width())));
    fenster->setWindowTitle(Wartetitel_nächster(fenster->windowTitle(), breite, fensterbreite));
  } catch (...) {
  }
}

void Wartetitel_verbinden(frmVelkora& f) {
  QObject::connect(f.tmrTimer2, &QTimer::timeout, &f, [&f] { tmrTimer2_Timer(f); });
  gWartehaken.punkte_starten = [&f] { f.tmrTimer2->start(); };
  gWartehaken.punkte_stoppen = [&f] { f.tmrTimer2->stop(); };
}
