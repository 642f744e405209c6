#include "startup/Meldungen.h"

#include <QCursor>
#include <QGuiApplication>

#include "platform/Dialoge.h"
#include "platform/Zustand.h"
#include "startup/Start.h"

bool gBeschäftigt = false;

namespace {
bool gSanduhrAn = false;
void Zustand_zurücksetzen() {
  gBeschäftigt = false;
  Sanduhr_Mauszeiger(false);
}
VELKORA_ZUSTAND(Zustand_zurücksetzen);
}  // namespace

void Sanduhr_Mauszeiger(bool sanduhr) {
  // Qt's override cursor is a stack; the program's hourglass is one switch.
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    gSanduhrAn = sanduhr;
    return;
  }
  if (sanduhr && !gSanduhrAn) QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
  if (!sanduhr)
    while (QGuiApplication::overrideCursor()) QGuiApplication::restoreOverrideCursor();
  gSanduhrAn = sanduhr;
}

void Sanduhr_ein() {
  Sanduhr_Mauszeiger(true);
  gBeschäftigt = true;
}

void Sanduhr_aus() {
  Sanduhr_Mauszeiger(false);
  gBeschäftigt = false;
}

void Sanduhr_Warten_ein() { Sanduhr_ein(); }
void Sanduhr_Warten_aus() { Sanduhr_aus(); }

void Meldung(const QString& text) {
  dialoge::dienst().piepen();
  if (gStörungAnzeigen) Sanduhr_aus();
  else Sanduhr_Warten_aus();
  dialoge::zeigen({dialoge::Art::Meldung, text, QStringLiteral("Velkora"), {}, {}});
}

bool Frage(const QString& text, const QString& titel) {
  const auto a = dialoge::zeigen(
      {dialoge::Art::JaNein, text, titel.isEmpty() ? QStringLiteral("Velkora") : titel, {}, {}});
  return a.knopf == dialoge::kJa;
}
