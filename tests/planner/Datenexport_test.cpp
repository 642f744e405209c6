// Export, import and restore of the data folder, the data folder change, the test of
// untouched default data and the report of a data-file problem at start.
#include "planner/Datenexport.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QTimer>
#include <functional>
#include <memory>

#include "Planerdaten.h"
#include "common/Arbeitsplatzprozess.h"
#include "config/Codeabbildung.h"
#include "launch/Programmsperre.h"
#include "planner/Dateibefehle.h"
#include "planner/Datenordnerwechsel.h"
#include "planner/Navigation.h"
#include "platform/Umgebung.h"
#include "startup/Datenordner.h"
#include "startup/Logbuch.h"
#include "startup/Ordner.h"
#include "startup/Programmabbruch.h"
#include "startup/Umrechnungen.h"
#include "store/Ausgangszustand.h"
#include "store/Einrichtung.h"
#include "store/Erfassungsdaten.h"
#include "store/Jahreswechsel.h"
#include "store/Sicherung.h"
#include "widgets/QtDialoge.h"
#include "widgets/Rasteransicht.h"

namespace {
using namespace planer;

// Every "*.dat" of a folder, decoded, by name.
std::map<QString, QStringList> Datenstand(const QString& ordner) {
  std::map<QString, QStringList> stand;
  for (const QString& name : Dateiliste(ordner, QStringLiteral("*.dat"))) stand[name] = dekodierteZeilen(ordner + name);
  return stand;
}

// The first employee of the table (not a heading).
QString ErsterMitarbeiter() {
  for (int i = 1; i < gBenutzerIDs.size(); ++i)
    if (!gBenutzerIDs[i].isEmpty()) return gBenutzerIDs[i];
  return {};
}

std::string Protokoll(const dialoge::Skript& s) {
  std::string t;
  for (const auto& a : s.protokoll) t += "\n> " + QString(a.text).replace(u'\r', u' ').toStdString();
  return t;
}

bool Gezeigt(const dialoge::Skript& s, const QString& anfang) {
  for (const auto& a : s.protokoll)
    if (a.text.startsWith(anfang)) return true;
  return false;
}

class DatenexportTest : public PlanerTest {
 protected:
  void SetUp() override {
    PlanerTest::SetUp();
    // The default files the fixture does not write itself (employees, holidays).
    ASSERT_TRUE(QFile::copy(QStringLiteral(VELKORA_BIN_DIR "/VelkoraFtg.dat"),
                            gBasisordner + QStringLiteral("VelkoraFtg.dat")));
    Setup_Datenordner();
    gBenutzerstufe = 2;
    Logbuch_ergänzen(2, QStringLiteral("Eintrag vor dem Export"));
  }
  // Exports the fixture folder into a file of the temporary folder.
  QString exportieren() {
    const QString datei = unterordner(QStringLiteral("Export")) + QStringLiteral("A.vel");
    skript->antworte(dialoge::kOK, datei);
    Datenexport();
    return datei;
  }
  // Points the program at an empty second data folder with its own configuration.
  void zweiterOrdner() {
    gDatenordner = unterordner(QStringLiteral("B/Data"));
    gLogordner = unterordner(QStringLiteral("B/Data/Logs"));
    gSicherungsordner = unterordner(QStringLiteral("B/Data/Backups"));
    gIniOrdner = unterordner(QStringLiteral("B/Data/IniFiles"));
    QStringList konfig = Konfigzeilen();
    konfig[4] = QStringLiteral("Andere AG");
    schreiben(gDatenordner + QStringLiteral("Konfigdaten.dat"), kodiert(konfig));
    schreiben(gDatenordner + QStringLiteral("2501 250101 Data.dat"),
              kodiert({QStringLiteral("[2501]"), QStringLiteral("Velkora:0123456789AB"), QStringLiteral("NoEx:NoEx")}));
    Setup_Datenordner();
    Konfigdaten_lesen();
    gBenutzerstufe = 2;
  }
};

TEST_F(DatenexportTest, ExportUndImportGebenDieselbenDateien) {
  const std::map<QString, QStringList> a = Datenstand(gDatenordner);
  const QString datei = exportieren();
  EXPECT_TRUE(Gezeigt(*skript, QStringLiteral("Daten wurden erfolgreich nach ")));
  ASSERT_TRUE(QFile::exists(datei));

  zweiterOrdner();
  skript = &dialoge::skript();
  skript->antworte(dialoge::kOK, datei);
  skript->antworte(dialoge::kJa);
  ASSERT_TRUE(Datenimport(QString()));
  // Of a month with several versions only the newest, the one the folder reads, comes in.
  std::map<QString, QStringList> erwartet = a;
  for (auto it = erwartet.begin(); it != erwartet.end();) {
    const auto neuer = std::next(it);
    if (neuer != erwartet.end() && it->first.endsWith(u" Data.dat") && neuer->first.left(4) == it->first.left(4))
      it = erwartet.erase(it);
    else
      ++it;
  }
  EXPECT_EQ(Datenstand(gDatenordner), erwartet);
  EXPECT_EQ(gFirmenname, u"Muster GmbH");
  EXPECT_EQ(gImportordner, ParentDir(datei));
  // The logbooks came along, with the import's own line.
  const QStringList log = dekodierteZeilen(gLogordner + gHeuteText.left(4) + QStringLiteral(" Velkora.log"));
  ASSERT_GE(log.size(), 2);
  EXPECT_TRUE(log.filter(QStringLiteral("Eintrag vor dem Export")).size() == 1);
  EXPECT_TRUE(log.last().endsWith(QStringLiteral("Datenimport durchgeführt mit Datei 'A.vel'")));
  EXPECT_FALSE(QFile::exists(gSicherungsordner + QStringLiteral("000000 000000 I.dat")));
  EXPECT_FALSE(QFile::exists(gDatenordner + QStringLiteral("Lockfile.txt")));
  EXPECT_FALSE(gDateiGeschrieben);
}

// An export whose blocks would replace months by empty ones or leave the folder
// without what the start needs is refused before anything is written; names in
// another letter case are the folder's files and are written in their own form.
TEST_F(DatenexportTest, ImportPrueftDieBloeckeVorDemErstenSchreiben) {
  const QString datei = exportieren();
  std::vector<Sicherungsblock> original;
  ASSERT_TRUE(Sicherung_einlesen(datei, original));
  const auto monat = [&] {
    for (const Sicherungsblock& b : original)
      if (b.name.endsWith(u" Data.dat") && b.name.left(2) == gHeuteText.left(2)) return b;
    return Sicherungsblock{};
  }();
  ASSERT_FALSE(monat.name.isEmpty());
  const auto ohne = [&](const QString& name) {
    std::vector<Sicherungsblock> r;
    for (const Sicherungsblock& b : original)
      if (b.name != name) r.push_back(b);
    return r;
  };
  const QString morgen = FormatDatumDS(gHeute.addDays(1));
  const struct {
    const char* fall;
    std::function<void(std::vector<Sicherungsblock>&)> ändern;
    const char* grund;
  } fälle[] = {
      {"month twice, the later only its header",
       [&](auto& b) {
         b.push_back({monat.name, monat.zeilen.mid(0, 3)});
       },
       "ist mehrfach enthalten"},
      {"same name in another case",
       [&](auto& b) {
         b.push_back({QStringLiteral("KONFIGDATEN.DAT"), {QStringLiteral("[Velkora]")}});
       },
       "ist mehrfach enthalten"},
      {"month version dated after today",
       [&](auto& b) {
         b.push_back({monat.name.left(5) + morgen + QStringLiteral(" Data.dat"), monat.zeilen.mid(0, 3)});
       },
       "trägt ein Datum nach dem heutigen"},
      {"blank before the dot",
       [&](auto& b) {
         b.push_back({QStringLiteral("Konfigdaten .dat"), {QStringLiteral("x")}});
       },
       "ist keine Datei des Datenordners"},
      {"no employee file", [&](auto& b) { b = ohne(QStringLiteral("Mitarbeiterdaten.dat")); }, "fehlt"},
      {"no month of this year",
       [&](auto& b) {
         std::erase_if(b, [&](const Sicherungsblock& x) { return x.name.left(4) == monat.name.left(4); });
       },
       "fehlen"},
  };
  zweiterOrdner();
  const auto vorher = Datenstand(gDatenordner);
  for (const auto& f : fälle) {
    std::vector<Sicherungsblock> blöcke = original;
    f.ändern(blöcke);
    Sicherung_schreiben(datei, blöcke);
    skript = &dialoge::skript();
    skript->protokoll.clear();
    skript->antworte(dialoge::kOK, datei);
    skript->antworte(dialoge::kJa);
    EXPECT_FALSE(Datenimport(QString())) << f.fall;
    EXPECT_TRUE(Datenstand(gDatenordner) == vorher) << f.fall;
    ASSERT_FALSE(skript->protokoll.empty()) << f.fall;
    const QString text = skript->protokoll.back().text;
    EXPECT_TRUE(text.contains(QString::fromUtf8(f.grund)) && text.endsWith(u"Es wurde keine Datei verändert."))
        << f.fall << ": " << text.toStdString();
    EXPECT_FALSE(QFile::exists(gDatenordner + QStringLiteral("Lockfile.txt"))) << f.fall;
  }

  // Upper-case names are the configuration and employee files.
  std::vector<Sicherungsblock> gross = original;
  for (Sicherungsblock& b : gross)
    if (!b.name.endsWith(u".log")) b.name = b.name.toUpper();
  Sicherung_schreiben(datei, gross);
  skript = &dialoge::skript();
  skript->antworte(dialoge::kOK, datei);
  skript->antworte(dialoge::kJa);
  ASSERT_TRUE(Datenimport(QString())) << Protokoll(*skript);
  for (const Sicherungsblock& b : original) {
    if (b.name == u"Mitarbeiterdaten.dat") {
      EXPECT_EQ(dekodierteZeilen(gDatenordner + QStringLiteral("Mitarbeiterdaten.dat")), b.zeilen);
    }
  }
  EXPECT_TRUE(QDir(gDatenordner)
                  .entryList({QStringLiteral("KONFIGDATEN.DAT")}, QDir::Files, QDir::Name)
                  .contains(QStringLiteral("Konfigdaten.dat")));
  EXPECT_EQ(gFirmenname, u"Muster GmbH");
}

TEST_F(DatenexportTest, NurAdministratorenDerImportiertenDatenDuerfenImportieren) {
  QStringList konfig = Konfigzeilen();
  konfig.last() = QStringLiteral("A:Chefin Clara:chefin");
  schreiben(gDatenordner + QStringLiteral("Konfigdaten.dat"), kodiert(konfig));
  const QString datei = exportieren();
  zweiterOrdner();
  const auto vorher = Datenstand(gDatenordner);
  skript = &dialoge::skript();
  skript->antworte(dialoge::kOK, datei);
  EXPECT_FALSE(Datenimport(QString()));
  ASSERT_EQ(skript->protokoll.size(), 2u);  // the file dialog and the refusal, no question
  EXPECT_EQ(skript->protokoll[1].text,
            u"Sie sind mit Ihrem Windows-Benutzernamen 'tester' nicht als Administrator in den einzulesenden Daten "
            u"eingetragen.\r\rFunktion nur möglich mit Windows-Benutzername(n): chefin (Chefin Clara)");
  EXPECT_EQ(Datenstand(gDatenordner), vorher);
}

TEST_F(DatenexportTest, EinZweiterImportOhneAenderungMachtKeineTagessicherung) {
  const QString datei = exportieren();
  Dateien_löschen(gSicherungsordner, QStringLiteral("*.dat"));
  gDateiGeschrieben = true;  // as at the start of the program
  for (int durchgang = 1; durchgang <= 2; ++durchgang) {
    skript->antworte(dialoge::kOK, datei);
    skript->antworte(dialoge::kJa);
    ASSERT_TRUE(Datenimport(QString()));
    EXPECT_EQ(Dateiliste(gSicherungsordner, QStringLiteral("*T.dat")).size(), durchgang == 1 ? 1 : 0) << durchgang;
    Dateien_löschen(gSicherungsordner, QStringLiteral("*T.dat"));
  }
}

TEST_F(DatenexportTest, VorgabenameTraegtDasHeutigeDatum) {
  gHeute = QDate(2026, 3, 3);
  struct Fall {
    const char16_t* trenner;
    int reihenfolge;
    const char16_t* name;
  };
  for (const Fall& f : {Fall{u".", 1, u"Velkora Datenexport vom 03.03.2026.vel"},
                        Fall{u"/", 0, u"Velkora Datenexport vom 03-03-2026.vel"},
                        Fall{u"-", 2, u"Velkora Datenexport vom 2026-03-03.vel"}}) {
    gDatumstrennzeichen = QString::fromUtf16(f.trenner);
    gDatumsreihenfolge = f.reihenfolge;
    EXPECT_EQ(Datenexport_Vorgabename(), QString::fromUtf16(f.name));
  }
  gImportordner = QStringLiteral("/srv/Exporte/");
  Datenexport();  // cancelled in the dialog
  ASSERT_EQ(skript->protokoll.size(), 1u);
  EXPECT_EQ(skript->protokoll[0].vorgabe, u"/srv/Exporte/Velkora Datenexport vom 2026-03-03.vel");
  EXPECT_EQ(skript->protokoll[0].titel, u"Velkora - Datenexport");
}

TEST_F(DatenexportTest, EinExportDerNichtGeschriebenWerdenKannWirdGemeldet) {
  // The chosen file cannot be replaced: a folder of that name stands there.
  const QString ziel = unterordner(QStringLiteral("Export/A.vel"));
  skript->antworte(dialoge::kOK, ziel.chopped(1));
  Datenexport();
  EXPECT_FALSE(Gezeigt(*skript, QStringLiteral("Daten wurden erfolgreich")));
  EXPECT_TRUE(Gezeigt(*skript, QStringLiteral("Die Datei ")));
  EXPECT_TRUE(QFileInfo(ziel).isDir());
}

TEST_F(DatenexportTest, WiederherstellenNenntDieSicherungImLogbuch) {
  ASSERT_TRUE(Backup_erstellen(QStringLiteral("T")));
  const QString sicherung = gSicherungsordner + QStringLiteral("260302 080000 T.dat");
  ASSERT_TRUE(QFile::rename(gSicherungsordner + gSicherungsdatei, sicherung));
  // An entry after the backup point is gone after the restore.
  monatSchreiben(QStringLiteral("2603 260312 Data.dat"), {QStringLiteral("A:vera:") + Codes({{1, '1'}})});
  skript->antworte(dialoge::kJa);
  ASSERT_TRUE(Datenimport(sicherung));
  EXPECT_FALSE(QFile::exists(gDatenordner + QStringLiteral("2603 260312 Data.dat")));
  const QStringList log = dekodierteZeilen(gLogordner + gHeuteText.left(4) + QStringLiteral(" Velkora.log"));
  EXPECT_TRUE(
      log.last().endsWith(QStringLiteral("Datenordner wiederhergestellt mit Sicherung vom 02.03.26, 08:00:00 Uhr")))
      << log.last().toStdString();
}

// ---- the untouched default data -----------------------------------------------------

class AusgangszustandTest : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    ordnerEinrichten();
    gDatumstrennzeichen = QStringLiteral(".");
    ASSERT_TRUE(QFile::copy(QStringLiteral(VELKORA_BIN_DIR "/VelkoraFtg.dat"),
                            gBasisordner + QStringLiteral("VelkoraFtg.dat")));
    gHeute = QDate(2026, 3, 12);
    gHeuteText = QStringLiteral("260312");
    Setup_Datenordner();
    Konfigdaten_lesen();
    Mitarbeiterdaten_lesen();
  }
};

