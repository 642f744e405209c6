// Look-back mode in the main window: nothing is entered or rewritten, whatever path an
// entry takes; and a whole look-back run, started as the program starts, leaves the
// real data, log and backup folders byte for byte as they were.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <map>

#include "common/Arbeitsplatzprozess.h"
#include "planner/Eingabe.h"
#include "planner/Monatsspeicher.h"
#include "planner/Planerdaten.h"
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
    QDir().mkpath(basis + QStringLiteral("Daten"));
    QDir().mkpath(basis + QStringLiteral("Programm"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(VELKORA_BIN_DIR "/VelkoraFtg.dat"),
                            basis + QStringLiteral("Programm/VelkoraFtg.dat")));
  }
  QString basis;
};

// A first start in April 2026 and an entry; the start in January 2027 changes the year
// and leaves its backup; then an administrator looks back at it and tries to enter.
TEST_F(RueckblickLaufTest, LaesstDieEchtenOrdnerBytegleich) {
  const QString daten = basis + QStringLiteral("Daten/Data/");
  {
    Arbeitsplatz erster(QStringLiteral("anna"), basis, QStringLiteral("140426"));
    ASSERT_EQ(erster.zeile(), u"ready 2604") << erster.fehlerausgabe();
    ASSERT_EQ(erster.beenden(), 0);
  }
  gDatenordner = daten;
  Mitarbeiterdaten_lesen();
  Mitarbeitertabelle_dimensionieren(1);
  gMitarbeiterNamen[1] = QStringLiteral("Admin Anna");
  gBenutzerIDs[1] = QStringLiteral("anna");
  gEintrittsdaten[1] = QStringLiteral("000000");
  gAustrittsdaten[1] = QStringLiteral("999999");
  gUrlaubsdaten[1] = QStringLiteral("002,0:030,0:030,0:030,0:030,0");
  gSonderurlaubsanspruch[1] = QStringLiteral("000,0");
  ASSERT_TRUE(Mitarbeiterdaten_schreiben());
  {
    Arbeitsplatz april(QStringLiteral("anna"), basis, QStringLiteral("150426"));
    ASSERT_EQ(april.zeile(), u"ready 2604") << april.fehlerausgabe();
    EXPECT_EQ(april.ok(QStringLiteral("mark 1 20 22")), u"1 1 20 22 1");
    april.ok(QStringLiteral("button 1"));
    EXPECT_EQ(april.ok(QStringLiteral("cell 1 21")), u"U");
    ASSERT_EQ(april.beenden(), 0);
  }
  {
    Arbeitsplatz januar(QStringLiteral("anna"), basis, QStringLiteral("100127"));
    ASSERT_EQ(januar.zeile(), u"ready 2701") << januar.fehlerausgabe();
    ASSERT_EQ(januar.beenden(), 0);
  }
  ASSERT_EQ(Dateiliste(daten + QStringLiteral("Backups/"), QStringLiteral("27*J.dat")).size(), 1);
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
