// Look-back mode in the main window: nothing is entered or rewritten, whatever path an
// entry takes; and a whole look-back run, started as the program starts, leaves the
// real data, log and backup folders byte for byte as they were.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "common/Arbeitsplatzprozess.h"
#include "planner/Eingabe.h"
#include "planner/Monatsspeicher.h"
#include "planner/Planerdaten.h"
#include "startup/Dateizugriff.h"
#include "startup/Logbuch.h"
#include "store/Jahreswechsel.h"
#include "widgets/Rasteransicht.h"

namespace {
using namespace planer;

// Every file below a folder with its bytes, by relative path.
using Bestand = std::map<QString, QByteArray>;
Bestand Bestand_von(const QString& ordner) {
  Bestand r;
  QDirIterator it(ordner, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString pfad = it.next();
    r[QDir(ordner).relativeFilePath(pfad)] = lesen(pfad);
  }
  return r;
}

void Unverändert(const Bestand& jetzt, const Bestand& vorher) {
  QStringList a, b;
  for (const auto& [name, inhalt] : jetzt) a << name;
  for (const auto& [name, inhalt] : vorher) b << name;
  EXPECT_EQ(a.join(u' ').toStdString(), b.join(u' ').toStdString());
  for (const auto& [name, inhalt] : vorher) {
    const auto it = jetzt.find(name);
    if (it != jetzt.end()) {
      EXPECT_TRUE(it->second == inhalt) << name.toStdString() << " changed";
    }
  }
}

class RueckblickFensterTest : public PlanerFensterTest {};

TEST_F(RueckblickFensterTest, KeinWegTraegtEinOderSchreibtNeu) {
  gRückblick = true;
  gBenutzerstufe = 2;
  Mitarbeiterdaten_schreiben();
  gMitarbeiterdatenZeit = Dateizeit(gDatenordner + QStringLiteral("Mitarbeiterdaten.dat"));
  const Bestand vorher = Bestand_von(ordner());
  frmVelkora& f = fensterLaden();
  Raster& g = f.msgFlexGrid->raster();
  ASSERT_EQ(gMonatsschlüssel, u"2603");
  ASSERT_EQ(g.TextMatrix(4, 32), u"tester");
  const auto markieren = [&](int von, int bis) {
    g.setRow(3);
    g.setCol(von);
    g.setRowSel(4);
    g.setColSel(bis);
    g.setHighLight(1);
  };
  markieren(20, 22);
  cmdAuswahl_Click(1);
  markieren(20, 22);
  Tabellenzeile_ändern(1);
  markieren(20, 22);
  Tabellenzeilen_ändern(1);
  markieren(20, 20);
  Tabellenzeile_ändern(Schaltflächen_Anzahl() + 1);
  EXPECT_FALSE(Datensatz_speichern(QStringLiteral("A:tester:") + Codes({{20, '1'}})));
  gLogbuchPuffern = true;
  Datensatz_speichern(QStringLiteral("A:tester:") + Codes({{21, '1'}}));
  Datensatz_speichern(QString());
  gLogbuchPuffern = false;
  Erfassungsdatei_defragmentieren();
  for (int d = 20; d <= 22; ++d) {
    EXPECT_TRUE(g.TextMatrix(3, d).isEmpty()) << d;
    EXPECT_TRUE(g.TextMatrix(4, d).isEmpty()) << d;
  }
  EXPECT_TRUE(skript->texte().empty());
  f.Form_Unload();
  fenster.reset();
  Unverändert(Bestand_von(ordner()), vorher);
}

class RueckblickLaufTest : public VelkoraTest {
 protected:
  void SetUp() override {
    VelkoraTest::SetUp();
    basis = ordner();
    daten = basis + QStringLiteral("Daten/Data/");
    Arbeitsplatzordner_anlegen(basis);
  }