TEST_F(AusgangszustandTest, NurDieUnberuehrtenStandarddaten) { EXPECT_TRUE(Check_ob_Ausgangszustand()); }

TEST_F(AusgangszustandTest, EinZweiterLogbucheintragBeendetDenAusgangszustand) {
  Logbuch_ergänzen(1, QStringLiteral("Eintrag"));
  EXPECT_FALSE(Check_ob_Ausgangszustand());
}

TEST_F(AusgangszustandTest, EinEintragBeendetDenAusgangszustand) {
  // The default employee gets a Windows user name, so that an entry can be his.
  gBenutzerIDs[1] = QStringLiteral("max");
  ASSERT_TRUE(Mitarbeiterdaten_schreiben());
  ASSERT_TRUE(Check_ob_Ausgangszustand());
  const QStringList dateien = Dateiliste(gDatenordner, QStringLiteral("2603*Data.dat"));
  ASSERT_EQ(dateien.size(), 1);
  const QString datei = dateien.first();
  QStringList zeilen = dekodierteZeilen(gDatenordner + datei);
  zeilen << QStringLiteral("A:") + ErsterMitarbeiter() + u':' + tage(QStringLiteral("1"));
  schreiben(gDatenordner + datei, kodiert(zeilen));
  Erfassungsdaten_Cache_verwerfen();
  EXPECT_FALSE(Check_ob_Ausgangszustand());
}

