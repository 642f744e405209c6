#include "planner/Wartetitel.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPointer>
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
  // The busy state outlives the window (a later window, the end of the program): the
  // hooks go with the window, and one that still runs finds no timer.
  const QPointer<QTimer> uhr(f.tmrTimer2);
  gWartehaken.punkte_starten = [uhr] {
    if (uhr) uhr->start();
  };
  gWartehaken.punkte_stoppen = [uhr] {
    if (uhr) uhr->stop();
  };
  static const QObject* sHakenfenster = nullptr;
  sHakenfenster = &f;
  QObject::connect(&f, &QObject::destroyed, [fenster = static_cast<const QObject*>(&f)] {
    if (sHakenfenster != fenster) return;  // a later window has taken the hooks over
    sHakenfenster = nullptr;
    gWartehaken.punkte_starten = nullptr;
    gWartehaken.punkte_stoppen = nullptr;
  });
}
