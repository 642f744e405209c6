#include "launch/Programmstart.h"

#include <QDir>
#include <QFileInfo>

#include "launch/Programmsperre.h"
#include "launch/Startfehler.h"
#include "platform/Einzelinstanz.h"
#include "platform/Gebietsschema.h"
#include "platform/Laufzeitfehler.h"
#include "platform/Programmende.h"
#include "platform/Text.h"
#include "platform/Uhr.h"
#include "platform/Umgebung.h"
#include "startup/Dateizugriff.h"
#include "startup/Datenordner.h"
#include "startup/Logbuch.h"
#include "startup/Meldungen.h"
#include "startup/Ordner.h"
#include "startup/Programmabbruch.h"
#include "startup/Start.h"
#include "startup/Umrechnungen.h"
#include "store/Anzeigeberechtigungen.h"
#include "store/Einrichtung.h"
#include "store/Erfassungsdaten.h"
#include "store/Feiertage.h"
#include "store/Jahreswechsel.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Sicherung.h"
#include "store/Velkoraini.h"

namespace {

// A date from day, month and year that rolls over like a date-from-parts function:
// month 13 is January of the next year, day 0 the last day of the month before.
QDate Datum_aus_Teilen(int jahr, int monat, int tag) { return QDate(jahr, 1, 1).addMonths(monat - 1).addDays(tag - 1); }

bool Ordner_hat(const QString& ordner, const QString& muster) { return !Dateiliste(ordner, muster).isEmpty(); }

void Ordner_sicherstellen(const QString& ordner) {
  if (!Verzeichnis_vorhanden(ordner)) Verzeichnis_anlegen(ordner);
}

// Deletes a switched-off permission or group file that is older than a day.
void Alte_Anzeigedatei_löschen(const QString& name) {
  const QString pfad = gDatenordner + name;
  const QDateTime zeit = Dateizeit(pfad);
  if (zeit.isValid() && zeit.date().daysTo(gHeute) > 1) Löschen(pfad);
}

void Hauptablauf() {
  // From here until the main window first shows a month, a damaged file goes to the
  // start repair instead of ending the program.
  gStörungAnzeigen = true;
  gDateiGeschrieben = true;
  bool splash = true;
  // The start moves into the temporary folder below; a folder or file the user named
  // relative to where he started means that place.
  gStartordner = umgebung::mitSchrägstrich(QDir::currentPath());
  // One copy of the program per user on this machine, whatever TEMP says.
  if (!einzelinstanz::sichern()) {
    Meldung(QStringLiteral("Programm ist bereits gestartet"));
    programmende::beenden(1);
  }
  // A TEMP naming a folder that is not there is said as such.
  if (!Verzeichnis_vorhanden(umgebung::tempOrdner())) {
    Programmabbruch(QString(),
                    QStringLiteral("Der Ordner für temporäre Dateien ") + ShowPfad(umgebung::tempOrdner(), 100) +
                        QStringLiteral(" (Umgebungsvariable TEMP) ist nicht vorhanden"),
                    QStringLiteral("NoLog"));
  }
  Tempordner_prüfen(umgebung::tempOrdner());
  // Today, or the date "/d:ddmmyy" gives; "/enforcestart" goes on after a run-time
  // error of the start, "/nowelcomescreen" starts without the splash window.
  gHeute = uhr::heute();
  if (Schalter_vorhanden(QStringLiteral("d:"))) {
    const QString w = Aufrufparameter(QStringLiteral("d:"));
    gHeute = Datum_aus_Teilen(2000 + text::zahl(w.right(2)), text::zahl(w.mid(2, 2)), text::zahl(w.left(2)));
  }
  if (Schalter_vorhanden(QStringLiteral("enforcestart"))) gStartErzwingen = true;
  if (Schalter_vorhanden(QStringLiteral("nowelcomescreen"))) splash = false;
  // The start time for Pause, and a random sequence that differs between workstations
  // started in the same second.
  gStartzeit = uhr::monoton();
  uhr::säen(static_cast<unsigned>(gStartzeit * 1000.0) ^
            static_cast<unsigned>(QTime::currentTime().msecsSinceStartOfDay()));
  // The splash window is gone at the earliest 1.25 s after the start (see below).
  if (splash) gFensterhaken.splash_zeigen();
  // The locale decides how numbers and dates are shown.
  gDezimaltrennzeichen = gebietsschema::werte().dezimaltrenner.left(1);
  if (gDezimaltrennzeichen.isEmpty()) gDezimaltrennzeichen = QStringLiteral(".");
  Datumsformat_ermitteln();
  gHeuteText = FormatDatumDS(gHeute);
  // A clock far off would file entries in the wrong year and age backups wrongly.
  if (gHeute.year() < 2025 || gHeute.year() > 2050) {
    Programmabbruch(QString(),
                    QStringLiteral("Systemdatum ") + Datum_lang(gHeute) +
                        QStringLiteral(" liegt außerhalb des zulässigen Bereichs"),
                    QStringLiteral("NoLog"));
  }
  // The user name picks the employee row, the settings file and the logbook lines.
  CheckGebietsschema();
  gBenutzername = umgebung::benutzername();
  // The base folder holds the pointer file and the holiday master file; under the
  // program files folder it is not writable, so it moves to the public folder.
  gProgrammordner = umgebung::programmordner();
  gBasisordner = gProgrammordner;
  if (umgebung::unterProgrammdateien(gBasisordner) && !umgebung::publicOrdner().isEmpty()) SetPublicPfad();
  // The data folder: "/path" (or "/setpath", which also stores it in the pointer
  // file) names it, otherwise the pointer file.
  if (Schalter_vorhanden(QStringLiteral("path"))) {
    // Without a folder the current one would be taken, and with "/setpath" stored.
    const QString wert = Aufrufparameter(QStringLiteral("path"));
    if (wert.isEmpty()) {
      const QString schalter =
          Schalter_vorhanden(QStringLiteral("setpath")) ? QStringLiteral("/setpath") : QStringLiteral("/path");
      Programmabbruch(QString(),
                      QStringLiteral("Beim Aufrufparameter ") + schalter +
                          QStringLiteral(" fehlt der Ordner. Geben Sie den Datenordner an, z. B. ") + schalter +
                          QStringLiteral(":/srv/velkora"),
                      QStringLiteral("NoLog"));
    }
    gDatenordner = umgebung::mitSchrägstrich(wert);
    if (gDatenordner.right(6).toLower() != u"/data/") gDatenordner += QStringLiteral("Data/");
    if (!QDir::isAbsolutePath(gDatenordner))
      gDatenordner = umgebung::mitSchrägstrich(QDir(gStartordner).absoluteFilePath(gDatenordner));
    if (Schalter_vorhanden(QStringLiteral("setpath"))) Velkoradat_schreiben();
    gPfadVorgegeben = true;
  } else {
    Velkoradat_lesen();
  }
  // A data folder without data files: remember it as the previous one and let the user
  // search for the data or start afresh.
  if (!gDatenordner.isEmpty() && !Ordner_hat(gDatenordner, QStringLiteral("*Data.dat"))) {
    // The default folder and a folder given on the command line get the first-start
    // data below; any other folder without data has gone missing and is searched for.
    if (gDatenordner.toLower() != (gBasisordner + QStringLiteral("Data/")).toLower() && !gPfadVorgegeben) {
      gDatenordnerAlt = gDatenordner;
      Datenverzeichnis_suchen();
    }
  }
  // Default: the folder "Data" beside the program; created by this start, it may be
  // removed again at the end when nothing was changed in it.
  if (gDatenordner.isEmpty()) gDatenordner = gBasisordner + QStringLiteral("Data/");
  if (!Verzeichnis_vorhanden(gDatenordner)) {
    Verzeichnis_anlegen(gDatenordner);
    gDatenordnerAngelegt = true;
  }
  if (gLogordner.isEmpty()) gLogordner = gDatenordner + QStringLiteral("Logs/");
  Ordner_sicherstellen(gLogordner);
  // The temporary folder holds the logbook copies and the fallback copy of the user's
  // settings; it is also the working directory.
  gTempOrdner = umgebung::tempOrdner();
  Verzeichnis_wechseln(gTempOrdner);
  // An administrator's lock or a pending repair notice bars the start.
  Sperrdatei_prüfen();
  // An empty data folder gets the default files; they need the holiday master file.
  // Workstations starting on it together set it up once: the others wait for the
  // first-start lock and look at the folder again inside it.
  if (!Ordner_hat(gDatenordner, QStringLiteral("*.dat")) || Einrichtung_läuft()) {
    const Einrichtungssperre einrichtung;
    if (!Ordner_hat(gDatenordner, QStringLiteral("*.dat")) || einrichtung.übernommen()) {
      if (!Datei_vorhanden(gBasisordner + QStringLiteral("VelkoraFtg.dat")))
        Dateifehler(3, gBasisordner + QStringLiteral("VelkoraFtg.dat"), QString(), QStringLiteral("modVelkora - Main"));
      Setup_Datenordner();
    }
  }
  // The pointer file is written at the first start.
  if (!Datei_vorhanden(gBasisordner + QStringLiteral("Velkora.dat"))) Velkoradat_schreiben();
  // A backup of the data folder at the first start of a month and of a day; the
  // month's backup stands for the day's.
  gSicherungsordner = gDatenordner + QStringLiteral("Backups/");
  Ordner_sicherstellen(gSicherungsordner);
  // Workstations starting together make each backup once: it is checked again under
  // the backup folder's lock. A look-back run leaves the real folders as they are.
  const bool startsicherung = !Schalter_vorhanden(QStringLiteral("lookback"));
  if (startsicherung && !Ordner_hat(gSicherungsordner, gHeuteText.left(4) + QStringLiteral("*M.dat"))) {
    if (Backup_erstellen_wenn_fehlend(QStringLiteral("M"), {gHeuteText.left(4) + QStringLiteral("*M.dat")})) {
      Logbuch_bereinigen(QStringLiteral("M"));
      gMerker = true;
    }
  }
  if (startsicherung && !Ordner_hat(gSicherungsordner, gHeuteText + QStringLiteral("*M.dat")) &&
      !Ordner_hat(gSicherungsordner, gHeuteText + QStringLiteral("*T.dat"))) {
    if (Backup_erstellen_wenn_fehlend(QStringLiteral("T"),
                                      {gHeuteText + QStringLiteral("*M.dat"), gHeuteText + QStringLiteral("*T.dat")})) {
      Logbuch_bereinigen(QStringLiteral("T"));
      gMerker = true;
    }
  }
  gIniOrdner = gDatenordner + QStringLiteral("IniFiles/");
  Ordner_sicherstellen(gIniOrdner);
  // Temporary files of whole-file writes that were killed half-way would stay for good.
  for (const QString& ordner : {gDatenordner, gLogordner, gSicherungsordner, gIniOrdner})
    Zwischendateien_aufräumen(ordner);
  // "/lookback" opens a backup read-only. The administrator switch and "/setting"
  // (which changes one setting and ends) act on the configuration just read.
  if (Schalter_vorhanden(QStringLiteral("lookback"))) Datenrückblick();
  Konfigdaten_lesen();
  if (Schalter_vorhanden(QStringLiteral("a:lampenholz"))) {
    gAdministratorSchalter = true;
    gBenutzerstufe = 2;
  }
  if (Schalter_vorhanden(QStringLiteral("setting"))) Modify_Setting();
  // The employees, holidays and school holidays. A look back is for administrators.
  Mitarbeiterdaten_lesen();
  Feiertage_lesen();
  Ferientage_lesen();
  if (gRückblick && gBenutzerstufe == 0) {
    Programmabbruch(QString(), QStringLiteral("Aufruf nur durch folgende Administratoren: ") + ShowAdmins(false),
                    QStringLiteral("NoLog"));
  }
  // The program version against the data folder's, the display permissions and the
  // user's own settings.
  Versionsnr_checken();
  Anzber_und_Anzgru_init();
  gIniDateiname = Velkoraini_Dateiname(gBenutzername);
  Velkoraini_lesen();
  // After a backup of this start: old logbooks and backups go, and the permission and
  // group files of switched-off features.
  if (gMerker) {
    const int behalten = SettingStr(29, 1) == u"0" ? 24 + gHeute.month() : HexDec(SettingStr(29, 1)) + 1;
    Alte_Dateien_löschen(gLogordner, QStringLiteral("*Velkora.log"), behalten);
    Alte_Dateien_löschen(gSicherungsordner, QStringLiteral("*T.dat"), 7);
    Alte_Dateien_löschen(gSicherungsordner, QStringLiteral("*M.dat"), 3);
    Alte_Dateien_löschen(gSicherungsordner, QStringLiteral("*A.dat"), 5);
    Alte_Dateien_löschen(gSicherungsordner, QStringLiteral("*E.dat"), 0);
    Alte_Dateien_löschen(gSicherungsordner, QStringLiteral("*F.dat"), 1);
    if (Setting(1) != 2) Alte_Anzeigedatei_löschen(QStringLiteral("Mitarbeiteranzber.dat"));
    if (Setting(17) == 1) Alte_Anzeigedatei_löschen(QStringLiteral("Mitarbeiteranzgru.dat"));
  }
  // The logbook copies in the temporary folder are kept for 120 days.
  for (const QString& name : Dateiliste(gTempOrdner, QStringLiteral("*Velkora.log"))) {
    const QDateTime zeit = Dateizeit(gTempOrdner + name);
    if (zeit.isValid() && zeit.date().daysTo(gHeute) > 120) Löschen(gTempOrdner + name);
  }
  // A year change killed half-way is completed first: a month of it missing is no damage.
  Jahreswechsel_vollenden();
  Erfassungsdateien_checken();
  // The data hold at most last year and this year: a year change is due for every
  // year the planning year lags behind. A look back only notes it. A planning year not
  // before this year means the data were written with a later date.
  if (gRückblick) {
    if (gPlanungsjahr + 1 < gHeute.year()) gJahreswechselOffen = true;
  } else {
    while (gPlanungsjahr + 1 < gHeute.year()) {
      if (!Jahreswechsel()) break;
    }
  }
  if (gPlanungsjahr >= gHeute.year()) Datumskorruption();
  // The main window replaces the splash window, which stays at least until 1.25 s
  // after the start.
  gFensterhaken.hauptfenster_laden();
  if (splash) {
    Pause(-1.25);
    gFensterhaken.splash_entladen();
  }
  gFensterhaken.hauptfenster_zeigen();
  // A start error (e.g. the user is no employee) leaves the main window shown empty
  // for a second, then ends the program with its text.
  if (!gStartfehler.isEmpty()) {
    gFensterhaken.hauptfenster_neu_zeichnen();
    Pause(1);
    Programmabbruch(QString(), gStartfehler, QStringLiteral("NoLog"));
  }
}

}  // namespace

void Starthaken_setzen() {
  gAbbruchhaken.startfehler = [](const QString& text, const QString& datei, const QString& protokoll) {
    Startfehler(text, datei, protokoll);
  };
  gAbbruchhaken.firmenname = [] { return gFirmenname; };
  gOrdnerdienste.ist_administrator = [] { return gBenutzerstufe == 2; };
  gLogbuchKopieImTempordner = [] { return Setting(2) == 1; };
  gLangsamesNetzGesehen = [] { gBenutzerwerte[31] = 1; };
}

void Main() {
  Starthaken_setzen();
  Prozedur(QStringLiteral("modVelkora - Main"), [] { Hauptablauf(); });
}

void Titelzeile() {
  QString t = QStringLiteral("Velkora - ") + gFirmenname;
  if (!gFirmenzusatz.isEmpty()) t += QStringLiteral(" - ") + gFirmenzusatz;
  if (gRückblick) t += QStringLiteral(" - Datenrückblick - keine Eingaben möglich !");
  gHauptfensterTitel = t;
  gFensterhaken.titel_setzen();
}