TEST_F(AusgangszustandTest, EineUeberstundendateiBeendetDenAusgangszustand) {
  schreiben(gDatenordner + QStringLiteral("ÜStunden 2026.dat"), "x");
  EXPECT_FALSE(Check_ob_Ausgangszustand());
}

TEST_F(AusgangszustandTest, ImportInDieStandarddatenFragtNicht) {
  ASSERT_TRUE(Backup_erstellen(QStringLiteral("E")));
  const QString datei = gSicherungsordner + gSicherungsdatei;
  skript->antworte(dialoge::kOK, datei);
  ASSERT_TRUE(Datenimport(QString()));
  for (const auto& a : skript->protokoll) EXPECT_NE(a.art, dialoge::Art::JaNein) << a.text.toStdString();
}

TEST_F(AusgangszustandTest, EinImportZweiJahreZurueckMachtZweiJahreswechsel) {
  ASSERT_TRUE(Backup_erstellen(QStringLiteral("E")));
  const QString datei = gSicherungsordner + gSicherungsdatei;
  ASSERT_EQ(gPlanungsjahr, 2025);
  gHeute = QDate(2028, 1, 5);
  gHeuteText = QStringLiteral("280105");
  skript->antworte(dialoge::kOK, datei);
  skript->antworte(dialoge::kJa);
  ASSERT_TRUE(Datenimport(QString()));
  EXPECT_EQ(gPlanungsjahr, 2027) << Protokoll(*skript);
  EXPECT_FALSE(Dateiliste(gDatenordner, QStringLiteral("2912*Data.dat")).isEmpty());
}

