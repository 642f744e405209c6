#include "startup/Start.h"

#include <QDir>
#include <QFileInfo>
#include <map>

#include "platform/Einzelinstanz.h"
#include "platform/Gebietsschema.h"
#include "platform/Laufzeitfehler.h"
#include "platform/Programmende.h"
#include "platform/Text.h"
#include "platform/Uhr.h"
#include "platform/Umgebung.h"
#include "platform/Zustand.h"
#include "startup/Dateizugriff.h"
#include "startup/Datenordner.h"
#include "startup/Logbuch.h"
#include "startup/Meldungen.h"
#include "startup/Ordner.h"
#include "startup/Programmabbruch.h"
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

bool gStörungAnzeigen = false;
QDate gHeute;
QString gHeuteText;
double gStartzeit = 0;
bool gStartErzwingen = false;
QString gDezimaltrennzeichen = QStringLiteral(",");
QString gDatumstrennzeichen = QStringLiteral(".");
int gDatumsreihenfolge = 1;
QString gBenutzername;
QString gProgrammordner;
QString gBasisordner;
QString gDatenordner;
QString gDatenordnerAlt;
QString gLogordner;
QString gTempOrdner;
QString gSicherungsordner;
QString gIniOrdner;
QString gIniDateiname;
bool gPfadVorgegeben = false;
bool gDatenordnerAngelegt = false;
bool gMerker = false;
bool gJahreswechselOffen = false;
QString gStartfehler;
QString gHauptfensterTitel;
Fensterhaken gFensterhaken;

