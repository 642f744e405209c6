#include "store/Jahreswechsel.h"

#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <algorithm>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "common/Gebietsschema.h"
#include "common/Testumgebung.h"
#include "platform/Zustand.h"
#include "startup/Dateisperre.h"
#include "startup/Dateizugriff.h"
#include "startup/Logbuch.h"
#include "startup/Start.h"
#include "startup/Umrechnungen.h"
#include "store/Einrichtung.h"
#include "store/Erfassungsdaten.h"
#include "store/Feiertage.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Monatsdatei.h"
#include "store/Planungsfenster.h"
#include "store/Sicherung.h"

namespace {

const QString kÜberschrift = QStringLiteral("Abteilung Nord");

// An employee line of the file in the current layout.
QString Mitarbeiterzeile(const QString& name, const QString& benutzer, const QString& urlaub) {
  return QStringLiteral("000000:999999:") + urlaub + QStringLiteral(":000,0:000,0:000,0:000,0:") + name + u':' +
         benutzer;
}

struct Eintrag {
  const char* monat;  // yymm
  const char* codes;  // from day 1 on: "1" a full day of vacation, "2" a half day
};

class JahreswechselTest : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    einrichten(QStringLiteral("Ablage"));
  }

  // A data folder as a first start on 15 March 2025 sets it up (planning year 2024),
  // its configuration read, and one holiday (24 December) defined.
  void einrichten(const QString& wurzel) {
    zustand::alleZurücksetzen();
    gBenutzername = QStringLiteral("tester");
    gProgrammordner = unterordner(wurzel + QStringLiteral("/Programm"));
    gBasisordner = gProgrammordner;
    gDatenordner = unterordner(wurzel + QStringLiteral("/Data"));
    gLogordner = unterordner(wurzel + QStringLiteral("/Data/Logs"));
    gSicherungsordner = unterordner(wurzel + QStringLiteral("/Data/Backups"));
    gIniOrdner = unterordner(wurzel + QStringLiteral("/Data/IniFiles"));
    gTempOrdner = unterordner(QStringLiteral("Temp"));
    schreiben(gBasisordner + QStringLiteral("VelkoraFtg.dat"), kodiert({QStringLiteral("[VelkoraFeiertageDat]")}));
    heute(QDate(2025, 3, 15));
    Setup_Datenordner();
    Konfigdaten_lesen();
    Feiertage_lesen();
    gFeiertagsdefinitionen = QStringList{QString()};
    for (int i = 1; i <= 16; ++i) gFeiertagsdefinitionen << kLeereFeiertagsdefinition;
    gFeiertagsdefinitionen << QStringLiteral("24.12.");
    Feiertage_schreiben();
    Feiertage_lesen();
  }
  void heute(const QDate& d) {
    gHeute = d;
    gHeuteText = FormatDatumDS(d);
  }
  void einstellungen(int beginn, int verfall) {
    SetSetting(31, beginn);
    SetSetting(38, verfall);
    Konfigdaten_schreiben();
    Konfigdaten_lesen();
  }
  void mitarbeiter(const QStringList& zeilen) {
    schreiben(gDatenordner + QStringLiteral("Mitarbeiterdaten.dat"),
              kodiert(QStringList{QStringLiteral("[Mitarbeiterdaten]"), gKennzeile, QString::number(gPlanungsjahr)} +
                      zeilen));
    Mitarbeiterdaten_lesen();
  }
  void eintragen(const QString& benutzer, const std::vector<Eintrag>& einträge) {
    for (const Eintrag& e : einträge)
      ASSERT_TRUE(Monatsdatei_speichern(QString::fromLatin1(e.monat),
                                        {QStringLiteral("A:") + benutzer + u':' + tage(QString::fromLatin1(e.codes))}));
  }
  // Employees "p0", "p1", ... with the same balances and the same entries.
  void personen(int anzahl, const std::vector<Eintrag>& einträge) {
    QStringList zeilen;
    for (int i = 0; i < anzahl; ++i)
      zeilen << Mitarbeiterzeile(QStringLiteral("Person %1").arg(i), QStringLiteral("p%1").arg(i),
                                 QStringLiteral("002,5:030,0:029,0:028,0:027,0"));
    mitarbeiter(zeilen);
    for (int i = 0; i < anzahl; ++i) eintragen(QStringLiteral("p%1").arg(i), einträge);
  }
  int zeileVon(const QString& benutzer) {
    for (int i = 1; i <= Mitarbeiterzeilen(); ++i)
      if (gBenutzerIDs[i] == benutzer) return i;
    return 0;
  }
  QStringList logbuch() { return dekodierteZeilen(gLogordner + gHeuteText.left(4) + QStringLiteral(" Velkora.log")); }
  int logzeilen(const QString& text) {
    int n = 0;
    for (const QString& z : logbuch())
      if (z.endsWith(QStringLiteral("|VelkoraAdmin|") + text)) ++n;
    return n;
  }
  QStringList monatsdateien(const QString& präfix) {
    return Dateiliste(gDatenordner, präfix + QStringLiteral("*Data.dat"));
  }
  // The first `anzahl` months of 2027 made before the change to 2025, as a change undone
  // after the system date was set back leaves them, each with an entry of "p0"; their
  // contents by key.
  std::map<QString, QStringList> drittesJahrVorab(int anzahl) {
    std::map<QString, QStringList> monate;
    for (int m = 1; m <= anzahl; ++m) {
      const QString schlüssel = QStringLiteral("27%1").arg(m, 2, 10, QChar(u'0'));
      const QStringList zeilen{u'[' + schlüssel + u']', gKennzeile, QStringLiteral("NoEx:NoEx"),
                               QStringLiteral("A:p0:") + tage(QStringLiteral("1"))};
      schreiben(gDatenordner + schlüssel + QStringLiteral(" 251220 Data.dat"), kodiert(zeilen));
      monate[schlüssel] = zeilen;
    }
    return monate;
  }
  // The administrator lines of the change to 2025 in this month's logbook, in their
  // order: 1 the change, 2 the empty months of 2027, 3 the months of 2024 deleted; 0 for
  // any other line on empty months or deleted months.
  std::vector<int> wechselzeilen() {
    std::vector<int> folge;
    for (const QString& z : logbuch()) {
      const QString t = z.section(u'|', 3);
      if (t == u"Jahreswechsel durchgeführt, aktuelles Jahr 2026")
        folge.push_back(1);
      else if (t == u"Leere Erfassungsdateien für 2027 angelegt")
        folge.push_back(2);
      else if (t.startsWith(u"Erfassungsdateien des Jahres 2024 und älter"))
        folge.push_back(3);
      else if (t.startsWith(u"Leere Erfassungsdateien") || t.startsWith(u"Erfassungsdateien"))
        folge.push_back(0);
    }
    return folge;
  }
};

// The carry-over of the remaining vacation, as the employee file holds it after the
// change from 2024 to 2025.
TEST_F(JahreswechselTest, UebertraegtUndVerfaelltDenResturlaub) {
  struct Fall {
    const char* name;
    int beginn, verfall;
    const char* werte;
    std::vector<Eintrag> einträge;
    const char* erwartet;
  };
  const Fall fälle[] = {
      // 2,5 + 30 - (20 full + 3 half days) = 11.
      {"calendar year, no lapse",
       1,
       0,
       "002,5:030,0:028,0:027,0:026,0",
       {{"2403", "1111111111"}, {"2407", "1111111111"}, {"2410", "222"}, {"2501", "11"}},
       "011,0:028,0:027,0:026,0:000,0"},
      // 2 of 5 carried-over days taken before April: 3 lapse; 30 + 5 - 10 - 3.
      {"lapse in April",
       1,
       4,
       "005,0:030,0:028,0:027,0:026,0",
       {{"2402", "11"}, {"2408", "11111111"}},
       "022,0:028,0:027,0:026,0:000,0"},
      // More taken before the lapse than was carried over: nothing lapses.
      {"nothing left to lapse",
       1,
       4,
       "002,0:030,0:028,0:027,0:026,0",
       {{"2402", "11111"}},
       "027,0:028,0:027,0:026,0:000,0"},
      // The vacation year from April: the whole remainder lapses at its start; March
      // 2024 is outside it, January to March 2025 inside.
      {"lapse month = start month",
       4,
       4,
       "005,0:030,0:028,0:027,0:026,0",
       {{"2403", "111"}, {"2405", "11111"}, {"2502", "11111"}},
       "020,0:028,0:027,0:026,0:000,0"},
      // Lapse in February, vacation year from April: it lapses on 1 February 2025;
      // 2 days were taken before, 3 lapse; 30 + 5 - 5 - 3.
      {"lapse month before start month",
       4,
       2,
       "005,0:030,0:028,0:027,0:026,0",
       {{"2405", "1"}, {"2501", "1"}, {"2502", "111"}},
       "027,0:028,0:027,0:026,0:000,0"},
      {"all entitlements zero",
       1,
       0,
       "004,0:000,0:000,0:000,0:000,0",
       {{"2403", "111"}},
       "000,0:000,0:000,0:000,0:000,0"},
  };
  int n = 0;
  for (const Fall& f : fälle) {
    SCOPED_TRACE(f.name);
    einrichten(QStringLiteral("Fall%1").arg(++n));
    einstellungen(f.beginn, f.verfall);
    const QString heading = kÜberschrift;
    mitarbeiter({heading, Mitarbeiterzeile(QStringLiteral("Meier Anna"), QStringLiteral("ameier"),
                                           QString::fromLatin1(f.werte))});
    eintragen(QStringLiteral("ameier"), f.einträge);
    heute(QDate(2026, 1, 10));

    EXPECT_TRUE(Jahreswechsel());
    EXPECT_EQ(gPlanungsjahr, 2025);
    const int z = zeileVon(QStringLiteral("ameier"));
    ASSERT_GT(z, 0);
    EXPECT_EQ(gUrlaubsdaten[z], QString::fromLatin1(f.erwartet));
    const QStringList datei = dekodierteZeilen(gDatenordner + QStringLiteral("Mitarbeiterdaten.dat"));
    ASSERT_EQ(datei.size(), 5);
    EXPECT_EQ(datei[2], QStringLiteral("2025"));
    EXPECT_EQ(datei[3], heading) << "a heading row keeps its line";
    EXPECT_EQ(gMitarbeiterNamen[1], heading);
    EXPECT_TRUE(gUrlaubsdaten[1].isEmpty());
  }
}

