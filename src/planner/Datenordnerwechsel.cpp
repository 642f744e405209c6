#include "planner/Datenordnerwechsel.h"

#include <QDir>
#include <QFileInfo>

#include "launch/Programmstart.h"
#include "platform/Dialoge.h"
#include "platform/Laufzeitfehler.h"
#include "platform/Umgebung.h"
#include "startup/Dateizugriff.h"
#include "startup/Datenordner.h"
#include "startup/Logbuch.h"
#include "startup/Meldungen.h"
#include "startup/Ordner.h"
#include "startup/Start.h"
#include "store/Ausgangszustand.h"
#include "store/Erfassungsdaten.h"
#include "store/Feiertage.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"

namespace {
bool Hat_Monatsdateien(const QString& ordner) {
  return !ordner.isEmpty() && !Dateiliste(ordner, QStringLiteral("*Data.dat")).isEmpty();
}

// Yes/No/Cancel with the second button preselected; true for Yes.
bool Ja(const QString& text) {
  return dialoge::zeigen({dialoge::Art::JaNeinAbbrechen, text, QStringLiteral("Velkora"), {}, {}}).knopf ==
         dialoge::kJa;
}

// A path with its links resolved as far as it exists, without "." and "..".
QString Aufgelöst(const QString& pfad) {
  const QFileInfo fi(pfad);
  const QString echt = fi.canonicalFilePath();
  return echt.isEmpty() ? QDir::cleanPath(fi.absoluteFilePath()) : echt;
}

// Whether a path is a folder or lies inside it, by whole path components: "/srv/pub2"
// does not lie inside "/srv/pub".
bool Liegt_in(const QString& pfad, const QString& ordner) {
  const QString p = Aufgelöst(pfad), o = Aufgelöst(ordner);
  return p == o || p.startsWith(umgebung::mitSchrägstrich(o));
}

QString Angezeigter_Ordner() {
  const QString öffentlich = umgebung::publicOrdner();
  if (!öffentlich.isEmpty() && Liegt_in(gDatenordner, öffentlich))
    return öffentlich + QStringLiteral("AppData/.../Velkora");
  return ShowPfad(ParentDir(gDatenordner), 100);
}

void Unterordner_setzen(const QString& datenordner) {
  gDatenordner = datenordner;
  gSicherungsordner = datenordner + QStringLiteral("Backups/");
  gIniOrdner = datenordner + QStringLiteral("IniFiles/");
  gLogordner = datenordner + QStringLiteral("Logs/");
}
}  // namespace

void Datenverzeichnis_ändern() {
  Prozedur(QStringLiteral("modOrdner - Datenverzeichnis_ändern"), [&] {
    const bool unc = !gUNCPfad.isEmpty();
    if (!unc && !Frage(QStringLiteral("Aktueller Datenordner ist ") + Angezeigter_Ordner() +
                           QStringLiteral(".\r\rMöchten Sie den Datenordner ändern?"),
                       QStringLiteral("Velkora")))
      return;
    QString neu = Ordner_wählen();
    // Below administrator level only a folder that holds data can be chosen.
    if (gBenutzerstufe != 2) {
      while (!neu.isEmpty() && !Hat_Monatsdateien(neu)) {
        if (!Ja(QStringLiteral("Im Ordner ") + ShowPfad(ParentDir(neu), 100) +
                QStringLiteral(" wurden keine An-/Abwesenheitsdaten gefunden.\r\rMöchten Sie nach einem anderen "
                               "Ordner suchen?")))
          return;
        if (unc) {
          gUNCPfad.clear();
          return;
        }
        neu = Ordner_wählen();
      }
    }
    if (neu.isEmpty() || neu.toLower() == gDatenordner.toLower()) return;
    Velkoradat_schreiben();

    const QString alt = gDatenordner;
    const QString altEltern = ShowPfad(ParentDir(alt), 100);
    const QString neuEltern = ShowPfad(ParentDir(neu), 100);
    const bool standard = alt.toLower() == (gBasisordner + QStringLiteral("Data/")).toLower();
    if (!Hat_Monatsdateien(neu)) {
      if (!standard) {
        if (!Ja(QStringLiteral("Im Ordner ") + neuEltern +
                QStringLiteral(" wurden keine An-/Abwesenheitsdaten gefunden.\r\rMöchten Sie den Datenordner von ") +
                altEltern + QStringLiteral(" nach ") + neuEltern + QStringLiteral(" verschieben?")))
          return;
        if (!Ja(QStringLiteral("Wenn Sie den Datenordner an einen anderen Ort verschieben und der Velkora auf weiteren "
                               "PCs installiert ist, müssen Sie ggf. auch auf diesen PCs den Datenordner über 'Datei - "
                               "Datenordner ändern' neu zuweisen. Stellen Sie sicher, dass momentan niemand anders "
                               "den Velkora in Benutzung hat.\r\rMöchten Sie fortfahren und die "
                               "An-/Abwesenheitsdaten vom Ordner ") +
                altEltern + QStringLiteral(" in den Ordner ") + neuEltern + QStringLiteral(" verschieben?")))
          return;
      }
      Sanduhr_Warten_ein();
      Liesmichdatei_schreiben(neu);
      // The old data go only once every file has reached the new folder.
      const bool kopiert =
          Verzeichnis_kopieren(alt, neu, QStringLiteral("*.dat")) &&
          Verzeichnis_kopieren(gSicherungsordner, neu + QStringLiteral("Backups/"), QStringLiteral("*.dat")) &&
          Verzeichnis_kopieren(gIniOrdner, neu + QStringLiteral("IniFiles/"), QStringLiteral("*.ini")) &&
          Verzeichnis_kopieren(gLogordner, neu + QStringLiteral("Logs/"), QStringLiteral("*.log"));
      if (!kopiert) {
        Meldung(QStringLiteral("Die Daten konnten nicht vollständig in den Ordner ") + neuEltern +
                QStringLiteral(" kopiert werden. Der Datenordner bleibt ") + altEltern + u'.');
        return;
      }
      Datenverzeichnis_löschen(false);
      Unterordner_setzen(neu);
      Logbuch_ergänzen(2, QStringLiteral("Datenordner geändert und Daten verschoben nach ") + neuEltern);
      Sanduhr_Warten_aus();
    } else {
      // Whether the default folder holds data someone entered (asked before it is deleted).
      const bool echteDaten = standard && !Check_ob_Ausgangszustand();
      gKennzeile.clear();
      gDatenordner = neu;
      Konfigdaten_lesen();
      Mitarbeiterdaten_lesen();
      Feiertage_lesen();
      Ferientage_lesen();
      gDatenordner = alt;
      if (standard &&
          (!echteDaten || Frage(QStringLiteral("Der Datenordner wurde geändert auf ") + neuEltern +
                                    QStringLiteral(".\r\rKönnen die bisherigen An-/Abwesenheitsdaten unter ") +
                                    altEltern + QStringLiteral(" gelöscht werden?"),
                                QStringLiteral("Velkora"))))
        Datenverzeichnis_löschen(false);
      Unterordner_setzen(neu);
      for (const QString& o : {gSicherungsordner, gIniOrdner, gLogordner})
        if (!Verzeichnis_vorhanden(o)) Verzeichnis_anlegen(o);
      Titelzeile();
    }
    Erfassungsdaten_Cache_verwerfen();
    Velkoradat_schreiben();
    Meldung(QStringLiteral("Der Datenordner wurde geändert auf ") + neuEltern);
  });
}
