// The main window and other workstations: the polling reloads a month written
// elsewhere keeping what the user looks at, showing a month takes its stamp, an entry
// looks for a foreign change before it saves, and an employee table read again lays
// the window out.
#include <QApplication>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <memory>

#include "planner/Aenderungspruefung.h"
#include "planner/Eingabe.h"
#include "planner/Markierung.h"
#include "planner/Monatsspeicher.h"
#include "planner/Planerdaten.h"
#include "planner/frmVelkora.h"
#include "platform/Bildschirm.h"
#include "platform/Programmende.h"
#include "startup/Dateizugriff.h"
#include "store/Monatsstand.h"
#include "widgets/Rasteransicht.h"

namespace {
using namespace planer;

class AbgleichTest : public PlanerFensterTest {
 protected:
  void SetUp() override {
    PlanerFensterTest::SetUp();
    Mitarbeiterdaten_schreiben();
    gMitarbeiterdatenZeit = Dateizeit(gDatenordner + QStringLiteral("Mitarbeiterdaten.dat"));
  }
  frmVelkora& laden() {
    fensterLaden();
    // The tick sees the program idle, whatever the test platform says.
    fenster->änderungsprüfung().zustand = [] { return Tickzustand{}; };
    return *fenster;
  }
  Raster& raster() { return fenster->msgFlexGrid->raster(); }
  int zeile(const QString& benutzer) {
    for (int r = 1; r < raster().Rows(); ++r)
      if (raster().TextMatrix(r, 32) == benutzer) return r;
    return 0;
  }
  void markieren(int r, int von, int bis) {
    Raster& g = raster();
    g.setRow(r);
    g.setCol(von);
    g.setRowSel(r);
    g.setColSel(bis);
    g.setHighLight(1);
  }
  // Today's version as another workstation writes it: the shown lines plus its own.
  void fremdSchreiben(const QStringList& zeilen) {
    monatSchreiben(QStringLiteral("2603 260312 Data.dat"), zeilen);
    Löschen(gDatenordner + QStringLiteral("2603 260310 Data.dat"));
  }
};

TEST_F(AbgleichTest, FremdesSchreibenWirdBeimNaechstenTickNachgeladenMitMarkierungHervorhebungUndBildlauf) {
  frmVelkora& f = laden();
  Raster& g = raster();
  // A grid showing a few rows only, scrolled down by one.
  g.setzeSichtfeld(900, 130);
  const int anna = zeile(QStringLiteral("anna"));
  ASSERT_GT(anna, 1);
  g.setTopRow(2);
  ASSERT_EQ(g.TopRow(), 2);
  markieren(anna, 16, 17);
  f.änderungsprüfung().tmrTimer1_Timer();
  EXPECT_FALSE(CheckErfassungsdaten()) << "nothing changed on disk";

  fremdSchreiben({QStringLiteral("A:anna:") + Codes({{2, '1'}, {20, '3'}}),
                  QStringLiteral("A:tester:") + Codes({{4, '5'}, {6, '6'}})});
  f.änderungsprüfung().tmrTimer1_Timer();
  EXPECT_EQ(g.TextMatrix(anna, 20), u"Z") << "reloaded";
  EXPECT_EQ(g.TextMatrix(anna, 26), QString()) << "the old version's entry is gone";
  EXPECT_EQ(g.Row(), anna);
  EXPECT_EQ(g.RowSel(), anna);
  EXPECT_EQ(g.Col(), 16);
  EXPECT_EQ(g.ColSel(), 17);
  EXPECT_EQ(g.HighLight(), 1);
  EXPECT_EQ(g.TopRow(), 2);
  EXPECT_EQ(f.änderungsprüfung().zähler(), 0) << "a reload shows the month again and polls fast";
  EXPECT_FALSE(CheckErfassungsdaten()) << "reloaded once";
}

TEST_F(AbgleichTest, AndererMonatNimmtSeinenStandSodassNurFremdesSchreibenNachlaedt) {
  frmVelkora& f = laden();
  EXPECT_FALSE(CheckErfassungsdaten());
  f.tabMonate->setCurrentIndex(3);
  f.tabMonate_Click();
  ASSERT_EQ(gMonatsschlüssel, u"2604");
  EXPECT_FALSE(CheckErfassungsdaten()) << "the own month change is no foreign write";
  monatSchreiben(QStringLiteral("2604 260312 Data.dat"), {QStringLiteral("A:anna:") + Codes({{7, '1'}})});
  EXPECT_TRUE(CheckErfassungsdaten());
  EXPECT_EQ(raster().TextMatrix(zeile(QStringLiteral("anna")), 7), u"U");
}

TEST_F(AbgleichTest, EintragUebernimmtWasEinAndererArbeitsplatzVorherInDieselbeZeileSchrieb) {
  frmVelkora& f = laden();
  f.resize(1200, 600);
  f.show();
  QApplication::setActiveWindow(&f);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
  const int ich = zeile(QStringLiteral("tester"));
  ASSERT_GT(ich, 0);
  // Meanwhile the same employee entered day 25 at another workstation.
  fremdSchreiben({QStringLiteral("A:anna:") + Codes({{2, '1'}}),
                  QStringLiteral("A:tester:") + Codes({{4, '5'}, {6, '6'}, {25, '3'}})});
  markieren(ich, 24, 24);
  ASSERT_TRUE(f.cmdAuswahl[1]->isVisible());
  QTest::mouseClick(f.cmdAuswahl[1], Qt::LeftButton);

  const QStringList zeilen = dekodierteZeilen(gDatenordner + QStringLiteral("2603 260312 Data.dat"));
  ASSERT_FALSE(zeilen.isEmpty());
  EXPECT_EQ(zeilen.last(), QStringLiteral("A:tester:") + Codes({{4, '5'}, {6, '6'}, {24, '1'}, {25, '3'}}));
  EXPECT_EQ(raster().TextMatrix(ich, 24), u"U");
  EXPECT_EQ(raster().TextMatrix(ich, 25), u"Z");
  EXPECT_EQ(gUndoPuffer, QStringList{QStringLiteral("NoData")});
  EXPECT_FALSE(CheckErfassungsdaten()) << "the own save is no foreign write";
}

TEST_F(AbgleichTest, NeuGeleseneMitarbeitertabelleOrdnetDasFensterNeuBisEsWegIst) {
  frmVelkora& f = laden();
  f.resize(1200, 600);
  f.show();
  for (int i = 0; i < 3; ++i) f.änderungsprüfung().tmrTimer1_Timer();
  ASSERT_EQ(f.änderungsprüfung().zähler(), 3);
  Mitarbeiterdaten_lesen();
  EXPECT_EQ(f.änderungsprüfung().zähler(), 0) << "the layout resets the polling";
  fenster.reset();
  Mitarbeiterdaten_lesen();  // no window to lay out any more
  EXPECT_EQ(frmVelkora::instanz(), nullptr);
}

}  // namespace
