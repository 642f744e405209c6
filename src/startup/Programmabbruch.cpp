#include "startup/Programmabbruch.h"

#include <cmath>

#include "platform/Laufzeitfehler.h"
#include "platform/Programmende.h"
#include "platform/Uhr.h"
#include "platform/Zustand.h"
#include "startup/Dateizugriff.h"
#include "startup/Logbuch.h"
#include "startup/Meldungen.h"
#include "startup/Start.h"

QString gStörungsmeldung;
Abbruchdienste gAbbruchdienste = Abbruchdienste_Standard();
Abbruchhaken gAbbruchhaken;
bool gReparaturLäuft = false;

namespace {

// A stop or the error handler is running: errors of its own (a failing logbook line,
// a failing message) are ignored instead of starting another stop.
bool gAbbruchLäuft = false;

void Zustand_zurücksetzen() {
  gStörungsmeldung.clear();
  gAbbruchLäuft = false;
  gReparaturLäuft = false;
  gAbbruchdienste = Abbruchdienste_Standard();
}
VELKORA_ZUSTAND(Zustand_zurücksetzen);

// The central handler is reached from every procedure wrapper.
const bool kHandlerInstalliert = [] {
  setzeFehlerbehandlung(&Programmabbruch_Fehler);
  return true;
}();

struct Merker {
  bool& flag;
  bool alt;
  explicit Merker(bool& f) : flag(f), alt(f) { flag = true; }
  ~Merker() { flag = alt; }
};

// Runs inside the stops' own catch-all: a missing logbook service ends the stop
// without its line, as a failing one does.
void Logbuch(int art, const QString& text) { gAbbruchdienste.logbuch(art, text); }

QString Firmenname() { return gAbbruchhaken.firmenname ? gAbbruchhaken.firmenname() : QString(); }

}  // namespace

Abbruchdienste Abbruchdienste_Standard() {
  Abbruchdienste d;
  d.logbuch = [](int art, const QString& text) { Logbuch_ergänzen(art, text); };
  return d;
}

QString Programmversion() {
  return QStringLiteral("%1.%2.%3").arg(VELKORA_VERSION_MAJOR).arg(VELKORA_VERSION_MINOR).arg(VELKORA_VERSION_PATCH);
}

void Pause(double s) {
  (void)kHandlerInstalliert;
  if (s >= 0) {
    uhr::schlafen(std::round(s * 1000.0) / 1000.0);
    return;
  }
  const double rest = -s - (uhr::monoton() - gStartzeit);
  if (rest < 0) return;
  uhr::schlafen(std::round(rest * 1000.0) / 1000.0);
}

void Programmabbruch(const QString& name, const QString& text, const QString& option) {
  {
    Merker m(gAbbruchLäuft);
    try {
      FVerwerfen();
      Meldung(text.isEmpty() ? QStringLiteral("Das Programm wird beendet")
                             : text + QStringLiteral(".\r\rDas Programm wird beendet."));
      if (option.isEmpty())
        Logbuch(2, QStringLiteral("Programmabbruch durch '") + name + QStringLiteral("' - ") + text);
      else if (option != u"NoLog")
        Logbuch(2, option);
    } catch (const ProgrammBeendet&) {
      throw;
    } catch (...) {
      // A failing message or logbook line must not keep the program from ending.
    }
    gDatenordnerAngelegt = false;
  }
  programmende::beenden(1);
}

void Programmabbruch_Fehler(const QString& prozedurName) {
  // A failure inside a stop (its message, its logbook line) is ignored.
  if (gAbbruchLäuft) return;
  // A failure inside the repair ends that repair step; it never asks again.
  if (gReparaturLäuft) throw Reparaturunterbrechung{gErr.beschreibung};

  const int n = gErr.nummer;
  const QString d = gErr.beschreibung;
  const QString prozedur = prozedurName + QStringLiteral(" - v") + Programmversion();
  const QString offen = gOffeneDatei;
  // A write that failed (a full disk) left its file as it was: no damage to repair.
  const bool schreibfehler = Ausschreibfehler();
  FVerwerfen();
  if (gStörungAnzeigen && !offen.isEmpty() && !schreibfehler) {
    Startfehler_melden(QStringLiteral("Modul '") + prozedur + QStringLiteral("' - Fehler Nr. ") + QString::number(n) +
                           QStringLiteral(" - ") + d + QStringLiteral(" - Zuletzt geöffnete Datei: ") +
                           ShowPfad(offen, 100),
                       offen, QString());
  }
  const bool weiter = gStörungAnzeigen && gStartErzwingen;
  {
    Merker m(gAbbruchLäuft);
    try {
      const bool dateifehler = n >= 52 && n <= 76;
      QString text;
      if (dateifehler) {
        text = QStringLiteral("Es ist ein Fehler beim Dateizugriff aufgetreten.");
        if (!offen.isEmpty())
          text += QStringLiteral("\r\rZuletzt geöffnete Datei: ") + ShowPfad(offen, 100);
        else
          text += QStringLiteral(" Prüfen Sie, ob auf den Ordner ") + ShowPfad(ParentDir(gDatenordner), 100) +
                  QStringLiteral(" zugegriffen werden kann.");
        // The cause, so that a full disk is told from missing rights.
        text += QStringLiteral("\r\rUrsache: ") + d + QStringLiteral(" (Fehler Nr. ") + QString::number(n) + u')';
        text += QStringLiteral("\r\rDas Programm wird beendet.");
      } else {
        text = QStringLiteral("Es ist folgender Fehler aufgetreten in Modul '") + prozedur +
               Firmenname().left(3).toLower() + QStringLiteral("':\r\rFehler Nr. ") + QString::number(n) + u'\r' + d;
        if (!weiter) text += QStringLiteral("\r\rDas Programm wird beendet.");
      }
      Meldung(text);
      QString zeile = QStringLiteral("Programmabbruch durch '") + prozedur + QStringLiteral("' - Fehler Nr. ") +
                      QString::number(n) + QStringLiteral(" - ") + d;
      if (dateifehler && !offen.isEmpty()) zeile += QStringLiteral(" - Datei ") + offen;
      Logbuch(2, zeile);
    } catch (const ProgrammBeendet&) {
      throw;
    } catch (...) {
    }
    gDatenordnerAngelegt = false;
  }
  if (weiter) return;
  programmende::beenden(1);
}

void Startfehler_melden(const QString& text, const QString& datei, const QString& protokoll) {
  if (gAbbruchhaken.startfehler) gAbbruchhaken.startfehler(text, datei, protokoll);
  Programmabbruch(QString(), text, QStringLiteral("Startfehler: ") + text);
}
