#include "startup/Meldungen.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>

#include "platform/Dialoge.h"
#include "platform/Programmende.h"
#include "platform/Zustand.h"
#include "startup/Start.h"

bool gBeschäftigt = false;
Wartehaken gWartehaken;

namespace {
bool gSanduhrAn = false;

void Zustand_zurücksetzen() {
  gBeschäftigt = false;
  Sanduhr_Mauszeiger(false);
  gWartehaken = Wartehaken{};
}
VELKORA_ZUSTAND(Zustand_zurücksetzen);

// These helpers never fail: a failing hook must not turn a message into a crash. The
// planned end of the program passes through.
template <class F>
void Ohne_Fehler(F&& f) {
  try {
    f();
  } catch (const ProgrammBeendet&) {
    throw;
  } catch (...) {
  }
}

// The busy state's hooks are optional (see Wartehaken): an empty one is skipped.
void Haken_wenn_gesetzt(const Haken<void()>& h) {
  if (h) Ohne_Fehler(h);
}
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

void Sanduhr_Warten_ein() {
  Sanduhr_ein();
  Haken_wenn_gesetzt(gWartehaken.eingabe_sperren);
  Haken_wenn_gesetzt(gWartehaken.punkte_starten);
  Ohne_Fehler([] {
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
  });
}

void Sanduhr_Warten_aus() {
  Haken_wenn_gesetzt(gWartehaken.punkte_stoppen);
  Haken_wenn_gesetzt(gWartehaken.eingabe_freigeben);
  Sanduhr_aus();
  if (gWartehaken.titel && gWartehaken.titel_setzen) {
    Ohne_Fehler([] {
      const QString t = gWartehaken.titel();
      const QString neu = Titel_ohne_Warten(t);
      if (neu != t) gWartehaken.titel_setzen(neu);
    });
  }
}

QString Titel_ohne_Warten(const QString& titel) {
  if (!titel.endsWith(QStringLiteral(" . . ."))) return titel;
  const qsizetype i = titel.indexOf(QStringLiteral(" - Bitte warten"));
  return i < 0 ? titel : titel.left(i);
}

void Meldung(const QString& text) {
  Ohne_Fehler([] { dialoge::dienst().piepen(); });
  // During the start the main window may not exist yet: only the hourglass goes.
  if (gStörungAnzeigen)
    Sanduhr_aus();
  else
    Sanduhr_Warten_aus();
  Ohne_Fehler([&] { dialoge::zeigen({dialoge::Art::Meldung, text, QStringLiteral("Velkora"), {}, {}}); });
}

bool Frage(const QString& text, const QString& titel) {
  const auto a =
      dialoge::zeigen({dialoge::Art::JaNein, text, titel.isEmpty() ? QStringLiteral("Velkora") : titel, {}, {}});
  return a.knopf == dialoge::kJa;
}