  // A first start in April 2026, four employees under two headings, entries in January
  // 2025 and April 2026; the start in January 2027 changes the year and leaves its
  // backup, whose window begins in 2025.
  void Jahreswechsel_vorbereiten() {
    Datenordner_durch_ersten_Start(basis);
    if (HasFatalFailure()) return;
    gDatenordner = daten;
    Mitarbeiterdaten_lesen();
    Mitarbeitertabelle_dimensionieren(4);
    const QStringList namen = {QStringLiteral("Admin Anna"), QStringLiteral("Berg Bernd"), QStringLiteral("Lager"),
                               QStringLiteral("Kern Clara")};
    const QStringList ids = {QStringLiteral("anna"), QStringLiteral("bernd"), QString(), QStringLiteral("clara")};
    for (int i = 1; i <= 4; ++i) {
      gMitarbeiterNamen[i] = namen[i - 1];
      gBenutzerIDs[i] = ids[i - 1];
      if (ids[i - 1].isEmpty()) continue;
      gEintrittsdaten[i] = QStringLiteral("000000");
      gAustrittsdaten[i] = QStringLiteral("999999");
      gUrlaubsdaten[i] = QStringLiteral("002,0:030,0:030,0:030,0:030,0");
      gSonderurlaubsanspruch[i] = QStringLiteral("000,0");
    }
    ASSERT_TRUE(Mitarbeiterdaten_schreiben());
    {
      Arbeitsplatz april(QStringLiteral("anna"), basis, QStringLiteral("150426"));
      ASSERT_EQ(april.zeile(), u"ready 2604") << april.fehlerausgabe();
      EXPECT_EQ(april.ok(QStringLiteral("mark 1 20 22")), u"1 1 20 22 1");
      april.ok(QStringLiteral("button 1"));
      EXPECT_EQ(april.ok(QStringLiteral("cell 1 21")), u"U");
      // Back into the planning year, to its January.
      EXPECT_EQ(april.ok(QStringLiteral("year 1")), u"2512");
      EXPECT_EQ(april.ok(QStringLiteral("month 1")), u"2501");
      for (const auto& [zeile, von, bis, knopf] : {std::tuple{1, 6, 8, 1}, {2, 13, 14, 3}, {4, 20, 20, 4}}) {
        april.ok(QStringLiteral("mark %1 %2 %3").arg(zeile).arg(von).arg(bis));
        april.ok(QStringLiteral("button %1").arg(knopf));
      }
      EXPECT_EQ(april.ok(QStringLiteral("cell 1 7")), u"U");
      EXPECT_EQ(april.ok(QStringLiteral("cell 2 14")), u"Z");
      EXPECT_EQ(april.ok(QStringLiteral("cell 4 20")), u"D");
      ASSERT_EQ(april.beenden(), 0);
    }
    {
      Arbeitsplatz januar(QStringLiteral("anna"), basis, QStringLiteral("100127"));
      ASSERT_EQ(januar.zeile(), u"ready 2701") << januar.fehlerausgabe();
      ASSERT_EQ(januar.beenden(), 0);
    }
    const QStringList jahr = Dateiliste(daten + QStringLiteral("Backups/"), QStringLiteral("27*J.dat"));
    ASSERT_EQ(jahr.size(), 1);
    jahreswechselbackup = jahr.first();
  }