namespace {

// Switches by name (lower case) with their values.
std::map<QString, QString> gSchalter;

// Known switch names, longest first where one begins like another.
const QStringList kSchalter = {
    QStringLiteral("nowelcomescreen"),
    QStringLiteral("enforcestart"),
    QStringLiteral("a:lampenholz"),
    QStringLiteral("lookback"),
    QStringLiteral("setpath"),
    QStringLiteral("setting"),
    QStringLiteral("path"),
    QStringLiteral("d:"),
};

void Zustand_zurücksetzen() {
  gStörungAnzeigen = false;
  gHeute = QDate();
  gHeuteText.clear();
  gStartzeit = 0;
  gStartErzwingen = false;
  gDezimaltrennzeichen = QStringLiteral(",");
  gDatumstrennzeichen = QStringLiteral(".");
  gDatumsreihenfolge = 1;
  gBenutzername.clear();
  gProgrammordner.clear();
  gBasisordner.clear();
  gDatenordner.clear();
  gDatenordnerAlt.clear();
  gLogordner.clear();
  gTempOrdner.clear();
  gSicherungsordner.clear();
  gIniOrdner.clear();
  gIniDateiname.clear();
  gPfadVorgegeben = false;
  gDatenordnerAngelegt = false;
  gMerker = false;
  gJahreswechselOffen = false;
  gStartfehler.clear();
  gHauptfensterTitel.clear();
  gSchalter.clear();
}
VELKORA_ZUSTAND(Zustand_zurücksetzen);

QString Wert_säubern(QString s) {
  s = text::ltrim(s);
  if (s.startsWith(u':')) s = text::ltrim(s.mid(1));
  s = text::trim(s);
  if (s.size() >= 2 && s.startsWith(u'"') && s.endsWith(u'"'))
    s = s.mid(1, s.size() - 2);
  else if (s.startsWith(u'"'))
    s = s.mid(1);
  else if (s.endsWith(u'"'))
    s.chop(1);
  return text::trim(s);
}

// A date from day, month and year that rolls over like a date-from-parts function:
// month 13 is January of the next year, day 0 the last day of the month before.
QDate Datum_aus_Teilen(int jahr, int monat, int tag) { return QDate(jahr, 1, 1).addMonths(monat - 1).addDays(tag - 1); }

QString Datum_lang(const QDate& d) {
  const QString s = gDatumstrennzeichen;
  const QString tt = QStringLiteral("%1").arg(d.day(), 2, 10, QChar(u'0'));
  const QString mm = QStringLiteral("%1").arg(d.month(), 2, 10, QChar(u'0'));
  const QString jjjj = QString::number(d.year());
  switch (gDatumsreihenfolge) {
    case 0:
      return mm + s + tt + s + jjjj;
    case 2:
      return jjjj + s + mm + s + tt;
    default:
      return tt + s + mm + s + jjjj;
  }
}

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
  // 1.
  gStörungAnzeigen = true;
  gDateiGeschrieben = true;
  bool splash = true;
  // 2.
  // The instance lock lives in the temporary folder: a TEMP naming a folder that is
  // not there is said as such, not taken for a copy already running.
  if (!Verzeichnis_vorhanden(umgebung::tempOrdner())) {
    Programmabbruch(QString(),
                    QStringLiteral("Der Ordner für temporäre Dateien ") + ShowPfad(umgebung::tempOrdner(), 100) +
                        QStringLiteral(" (Umgebungsvariable TEMP) ist nicht vorhanden"),
                    QStringLiteral("NoLog"));
  }
  if (!einzelinstanz::sichern()) {
    Meldung(QStringLiteral("Programm ist bereits gestartet"));
    programmende::beenden(1);
  }
  // 3., 4.
  gHeute = uhr::heute();
  if (Schalter_vorhanden(QStringLiteral("d:"))) {
    const QString w = Aufrufparameter(QStringLiteral("d:"));
    gHeute = Datum_aus_Teilen(2000 + text::zahl(w.right(2)), text::zahl(w.mid(2, 2)), text::zahl(w.left(2)));
  }
  if (Schalter_vorhanden(QStringLiteral("enforcestart"))) gStartErzwingen = true;
  if (Schalter_vorhanden(QStringLiteral("nowelcomescreen"))) splash = false;
  // 5.
  gStartzeit = uhr::monoton();
  uhr::säen(static_cast<unsigned>(gStartzeit * 1000.0) ^
            static_cast<unsigned>(QTime::currentTime().msecsSinceStartOfDay()));
  // 6.
  if (splash && gFensterhaken.splash_zeigen) gFensterhaken.splash_zeigen();
  // 7., 8.
  gDezimaltrennzeichen = gebietsschema::werte().dezimaltrenner.left(1);
  if (gDezimaltrennzeichen.isEmpty()) gDezimaltrennzeichen = QStringLiteral(".");
  Datumsformat_ermitteln();
  gHeuteText = FormatDatumDS(gHeute);
  // 9.
  if (gHeute.year() < 2025 || gHeute.year() > 2050) {
    Programmabbruch(QString(),
                    QStringLiteral("Systemdatum ") + Datum_lang(gHeute) +
                        QStringLiteral(" liegt außerhalb des zulässigen Bereichs"),
                    QStringLiteral("NoLog"));
  }
  // 10., 11.
  CheckGebietsschema();
  gBenutzername = umgebung::benutzername();
  // 12., 13.
  gProgrammordner = umgebung::programmordner();
  gBasisordner = gProgrammordner;
  if (umgebung::unterProgrammdateien(gBasisordner) && !umgebung::publicOrdner().isEmpty()) SetPublicPfad();
  // 14.
  if (Schalter_vorhanden(QStringLiteral("path"))) {
    gDatenordner = umgebung::mitSchrägstrich(Aufrufparameter(QStringLiteral("path")));
    if (gDatenordner.right(6).toLower() != u"/data/") gDatenordner += QStringLiteral("Data/");
    if (!QDir::isAbsolutePath(gDatenordner))
      gDatenordner = umgebung::mitSchrägstrich(QDir::current().absoluteFilePath(gDatenordner));
    if (Schalter_vorhanden(QStringLiteral("setpath"))) Velkoradat_schreiben();
    gPfadVorgegeben = true;
  } else {
    Velkoradat_lesen();
  }
  // 15.
  if (!gDatenordner.isEmpty() && !Ordner_hat(gDatenordner, QStringLiteral("*Data.dat"))) {
    // The default folder and a folder given on the command line get the first-start
    // data below; any other folder without data has gone missing and is searched for.
    if (gDatenordner.toLower() != (gBasisordner + QStringLiteral("Data/")).toLower() && !gPfadVorgegeben) {
      gDatenordnerAlt = gDatenordner;
      Datenverzeichnis_suchen();
    }
  }
  // 16.
  if (gDatenordner.isEmpty()) gDatenordner = gBasisordner + QStringLiteral("Data/");
  if (!Verzeichnis_vorhanden(gDatenordner)) {
    Verzeichnis_anlegen(gDatenordner);
    gDatenordnerAngelegt = true;
  }
  // 17.
  if (gLogordner.isEmpty()) gLogordner = gDatenordner + QStringLiteral("Logs/");
  Ordner_sicherstellen(gLogordner);
  // 18.
  gTempOrdner = umgebung::tempOrdner();
  Verzeichnis_wechseln(gTempOrdner);
  // 19.
  Sperrdatei_prüfen();
  // 20.
  if (!Ordner_hat(gDatenordner, QStringLiteral("*.dat"))) {
    if (!Datei_vorhanden(gBasisordner + QStringLiteral("VelkoraFtg.dat")))
      Dateifehler(3, gBasisordner + QStringLiteral("VelkoraFtg.dat"), QString(), QStringLiteral("modVelkora - Main"));
    Setup_Datenordner();
  }
  // 21.
  if (!Datei_vorhanden(gBasisordner + QStringLiteral("Velkora.dat"))) Velkoradat_schreiben();
  // 22.-24.
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
  // 25.
  gIniOrdner = gDatenordner + QStringLiteral("IniFiles/");
  Ordner_sicherstellen(gIniOrdner);
  // Temporary files of whole-file writes that were killed half-way would stay for good.
  for (const QString& ordner : {gDatenordner, gLogordner, gSicherungsordner, gIniOrdner})
    Zwischendateien_aufräumen(ordner);
  // 26.-29.
  if (Schalter_vorhanden(QStringLiteral("lookback"))) Datenrückblick();
  Konfigdaten_lesen();
  if (Schalter_vorhanden(QStringLiteral("a:lampenholz"))) {
    gAdministratorSchalter = true;
    gBenutzerstufe = 2;
  }
  if (Schalter_vorhanden(QStringLiteral("setting"))) Modify_Setting();
  // 30.-31.
  Mitarbeiterdaten_lesen();
  Feiertage_lesen();
  Ferientage_lesen();
  if (gRückblick && gBenutzerstufe == 0) {
    Programmabbruch(QString(), QStringLiteral("Aufruf nur durch folgende Administratoren: ") + ShowAdmins(false),
                    QStringLiteral("NoLog"));
  }
  // 32.-33.
  Versionsnr_checken();
  Anzber_und_Anzgru_init();
  gIniDateiname = Velkoraini_Dateiname(gBenutzername);
  Velkoraini_lesen();
  // 34.
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
  // 35.
  for (const QString& name : Dateiliste(gTempOrdner, QStringLiteral("*Velkora.log"))) {
    const QDateTime zeit = Dateizeit(gTempOrdner + name);
    if (zeit.isValid() && zeit.date().daysTo(gHeute) > 120) Löschen(gTempOrdner + name);
  }
  // 36.
  Erfassungsdateien_checken();
  // 37., 38.
  if (gRückblick) {
    if (gPlanungsjahr + 1 < gHeute.year()) gJahreswechselOffen = true;
  } else {
    while (gPlanungsjahr + 1 < gHeute.year()) {
      if (!Jahreswechsel()) break;
    }
  }
  if (gPlanungsjahr >= gHeute.year()) Datumskorruption();
  // 39.-41.
  if (gFensterhaken.hauptfenster_laden) gFensterhaken.hauptfenster_laden();
  if (splash && gFensterhaken.splash_zeigen) {
    Pause(-1.25);
    if (gFensterhaken.splash_entladen) gFensterhaken.splash_entladen();
  }
  if (gFensterhaken.hauptfenster_zeigen) gFensterhaken.hauptfenster_zeigen();
  // 42.
  if (!gStartfehler.isEmpty()) {
    if (gFensterhaken.hauptfenster_neu_zeichnen) gFensterhaken.hauptfenster_neu_zeichnen();
    Pause(1);
    Programmabbruch(QString(), gStartfehler, QStringLiteral("NoLog"));
  }
}

}  // namespace

