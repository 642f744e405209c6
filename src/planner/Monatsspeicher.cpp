#include "planner/Monatsspeicher.h"

#include "launch/Programmsperre.h"
#include "platform/Laufzeitfehler.h"
#include "platform/Zustand.h"
#include "startup/Dateizugriff.h"
#include "startup/Logbuch.h"
#include "startup/Meldungen.h"
#include "startup/Monatsversion.h"
#include "startup/Programmabbruch.h"
#include "startup/Start.h"
#include "startup/Umrechnungen.h"
#include "store/Erfassungsdaten.h"
#include "store/Feiertage.h"
#include "store/Jahreswechsel.h"
#include "store/Konfigdaten.h"
#include "store/Monatsdatei.h"
#include "store/Monatsstand.h"
#include "store/Monatszeilen.h"
#include "store/Sicherung.h"

QStringList gUndoPuffer{QStringLiteral("NoData")};

namespace {

const QString kLeer = QStringLiteral("NoData");

// The changed days of each held-back line, in step with gUndoPuffer (nothing: the
// whole line).
QList<std::optional<quint32>> mPufferTage;

void Zustand_zurücksetzen() {
  gUndoPuffer = QStringList{kLeer};
  mPufferTage.clear();
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
// A newer line of the same employee was built from the row with the earlier change in
// it: it carries the days of both.
void Zurückhalten(const QString& zeile, std::optional<quint32> tage) {
  if (Ist_leer(gUndoPuffer)) {
    gUndoPuffer = QStringList{zeile};
    mPufferTage = {tage};
    return;
  }
  if (mPufferTage.size() != gUndoPuffer.size()) mPufferTage = QList<std::optional<quint32>>(gUndoPuffer.size());
  if (zeile.startsWith(u"K:") ||
      Eintragspräfix(zeile).compare(Eintragspräfix(gUndoPuffer.last()), Qt::CaseInsensitive) != 0) {
    gUndoPuffer << zeile;
    mPufferTage << tage;
  } else {
    gUndoPuffer.last() = zeile;
    const std::optional<quint32> früher = mPufferTage.last();
    mPufferTage.last() = (tage && früher) ? std::optional<quint32>(*tage | *früher) : std::nullopt;
  }
}

// The held-back lines with their changed days.
QList<Monatszeile> Zurückgehaltene() {
  QList<Monatszeile> r;
  if (Ist_leer(gUndoPuffer)) return r;
  const bool tage = mPufferTage.size() == gUndoPuffer.size();
  for (qsizetype i = 0; i < gUndoPuffer.size(); ++i)
    r << Monatszeile{gUndoPuffer[i], tage ? mPufferTage[i] : std::nullopt};
  return r;
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
// versions; it stays the newest, so the line just saved will not be read. After an
// append the save's own listing inside the lock tells that no such version was there;
// after a rewrite the folder is asked again, as the removal may have left one.
void Datum_prüfen() {
  std::optional<Monatsversion> version = Monatsdatei_angehängte_Version(gMonatsschlüssel);
  if (!version) version = Aktuelle_Erfassungsdatei(gMonatsschlüssel);
  if (!version || version->tag() <= gHeuteText) return;
  const QString datum = FormatDatumSA(version->tag().toString());
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

namespace {

bool Speichern(const Monatszeile& m) {
  return Prozedur(QStringLiteral("frmVelkora - Datensatz_speichern"), [&]() -> bool {
    // In look-back mode nothing reaches a month file, whatever path the line came by.
    if (gRückblick) return false;
    if (!m.zeile.isEmpty() && gLogbuchPuffern) {
      Zurückhalten(m.zeile, m.tage);
      return true;
    }
    Sanduhr_beim_Speichern sanduhr;
    // A workstation started before the lock was set must not write any more.
    Sperrdatei_prüfen();

    QList<Monatszeile> zeilen;
    if (!m.zeile.isEmpty()) {
      zeilen << m;
    } else if (gLogbuchPuffern) {
      zeilen = Zurückgehaltene();
      gUndoPuffer = QStringList{kLeer};
      mPufferTage.clear();
      // Nothing held back: nothing to write (an empty list would rewrite the month).
      if (zeilen.isEmpty()) return true;
    }
    if (!Monatsdatei_zeilen_speichern(gMonatsschlüssel, zeilen)) {
      // The grid shows what was not saved: the next check shows the month as it is.
      Monatsstand_verwerfen();
      return false;
    }
    Datum_prüfen();
    return true;
  });
}

}  // namespace

bool Zeilen_zurückgehalten() { return !gUndoPuffer.isEmpty() && gUndoPuffer.first() != kLeer; }

bool Datensatz_speichern(const QString& zeile, const QString& vorher) {
  std::optional<quint32> tage;
  if (!vorher.isEmpty() && zeile.startsWith(u"A:")) tage = Geänderte_Tage(vorher, zeile);
  return Speichern(Monatszeile{zeile, tage});
}

bool Tage_speichern(const QString& benutzer, const QMap<int, QChar>& tage) {
  QString codes(31, u' ');
  quint32 maske = 0;
  for (auto it = tage.cbegin(); it != tage.cend(); ++it) {
    if (it.key() < 1 || it.key() > 31) continue;
    codes[it.key() - 1] = it.value();
    maske |= 1u << it.key();
  }
  return Speichern(Monatszeile{Eintragszeile(benutzer, codes), maske});
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