// Half days carried over at the year change, in the table and in the file, whatever
// the process locale.
class JahreswechselImGebietsschema : public UnterGebietsschema<JahreswechselTest> {};

TEST_P(JahreswechselImGebietsschema, HalbeTageGehenUeberDenJahreswechsel) {
  struct Fall {
    const char* werte;
    std::vector<Eintrag> einträge;
    const char* tabelle;
    const char* datei;
  };
  const Fall fälle[] = {
      // 31,5 + 30 = 61,5.
      {"031,5:030,0:028,0:027,0:026,0", {}, "061,5:028,0:027,0:026,0:000,0", "000000:999999:061,5:028:027:026:000:"},
      // 2,5 + 30 - 1,5 = 31.
      {"002,5:030,0:028,5:027,0:026,0",
       {{"2405", "12"}},
       "031,0:028,5:027,0:026,0:000,0",
       "000000:999999:031,0:028,5:027,0:026,0:000,0:"},
      // 0 + 20,5 - 3 half days = 19.
      {"000,0:020,5:020,5:027,0:026,0",
       {{"2406", "222"}},
       "019,0:020,5:027,0:026,0:000,0",
       "000000:999999:019,0:020,5:027,0:026,0:000,0:"},
  };
  int n = 0;
  for (const Fall& f : fälle) {
    SCOPED_TRACE(f.werte);
    einrichten(QStringLiteral("Halbtag%1").arg(++n));
    einstellungen(1, 0);
    mitarbeiter(
        {Mitarbeiterzeile(QStringLiteral("Meier Anna"), QStringLiteral("ameier"), QString::fromLatin1(f.werte))});
    eintragen(QStringLiteral("ameier"), f.einträge);
    heute(QDate(2026, 1, 10));
    ASSERT_TRUE(Jahreswechsel()) << (skript->texte().empty() ? QString() : skript->texte().back()).toStdString();
    const int z = zeileVon(QStringLiteral("ameier"));
    ASSERT_GT(z, 0);
    EXPECT_EQ(gUrlaubsdaten[z], QString::fromLatin1(f.tabelle));
    const QStringList datei = dekodierteZeilen(gDatenordner + QStringLiteral("Mitarbeiterdaten.dat"));
    ASSERT_EQ(datei.size(), 4);
    EXPECT_TRUE(datei[3].startsWith(QString::fromLatin1(f.datei))) << datei[3].toStdString();
  }
}

INSTANTIATE_GEBIETSSCHEMATA(JahreswechselImGebietsschema);

TEST_F(JahreswechselTest, DieRechnungInEinfacherGenauigkeit) {
  Urlaubsübertrag u;
  u.rest = 2.5f;
  u.anspruch = 30;
  u.genommen = 21.5f;
  EXPECT_EQ(Neuer_Resturlaub(u), 11.0f);
  EXPECT_EQ(Urlaubsdaten_nach_Jahreswechsel(QStringLiteral("002,5:030,0:028,5:027,0:026,0"), -3.25f),
            QStringLiteral("-03,3:028,5:027,0:026,0:000,0"));
  const Urlaubsjahr april = Urlaubsjahr_des_Planungsjahrs(2024, 4, 2);
  EXPECT_EQ(april.beginn, QDate(2024, 4, 1));
  EXPECT_EQ(april.ende, QDate(2025, 3, 31));
  EXPECT_EQ(april.verfall, QDate(2025, 2, 1));
  EXPECT_FALSE(Urlaubsjahr_des_Planungsjahrs(2024, 1, 0).verfall.isValid());
}

// At the start the change asks when the last entry is more than 24 days old.
TEST_F(JahreswechselTest, FragtNachDemDatumWennDerLetzteEintragAelterAls24TageIst) {
  const struct {
    int tage;
    bool frage;
  } fälle[] = {{25, true}, {24, false}};
  int n = 0;
  for (const auto& f : fälle) {
    SCOPED_TRACE(f.tage);
    einrichten(QStringLiteral("Frage%1").arg(++n));
    mitarbeiter({Mitarbeiterzeile(QStringLiteral("Meier Anna"), QStringLiteral("ameier"),
                                  QStringLiteral("000,0:030,0:030,0:030,0:030,0"))});
    heute(QDate(2026, 1, 10).addDays(-f.tage));
    eintragen(QStringLiteral("ameier"), {{"2512", "1"}});
    heute(QDate(2026, 1, 10));
    gStörungAnzeigen = true;
    skript->protokoll.clear();
    if (f.frage) {
      ERWARTE_PROGRAMMENDE(Jahreswechsel());
      ASSERT_EQ(skript->texte().size(), 2u);
      EXPECT_EQ(skript->protokoll[0].art, dialoge::Art::JaNein);
      EXPECT_EQ(skript->texte()[0],
                QStringLiteral("Achtung! Es wurde ein neues Jahr erkannt und die letzte Eingabe von "
                               "An-/Abwesenheitszeiten liegt mehr als vier Wochen zurück. Diese Meldung erhalten Sie "
                               "sicherheitshalber, um ein irrtümliches Verstellen des Systemdatums auszuschließen.\r\r"
                               "Aktuelles Systemdatum ist der 10.01.2026. Ist dies richtig?"));
      EXPECT_EQ(skript->texte()[1], QStringLiteral("Stellen Sie das Systemdatum korrekt ein und starten Sie den "
                                                   "Velkora erneut.\r\rDas Programm wird beendet."));
      EXPECT_EQ(gPlanungsjahr, 2024);
      EXPECT_TRUE(Dateiliste(gSicherungsordner, QStringLiteral("*J.dat")).isEmpty());
    } else {
      EXPECT_TRUE(Jahreswechsel());
      EXPECT_TRUE(skript->texte().empty());
      EXPECT_EQ(gPlanungsjahr, 2025);
    }
    gStörungAnzeigen = false;
  }
}