void Kommandozeile_setzen(const QStringList& argumente) {
  gSchalter.clear();
  for (const QString& arg : argumente) {
    if (!arg.startsWith(u'/')) continue;
    const QString rest = arg.mid(1);
    for (const QString& name : kSchalter) {
      if (rest.startsWith(name, Qt::CaseInsensitive)) {
        gSchalter[name] = Wert_säubern(rest.mid(name.size()));
        break;
      }
    }
  }
}

bool Schalter_vorhanden(const QString& name) {
  const QString n = name.toLower();
  // "/setpath" names the data folder as "/path" does.
  return gSchalter.count(n) > 0 || (n == u"path" && gSchalter.count(QStringLiteral("setpath")) > 0);
}

QString Aufrufparameter(const QString& name) {
  const QString n = name.toLower();
  if (const auto it = gSchalter.find(n); it != gSchalter.end()) return it->second;
  if (n == u"path") {
    if (const auto it = gSchalter.find(QStringLiteral("setpath")); it != gSchalter.end()) return it->second;
  }
  return {};
}

void Main() {
  Prozedur(QStringLiteral("modVelkora - Main"), [] { Hauptablauf(); });
}

void CheckGebietsschema() {
  // Files are Windows-1252 by construction, whatever the workstation's own code
  // page: there is nothing a locale could break.
}

QString Gebietsschema_Info(int nummer) {
  const auto w = gebietsschema::werte();
  switch (nummer) {
    case 1:
      return w.landnummer;
    case 2:
      return w.landkürzel;
    case 3:
      return w.listentrenner;
    case 4:
      return w.datumstrenner;
    case 5:
      return w.datumsfolge;
    default:
      return {};
  }
}

void Datumsformat_ermitteln() {
  QString s = Gebietsschema_Info(4);
  if (s.isEmpty()) s = QStringLiteral("/");
  gDatumstrennzeichen = s.left(1);
  const QString f = Gebietsschema_Info(5);
  gDatumsreihenfolge = (f == u"0" || f == u"1" || f == u"2") ? f.toInt() : 0;
}

void Titelzeile() {
  QString t = QStringLiteral("Velkora - ") + gFirmenname;
  if (!gFirmenzusatz.isEmpty()) t += QStringLiteral(" - ") + gFirmenzusatz;
  if (gRückblick) t += QStringLiteral(" - Datenrückblick - keine Eingaben möglich !");
  gHauptfensterTitel = t;
  if (gFensterhaken.titel_setzen) gFensterhaken.titel_setzen();
}
