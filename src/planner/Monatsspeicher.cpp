#include "planner/Monatsspeicher.h"

#include "platform/Laufzeitfehler.h"
#include "platform/Zustand.h"
#include "startup/Dateizugriff.h"
#include "startup/Logbuch.h"
#include "startup/Meldungen.h"
#include "startup/Programmabbruch.h"
#include "startup/Start.h"
#include "startup/Umrechnungen.h"
#include "store/Erfassungsdaten.h"
#include "store/Feiertage.h"
#include "store/Jahreswechsel.h"
#include "store/Konfigdaten.h"
#include "store/Monatsdatei.h"
#include "store/Monatsstand.h"
#include "store/Sicherung.h"

QStringList gUndoPuffer{QStringLiteral("NoData")};
Speicherdienste gSpeicherdienste{&Monatsdatei_speichern};

namespace {

const QString kLeer = QStringLiteral("NoData");

Speicherdienste Speicherdienste_Standard() { return Speicherdienste{&Monatsdatei_speichern}; }

void Zustand_zurücksetzen() {
  gUndoPuffer = QStringList{kLeer};
  gSpeicherdienste = Speicherdienste_Standard();
}
VELKORA_ZUSTAND(Zustand_zurücksetzen);

bool Ist_leer(const QStringList& puffer) { return puffer.isEmpty() || (puffer.size() == 1 && puffer[0] == kLeer); }

// A line's entry prefix: its text up to the first ":" from the third character on
// ("A:" + user + ":"); the whole line when it has none.
QString Eintragspräfix(const QString& zeile) {
  const qsizetype p = zeile.indexOf(u':', 2);
  return p < 0 ? zeile : zeile.left(p + 1);
}

// Holds a line back for the one save at the end of a multi-row change. Consecutive
// entry lines of one employee keep only the newest; comment lines all stay, since a
// later one may cover other days.
void Zurückhalten(const QString& zeile) {
  if (Ist_leer(gUndoPuffer)) {
    gUndoPuffer = QStringList{zeile};
    return;
  }
  if (zeile.startsWith(u"K:") ||
      Eintragspräfix(zeile).compare(Eintragspräfix(gUndoPuffer.last()), Qt::CaseInsensitive) != 0)
    gUndoPuffer << zeile;
  else
    gUndoPuffer.last() = zeile;
}

// The hourglass on a slow share for the time of the save, unless the busy state shows
// it already.
class Sanduhr_beim_Speichern {
 public:
  Sanduhr_beim_Speichern() : mAn(gLangsamesNetz && !gBeschäftigt) {
    if (mAn) Sanduhr_Mauszeiger(true);
  }
  ~Sanduhr_beim_Speichern() {
    if (mAn) Sanduhr_Mauszeiger(false);
  }
  Sanduhr_beim_Speichern(const Sanduhr_beim_Speichern&) = delete;
  Sanduhr_beim_Speichern& operator=(const Sanduhr_beim_Speichern&) = delete;

 private:
  bool mAn;
};

const QString kDatumskorruption =
    QStringLiteral("Datumskorruption erkannt! Es ist oder war ein Rechner im Netzwerk mit Systemdatum ");

// A version written on a later day than today survived the removal of the other
// versions; it stays the newest, so the line just saved will not be read.
void Datum_prüfen() {
  const QString stamm = Aktuelle_Erfassungsdatei(gMonatsschlüssel);
  if (stamm.size() < 6 || stamm.right(6) <= gHeuteText) return;
  const QString datum = FormatDatumSA(stamm.right(6));
  Meldung(Datumskorruption_Meldung(datum));
  Logbuch_ergänzen(2, kDatumskorruption + datum + QStringLiteral(" vorhanden"));
}

}  // namespace

QString Datumskorruption_Meldung(const QString& anzeigedatum) {
  return kDatumskorruption + anzeigedatum +
         QStringLiteral(
             " vorhanden. Ihr Eintrag kann nur temporär gespeichert werden. Stellen Sie sicher, dass das Systemdatum "
             "auf allen angeschlossenen Rechnern korrekt eingestellt ist und bitten Sie einen Administrator mit "
             "Vollzugriff auf den Datenordner diesen Eintrag für Sie vorzunehmen.");
}

bool Datensatz_speichern(const QString& zeile) {
  return Prozedur(QStringLiteral("frmVelkora - Datensatz_speichern"), [&]() -> bool {
    // In look-back mode nothing reaches a month file, whatever path the line came by.
    if (gRückblick) return false;
    if (!zeile.isEmpty() && gLogbuchPuffern) {
      Zurückhalten(zeile);
      return true;
    }
    Sanduhr_beim_Speichern sanduhr;
    // A workstation started before the lock was set must not write any more.
    Sperrdatei_prüfen();

    QStringList zeilen;
    if (!zeile.isEmpty()) {
      zeilen << zeile;
    } else if (gLogbuchPuffern) {
      if (!Ist_leer(gUndoPuffer)) zeilen = gUndoPuffer;
      gUndoPuffer = QStringList{kLeer};
      // Nothing held back: nothing to write (an empty list would rewrite the month).
      if (zeilen.isEmpty()) return true;
    }
    if (!gSpeicherdienste.monat_speichern(gMonatsschlüssel, zeilen)) {
      // The grid shows what was not saved: the next check shows the month as it is.
      Monatsstand_verwerfen();
      return false;
    }
    Datum_prüfen();
    return true;
  });
}

void Erfassungsdatei_defragmentieren() {
  Prozedur(QStringLiteral("frmVelkora - Erfassungsdatei_defragmentieren"), [&] {
    if (gStörungAnzeigen || gRückblick) return;
    if (gBenutzerstufe > 0 && !Backup_erstellen(QStringLiteral("T")))
      Logbuch_ergänzen(2, QStringLiteral("Backup vor Defragmentieren konnte nicht erstellt werden"));
    // A refused rewrite has been reported and did not happen: no logbook line for it.
    if (!Datensatz_speichern(QString())) return;
    Logbuch_ergänzen(2, QStringLiteral("Erfassungsdatei für ") + gMonatsschlüssel.mid(2, 2) + gDatumstrennzeichen +
                            QStringLiteral("20") + gMonatsschlüssel.left(2) + QStringLiteral(" wurde defragmentiert"));
  });
}