// ---- another workstation during an import -----------------------------------------

class ImportMitArbeitsplatzTest : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    basis = ordner();
    Arbeitsplatzordner_anlegen(basis);
  }
  QString basis;
};

TEST_F(ImportMitArbeitsplatzTest, EinSpeichernWaehrendDesImportsWirdGestoppt) {
  const QString daten = basis + QStringLiteral("Daten/Data/");
  Datenordner_durch_ersten_Start(basis);
  if (HasFatalFailure()) return;
  // This process is the administrator who restores the start's backup.
  gBenutzername = QStringLiteral("anna");
  gHeute = QDate(2026, 4, 15);
  gHeuteText = QStringLiteral("260415");
  gDatumstrennzeichen = QStringLiteral(".");
  gDatenordner = daten;
  gLogordner = daten + QStringLiteral("Logs/");
  gSicherungsordner = daten + QStringLiteral("Backups/");
  gIniOrdner = daten + QStringLiteral("IniFiles/");
  Konfigdaten_lesen();
  Mitarbeiterdaten_lesen();
  Mitarbeitertabelle_dimensionieren(2);
  gMitarbeiterNamen = {QString(), QStringLiteral("Admin Anna"), QStringLiteral("Beispiel Berta")};
  gBenutzerIDs = {QString(), QStringLiteral("anna"), QStringLiteral("berta")};
  for (int i = 1; i <= 2; ++i) {
    gEintrittsdaten[i] = QStringLiteral("000000");
    gAustrittsdaten[i] = QStringLiteral("999999");
    gUrlaubsdaten[i] = QStringLiteral("000,0:030,0:030,0:030,0:030,0");
    gSonderurlaubsanspruch[i] = QStringLiteral("000,0");
  }
  ASSERT_TRUE(Mitarbeiterdaten_schreiben());
  const QStringList sicherungen = Dateiliste(gSicherungsordner, QStringLiteral("*M.dat"));
  ASSERT_FALSE(sicherungen.isEmpty());

  Arbeitsplatz andere(QStringLiteral("berta"), basis, QStringLiteral("150426"));
  ASSERT_EQ(andere.zeile(), u"ready 2604") << andere.fehlerausgabe();
  const int zeile = andere.zeileVon(QStringLiteral("berta"));
  ASSERT_GT(zeile, 0);
  QString antwort;
  gDatenimport_vor_dem_Ersetzen = [&] {
    EXPECT_TRUE(QFile::exists(daten + QStringLiteral("Lockfile.txt")));
    andere.markieren(zeile, 20, 21);
    antwort = andere.befehl(QStringLiteral("button 1"));
  };
  skript->antworte(dialoge::kJa);
  ASSERT_TRUE(Datenimport(gSicherungsordner + sicherungen.first()));
  EXPECT_NE(antwort, u"ok");
  EXPECT_EQ(andere.endeAbwarten(), 1) << antwort.toStdString() << andere.fehlerausgabe();
  EXPECT_EQ(andere.zeile(), QString());
  // Nothing of the stopped workstation reached the month, and the lock is lifted.
  for (const QString& name : Dateiliste(daten, QStringLiteral("2604*Data.dat")))
    for (const QString& z : dekodierteZeilen(daten + name))
      EXPECT_FALSE(z.contains(QStringLiteral("A:"))) << z.toStdString();
  EXPECT_FALSE(QFile::exists(daten + QStringLiteral("Lockfile.txt")));
}

