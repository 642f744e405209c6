#include "planner/Datenexport.h"

#include "launch/Programmstart.h"
#include "launch/Wartungssperre.h"
#include "platform/Dialoge.h"
#include "platform/Laufzeitfehler.h"
#include "platform/Zustand.h"
#include "startup/Dateizugriff.h"
#include "startup/Datenordner.h"
#include "startup/Logbuch.h"
#include "startup/Meldungen.h"
#include "startup/Ordner.h"
#include "startup/Programmabbruch.h"
#include "startup/Start.h"
#include "startup/Umrechnungen.h"
#include "store/Ausgangszustand.h"
#include "store/Erfassungsdaten.h"
#include "store/Feiertage.h"
#include "store/Jahreswechsel.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Monatsdatei.h"
#include "store/Sicherung.h"
#include "store/Sperrdatei.h"
#include "store/Velkoraini.h"

std::function<void()> gDatenimport_vor_dem_Ersetzen;

namespace {
void Zustand_zurücksetzen() { gDatenimport_vor_dem_Ersetzen = nullptr; }
VELKORA_ZUSTAND(Zustand_zurücksetzen);

const QString kImportkopie = QStringLiteral("000000 000000 I.dat");
const QString kSperrtext = QStringLiteral("Die Daten werden gerade ersetzt. Programmaufruf zurzeit nicht möglich");

QString Zwischenspeicherfehler() {
  return QStringLiteral("Fehler beim Zwischenspeichern von Dateien im Ordner ") + ShowPfad(gSicherungsordner, 100) +
         QStringLiteral(". Funktion kann nicht ausgeführt werden.");
}

// The program lock of an import: written when no lock is set, removed at the end
// unless the import left the data folder inconsistent (then it bars the others until
// an administrator has looked at it).
class Importsperre {
 public:
  Importsperre() {
    if (!Datei_vorhanden(gDatenordner + QStringLiteral("Lockfile.txt"))) mEigene = Sperrdatei_anlegen(kSperrtext);
  }
  ~Importsperre() {
    if (mEigene && !mBehalten) Sperrdatei_entfernen();
  }
  Importsperre(const Importsperre&) = delete;
  Importsperre& operator=(const Importsperre&) = delete;
  void behalten() { mBehalten = true; }

 private:
  bool mEigene = false;
  bool mBehalten = false;
};
}  // namespace

QString Datenexport_Vorgabename() {
  // The locale's short form, with the year in four digits.
  return QStringLiteral("Velkora Datenexport vom ") + Datum_lang(gHeute).replace(u'/', u'-') + QStringLiteral(".vel");
}

void Datenexport() {
  Prozedur(QStringLiteral("frmVelkora - Datenexport"), [&] {
    const dialoge::Antwort a =
        dialoge::zeigen({dialoge::Art::DateiSpeichern, QString(), QStringLiteral("Velkora - Datenexport"),
                         gImportordner + Datenexport_Vorgabename(), QStringLiteral("Velkora - Datenexport (*.vel)")});
    if (a.wert.isEmpty()) return;
    const QString ziel = a.wert;
    gImportordner = ParentDir(ziel);
    Sanduhr_Warten_ein();
    if (!Backup_erstellen(QStringLiteral("E"))) {
      Meldung(Zwischenspeicherfehler());
      return;
    }
    // A copy that did not reach the chosen file (a folder without write access, a file
    // that cannot be replaced) is no export.
    if (!Datei_kopieren(gSicherungsordner + gSicherungsdatei, ziel)) {
      Meldung(QStringLiteral("Die Datei ") + ShowPfad(ziel, 100) +
              QStringLiteral(" konnte nicht geschrieben werden. Die Daten wurden nicht exportiert."));
      return;
    }
    Meldung(QStringLiteral("Daten wurden erfolgreich nach ") + ShowPfad(gImportordner, 100) +
            QStringLiteral(" exportiert"));
  });
}

