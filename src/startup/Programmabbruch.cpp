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
#include "store/Konfigdaten.h"

QString gStörungsmeldung;
QString gSperrmeldung;
QString gSperrzeit;

namespace {
void Zustand_zurücksetzen() {
  gStörungsmeldung.clear();
  gSperrmeldung.clear();
  gSperrzeit.clear();
}
VELKORA_ZUSTAND(Zustand_zurücksetzen);

// The central handler is reached from every procedure wrapper.
const bool kHandlerInstalliert = [] {
  setzeFehlerbehandlung(&Programmabbruch_Fehler);
  return true;
}();
}  // namespace

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
  try {
    FVerwerfen();
    Meldung(text.isEmpty() ? QStringLiteral("Das Programm wird beendet")
                           : text + QStringLiteral(".\r\rDas Programm wird beendet."));
    if (option.isEmpty())
      Logbuch_ergänzen(2, QStringLiteral("Programmabbruch durch '") + name + QStringLiteral("' - ") + text);
    else if (option != u"NoLog")
      Logbuch_ergänzen(2, option);
  } catch (const ProgrammBeendet&) {
    throw;
  } catch (...) {
    // A failing message or logbook line must not keep the program from ending.
  }
  gDatenordnerAngelegt = false;
  programmende::beenden(1);
}

void Programmabbruch_Fehler(const QString& prozedurName) {
  const int n = gErr.nummer;
  const QString d = gErr.beschreibung;
  const QString prozedur = prozedurName + QStringLiteral(" - v") + Programmversion();
  const QString offen = gOffeneDatei;
  try {
    FVerwerfen();
    if (gStörungAnzeigen && !offen.isEmpty()) {
      Startfehler(QStringLiteral("Modul '") + prozedur + QStringLiteral("' - Fehler Nr. ") + QString::number(n) +
                      QStringLiteral(" - ") + d + QStringLiteral(" - Zuletzt geöffnete Datei: ") + ShowPfad(offen, 100),
                  offen, QString());
    }
    const bool dateifehler = n >= 52 && n <= 76;
    QString m;
    if (dateifehler) {
      m = QStringLiteral("Es ist ein Fehler beim Dateizugriff aufgetreten.");
      if (!offen.isEmpty())
        m += QStringLiteral("\r\rZuletzt geöffnete Datei: ") + ShowPfad(offen, 100);
      else
        m += QStringLiteral(" Prüfen Sie, ob auf den Ordner ") + ShowPfad(ParentDir(gDatenordner), 100) +
             QStringLiteral(" zugegriffen werden kann.");
      m += QStringLiteral("\r\rDas Programm wird beendet.");
    } else {
      m = QStringLiteral("Es ist folgender Fehler aufgetreten in Modul '") + prozedur + gFirmenname.left(3).toLower() +
          QStringLiteral("':\r\rFehler Nr. ") + QString::number(n) + u'\r' + d;
      if (!(gStörungAnzeigen && gStartErzwingen)) m += QStringLiteral("\r\rDas Programm wird beendet.");
    }
    Meldung(m);
    QString zeile = QStringLiteral("Programmabbruch durch '") + prozedur + QStringLiteral("' - Fehler Nr. ") +
                    QString::number(n) + QStringLiteral(" - ") + d;
    if (dateifehler && !offen.isEmpty()) zeile += QStringLiteral(" - Datei ") + offen;
    Logbuch_ergänzen(2, zeile);
  } catch (const ProgrammBeendet&) {
    throw;
  } catch (...) {
  }
  gDatenordnerAngelegt = false;
  if (gStörungAnzeigen && gStartErzwingen) return;
  programmende::beenden(1);
}

void Startfehler(const QString& text, const QString& datei, const QString& protokoll) {
  // The repair of a damaged data file comes with the backups; until then the start
  // ends with the problem named.
  (void)datei;
  (void)protokoll;
  Programmabbruch(QString(), QStringLiteral("Es ist folgendes Problem aufgetreten:\r\r") + text, QStringLiteral("NoLog"));
}

void Sperrdatei_prüfen() {}