TEST_F(JahreswechselTest, Von2024Nach2025WandernMonatsdateienUndLogbuecher) {
  mitarbeiter({Mitarbeiterzeile(QStringLiteral("Meier Anna"), QStringLiteral("ameier"),
                                QStringLiteral("000,0:030,0:030,0:030,0:030,0"))});
  SetSetting(13, 1);
  Konfigdaten_schreiben();
  const QString kennzeile = gKennzeile;
  heute(QDate(2026, 1, 10));
  ASSERT_EQ(monatsdateien(QStringLiteral("24")).size(), 12);

  EXPECT_TRUE(Jahreswechsel_nachholen());
  EXPECT_EQ(gPlanungsjahr, 2025);
  EXPECT_TRUE(monatsdateien(QStringLiteral("24")).isEmpty());
  EXPECT_EQ(monatsdateien(QStringLiteral("25")).size(), 12);
  EXPECT_EQ(monatsdateien(QStringLiteral("26")).size(), 12);
  for (int m = 1; m <= 12; ++m) {
    const QString schlüssel = QStringLiteral("27%1").arg(m, 2, 10, QChar(u'0'));
    EXPECT_EQ(dekodierteZeilen(gDatenordner + schlüssel + QStringLiteral(" 260110 Data.dat")),
              (QStringList{u'[' + schlüssel + u']', kennzeile, QStringLiteral("NoEx:NoEx")}));
  }
  EXPECT_EQ(logzeilen(QStringLiteral("Jahreswechsel durchgeführt, aktuelles Jahr 2026")), 1);
  EXPECT_EQ(logzeilen(QStringLiteral("Leere Erfassungsdateien für 2027 angelegt")), 1);
  EXPECT_EQ(logzeilen(QStringLiteral("Erfassungsdateien des Jahres 2024 und älter gelöscht")), 1);
  const QStringList j = Dateiliste(gSicherungsordner, QStringLiteral("*J.dat"));
  ASSERT_EQ(j.size(), 1);
  EXPECT_TRUE(j[0].startsWith(QStringLiteral("260110 "))) << j[0].toStdString();
  // The holidays of the new window; the recovery mark is cleared.
  EXPECT_TRUE(gFeiertagsTabelle.contains(QStringLiteral("271224|")));
  EXPECT_FALSE(gFeiertagsTabelle.contains(QStringLiteral("241224|")));
  EXPECT_EQ(Setting(13), 0);
  Konfigdaten_lesen();
  EXPECT_EQ(Setting(13), 0);
  // A second run finds nothing to do.
  EXPECT_TRUE(Jahreswechsel_nachholen());
  EXPECT_EQ(logzeilen(QStringLiteral("Jahreswechsel durchgeführt, aktuelles Jahr 2026")), 1);
}

// The line on the empty months of the new third year stands once, after the one on the
// change, whatever months the change had to make: all twelve, some, or none since all
// were there. The months that were there stay as they were.
TEST_F(JahreswechselTest, LeereErfassungsdateienEinmalGemeldetWasAuchFehlte) {
  for (const int vorhanden : {0, 5, 12}) {
    SCOPED_TRACE(vorhanden);
    einrichten(QStringLiteral("Vorab%1").arg(vorhanden));
    personen(1, {{"2406", "11"}});
    const std::map<QString, QStringList> vorab = drittesJahrVorab(vorhanden);
    heute(QDate(2026, 1, 10));

    ASSERT_TRUE(Jahreswechsel_nachholen());
    EXPECT_EQ(gPlanungsjahr, 2025);
    for (int m = 1; m <= 12; ++m) {
      const QString schlüssel = QStringLiteral("27%1").arg(m, 2, 10, QChar(u'0'));
      const QStringList namen = monatsdateien(schlüssel);
      ASSERT_EQ(namen.size(), 1) << m;
      const auto alt = vorab.find(schlüssel);
      if (alt == vorab.end()) {
        EXPECT_EQ(namen[0], schlüssel + QStringLiteral(" 260110 Data.dat"));
        continue;
      }
      EXPECT_EQ(namen[0], schlüssel + QStringLiteral(" 251220 Data.dat"));
      EXPECT_EQ(dekodierteZeilen(gDatenordner + namen[0]), alt->second) << m;
    }
    EXPECT_EQ(wechselzeilen(), (std::vector<int>{1, 2, 3})) << logbuch().join(u'\n').toStdString();
    EXPECT_FALSE(QFile::exists(gDatenordner + QStringLiteral("Velkora Jahreswechsel.stand")));
    EXPECT_TRUE(skript->texte().empty());
    // A second run changes nothing and says nothing.
    EXPECT_TRUE(Jahreswechsel_nachholen());
    EXPECT_EQ(wechselzeilen(), (std::vector<int>{1, 2, 3}));
  }
}

// A change killed after its commit, its lines not yet written, as the next start finds
// it: its note names the new planning year and the day it began, in this version's form
// or with the earlier version's line between them on whether it made empty months. The
// completion writes the lines the logbook lacks, the one on the empty months whatever
// that line said.
TEST_F(JahreswechselTest, VollendenSchreibtDieFehlendenZeilenNachDemStand) {
  const struct {
    const char* name;
    QStringList stand;
    bool durchgeführt;  // the line on the change was written before the kill
  } fälle[] = {
      {"this version, no line", {QStringLiteral("2025"), QStringLiteral("260110")}, false},
      {"this version, the change's line", {QStringLiteral("2025"), QStringLiteral("260110")}, true},
      {"earlier version, no months made",
       {QStringLiteral("2025"), QStringLiteral("0"), QStringLiteral("260110")},
       false},
      {"earlier version, months made", {QStringLiteral("2025"), QStringLiteral("1"), QStringLiteral("260110")}, true},
  };
  int n = 0;
  for (const auto& f : fälle) {
    SCOPED_TRACE(f.name);
    einrichten(QStringLiteral("Stand%1").arg(++n));
    personen(1, {});
    drittesJahrVorab(12);
    heute(QDate(2026, 1, 10));
    // The employee file and the months as the change leaves them at its commit.
    for (const QString& name : monatsdateien(QStringLiteral("24"))) ASSERT_TRUE(QFile::remove(gDatenordner + name));
    gPlanungsjahr = 2025;
    ASSERT_TRUE(Mitarbeiterdaten_schreiben());
    if (f.durchgeführt) Logbuch_ergänzen(2, QStringLiteral("Jahreswechsel durchgeführt, aktuelles Jahr 2026"));
    schreiben(gDatenordner + QStringLiteral("Velkora Jahreswechsel.stand"),
              kodiert(QStringList{QStringLiteral("[Jahreswechsel]")} + f.stand));

    Jahreswechsel_vollenden();
    EXPECT_EQ(wechselzeilen(), (std::vector<int>{1, 2})) << logbuch().join(u'\n').toStdString();
    EXPECT_FALSE(QFile::exists(gDatenordner + QStringLiteral("Velkora Jahreswechsel.stand")));
    EXPECT_TRUE(Jahreswechsel_nachholen());
    EXPECT_EQ(wechselzeilen(), (std::vector<int>{1, 2}));
  }
}

TEST_F(JahreswechselTest, MisslungenesBackupAendertNichts) {
  mitarbeiter({Mitarbeiterzeile(QStringLiteral("Meier Anna"), QStringLiteral("ameier"),
                                QStringLiteral("002,5:030,0:030,0:030,0:030,0"))});
  eintragen(QStringLiteral("ameier"), {{"2403", "111"}});
  const QByteArray vorher = lesen(gDatenordner + QStringLiteral("Mitarbeiterdaten.dat"));
  const QStringList monate = monatsdateien(QString());
  ASSERT_TRUE(QDir(gSicherungsordner).removeRecursively());
  heute(QDate(2026, 1, 10));

  EXPECT_FALSE(Jahreswechsel_nachholen());
  EXPECT_EQ(gPlanungsjahr, 2024);
  EXPECT_EQ(lesen(gDatenordner + QStringLiteral("Mitarbeiterdaten.dat")), vorher);
  EXPECT_EQ(monatsdateien(QString()), monate);
  EXPECT_EQ(logzeilen(QStringLiteral("Jahreswechsel nicht durchgeführt, da Backup nicht erstellt werden konnte")), 1);
  EXPECT_TRUE(skript->texte().empty());
}

// Two workstations start at the same moment in the new year, each with the employee
// file read at its start: the window moves on once, with the balances computed from
// the entries of the old year.
TEST_F(JahreswechselTest, ZweiProzesseZugleichWechselnDasJahrEinmal) {
  personen(20, {{"2406", "1111122"}});
  const QString start = ordner() + QStringLiteral("los");
  std::vector<std::unique_ptr<QProcess>> ps;
  for (int i = 0; i < 2; ++i) {
    auto p = std::make_unique<QProcess>();
    p->start(QStringLiteral(VELKORA_BIN_DIR "/velkora_jahreswechsel_helfer"),
             {gDatenordner, QStringLiteral("260110"), start, QString::number(i)});
    ASSERT_TRUE(p->waitForStarted(10000));
    ASSERT_TRUE(p->waitForReadyRead(60000));
    ASSERT_TRUE(p->readLine().startsWith("bereit")) << p->readAllStandardError().constData();
    ps.push_back(std::move(p));
  }
  schreiben(start, "los");
  for (auto& p : ps) {
    ASSERT_TRUE(p->waitForFinished(180000));
    EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().constData();
    EXPECT_EQ(p->readAllStandardOutput().trimmed(), "2025");
  }
  heute(QDate(2026, 1, 10));
  Mitarbeiterdaten_lesen();
  EXPECT_EQ(gPlanungsjahr, 2025);
  for (int i = 1; i <= 20; ++i) EXPECT_EQ(gUrlaubsdaten[i], QStringLiteral("026,5:029,0:028,0:027,0:000,0")) << i;
  EXPECT_EQ(logzeilen(QStringLiteral("Jahreswechsel durchgeführt, aktuelles Jahr 2026")), 1);
  for (int m = 1; m <= 12; ++m)
    EXPECT_EQ(monatsdateien(QStringLiteral("27%1").arg(m, 2, 10, QChar(u'0'))).size(), 1) << m;
  EXPECT_TRUE(monatsdateien(QStringLiteral("24")).isEmpty());
  EXPECT_FALSE(QFile::exists(gDatenordner + QStringLiteral("Velkora Jahreswechsel.lock")));
}