// ---- changing and moving the data folder -------------------------------------------

TEST_F(DatenexportTest, VerschiebenBehaeltJedeDateiUndIhreZeit) {
  schreiben(gSicherungsordner + QStringLiteral("260301 080000 T.dat"), "s");
  schreiben(gIniOrdner + QStringLiteral("Velkora_tester.ini"), "i");
  const QString alt = gDatenordner;
  std::map<QString, QDateTime> vorher;
  const QDateTime zeit(QDate(2026, 1, 5), QTime(7, 0, 0));
  for (const QString& unter :
       {QString(), QStringLiteral("Backups/"), QStringLiteral("IniFiles/"), QStringLiteral("Logs/")})
    for (const QString& name : QDir(alt + unter).entryList(QDir::Files)) {
      QFile f(alt + unter + name);
      ASSERT_TRUE(f.open(QIODevice::ReadWrite));
      f.setFileTime(zeit.addSecs(vorher.size()), QFileDevice::FileModificationTime);
      f.close();
      vorher[unter + name] = Dateizeit(alt + unter + name);
    }
  const QString ziel = unterordner(QStringLiteral("Neu"));
  skript->antworte(dialoge::kJa);  // change?
  skript->antworte(dialoge::kOK, ziel);
  skript->antworte(dialoge::kJa);  // move?
  skript->antworte(dialoge::kJa);  // go on?
  Datenverzeichnis_ändern();
  EXPECT_EQ(gDatenordner, ziel + QStringLiteral("Data/"));
  EXPECT_EQ(gLogordner, gDatenordner + QStringLiteral("Logs/"));
  // The logbook of this month took the line of the move after its copy.
  const QString logbuch = QStringLiteral("Logs/") + gHeuteText.left(4) + QStringLiteral(" Velkora.log");
  for (const auto& [name, t] : vorher) {
    EXPECT_TRUE(QFile::exists(gDatenordner + name)) << name.toStdString();
    if (name != logbuch) {
      EXPECT_EQ(Dateizeit(gDatenordner + name), t) << name.toStdString();
    }
  }
  EXPECT_TRUE(dekodierteZeilen(gDatenordner + logbuch)
                  .last()
                  .endsWith(QStringLiteral("Daten verschoben nach ") + ShowPfad(ziel, 100)));
  EXPECT_FALSE(QFile::exists(alt + QStringLiteral("Konfigdaten.dat")));
  EXPECT_TRUE(QFile::exists(ziel + QStringLiteral("Lies mich - Velkora.txt")));
  EXPECT_TRUE(QFile::exists(gBasisordner + QStringLiteral("Velkora.dat")));
  EXPECT_EQ(skript->protokoll.back().text, QStringLiteral("Der Datenordner wurde geändert auf ") + ShowPfad(ziel, 100));
}

