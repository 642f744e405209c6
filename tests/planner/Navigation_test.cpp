#include "planner/Navigation.h"

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <algorithm>
#include <memory>

#include "planner/Aenderungspruefung.h"
#include "planner/Monatsanzeige.h"
#include "planner/Planerdaten.h"
#include "planner/Schaltflaechenleiste.h"
#include "planner/frmVelkora.h"
#include "platform/Bildschirm.h"
#include "platform/Programmende.h"
#include "startup/Dateizugriff.h"
#include "startup/Programmabbruch.h"
#include "store/Anzeigeberechtigungen.h"
#include "store/Monatsdatei.h"
#include "store/Monatsstand.h"
#include "widgets/Rasteransicht.h"

namespace {
using namespace planer;

class FensterTest : public PlanerFensterTest {
 protected:
  frmVelkora& laden() {
    fensterLaden();
    return *fenster;
  }
  void jahr(int index) {
    fenster->tabJahre->setCurrentIndex(index);
    fenster->tabJahre_Click();
  }
};

TEST_F(FensterTest, LadenZeigtDenMonatVonHeuteUndBeendetDieStartphase) {
  gStörungAnzeigen = true;
  gStörungsmeldung = QStringLiteral("NoFile");
  gBenutzerstufe = 2;  // an administrator, who sees the report instead of a barred start
  // The report of a start that repaired a data file comes with the first month only.
  const auto gemeldet = [this] {
    return std::count_if(skript->protokoll.begin(), skript->protokoll.end(), [](const auto& p) {
      return p.text.startsWith(QStringLiteral("Fehlende oder beschädigte Datendatei"));
    });
  };
  gOffeneDatei = QStringLiteral("irgendwas");
  frmVelkora& f = laden();
  EXPECT_EQ(gMonatsschlüssel, u"2603");
  EXPECT_EQ(f.msgFlexGrid->raster().TextMatrix(3, 2), u"U");
  EXPECT_FALSE(gStörungAnzeigen);
  EXPECT_TRUE(gOffeneDatei.isEmpty());
  EXPECT_EQ(gemeldet(), 1);
  f.tabMonate_Click();
  EXPECT_EQ(gemeldet(), 1) << "only with the first month";
}

TEST_F(FensterTest, DurchgehendeNavigationUeberDieJahresgrenze) {
  frmVelkora& f = laden();
  ASSERT_EQ(gMonatsschlüssel, u"2603");
  jahr(2);
  EXPECT_EQ(gMonatsschlüssel, u"2701") << "forward into a year begins with January";
  EXPECT_EQ(f.tabMonate->currentIndex(), 0);
  jahr(1);
  EXPECT_EQ(gMonatsschlüssel, u"2612") << "back ends with December";
  jahr(0);
  EXPECT_EQ(gMonatsschlüssel, u"2512") << "December already: the month stays";
  // The arrow keys of the year tabs go round the months of the year.
  f.tabMonate->setCurrentIndex(0);
  f.tabMonate_Click();
  f.tabJahre_KeyDown(37);
  EXPECT_EQ(gMonatsschlüssel, u"2512");
  f.tabJahre_KeyDown(39);
  EXPECT_EQ(gMonatsschlüssel, u"2501");
  QTest::keyClick(f.tabJahre, Qt::Key_Right);
  EXPECT_EQ(gMonatsschlüssel, u"2502");
  EXPECT_EQ(f.tabJahre->currentIndex(), 0) << "the year does not change";
}

TEST_F(FensterTest, Stelle40BehaeltDenMonatBeimJahreswechsel) {
  SetSetting(40, 1);
  laden();
  jahr(2);
  EXPECT_EQ(gMonatsschlüssel, u"2703");
  jahr(0);
  EXPECT_EQ(gMonatsschlüssel, u"2503");
}

TEST_F(FensterTest, JederMonatswechselSuchtSeineSchulferienUndSetztDieAbfrageZurueck) {
  frmVelkora& f = laden();
  EXPECT_EQ(gFerienIndex, 1);
  f.änderungsprüfung().zustand = [] { return Tickzustand{}; };
  for (int i = 0; i < 7; ++i) f.änderungsprüfung().tmrTimer1_Timer();
  ASSERT_EQ(f.änderungsprüfung().zähler(), 7);
  f.tabMonate->setCurrentIndex(3);
  f.tabMonate_Click();
  EXPECT_EQ(gFerienIndex, 0);
  EXPECT_EQ(f.änderungsprüfung().zähler(), 0);
  EXPECT_EQ(f.msgFlexGrid->raster().CellBackColor(0, 30), std::nullopt);
}

// The fixture table has 7 rows; a month with more than 10.5 entry lines is rewritten.
TEST_F(FensterTest, UeberwachsenerMonatWirdBeimAnzeigenVerdichtet) {
  QStringList zeilen;
  for (int i = 0; i < 10; ++i) zeilen << QStringLiteral("A:anna:") + Codes({{1 + i, '1'}});
  zeilen << QStringLiteral("K:anna:10-12:Seminar") << QStringLiteral("K:anna:11-11:Seminar")
         << QStringLiteral("K:anna:01-01:ohne Eintrag");
  monatSchreiben(QStringLiteral("2604 260311 Data.dat"), zeilen, QStringLiteral("NoEx:06|"));
  frmVelkora& f = laden();
  f.tabMonate->setCurrentIndex(3);
  f.tabMonate_Click();
  EXPECT_TRUE(Datei_vorhanden(gDatenordner + QStringLiteral("2604 260311 Data.dat"))) << "10 lines: not overgrown";

  zeilen << QStringLiteral("A:tester:") + Codes({{2, '3'}}) << QStringLiteral("A:fremd:") + Codes({{2, '3'}})
         << QStringLiteral("A:vera:") + Codes({});
  monatSchreiben(QStringLiteral("2604 260311 Data.dat"), zeilen, QStringLiteral("NoEx:06|"));
  f.tabMonate_Click();
  EXPECT_FALSE(Datei_vorhanden(gDatenordner + QStringLiteral("2604 260311 Data.dat")));
  const QString heute = gDatenordner + QStringLiteral("2604 260312 Data.dat");
  ASSERT_TRUE(Datei_vorhanden(heute));
  EXPECT_EQ(dekodierteZeilen(heute),
            (QStringList{"[2604]", "Velkora:0123456789AB", "NoEx:06|", "A:anna:" + Codes({{10, '1'}}),
                         "K:anna:10-10:Seminar", "A:tester:" + Codes({{2, '3'}}),
                         // not in the employee table: kept all the same
                         "A:fremd:" + Codes({{2, '3'}})}));
  EXPECT_EQ(gMonatsdateiStand, Monatsstand_lesen(QStringLiteral("2604")));
  // The compact month shows as before.
  f.tabMonate_Click();
  EXPECT_EQ(f.msgFlexGrid->raster().TextMatrix(3, 10), u"U");
  EXPECT_EQ(gKommentarMarken.text(3, 10), u"Seminar");
}

TEST_F(FensterTest, VerdichtenBehaeltKommentarfolgenJeTag) {
  const QString codes = Codes({{1, '1'}, {2, '1'}, {3, '1'}, {5, '1'}, {6, '1'}});
  monatSchreiben(QStringLiteral("2604 260311 Data.dat"),
                 {"A:Anna:" + codes, "K:anna:01-06:Kurs", "K:anna:03-03:Arzt", "K:anna:06-06:"},
                 QStringLiteral("NoEx:NoEx"));
  ASSERT_TRUE(Monatsdatei_kompaktieren(QStringLiteral("2604")));
  const QStringList z = dekodierteZeilen(gDatenordner + QStringLiteral("2604 260312 Data.dat"));
  EXPECT_EQ(z.mid(3), (QStringList{"A:Anna:" + codes, "K:Anna:01-02:Kurs", "K:Anna:03-03:Arzt", "K:Anna:05-05:Kurs"}));
}

TEST_F(FensterTest, GruppenwahlSchraenktDieZeilenEin) {
  gAnzeigegruppen =
      QStringList{QString(), QStringLiteral("Alle Mitarbeiter|Verwaltung:Lager:"), QStringLiteral("Lager|Lager:")};
  frmVelkora& f = laden();
  f.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
  ASSERT_FALSE(f.cmbMitarbeitergruppen->isHidden());
  ASSERT_EQ(f.cmbMitarbeitergruppen->count(), 2);
  EXPECT_EQ(f.cmbMitarbeitergruppen->itemText(1), u"Lager");
  EXPECT_EQ(f.msgFlexGrid->raster().Rows(), 7);
  f.cmbMitarbeitergruppen->setCurrentIndex(1);
  f.cmbMitarbeitergruppen_Click();
  EXPECT_EQ(gAnzeigegruppe, 1);
  const Raster& g = f.msgFlexGrid->raster();
  ASSERT_EQ(g.Rows(), 4);
  EXPECT_EQ(g.TextMatrix(2, 0), u"Lager");
  EXPECT_EQ(g.TextMatrix(3, 23), u"D");
  // Compact layout refused while groups are active.
  f.CheckAnzeigegruppen();
  ASSERT_EQ(skript->texte().size(), 1u);
  EXPECT_EQ(skript->texte()[0], u"Nicht möglich, wenn Anzeigegruppen aktiv sind");
}

TEST_F(FensterTest, ZeilenhoeheZuruecksetzenOhneGruppen) {
  frmVelkora& f = laden();
  f.show();
  gBenutzerwerte[32] = 600;
  gBenutzerwerte[33] = 1;
  f.CheckAnzeigegruppen();
  EXPECT_EQ(gBenutzerwerte[32], 300);
  EXPECT_EQ(gBenutzerwerte[33], 0);
}

TEST_F(FensterTest, BildschirmfotoZeigtDieFarbigenZellen) {
  frmVelkora& f = laden();
  f.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
  QApplication::processEvents();
  const QImage bild = f.msgFlexGrid->viewport()->grab().toImage();
  const auto farbe = [&](int r, int c) {
    const QRect z = f.msgFlexGrid->zellenRechteck(r, c);
    EXPECT_FALSE(z.isEmpty()) << r << "," << c;
    // A corner inside the cell, clear of the grid line and the letter.
    return ausQColor(bild.pixelColor(z.left() + 2, z.top() + 2));
  };
  EXPECT_EQ(farbe(3, 2), kUrlaub);
  EXPECT_EQ(farbe(3, 7), kFarbe[2]) << "weekend";
  EXPECT_EQ(farbe(1, 19), kFarbe[3]) << "holiday";
  EXPECT_EQ(farbe(4, 12), kFarbe[8]) << "today";
  EXPECT_EQ(farbe(3, 0), kFarbe[4]) << "name";
  EXPECT_EQ(farbe(2, 0), kFarbe[5]) << "heading";
  EXPECT_EQ(farbe(0, 30), kFerienfarbe) << "school holiday";
  EXPECT_EQ(farbe(1, 2), kFarbe[1]) << "working day";
}

TEST_F(FensterTest, StartfehlerZeigtKeineMitarbeiter) {
  gStartfehler = QStringLiteral("Fehler");
  frmVelkora& f = laden();
  ASSERT_EQ(f.msgFlexGrid->raster().Rows(), 2);
  EXPECT_EQ(f.msgFlexGrid->raster().TextMatrix(1, 0), u"");
  EXPECT_EQ(gMitarbeiterNamen.value(1), u"NoNames");
}

}  // namespace