bool Datenimport(const QString& pfad) {
  return Prozedur(QStringLiteral("frmVelkora - Datenimport"), [&]() -> bool {
    const bool wiederherstellen = !pfad.isEmpty();
    QString datei = pfad;
    if (!wiederherstellen) {
      const dialoge::Antwort a =
          dialoge::zeigen({dialoge::Art::DateiÖffnen, QString(), QStringLiteral("Velkora - Datenimport"), gImportordner,
                           QStringLiteral("Velkora - Datenimport (*.vel)")});
      if (a.wert.isEmpty()) return false;
      datei = a.wert;
      gImportordner = ParentDir(datei);
    }
    // An empty file would be taken for one another workstation is writing.
    if (Dateigröße(datei) <= 0) {
      Meldung(QStringLiteral("Bei der Datei ") + ShowPfad(datei, 100) +
              QStringLiteral(" handelt es sich um keine Exportdatei des Velkoras"));
      return false;
    }
    if (!Check_ob_Admin(datei)) {
      Sanduhr_Warten_aus();
      return false;
    }
    if (!Check_ob_Ausgangszustand() &&
        !Frage(QStringLiteral("Achtung! Alle derzeit vorhandenen An-/Abwesenheitsdaten, Mitarbeiterdaten und "
                              "Programmeinstellungen werden vollständig ersetzt.\r\rStellen Sie sicher, dass "
                              "momentan niemand anders den Velkora in Benutzung hat.\r\rMöchten Sie fortsetzen?"),
               QStringLiteral("Velkora")))
      return false;

    // Whether anything was written since the last import; the lock file below does not count.
    const bool geschrieben = gDateiGeschrieben;
    Sanduhr_Warten_ein();
    Importsperre sperre;
    const QString kopie = gSicherungsordner + kImportkopie;
    Löschen(kopie);
    if (Datei_vorhanden(kopie)) {
      Meldung(QStringLiteral("Löschen alter Dateien im Ordner ") + ShowPfad(gSicherungsordner, 100) +
              QStringLiteral(" nicht möglich. Vermutlich haben Sie keine ausreichenden Zugriffsberechtigungen für "
                             "diesen Ordner. Funktion kann nicht ausgeführt werden."));
      return false;
    }
    if (!Datei_kopieren(datei, kopie)) {
      Meldung(Zwischenspeicherfehler());
      return false;
    }
    if (geschrieben && !Backup_erstellen(QStringLiteral("T"))) {
      Meldung(Zwischenspeicherfehler());
      return false;
    }
    if (gDatenimport_vor_dem_Ersetzen) gDatenimport_vor_dem_Ersetzen();
    // The month versions are replaced and removed under their locks: a save another
    // workstation began before the program lock was written is waited for, and none
    // starts until every file is in place.
    Alle_Monatssperren monatssperren;
    if (!monatssperren.gehalten()) {
      Löschen(kopie);
      Sanduhr_Warten_aus();
      Meldung(Monatssperre_Meldung(monatssperren.fehlend()));
      return false;
    }
    // All files at once, the ones the import does not hold (older month versions,
    // other logbooks) going with them; a failure leaves the folder as it was.
    switch (Sicherung_übernehmen(kopie)) {
      case Übernahme::Ersetzt:
        break;
      case Übernahme::Unverändert:
        Löschen(kopie);
        Sanduhr_Warten_aus();
        return false;
      case Übernahme::Inkonsistent:
        sperre.behalten();
        Meldung(QStringLiteral("Der Datenimport war fehlerhaft. Es besteht ein inkonsistenter Zustand."));
        return false;
    }
    // The opaque line of the imported files is the one held from now on.
    gKennzeile.clear();
    Konfigdaten_lesen();
    Mitarbeiterdaten_lesen();
    Feiertage_lesen();
    if (SettingStr(48, 1) == u"0") gSFBreite = 0;
    gBenutzerwerte[36] = 0;
    gBenutzerwerte[37] = 0;
    Ferientage_lesen();
    Löschen(kopie);
    Erfassungsdaten_Cache_verwerfen();

    const QString name = ShowDatei(datei);
    const QString zeile = wiederherstellen ? QStringLiteral("Datenordner wiederhergestellt mit Sicherung vom ") +
                                                 FormatDatumSA(name.left(6)) + QStringLiteral(", ") + name.mid(7, 2) +
                                                 u':' + name.mid(9, 2) + u':' + name.mid(11, 2) + QStringLiteral(" Uhr")
                                           : QStringLiteral("Datenimport durchgeführt mit Datei '") + name + u'\'';
    Logbuch_ergänzen(2, zeile);
    if (!Dateiliste(gDatenordner, QStringLiteral("ÜStunden *.dat")).isEmpty()) Logbuch_ÜStd_ergänzen(2, zeile);

    while (gPlanungsjahr + 1 < gHeute.year())
      if (!Jahreswechsel()) break;

    Titelzeile();
    Sanduhr_Warten_aus();
    gDateiGeschrieben = false;
    return true;
  });
}