TEST_F(DatenexportTest, DerselbeOrdnerAendertNichts) {
  skript->antworte(dialoge::kJa);
  skript->antworte(dialoge::kOK, ParentDir(gDatenordner));
  const QString vorher = gDatenordner;
  Datenverzeichnis_ändern();
  EXPECT_EQ(gDatenordner, vorher);
  EXPECT_EQ(skript->protokoll.size(), 2u);
}

TEST_F(DatenexportTest, UmschaltenLiestDieDatenDesAnderenOrdners) {
  const QString alt = gDatenordner;
  zweiterOrdner();
  const QString neu = gDatenordner;
  gDatenordner = alt;
  gLogordner = alt + QStringLiteral("Logs/");
  Konfigdaten_lesen();
  gBenutzerstufe = 0;  // an employee may point at existing data
  skript->antworte(dialoge::kJa);
  skript->antworte(dialoge::kOK, ParentDir(neu));
  try {
    Datenverzeichnis_ändern();
  } catch (const ProgrammBeendet&) {
    ADD_FAILURE() << Protokoll(*skript);
  }
  EXPECT_EQ(gDatenordner, neu) << Protokoll(*skript);
  EXPECT_EQ(gFirmenname, u"Andere AG");
  EXPECT_TRUE(QFile::exists(alt + QStringLiteral("Konfigdaten.dat")));  // not the default folder: kept
}

// ---- menu items and the report after a start repair --------------------------------

TEST_F(DatenexportTest, DateibefehleNachStufeUndRueckblick) {
  // The availability of the four items by level and look-back mode.
  struct Fall {
    int stufe;
    bool rückblick;
    bool ändern, export_;
  };
  for (const Fall& f : {Fall{2, false, true, true}, Fall{1, false, true, false}, Fall{0, false, true, false},
                        Fall{2, true, false, false}}) {
    frmVelkora fenster;
    gBenutzerstufe = f.stufe;
    gRückblick = f.rückblick;
    fenster.Menüpunkte_aktivieren();
    EXPECT_EQ(fenster.aktion(QStringLiteral("mnuDatenordner_ändern"))->isEnabled(), f.ändern);
    for (const char* n : {"mnuDatenexport", "mnuDatenimport", "mnuRecovery"})
      EXPECT_EQ(fenster.aktion(QString::fromUtf8(n))->isEnabled(), f.export_) << n << " " << f.stufe;
  }
  gRückblick = false;
}

class StoerungsmeldungTest : public PlanerFensterTest {
 protected:
  void SetUp() override {
    PlanerFensterTest::SetUp();
    schreiben(gDatenordner + QStringLiteral("Lockfile.txt"),
              "Wegen Wartungsarbeiten Programmaufruf zurzeit nicht m\xf6glich|chefin\r\n" +
                  QFile::encodeName(gDatenordner) + "Feiertage.dat\r\n11.03.26|09:15\r\n");
    Sperrdatei_prüfen();
    gStörungAnzeigen = true;
  }
};

