#include "printing/Summendruck.h"

#include "printing/Ansichtsquellen.h"

namespace {

class Summendruck : public AnsichtsdruckTest {
 protected:
  void SetUp() override {
    AnsichtsdruckTest::SetUp();
    quelle.einsetzen();
  }
  // Headings "H1" ... and the given rows, each name with a figure per column.
  void tabelle(int spalten, const QStringList& namen) {
    Raster& g = quelle.gitter;
    g.setCols(spalten);
    g.setRows(1 + static_cast<int>(namen.size()));
    g.setTextMatrix(0, 0, QStringLiteral("Name"));
    for (int c = 1; c < spalten; ++c) {
      g.setTextMatrix(0, c, QStringLiteral("H%1").arg(c));
      g.setCellBackColor(0, c, 0x00FF00 + c);
    }
    for (int r = 1; r <= namen.size(); ++r) {
      g.setTextMatrix(r, 0, namen[r - 1]);
      for (int c = 1; c < spalten; ++c) g.setTextMatrix(r, c, QStringLiteral("%1  ").arg(r * 100 + c));
    }
  }
  Aufzeichnung& drucken() { return AnsichtsdruckTest::drucken(QStringLiteral("S"), Summenübersicht_drucken); }
  Summenquelle_Test quelle;
};

TEST_F(Summendruck, SpaltenmasseUndAusrichtungNachSpaltenzahl) {
  struct Fall {
    int spalten;
    double L, W;
  };
  for (const Fall& f : {Fall{13, 0, 0.96}, Fall{14, 1.15, 0.96}, Fall{22, 1.15, 0.84}, Fall{24, 0, 0.84}}) {
    knöpfe(f.spalten - 1);  // one column per code button, the erase button has none
    tabelle(f.spalten, {QStringLiteral("Anna")});
    aufträge.clear();
    Aufzeichnung& a = drucken();
    const auto* h1 = a.suche(QStringLiteral("H1"));
    const auto* h2 = a.suche(QStringLiteral("H2"));
    ASSERT_TRUE(h1 && h2);
    const double x1 = 6.94 + f.L;
    EXPECT_NEAR(h1->x + h1->b / 2, x1 + f.W / 2, 1e-6) << f.spalten;
    EXPECT_NEAR((h2->x + h2->b / 2) - (h1->x + h1->b / 2), f.W, 1e-6) << f.spalten;
    EXPECT_EQ(h1->farbe, gSFTextfarben[1]);
    EXPECT_EQ(kastenBei(a, x1, h1->y - 0.15), 0x00FF00 + 1) << f.spalten;
    const auto* wert = a.suche(QStringLiteral("102  "));
    ASSERT_NE(wert, nullptr);
    EXPECT_NEAR(wert->x + wert->b / 2, x1 + f.W + f.W / 2 + 0.1, 1e-6) << f.spalten;
    // Fewer than 14 button entries print portrait.
    EXPECT_EQ(a.quer, f.spalten >= 14) << f.spalten;
  }
}

TEST_F(Summendruck, NurDieGesamtsummeIstFett) {
  tabelle(7, {QStringLiteral("Anna"), QStringLiteral("Bernd"), QStringLiteral("Gesamtsumme")});
  Aufzeichnung& a = drucken();
  for (int c = 1; c < 7; ++c) {
    EXPECT_FALSE(a.suche(QStringLiteral("H%1").arg(c))->schrift.fett);
    EXPECT_FALSE(a.suche(QStringLiteral("%1  ").arg(200 + c))->schrift.fett);
    EXPECT_TRUE(a.suche(QStringLiteral("%1  ").arg(300 + c))->schrift.fett);
  }
  // A header click has dropped the total: the last employee is no total.
  tabelle(7, {QStringLiteral("Anna"), QStringLiteral("Bernd")});
  Aufzeichnung& b = drucken();
  for (int c = 1; c < 7; ++c) EXPECT_FALSE(b.suche(QStringLiteral("%1  ").arg(200 + c))->schrift.fett);
}

TEST_F(Summendruck, LangerNameGekuerztUndKopfzeileOhneLeerenZusatz) {
  const QString lang = QStringLiteral("Maximiliane Mustermann-Lüdenscheidt");
  tabelle(7, {lang});
  Aufzeichnung& a = drucken();
  const auto texte = a.texte();
  const auto name = std::find_if(texte.begin(), texte.end(), [](const auto& e) { return e.text.startsWith(u"Maxi"); });
  ASSERT_NE(name, texte.end());
  EXPECT_LT(name->text.size(), lang.size());
  EXPECT_TRUE(lang.startsWith(name->text));
  EXPECT_LE(name->b, 1.15 + 4.56 - 0.1 + 1e-9);
  EXPECT_NE(a.suche(QStringLiteral("Muster GmbH")), nullptr);
  EXPECT_NE(a.suche(QStringLiteral("Summenübersicht vom 01.01.26 bis 31.12.26")), nullptr);

  gFirmenzusatz = QStringLiteral("Werk Süd");
  Aufzeichnung& b = drucken();
  EXPECT_NE(b.suche(QStringLiteral("Muster GmbH - Werk Süd")), nullptr);
}

}  // namespace