  QString basis, daten, jahreswechselbackup;
};

std::vector<std::string> Teile(const QString& abzug) {
  std::vector<std::string> r;
  for (const QString& t : abzug.split(QStringLiteral(" | "))) r.push_back(t.toStdString());
  return r;
}

// The first month stands in the window as soon as it is painted, exactly as a click
// on its tab shows it: in a look back whose year change is due (January of the first
// year) and in an ordinary start (the month of today).
TEST_F(RueckblickLaufTest, ErsterMonatWieNachTabklick) {
  ASSERT_NO_FATAL_FAILURE(Jahreswechsel_vorbereiten());
  const auto prüfen = [&](const QStringList& schalter, const QString& monat, const QString& anderer) {
    SCOPED_TRACE(schalter.join(u' ').toStdString());
    Arbeitsplatz platz(QStringLiteral("anna"), basis, QStringLiteral("110127"), schalter);
    ASSERT_EQ(platz.zeile().toStdString(), (QStringLiteral("ready ") + monat).toStdString()) << platz.fehlerausgabe();
    const QString erstes = platz.ok(QStringLiteral("firstgrid"));
    EXPECT_EQ(platz.ok(QStringLiteral("cell 0 0")), u"Name");
    EXPECT_EQ(platz.ok(QStringLiteral("row anna")), u"1");
    EXPECT_EQ(platz.ok(QStringLiteral("cell 3 0")), u"Lager");
    EXPECT_EQ(platz.ok(QStringLiteral("row clara")), u"4");
    // Both Januaries begin on a weekday: the header names it.
    EXPECT_NE(platz.ok(QStringLiteral("cell 0 1")), u"-");
    if (monat == u"2501") {
      EXPECT_EQ(platz.ok(QStringLiteral("cell 1 7")), u"U");
      EXPECT_EQ(platz.ok(QStringLiteral("cell 2 13")), u"Z");
      EXPECT_EQ(platz.ok(QStringLiteral("cell 4 20")), u"D");
    }
    EXPECT_EQ(Teile(platz.ok(QStringLiteral("grid"))), Teile(erstes));
    EXPECT_EQ(platz.ok(QStringLiteral("month 2")).toStdString(), anderer.toStdString());
    EXPECT_NE(Teile(platz.ok(QStringLiteral("grid"))), Teile(erstes));
    EXPECT_EQ(platz.ok(QStringLiteral("month 1")).toStdString(), monat.toStdString());
    EXPECT_EQ(Teile(platz.ok(QStringLiteral("grid"))), Teile(erstes));
    EXPECT_EQ(platz.ok(QStringLiteral("prompts")).toStdString(), "");
    EXPECT_EQ(platz.beenden(), 0);
  };
  // The year-change backup: its year change is due, January of its first year is shown.
  prüfen({QStringLiteral("/lookback")}, QStringLiteral("2501"), QStringLiteral("2502"));
  // An ordinary start shows the month of today; it leaves today's backup, which holds
  // the changed year: a look back at it shows the month of today as well.
  prüfen({}, QStringLiteral("2701"), QStringLiteral("2702"));
  const QStringList heute = Dateiliste(daten + QStringLiteral("Backups/"), QStringLiteral("270111*T.dat"));
  ASSERT_EQ(heute.size(), 1);
  prüfen({QStringLiteral("/lookback:") + daten + QStringLiteral("Backups/") + heute.first()}, QStringLiteral("2701"),
         QStringLiteral("2702"));
}

// A file named after "/lookback" by a relative path is looked for where the program
// was started, not in the temporary folder the start moves into.
TEST_F(RueckblickLaufTest, RelativeDateiAusDemStartordner) {
  ASSERT_NO_FATAL_FAILURE(Jahreswechsel_vorbereiten());
  const QString start = QDir(basis + QStringLiteral("Daten")).canonicalPath() + u'/';
  const QString stamm = QStringLiteral("Data/Backups/") + jahreswechselbackup.chopped(4);
  for (const QString& name : {stamm + QStringLiteral(".dat"), stamm}) {
    SCOPED_TRACE(name.toStdString());
    Arbeitsplatz platz(QStringLiteral("anna"), basis, QStringLiteral("110127"), {QStringLiteral("/lookback:") + name},
                       {}, start);
    ASSERT_EQ(platz.zeile().toStdString(), "ready 2501") << platz.fehlerausgabe();
    EXPECT_EQ(platz.ok(QStringLiteral("cell 1 7")), u"U");
    EXPECT_TRUE(platz.ok(QStringLiteral("title")).endsWith(u" - Datenrückblick - keine Eingaben möglich !"));
    ASSERT_EQ(platz.beenden(), 0);
  }
  // A name found nowhere is reported with the path it was looked for at.
  Arbeitsplatz fehlt(QStringLiteral("anna"), basis, QStringLiteral("110127"),
                     {QStringLiteral("/lookback:Data/Backups/fehlt")}, {}, start);
  const QString antwort = fehlt.zeile();
  EXPECT_EQ(antwort.toStdString(), (QStringLiteral("error no main window: Die Datei ") +
                                    ShowPfad(start + QStringLiteral("Data/Backups/fehlt"), 100) +
                                    QStringLiteral(" wurde nicht gefunden.  Das Programm wird beendet."))
                                       .toStdString())
      << fehlt.fehlerausgabe();
  EXPECT_EQ(fehlt.endeAbwarten(), 1);
}

// A look back at the year-change backup, a day later, tries every way of entering.
TEST_F(RueckblickLaufTest, LaesstDieEchtenOrdnerBytegleich) {
  ASSERT_NO_FATAL_FAILURE(Jahreswechsel_vorbereiten());
  const Bestand vorher = Bestand_von(basis + QStringLiteral("Daten"));
  ASSERT_FALSE(vorher.empty());

  {
    // A day later: a start on a normal run would make its daily backup now.
    Arbeitsplatz rückblick(QStringLiteral("anna"), basis, QStringLiteral("110127"), {QStringLiteral("/lookback")});
    ASSERT_TRUE(rückblick.zeile().startsWith(u"ready")) << rückblick.fehlerausgabe();
    EXPECT_TRUE(rückblick.ok(QStringLiteral("title")).endsWith(u" - Datenrückblick - keine Eingaben möglich !"));
    const QStringList sätze =
        QDir(basis + QStringLiteral("Temp_anna")).entryList({QStringLiteral("Velkora Rueckblick *")});
    ASSERT_EQ(sätze.size(), 1);
    EXPECT_TRUE(
        QFileInfo::exists(basis + QStringLiteral("Temp_anna/") + sätze[0] + QStringLiteral("/Mitarbeiterdaten.dat")));
    // The backup's window begins in 2025; its year change is due and is not made.
    EXPECT_EQ(rückblick.ok(QStringLiteral("month 4")), u"2504");
    rückblick.ok(QStringLiteral("mark 1 20 22"));
    EXPECT_TRUE(rückblick.befehl(QStringLiteral("button 1")).startsWith(u"error no button"));
    rückblick.ok(QStringLiteral("enter 1"));
    rückblick.ok(QStringLiteral("dblclick 1 24"));
    EXPECT_EQ(rückblick.ok(QStringLiteral("cell 1 20")), u"-");
    EXPECT_EQ(rückblick.ok(QStringLiteral("cell 1 24")), u"-");
    EXPECT_EQ(rückblick.ok(QStringLiteral("prompts")), QString());
    ASSERT_EQ(rückblick.beenden(), 0);
  }
  Unverändert(Bestand_von(basis + QStringLiteral("Daten")), vorher);
  EXPECT_TRUE(QDir(basis + QStringLiteral("Temp_anna"))
                  .entryList({QStringLiteral("Velkora Rueckblick *")}, QDir::AllEntries)
                  .isEmpty());
}

}  // namespace