TEST_F(StoerungsmeldungTest, AdministratorenSehenDieReparatur) {
  gBenutzerstufe = 2;
  fensterLaden();
  ASSERT_FALSE(skript->protokoll.empty());
  const QString text = skript->protokoll.back().text;
  SCOPED_TRACE(Protokoll(*skript));
  EXPECT_TRUE(text.startsWith(QStringLiteral("Fehlende oder beschädigte Datendatei am 11.03.26 um 09:15 Uhr erkannt!")))
      << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("Betroffene Datei: ") +
                            ShowPfad(gDatenordner + QStringLiteral("Feiertage.dat"), 170)));
  EXPECT_TRUE(text.contains(QStringLiteral("Der Programmaufruf durch Mitarbeiter wurde gesperrt.")));
  EXPECT_FALSE(gStörungAnzeigen);
}

TEST_F(StoerungsmeldungTest, MitarbeiterBleibenGesperrt) {
  gBenutzerstufe = 0;
  ERWARTE_PROGRAMMENDE(fensterLaden());
  fenster.reset(frmVelkora::instanz());
  ASSERT_FALSE(skript->protokoll.empty());
  EXPECT_TRUE(
      skript->protokoll.back().text.startsWith(QStringLiteral("Programmaufruf gesperrt:\r\rWegen Wartungsarbeiten")))
      << skript->protokoll.back().text.toStdString();
  EXPECT_TRUE(QFile::exists(gDatenordner + QStringLiteral("Lockfile.txt")));
}

}  // namespace

namespace {
// The main window over the fixture, the import through its menu command.
class FensterImportTest : public PlanerFensterTest {
 protected:
  void SetUp() override {
    PlanerFensterTest::SetUp();
    ASSERT_TRUE(QFile::copy(QStringLiteral(VELKORA_BIN_DIR "/VelkoraFtg.dat"),
                            gBasisordner + QStringLiteral("VelkoraFtg.dat")));
    Setup_Datenordner();
    // The fixture's employees, as a file.
    for (int i = 1; i < gMitarbeiterNamen.size(); ++i) {
      const bool person = !gBenutzerIDs[i].isEmpty();
      gUrlaubsdaten[i] = person ? QStringLiteral("000,0:030,0:030,0:030,0:030,0") : QString();
      gSonderurlaubsanspruch[i] = person ? QStringLiteral("000,0") : QString();
    }
    ASSERT_TRUE(Mitarbeiterdaten_schreiben());
    gBenutzerstufe = 2;
  }
};

TEST_F(FensterImportTest, NachDemImportZeigtDasFensterDieImportiertenDaten) {
  const QString datei = unterordner(QStringLiteral("Export")) + QStringLiteral("A.vel");
  skript->antworte(dialoge::kOK, datei);
  Datenexport();
  // Other data in the folder now: another company, March without entries.
  QStringList konfig = Konfigzeilen();
  konfig[4] = QStringLiteral("Andere AG");
  schreiben(gDatenordner + QStringLiteral("Konfigdaten.dat"), kodiert(konfig));
  Dateien_löschen(gDatenordner, QStringLiteral("2603*Data.dat"));
  Konfigdaten_lesen();
  gBenutzerstufe = 2;
  Erfassungsdaten_Cache_verwerfen();
  frmVelkora& f = fensterLaden();
  ASSERT_EQ(gMonatsschlüssel, u"2603");
  EXPECT_EQ(f.msgFlexGrid->raster().TextMatrix(3, 2), u"");
  EXPECT_TRUE(f.aktion(QStringLiteral("mnuDatenimport"))->isEnabled());

  skript = &dialoge::skript();
  skript->antworte(dialoge::kOK, datei);
  skript->antworte(dialoge::kJa);
  f.aktion(QStringLiteral("mnuDatenimport"))->trigger();
  ASSERT_FALSE(skript->protokoll.empty());
  EXPECT_EQ(skript->protokoll.back().text, u"Die Daten wurden erfolgreich importiert") << Protokoll(*skript);
  EXPECT_EQ(f.msgFlexGrid->raster().TextMatrix(3, 2), u"U");
  EXPECT_TRUE(gHauptfensterTitel.contains(QStringLiteral("Muster GmbH")));
}
}  // namespace