// A workstation killed after its n-th file change of the year change, for every n up to
// the last: the next start completes the change without a fatal stop, with the 36
// months of the new window, every entry and the balances counted from the old year.
// The administrator logbook tells of the change once, whoever finished it: the change,
// the empty months of the new third year, and the dropped months, in this order. With
// none of the new third year's months there before, and with all twelve there (the
// change makes none, and still says the year's months are there).
class AbgebrochenerJahreswechsel : public JahreswechselTest, public testing::WithParamInterface<int> {};

TEST_P(AbgebrochenerJahreswechsel, WirdBeimNaechstenStartVollendet) {
  personen(3, {{"2406", "1111122"}, {"2505", "11"}, {"2601", "2"}});
  const QString vorlage = ordner() + QStringLiteral("Ablage/");
  std::map<QString, QStringList> behalten = drittesJahrVorab(GetParam());
  for (const char* m : {"2505", "2601"})
    behalten[QString::fromLatin1(m)] = dekodierteZeilen(gDatenordner + Erfassungsdatei_Name(QString::fromLatin1(m)));
  ASSERT_TRUE(behalten[QStringLiteral("2505")].join(u'\n').contains(QStringLiteral("p2")));
  const QString start = ordner() + QStringLiteral("los");
  schreiben(start, "los");

  bool vollständig = false;
  int n = 1;
  for (; n <= 400 && !vollständig; ++n) {
    SCOPED_TRACE(n);
    const QString lauf = ordner() + QStringLiteral("Lauf/");
    ASSERT_TRUE(QDir(lauf).removeRecursively());
    ASSERT_EQ(QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-a"), vorlage, lauf}), 0);
    QProcess p;
    QStringList env = QProcess::systemEnvironment();
    env << QStringLiteral("LD_PRELOAD=" VELKORA_BIN_DIR "/velkora_stoerungen.so")
        << QStringLiteral("VELKORA_TOT_NACH=%1").arg(n);
    p.setEnvironment(env);
    p.start(QStringLiteral(VELKORA_BIN_DIR "/velkora_jahreswechsel_helfer"),
            {lauf + QStringLiteral("Data"), QStringLiteral("260110"), start, QStringLiteral("0")});
    ASSERT_TRUE(p.waitForFinished(60000));
    vollständig = p.exitStatus() == QProcess::NormalExit;
    if (vollständig) {
      ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
    }

    // The next start on this workstation, as far as the year change concerns it.
    zustand::alleZurücksetzen();
    gBenutzername = QStringLiteral("tester");
    gDatenordner = lauf + QStringLiteral("Data/");
    gLogordner = gDatenordner + QStringLiteral("Logs/");
    gSicherungsordner = gDatenordner + QStringLiteral("Backups/");
    gIniOrdner = gDatenordner + QStringLiteral("IniFiles/");
    gDezimaltrennzeichen = QStringLiteral(",");
    gDatumstrennzeichen = QStringLiteral(".");
    heute(QDate(2026, 1, 10));
    try {
      Konfigdaten_lesen();
      Mitarbeiterdaten_lesen();
      Feiertage_lesen();
      Jahreswechsel_vollenden();
      Erfassungsdateien_checken();
      ASSERT_TRUE(Jahreswechsel_nachholen());
    } catch (const ProgrammBeendet&) {
      FAIL() << "the start ended: " << (skript->texte().empty() ? QString() : skript->texte().back()).toStdString();
    }
    EXPECT_TRUE(skript->texte().empty()) << skript->texte().front().toStdString();
    Mitarbeiterdaten_lesen();
    ASSERT_EQ(gPlanungsjahr, 2025);
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(gUrlaubsdaten[i], QStringLiteral("026,5:029,0:028,0:027,0:000,0")) << i;
    for (int jahr = 25; jahr <= 27; ++jahr)
      for (int m = 1; m <= 12; ++m) {
        EXPECT_EQ(monatsdateien(QStringLiteral("%1%2").arg(jahr).arg(m, 2, 10, QChar(u'0'))).size(), 1) << jahr << m;
      }
    EXPECT_TRUE(monatsdateien(QStringLiteral("24")).isEmpty());
    for (const auto& [monat, inhalt] : behalten)
      EXPECT_EQ(dekodierteZeilen(gDatenordner + Erfassungsdatei_Name(monat)), inhalt) << monat.toStdString();
    EXPECT_FALSE(QFile::exists(gDatenordner + QStringLiteral("Lockfile.txt")));
    EXPECT_FALSE(QFile::exists(gDatenordner + QStringLiteral("Velkora Jahreswechsel.lock")));
    EXPECT_FALSE(QFile::exists(gDatenordner + QStringLiteral("Velkora Jahreswechsel.stand")));

    // A start killed after the last month of 2024 was deleted and before its line leaves
    // nothing for the completion to report as deleted.
    const std::vector<int> folge = wechselzeilen();
    EXPECT_TRUE(folge == (std::vector<int>{1, 2, 3}) || folge == (std::vector<int>{1, 2}))
        << logbuch().join(u'\n').toStdString();
    EXPECT_EQ(logzeilen(QStringLiteral("Jahreswechsel durchgeführt, aktuelles Jahr 2026")), 1);
    EXPECT_EQ(logzeilen(QStringLiteral("Leere Erfassungsdateien für 2027 angelegt")), 1);
    if (HasFailure()) break;
  }
  EXPECT_TRUE(vollständig) << "the year change did not end within " << n - 1 << " file changes";
  EXPECT_GT(n, 20);
}

INSTANTIATE_TEST_SUITE_P(DrittesJahrVorab, AbgebrochenerJahreswechsel, testing::Values(0, 12),
                         [](const testing::TestParamInfo<int>& i) {
                           return i.param == 0 ? std::string("keinMonat") : std::string("alleMonate");
                         });

// ---------------------------------------------------------------------------------
// A workstation started before the year change at another one.

QString Abgelehnt(const QString& monat) {
  return QStringLiteral("Der Jahreswechsel wurde an einem anderen Arbeitsplatz durchgeführt. Die Monatsdatei ") +
         monat +
         QStringLiteral(
             " gehört nicht mehr zum Planungszeitraum, die Eingabe wurde nicht gespeichert.\r\rBitte starten Sie das "
             "Programm neu.");
}

class FrueherGestartet : public JahreswechselTest {
 protected:
  // Every administrator line of every logbook that tells of an aborted year change.
  QStringList abbruchzeilen() {
    QStringList r;
    for (const QString& log : Dateiliste(gLogordner, QStringLiteral("*Velkora.log")))
      for (const QString& z : dekodierteZeilen(gLogordner + log))
        if (z.contains(QStringLiteral("abgebrochenem Jahreswechsel"))) r << z;
    return r;
  }
  // A month of the dropped year 2024 as a workstation started before the change wrote it
  // afterwards with a program version that did not refuse that: only its own line.
  void nachzügler(const QString& schlüssel) {
    schreiben(gDatenordner + schlüssel + QStringLiteral(" 251231 Data.dat"),
              kodiert({u'[' + schlüssel + u']', gKennzeile, QStringLiteral("NoEx:NoEx"),
                       QStringLiteral("A:p0:") + tage(QStringLiteral("2"))}));
  }
  // The change from 2024 to 2025 on 10 January 2026, in this process.
  void wechseln() {
    heute(QDate(2026, 1, 10));
    ASSERT_TRUE(Jahreswechsel_nachholen());
    ASSERT_EQ(gPlanungsjahr, 2025);
    ASSERT_TRUE(monatsdateien(QStringLiteral("24")).isEmpty());
  }
};

// Workstation A, started on 31 December 2025 with the window 2024 to 2026, keeps
// running; workstation B starts on 2 January 2026 and moves the window to 2025 to 2027.
// A's saves into months of 2024 are refused with the message and write nothing, before
// and after A's table has read the employee file again (which a rewrite does); its
// saves into the months both windows share are kept. No start after it tells of an
// aborted year change.
TEST_F(FrueherGestartet, SpeichertNichtInMonateDieDerJahreswechselEntfernteUndDieGemeinsamenWeiter) {
  personen(2, {{"2412", "1"}, {"2501", "1"}, {"2612", "1"}});
  heute(QDate(2025, 12, 31));
  ASSERT_EQ(gPlanungsjahr, 2024);
  const QString start = ordner() + QStringLiteral("los");
  schreiben(start, "los");
  QProcess b;
  b.start(QStringLiteral(VELKORA_BIN_DIR "/velkora_jahreswechsel_helfer"),
          {gDatenordner, QStringLiteral("260102"), start, QStringLiteral("1")});
  ASSERT_TRUE(b.waitForFinished(180000));
  ASSERT_EQ(b.exitCode(), 0) << b.readAllStandardError().constData();
  ASSERT_TRUE(b.readAllStandardOutput().contains("2025"));
  ASSERT_TRUE(monatsdateien(QStringLiteral("24")).isEmpty());
  ASSERT_EQ(gPlanungsjahr, 2024) << "A still has the window of its start";

  const struct {
    const char* monat;
    bool gespeichert;
  } fälle[] = {{"2412", false}, {"2501", true}, {"2612", true}, {"2401", false}, {"2412", false}};
  for (const auto& f : fälle) {
    const QString monat = QString::fromLatin1(f.monat);
    SCOPED_TRACE(f.monat);
    skript->protokoll.clear();
    const QString zeile = QStringLiteral("A:p1:") + tage(QStringLiteral(" 2"));
    EXPECT_EQ(Monatsdatei_speichern(monat, {zeile}), f.gespeichert);
    if (f.gespeichert) {
      EXPECT_TRUE(skript->texte().empty());
      const QStringList inhalt = dekodierteZeilen(gDatenordner + Erfassungsdatei_Name(monat));
      EXPECT_TRUE(inhalt.contains(zeile));
      EXPECT_TRUE(inhalt.contains(QStringLiteral("A:p0:") + tage(QStringLiteral("1")))) << "the month kept its lines";
    } else {
      ASSERT_EQ(skript->texte().size(), 1u);
      EXPECT_EQ(skript->texte()[0], Abgelehnt(monat.mid(2, 2) + QStringLiteral(".20") + monat.left(2)));
      EXPECT_TRUE(monatsdateien(monat).isEmpty());
    }
  }

  // A change of a month's own lines (a non-working-day mark) would make the month anew:
  // refused the same way, told only when asked.
  const Monatsänderung neu = [](const std::optional<Monatsversion>&, const QStringList&) -> std::optional<QStringList> {
    return QStringList{QStringLiteral("[2412]"), gKennzeile, QStringLiteral("NoEx:NoEx")};
  };
  for (const bool melden : {true, false}) {
    skript->protokoll.clear();
    EXPECT_FALSE(Monatsdatei_umschreiben(QStringLiteral("2412"), false, neu, melden));
    EXPECT_EQ(skript->texte().size(), melden ? 1u : 0u);
    EXPECT_TRUE(monatsdateien(QStringLiteral("2412")).isEmpty());
  }
  EXPECT_TRUE(skript->texte().empty());

  // The next start of anybody.
  heute(QDate(2026, 1, 2));
  Mitarbeiterdaten_lesen();
  Jahreswechsel_vollenden();
  Erfassungsdateien_checken();
  EXPECT_TRUE(Jahreswechsel_nachholen());
  EXPECT_TRUE(skript->texte().empty());
  EXPECT_TRUE(abbruchzeilen().isEmpty()) << abbruchzeilen().join(u'\n').toStdString();
  EXPECT_EQ(monatsdateien(QStringLiteral("2501")).size(), 1);
  EXPECT_EQ(monatsdateien(QStringLiteral("2612")).size(), 1);
}

// The folder's window is the one its employee file holds now, whatever the program's
// own; the program's own stands in when the file cannot tell. Reading it leaves the
// table in memory alone. A change under way reaches to its new third year.
TEST_F(FrueherGestartet, FensterDesOrdnersNachDerMitarbeiterdatei) {
  mitarbeiter({Mitarbeiterzeile(QStringLiteral("Meier Anna"), QStringLiteral("ameier"),
                                QStringLiteral("000,0:030,0:030,0:030,0:030,0"))});
  const QString pfad = gDatenordner + QStringLiteral("Mitarbeiterdaten.dat");
  const QByteArray datei = lesen(pfad);
  const auto mit = [&](const QStringList& zeilen) { schreiben(pfad, kodiert(zeilen)); };
  const struct {
    const char* name;
    std::function<void()> vorbereiten;
    int wechselAuf;  // 0: no change under way
    std::vector<const char*> innen, aussen;
  } fälle[] = {
      {"the file's 2024, the program's 2023", [&] { schreiben(pfad, datei); }, 0, {"2401", "2612"}, {"2312", "2701"}},
      {"a change to 2025 under way", [&] { schreiben(pfad, datei); }, 2025, {"2401", "2712"}, {"2312", "2801"}},
      {"planning-year line damaged",
       [&] {
         mit({QStringLiteral("[Mitarbeiterdaten]"), gKennzeile, QStringLiteral("20x4")});
       },
       0,
       {"2301", "2512"},
       {"2212", "2601"}},
      {"header missing",
       [&] {
         mit({QStringLiteral("[Andere]"), gKennzeile, QStringLiteral("2024")});
       },
       0,
       {"2301"},
       {"2601"}},
      {"no file", [&] { QFile::remove(pfad); }, 0, {"2301", "2512"}, {"2212", "2601"}},
  };
  gPlanungsjahr = 2023;
  const QStringList namen = gMitarbeiterNamen;
  for (const auto& f : fälle) {
    SCOPED_TRACE(f.name);
    f.vorbereiten();
    std::optional<Fenster_des_Jahreswechsels> wechsel;
    if (f.wechselAuf != 0) wechsel.emplace(f.wechselAuf);
    for (const char* m : f.innen) EXPECT_TRUE(Monat_im_Fenster_des_Ordners(QString::fromLatin1(m))) << m;
    for (const char* m : f.aussen) EXPECT_FALSE(Monat_im_Fenster_des_Ordners(QString::fromLatin1(m))) << m;
  }
  EXPECT_EQ(gPlanungsjahr, 2023);
  EXPECT_EQ(gMitarbeiterNamen, namen);
  EXPECT_TRUE(gOffeneDatei.isEmpty());
  EXPECT_TRUE(skript->texte().empty());
  // A month after the window: the window was moved back elsewhere.
  schreiben(pfad, datei);
  EXPECT_EQ(Monat_ausserhalb_des_Fensters_Meldung(QStringLiteral("2701")),
            QStringLiteral("Der Planungszeitraum wurde an einem anderen Arbeitsplatz geändert. Die Monatsdatei "
                           "01.2027 gehört nicht zum Planungszeitraum, die Eingabe wurde nicht gespeichert.\r\r"
                           "Bitte starten Sie das Programm neu."));
  EXPECT_EQ(Monat_ausserhalb_des_Fensters_Meldung(QStringLiteral("2312")), Abgelehnt(QStringLiteral("12.2023")));
}

// A month of a dropped year that a start finds goes. Only when a change was aborted,
// its lock or its note left behind, does the logbook tell of it; a month written after
// the change goes without a line.
TEST_F(FrueherGestartet, NurEinAbgebrochenerWechselWirdGemeldet) {
  const struct {
    const char* name;
    const char* spur;  // "": none, "sperre": the change's lock of a killed holder, "stand": its note
    int zeilen;
  } fälle[] = {
      {"written after the change", "", 0}, {"lock left behind", "sperre", 1}, {"note left behind", "stand", 1}};
  int n = 0;
  for (const auto& f : fälle) {
    SCOPED_TRACE(f.name);
    einrichten(QStringLiteral("Spur%1").arg(++n));
    personen(1, {{"2412", "1"}});
    ASSERT_NO_FATAL_FAILURE(wechseln());
    nachzügler(QStringLiteral("2412"));
    nachzügler(QStringLiteral("2403"));
    const QString spur = QString::fromLatin1(f.spur);
    if (spur == u"sperre") {
      const pid_t kind = ::fork();
      if (kind == 0) {
        QLockFile sperre(gDatenordner + QStringLiteral("Velkora Jahreswechsel.lock"));
        ::_exit(sperre.tryLock(0) ? 0 : 1);
      }
      int status = 0;
      ASSERT_EQ(::waitpid(kind, &status, 0), kind);
      ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    } else if (spur == u"stand") {
      schreiben(gDatenordner + QStringLiteral("Velkora Jahreswechsel.stand"),
                kodiert({QStringLiteral("[Jahreswechsel]"), QStringLiteral("2025"), QStringLiteral("260110")}));
    }

    heute(QDate(2026, 1, 11));
    Mitarbeiterdaten_lesen();
    Jahreswechsel_vollenden();
    EXPECT_TRUE(monatsdateien(QStringLiteral("24")).isEmpty());
    EXPECT_EQ(abbruchzeilen().size(), f.zeilen) << abbruchzeilen().join(u'\n').toStdString();
    if (f.zeilen > 0) {
      EXPECT_EQ(logzeilen(QStringLiteral("Erfassungsdateien des Jahres 2024 und älter nach abgebrochenem "
                                         "Jahreswechsel gelöscht")),
                1);
    }
    // The lines of the change itself stand once.
    EXPECT_EQ(logzeilen(QStringLiteral("Jahreswechsel durchgeführt, aktuelles Jahr 2026")), 1);
    EXPECT_EQ(logzeilen(QStringLiteral("Leere Erfassungsdateien für 2027 angelegt")), 1);
    EXPECT_FALSE(QFile::exists(gDatenordner + QStringLiteral("Velkora Jahreswechsel.stand")));
    EXPECT_FALSE(QFile::exists(gDatenordner + QStringLiteral("Velkora Jahreswechsel.lock")));
    EXPECT_TRUE(skript->texte().empty());
    // The next start finds nothing to do and says nothing.
    const QStringList danach = logbuch();
    Jahreswechsel_vollenden();
    EXPECT_EQ(logbuch(), danach);
  }
}

// The change deletes a month of the dropped year only under its month lock: a save of
// it at another workstation is waited for; a lock that stays is not cut through, the
// month stays with the change's note, and the next start completes the deletion and
// tells of it.
TEST_F(FrueherGestartet, LoeschtAlteMonateNurUnterIhrerSperre) {
  for (const bool kurz : {false, true}) {
    SCOPED_TRACE(kurz ? "released after a moment" : "held throughout");
    einrichten(kurz ? QStringLiteral("Kurz") : QStringLiteral("Lang"));
    personen(1, {{"2412", "1"}});
    const QString sperre = Monatssperre_Datei(QStringLiteral("2412"));
    // Another workstation, alive, holds the lock of December 2024.
    schreiben(sperre, Dateisperre_Kennung(::getppid()));
    std::thread freigabe;
    if (kurz) {
      echteWartezeiten();
      freigabe = std::thread([sperre] {
        std::this_thread::sleep_for(std::chrono::milliseconds(800));
        QFile::remove(sperre);
      });
    }
    heute(QDate(2026, 1, 10));
    EXPECT_TRUE(Jahreswechsel_nachholen());
    if (freigabe.joinable()) freigabe.join();
    EXPECT_EQ(gPlanungsjahr, 2025);
    EXPECT_EQ(monatsdateien(QStringLiteral("2412")).size(), kurz ? 0 : 1);
    EXPECT_EQ(monatsdateien(QStringLiteral("24")).size(), kurz ? 0 : 1) << "the other months go";
    EXPECT_EQ(QFile::exists(gDatenordner + QStringLiteral("Velkora Jahreswechsel.stand")), !kurz);
    EXPECT_EQ(logzeilen(QStringLiteral("Erfassungsdateien des Jahres 2024 und älter gelöscht")), kurz ? 1 : 0);
    EXPECT_TRUE(abbruchzeilen().isEmpty());
    if (kurz) continue;

    // The other workstation has saved and let go; the next start completes the change.
    QFile::remove(sperre);
    heute(QDate(2026, 1, 11));
    Jahreswechsel_vollenden();
    EXPECT_TRUE(monatsdateien(QStringLiteral("24")).isEmpty());
    EXPECT_EQ(logzeilen(QStringLiteral("Erfassungsdateien des Jahres 2024 und älter nach abgebrochenem "
                                       "Jahreswechsel gelöscht")),
              1);
    EXPECT_FALSE(QFile::exists(gDatenordner + QStringLiteral("Velkora Jahreswechsel.stand")));
    EXPECT_EQ(logzeilen(QStringLiteral("Jahreswechsel durchgeführt, aktuelles Jahr 2026")), 1);
  }
}

// ---------------------------------------------------------------------------------

class DatumskorruptionTest : public JahreswechselTest {
 protected:
  // The window moved on to 2025 to 2027 by a workstation dated 2026 and then to 2026
  // to 2028 by one dated 2027; this one is dated 10 March 2026 again.
  void zweiJahreswechsel() {
    mitarbeiter({kÜberschrift, Mitarbeiterzeile(QStringLiteral("Meier Anna"), QStringLiteral("ameier"),
                                                QStringLiteral("002,5:030,0:029,0:028,0:027,0"))});
    eintragen(QStringLiteral("ameier"), {{"2406", "11"}});
    heute(QDate(2026, 1, 10));
    ASSERT_TRUE(Jahreswechsel()) << (skript->texte().empty() ? QString() : skript->texte().back()).toStdString();
    eintragen(QStringLiteral("ameier"), {{"2502", "111"}});
    vorher = gUrlaubsdaten[2];
    monat2502 = dekodierteZeilen(gDatenordner + Erfassungsdatei_Name(QStringLiteral("2502")));
    heute(QDate(2027, 1, 10));
    ASSERT_TRUE(Jahreswechsel());
    ASSERT_EQ(gPlanungsjahr, 2026);
    ASSERT_TRUE(monatsdateien(QStringLiteral("25")).isEmpty());
    heute(QDate(2026, 3, 10));
  }
  QString vorher;
  QStringList monat2502;
};

TEST_F(DatumskorruptionTest, MachtDenJahreswechselAusSeinemBackupRueckgaengig) {
  zweiJahreswechsel();
  gKennzeile = QStringLiteral("Velkora:NEU");
  skript->antworte(dialoge::kJa);
  skript->antworte(dialoge::kJa);
  Datumskorruption();

  const std::vector<QString> texte = skript->texte();
  ASSERT_EQ(texte.size(), 3u);
  EXPECT_EQ(texte[0], QStringLiteral("Datumskorruption erkannt!\r\rDas Systemdatum wurde seit dem letzten "
                                     "Programmaufruf von einem Datum des Jahres 2027 auf ein Datum des Jahres 2026 "
                                     "zurückgestellt. Das Datum kann auch auf einem anderen Rechner in Ihrem Netzwerk "
                                     "zurückgestellt worden sein.\r\rAktuelles Datum dieses Rechners ist der "
                                     "10.03.2026.\r\rIst dies das korrekte heutige Datum?"));
  EXPECT_EQ(texte[1], QStringLiteral("Ist das Datum auf allen Rechnern, die den Velkora nutzen, richtig eingestellt?"
                                     "\r\rWenn Sie nicht sicher sind, beenden Sie das Programm über die Schaltfläche "
                                     "'Nein' und kontrollieren Sie das Datum der angeschlossenen Rechner."));
  EXPECT_TRUE(
      texte[2].startsWith(QStringLiteral("Möglicherweise wurden durch das Rückstellen des Datums Daten "
                                         "unbrauchbar. Der Velkora versucht jetzt")));

  EXPECT_EQ(gPlanungsjahr, 2025);
  // The dropped months are back, line 2 the folder's line of now; the entitlements
  // shift back.
  EXPECT_EQ(monatsdateien(QStringLiteral("25")).size(), 12);
  QStringList erwartet = monat2502;
  erwartet[1] = QStringLiteral("Velkora:NEU");
  EXPECT_EQ(dekodierteZeilen(gDatenordner + Erfassungsdatei_Name(QStringLiteral("2502"))), erwartet);
  EXPECT_EQ(gUrlaubsdaten[2], vorher);
  EXPECT_EQ(dekodierteZeilen(gDatenordner + QStringLiteral("Mitarbeiterdaten.dat")).value(2), QStringLiteral("2025"));
  EXPECT_EQ(logzeilen(QStringLiteral("Datumskorruption erkannt! Systemdatum wurde von 2027 auf 2026 zurückgestellt")),
            1);
  EXPECT_EQ(logzeilen(QStringLiteral("Jahreswechsel rückgängig gemacht, aktuelles Jahr 2026")), 1);
  // The holidays of the window 2025 to 2027.
  EXPECT_TRUE(gFeiertagsTabelle.contains(QStringLiteral("251224|")));
  EXPECT_FALSE(gFeiertagsTabelle.contains(QStringLiteral("281224|")));

  // With the clock right again the change is made anew; the months of 2028 the undone
  // change made are still there, so this one makes none, and says as the undone one did
  // that the year's months are there.
  ASSERT_EQ(monatsdateien(QStringLiteral("28")).size(), 12);
  heute(QDate(2027, 1, 11));
  ASSERT_TRUE(Jahreswechsel());
  EXPECT_EQ(gPlanungsjahr, 2026);
  EXPECT_EQ(monatsdateien(QStringLiteral("28")).size(), 12);
  EXPECT_EQ(logzeilen(QStringLiteral("Jahreswechsel durchgeführt, aktuelles Jahr 2027")), 2);
  EXPECT_EQ(logzeilen(QStringLiteral("Leere Erfassungsdateien für 2028 angelegt")), 2);
}

// Without a usable year-change backup the undo stops, marks the recovery as pending and
// changes nothing.
TEST_F(DatumskorruptionTest, EndetOhneBrauchbaresBackup) {
  const struct {
    const char* name;
    bool ohneMitarbeiter;  // false: no backup at all
  } fälle[] = {{"no backup", false}, {"backup without the employee file", true}};
  int n = 0;
  for (const auto& f : fälle) {
    SCOPED_TRACE(f.name);
    einrichten(QStringLiteral("Stopp%1").arg(++n));
    zweiJahreswechsel();
    for (const QString& j : Dateiliste(gSicherungsordner, QStringLiteral("27*J.dat")))
      QFile::remove(gSicherungsordner + j);
    const QString pfad = gSicherungsordner + QStringLiteral("270110 120000 J.dat");
    if (f.ohneMitarbeiter)
      schreiben(pfad, kodiert({QStringLiteral("[VelkoraBackup]"), QStringLiteral("[2501 250101 Data.dat]"),
                               QStringLiteral("[3]"), QStringLiteral("[2501]"), QStringLiteral("x"),
                               QStringLiteral("NoEx:NoEx")}));
    const QByteArray mitarbeiter = lesen(gDatenordner + QStringLiteral("Mitarbeiterdaten.dat"));
    skript->protokoll.clear();
    skript->antworte(dialoge::kJa);
    skript->antworte(dialoge::kJa);
    Datumskorruption();

    const std::vector<QString> texte = skript->texte();
    ASSERT_EQ(texte.size(), 4u);
    EXPECT_EQ(texte[3],
              f.ohneMitarbeiter
                  ? QStringLiteral("Backupdatei '") + pfad +
                        QStringLiteral("' konnte nicht ausgewertet werden. Vollständiges Wiederherstellen "
                                       "der Daten nicht möglich.")
                  : QStringLiteral("Backupdatei '") + gSicherungsordner +
                        QStringLiteral("27*J.dat' nicht gefunden. Vollständiges Wiederherstellen der Daten nicht "
                                       "möglich."));
    EXPECT_EQ(gPlanungsjahr, 2026);
    EXPECT_EQ(lesen(gDatenordner + QStringLiteral("Mitarbeiterdaten.dat")), mitarbeiter);
    EXPECT_TRUE(monatsdateien(QStringLiteral("25")).isEmpty());
    Konfigdaten_lesen();
    EXPECT_EQ(Setting(13), 1);
    // While the recovery is pending, a set-back date asks nothing.
    skript->protokoll.clear();
    Datumskorruption();
    EXPECT_TRUE(skript->texte().empty());
  }
}

// Declined questions and a user who is no administrator end the program before
// anything is changed.
TEST_F(DatumskorruptionTest, EndetVorJederAenderungBeiAblehnungOderOhneAdministrator) {
  const QString bitte = QStringLiteral("Bitten Sie ggf. einen der folgenden Administratoren um Unterstützung: ");
  const struct {
    const char* name;
    int stufe;
    std::vector<int> antworten;
    QString letzte;  // the text of the last prompt
  } fälle[] = {
      {"first question declined",
       2,
       {dialoge::kNein},
       QStringLiteral("Stellen Sie das Datum auf Ihrem Rechner korrekt ein.\r\rDas Programm wird beendet.")},
      {"second question declined", 2, {dialoge::kJa, dialoge::kNein}, QStringLiteral("Das Programm wird beendet")},
      {"no administrator",
       0,
       {dialoge::kJa, dialoge::kJa},
       QStringLiteral("Möglicherweise wurden durch das Rückstellen des Datums Daten unbrauchbar. Der Velkora kann "
                      "diese Daten möglicherweise wiederherstellen. Dazu müssen Sie einen der folgenden "
                      "Administratoren bitten, das Programm zu starten: ")},
  };
  int n = 0;
  for (const auto& f : fälle) {
    SCOPED_TRACE(f.name);
    einrichten(QStringLiteral("Ende%1").arg(++n));
    zweiJahreswechsel();
    const QByteArray mitarbeiter = lesen(gDatenordner + QStringLiteral("Mitarbeiterdaten.dat"));
    gBenutzerstufe = f.stufe;
    skript->protokoll.clear();
    for (int a : f.antworten) skript->antworte(a);
    ERWARTE_PROGRAMMENDE(Datumskorruption());
    const std::vector<QString> texte = skript->texte();
    ASSERT_FALSE(texte.empty());
    EXPECT_TRUE(texte.back().startsWith(f.letzte)) << texte.back().toStdString();
    if (f.stufe == 0) {
      ASSERT_GE(texte.size(), 2u);
      EXPECT_TRUE(texte[1].contains(QStringLiteral("\r\r") + bitte + QStringLiteral("<Name Vorname> (tester)")))
          << texte[1].toStdString();
    }
    EXPECT_EQ(gPlanungsjahr, 2026);
    EXPECT_EQ(lesen(gDatenordner + QStringLiteral("Mitarbeiterdaten.dat")), mitarbeiter);
    EXPECT_EQ(logzeilen(QStringLiteral("Datumskorruption erkannt! Systemdatum wurde von 2027 auf 2026 zurückgestellt")),
              f.stufe == 0 ? 1 : 0);
  }
}

TEST_F(DatumskorruptionTest, KeineWiederherstellungAnSilvester) {
  mitarbeiter({});
  ASSERT_EQ(gPlanungsjahr, 2024);
  gPlanungsjahr = 2025;
  heute(QDate(2025, 12, 31));
  Datumskorruption();
  EXPECT_TRUE(skript->texte().empty());
  EXPECT_EQ(gPlanungsjahr, 2025);
}

// ---------------------------------------------------------------------------------

class RueckblickTest : public JahreswechselTest {
 protected:
  void SetUp() override {
    JahreswechselTest::SetUp();
    mitarbeiter({Mitarbeiterzeile(QStringLiteral("Meier Anna"), QStringLiteral("ameier"),
                                  QStringLiteral("002,5:030,0:029,0:028,0:027,0"))});
    eintragen(QStringLiteral("ameier"), {{"2406", "11"}});
    heute(QDate(2026, 1, 10));
    echteDaten = gDatenordner;
    echteSicherungen = gSicherungsordner;
  }
  // What a look at the backup should find in the look-back data folder.
  void pruefen() {
    EXPECT_TRUE(gRückblick);
    EXPECT_EQ(gDatenordner, Rückblickordner());
    EXPECT_TRUE(gDatenordner.startsWith(gTempOrdner + QStringLiteral("Velkora Rueckblick ")));
    EXPECT_EQ(QFile::permissions(gDatenordner), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                    QFileDevice::ExeOwner | QFileDevice::ReadUser |
                                                    QFileDevice::WriteUser | QFileDevice::ExeUser);
    EXPECT_EQ(gLogordner, gDatenordner + QStringLiteral("Logs/"));
    EXPECT_EQ(gSicherungsordner, gDatenordner + QStringLiteral("Backups/"));
    EXPECT_EQ(gIniOrdner, gDatenordner + QStringLiteral("IniFiles/"));
    EXPECT_EQ(dekodierteZeilen(gDatenordner + QStringLiteral("Mitarbeiterdaten.dat")).value(2), QStringLiteral("2024"));
    EXPECT_EQ(Dateiliste(gDatenordner, QStringLiteral("2406*Data.dat")).size(), 1);
    EXPECT_FALSE(Dateiliste(gLogordner, QStringLiteral("*.log")).isEmpty());
  }
  // The look-back sets in the temporary folder.
  QStringList Rückblicksaetze() const {
    return QDir(gTempOrdner).entryList({QStringLiteral("Velkora Rueckblick *")}, QDir::AllEntries | QDir::System);
  }
  QString echteDaten, echteSicherungen;
};

TEST_F(RueckblickTest, ZweiJahreswechselbackupsBietenDieAuswahl) {
  ASSERT_TRUE(Backup_erstellen(QStringLiteral("J")));
  const QString erste = gSicherungsdatei;
  uhr.uhrzeit = uhr.uhrzeit.addSecs(5);
  ASSERT_TRUE(Backup_erstellen(QStringLiteral("J")));
  ASSERT_NE(gSicherungsdatei, erste);
  ASSERT_TRUE(Backup_erstellen(QStringLiteral("T")));
  // Cancelled: the program ends.
  Kommandozeile_setzen({QStringLiteral("/lookback")});
  gSicherungsauswahl_zeigen = [] { gSicherungsdatei.clear(); };
  ERWARTE_PROGRAMMENDE(Datenrückblick());
  EXPECT_TRUE(skript->texte().empty());
  EXPECT_TRUE(Rückblicksaetze().isEmpty());

  int gezeigt = 0;
  gSicherungsauswahl_zeigen = [&] {
    ++gezeigt;
    EXPECT_EQ(gSicherungsordner, echteSicherungen);
    EXPECT_TRUE(gRückblick) << "the chooser lists only year-change backups";
    gSicherungsdatei = erste;
  };
  Datenrückblick();
  Kommandozeile_setzen({});
  EXPECT_EQ(gezeigt, 1);
  pruefen();
}

TEST_F(RueckblickTest, BenannteDateiOhneEndungWirdAlsVelGefunden) {
  ASSERT_TRUE(Backup_erstellen(QStringLiteral("E")));
  const QString name = ordner() + QStringLiteral("Export 2026");
  ASSERT_TRUE(QFile::rename(gSicherungsordner + gSicherungsdatei, name + QStringLiteral(".vel")));
  gSicherungsauswahl_zeigen = [] { ADD_FAILURE() << "no chooser for a named file"; };
  Kommandozeile_setzen({QStringLiteral("/lookback:") + name});
  Datenrückblick();
  pruefen();
  // The real folders are as they were; the unload removes the look-back set.
  EXPECT_TRUE(Dateiliste(echteSicherungen, QStringLiteral("*.dat")).isEmpty());
  Rückblickordner_entfernen();
  EXPECT_TRUE(Rückblicksaetze().isEmpty());

  Kommandozeile_setzen({QStringLiteral("/lookback:") + ordner() + QStringLiteral("fehlt")});
  skript->protokoll.clear();
  ERWARTE_PROGRAMMENDE(Datenrückblick());
  ASSERT_EQ(skript->texte().size(), 1u);
  EXPECT_EQ(skript->texte()[0], QStringLiteral("Die Datei '") + ordner() +
                                    QStringLiteral("fehlt' wurde nicht gefunden.\r\rDas Programm wird beendet."));
  Kommandozeile_setzen({});
}

// A temporary folder inside the real data folder would put the look-back set among
// the real files.
TEST_F(RueckblickTest, LehntRueckblicksatzImEchtenDatenordnerAb) {
  ASSERT_TRUE(Backup_erstellen(QStringLiteral("J")));
  const QByteArray mitarbeiter = lesen(gDatenordner + QStringLiteral("Mitarbeiterdaten.dat"));
  gTempOrdner = gDatenordner;
  Kommandozeile_setzen({QStringLiteral("/lookback")});
  ERWARTE_PROGRAMMENDE(Datenrückblick());
  Kommandozeile_setzen({});
  ASSERT_EQ(skript->texte().size(), 1u);
  EXPECT_TRUE(skript->texte()[0].contains(QStringLiteral(" zu den Ordnern der Daten gehört")))
      << skript->texte()[0].toStdString();
  EXPECT_EQ(lesen(echteDaten + QStringLiteral("Mitarbeiterdaten.dat")), mitarbeiter);
  EXPECT_EQ(monatsdateien(QStringLiteral("24")).size(), 12);
  EXPECT_TRUE(Rückblicksaetze().isEmpty());
}

// Every file below a folder with its bytes, links as their targets' names.
std::map<QString, QByteArray> Bestand(const QString& ordner) {
  std::map<QString, QByteArray> r;
  QDirIterator it(ordner, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString pfad = it.next();
    const QFileInfo fi(pfad);
    r[QDir(ordner).relativeFilePath(pfad)] =
        fi.isSymLink() ? fi.symLinkTarget().toUtf8() : (fi.isDir() ? QByteArray("<dir>") : lesen(pfad));
  }
  return r;
}

// Links in the temporary folder and inside the look-back set (planted while it is
// open) lead to the real data: the look-back writes into a set of its own and its
// clean-up removes the links, never what they point to.
TEST_F(RueckblickTest, VerweiseImTempordnerFuehrenNichtZuDenEchtenDaten) {
  ASSERT_TRUE(Backup_erstellen(QStringLiteral("J")));
  const QString echt = QDir::cleanPath(gDatenordner + QStringLiteral(".."));
  ASSERT_TRUE(QFile::link(QDir::cleanPath(gDatenordner), gTempOrdner + QStringLiteral("Data")));
  ASSERT_TRUE(QFile::link(QDir::cleanPath(gDatenordner), gTempOrdner + QStringLiteral("Velkora Rueckblick aaaaaa")));
  const auto vorher = Bestand(echt);
  Kommandozeile_setzen({QStringLiteral("/lookback")});
  Datenrückblick();
  Kommandozeile_setzen({});
  pruefen();
  const QString satz = Rückblickordner();
  ASSERT_TRUE(QFile::link(QDir::cleanPath(echteDaten), satz + QStringLiteral("Verweis")));
  ASSERT_TRUE(QFile::link(echteDaten + QStringLiteral("Mitarbeiterdaten.dat"), satz + QStringLiteral("Backups/x.dat")));
  Rückblickordner_entfernen();
  EXPECT_FALSE(QFileInfo::exists(satz));
  EXPECT_TRUE(Bestand(echt) == vorher);
  EXPECT_TRUE(QFileInfo(gTempOrdner + QStringLiteral("Data")).isSymLink());
  EXPECT_EQ(Rückblicksaetze(), QStringList{QStringLiteral("Velkora Rueckblick aaaaaa")});
}

// A set left by a killed look-back of the same user goes with the next; a set of a
// look-back that still runs, a link and another account's folder stay.
TEST_F(RueckblickTest, EntferntDenSatzEinesAbgebrochenenLaufs) {
  ASSERT_TRUE(Backup_erstellen(QStringLiteral("J")));
  const QString alt = gTempOrdner + QStringLiteral("Velkora Rueckblick altalt/");
  const QString fremd = gTempOrdner + QStringLiteral("Velkora Rueckblick fremd1/");
  const QString läuft = gTempOrdner + QStringLiteral("Velkora Rueckblick laeuft/");
  for (const QString& o : {alt, fremd, läuft}) ASSERT_TRUE(QDir().mkpath(o + QStringLiteral("Backups")));
  schreiben(alt + QStringLiteral("Mitarbeiterdaten.dat"), "alt");
  ASSERT_TRUE(QFile::link(QDir::cleanPath(echteDaten), alt + QStringLiteral("Backups/Daten")));
  // The lock of a run that was killed: taken by a child process that ends without
  // letting go.
  const pid_t kind = ::fork();
  if (kind == 0) {
    QLockFile sperre(alt + QStringLiteral("Velkora Rueckblick.lock"));
    ::_exit(sperre.tryLock(0) ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(kind, &status, 0), kind);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  ASSERT_TRUE(QFileInfo::exists(alt + QStringLiteral("Velkora Rueckblick.lock")));
  QLockFile gehalten(läuft + QStringLiteral("Velkora Rueckblick.lock"));
  ASSERT_TRUE(gehalten.tryLock(0));
  ASSERT_EQ(::chown(QFile::encodeName(fremd).constData(), 4711, 4711), 0);
  const QByteArray mitarbeiter = lesen(echteDaten + QStringLiteral("Mitarbeiterdaten.dat"));

  Kommandozeile_setzen({QStringLiteral("/lookback")});
  Datenrückblick();
  Kommandozeile_setzen({});
  pruefen();
  EXPECT_FALSE(QFileInfo::exists(alt));
  EXPECT_TRUE(QFileInfo::exists(fremd));
  EXPECT_TRUE(QFileInfo::exists(läuft + QStringLiteral("Backups")));
  EXPECT_EQ(lesen(echteDaten + QStringLiteral("Mitarbeiterdaten.dat")), mitarbeiter);
  EXPECT_EQ(Rückblicksaetze().size(), 3);
  Rückblickordner_entfernen();
  EXPECT_EQ(Rückblicksaetze().size(), 2);
}

// A temporary folder that is a link or another account's is refused by name.
TEST_F(RueckblickTest, LehntTempordnerAbDerVerweisOderFremdIst) {
  ASSERT_TRUE(Backup_erstellen(QStringLiteral("J")));
  const QString verweis = ordner() + QStringLiteral("TempVerweis/");
  ASSERT_TRUE(QFile::link(QDir::cleanPath(gTempOrdner), QDir::cleanPath(verweis)));
  const QString fremd = unterordner(QStringLiteral("TempFremd"));
  ASSERT_EQ(::chown(QFile::encodeName(fremd).constData(), 4711, 4711), 0);
  for (const QString& temp : {verweis, fremd}) {
    gTempOrdner = temp;
    skript->protokoll.clear();
    Kommandozeile_setzen({QStringLiteral("/lookback")});
    ERWARTE_PROGRAMMENDE(Datenrückblick());
    Kommandozeile_setzen({});
    ASSERT_EQ(skript->texte().size(), 1u);
    EXPECT_TRUE(skript->texte()[0].startsWith(QStringLiteral("Der Ordner für temporäre Dateien '") +
                                              QDir::cleanPath(temp) +
                                              QStringLiteral("' ist ein Verweis oder gehört nicht dem Benutzer")))
        << skript->texte()[0].toStdString();
    EXPECT_TRUE(QDir(temp).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
  }
}

}  // namespace