namespace {
// A second import right after the first, both through the menu with the window's
// after-steps: only the first makes a daily backup, as nothing was written between.
TEST_F(FensterImportTest, ZweiterImportOhneZwischenzeitlichesSchreibenMachtKeineTagessicherung) {
  const QString datei = unterordner(QStringLiteral("Export")) + QStringLiteral("A.vel");
  skript->antworte(dialoge::kOK, datei);
  Datenexport();
  frmVelkora& f = fensterLaden();
  gDateiGeschrieben = true;  // as at the start of every run
  const auto tagessicherungen = [] { return Dateiliste(gSicherungsordner, QStringLiteral("*T.dat")); };
  const auto importieren = [&] {
    skript = &dialoge::skript();
    skript->antworte(dialoge::kOK, datei);
    skript->antworte(dialoge::kJa);
    f.aktion(QStringLiteral("mnuDatenimport"))->trigger();
    QApplication::processEvents();
    ASSERT_FALSE(skript->protokoll.empty());
    EXPECT_EQ(skript->protokoll.back().text, u"Die Daten wurden erfolgreich importiert") << Protokoll(*skript);
  };
  importieren();
  const QStringList erste = tagessicherungen();
  ASSERT_EQ(erste.size(), 1) << "the first import of a run makes one";
  ASSERT_TRUE(QFile::remove(gSicherungsordner + erste.first()));
  // The redisplay after the import has stored the user's settings.
  ASSERT_TRUE(QFile::exists(gIniOrdner + gIniDateiname));

  importieren();
  EXPECT_TRUE(tagessicherungen().isEmpty()) << qPrintable(tagessicherungen().join(u' '));

  // A change of data in between calls for one again.
  ASSERT_TRUE(Mitarbeiterdaten_schreiben());
  importieren();
  EXPECT_EQ(tagessicherungen().size(), 1);
}
}  // namespace

namespace {
// "Datenordner ändern" names the public folder only for a data folder inside it: by
// whole path components, with links resolved.
TEST_F(FensterImportTest, DatenordnerAendernNenntDenOeffentlichenOrdnerNurWennErDarinLiegt) {
  frmVelkora& f = fensterLaden();
  ASSERT_TRUE(QFile::link(ordner(), ordner() + QStringLiteral("Verweis")));
  const QString eltern = ShowPfad(ParentDir(gDatenordner), 100);
  const struct {
    QString öffentlich;
    bool darin;
  } fälle[] = {
      {ordner(), true},
      {gDatenordner, true},
      {ordner() + QStringLiteral("Verweis"), true},
      {ordner() + QStringLiteral("Verweis/Data"), true},
      {ordner() + QStringLiteral("Da"), false},      // the same characters, not a folder of the path
      {ordner() + QStringLiteral("Public"), false},  // the first 15 characters alike
      {ordner() + QStringLiteral("Data/Logs"), false},
  };
  for (const auto& fall : fälle) {
    SCOPED_TRACE(fall.öffentlich.toStdString());
    qputenv("PUBLIC", QFile::encodeName(fall.öffentlich));
    skript = &dialoge::skript();
    skript->antworte(dialoge::kNein);
    f.aktion(QStringLiteral("mnuDatenordner_ändern"))->trigger();
    ASSERT_FALSE(skript->protokoll.empty());
    const QString gezeigt =
        fall.darin ? umgebung::mitSchrägstrich(fall.öffentlich) + QStringLiteral("AppData/.../Velkora") : eltern;
    EXPECT_EQ(skript->protokoll.front().text, QStringLiteral("Aktueller Datenordner ist ") + gezeigt +
                                                  QStringLiteral(".\r\rMöchten Sie den Datenordner ändern?"));
  }
  qunsetenv("PUBLIC");
}
}  // namespace

namespace {
// The data export from the menu, with the program's own dialogs, after a start that
// left the current folder in the data folder: the save dialog opens in the user's
// documents folder.
TEST_F(FensterImportTest, DatenexportDialogOeffnetImDokumentenordner) {
  frmVelkora& f = fensterLaden();
  const QString heim = unterordner(QStringLiteral("Heim"));
  const QByteArray altesHeim = qgetenv("HOME");
  qputenv("HOME", QFile::encodeName(heim));
  const QByteArray altesXdg = qgetenv("XDG_CONFIG_HOME");
  qunsetenv("XDG_CONFIG_HOME");
  QDir(heim).mkpath(QStringLiteral("Documents"));
  const QString aktuell = QDir::currentPath();
  QDir::setCurrent(gIniOrdner);
  gImportordner.clear();
  dialoge::setzeDienst(std::make_unique<dialoge::QtDienst>());
  QString ordner;
  std::function<void()> beobachten = [&] {
    auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!d) {
      QTimer::singleShot(10, beobachten);
      return;
    }
    ordner = QDir(d->directory()).canonicalPath();
    d->reject();
  };
  QTimer::singleShot(10, beobachten);
  f.aktion(QStringLiteral("mnuDatenexport"))->trigger();
  skript = &dialoge::skript();
  QDir::setCurrent(aktuell);
  qputenv("HOME", altesHeim);
  if (!altesXdg.isEmpty()) qputenv("XDG_CONFIG_HOME", altesXdg);
  EXPECT_EQ(ordner.toStdString(), QDir(heim + QStringLiteral("Documents")).canonicalPath().toStdString());
  EXPECT_TRUE(Dateiliste(gSicherungsordner, QStringLiteral("*E.dat")).isEmpty()) << "cancelled: no export";
}
}  // namespace
