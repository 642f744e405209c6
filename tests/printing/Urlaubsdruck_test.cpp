#include "printing/Urlaubsdruck.h"

#include "printing/Ansichtsquellen.h"

namespace {

class Urlaubsdruck : public AnsichtsdruckTest {
 protected:
  void SetUp() override {
    AnsichtsdruckTest::SetUp();
    quelle.einsetzen();
    Raster& g = quelle.gitter;
    g.setRows(2);
    g.setTextMatrix(1, 0, QStringLiteral("Anna"));
    for (int c = 1; c <= 9; ++c) g.setTextMatrix(1, c, QStringLiteral("X%1").arg(c));
  }
  Aufzeichnung& drucken() { return AnsichtsdruckTest::drucken(QStringLiteral("U"), Urlaubsübersicht_drucken); }
  // The printed texts of the heading, each as one string "line1|line2|line3" per column.
  static QStringList köpfe(const QList<Urlaubsspalte>& s) {
    QStringList r;
    for (const Urlaubsspalte& k : s) r << k.zeile1 + u'|' + k.zeile2 + u'|' + k.zeile3;
    return r;
  }
  Urlaubsquelle_Test quelle;
};

TEST_F(Urlaubsdruck, UeberschriftenNachUrlaubsjahrUndModus) {
  struct Fall {
    int beginn;
    bool sonder;
    QStringList köpfe;
  };
  const Fall fälle[] = {
      {4,
       false,
       {"Resturlaub||01.04.26", "Urlaubsan-||spr. 2026/27", "|Summe|", "Bis 15.02.27||genommen", "Resturlaub||2026/27",
        "In 2026/27||geplant", "|Unverplant|"}},
      {1,
       false,
       {"Resturlaub||aus 2026", "Urlaubsan-||spruch 2027", "|Summe|", "Bis 15.02.27||genommen", "Resturlaub||2027",
        "In 2027||geplant", "|Unverplant|"}},
      {4,
       true,
       {"Genommen||in 2026", "Urlaubsan-||spruch 2027", "Bis 15.02.27||genommen", "Resturlaub||2027",
        "In 2027||geplant", "|Unverplant|"}},
  };
  for (const Fall& f : fälle) EXPECT_EQ(köpfe(Urlaubsspalten(QStringLiteral("15.02.27"), f.beginn, f.sonder)), f.köpfe);
}

TEST_F(Urlaubsdruck, SpaltenAufDemPapierOhneDieLueckenspalten) {
  gUrlaubsjahrBeginn = 4;
  for (const bool sonder : {false, true}) {
    quelle.sonderurlaub = sonder;
    Aufzeichnung& a = drucken();
    const double s = sonder ? 1.37 : 0;
    EXPECT_TRUE(a.quer);
    EXPECT_NE(a.suche(QStringLiteral("Urlaubsübersicht 2026")), nullptr);
    EXPECT_EQ(a.suche(QStringLiteral("X4")), nullptr);
    EXPECT_EQ(a.suche(QStringLiteral("X7")), nullptr);
    EXPECT_EQ(a.suche(QStringLiteral("X3")) == nullptr, sonder);
    const int gedruckt[] = {1, 2, 3, 5, 6, 8, 9};
    int k = 0;
    for (int c : gedruckt) {
      if (sonder && c == 3) continue;
      ++k;
      const auto* e = a.suche(QStringLiteral("X%1").arg(c));
      ASSERT_NE(e, nullptr) << c;
      EXPECT_NEAR(e->x + e->b, s + 7.9 + 2.75 * k, 1e-6) << c;
    }
    EXPECT_EQ(k, sonder ? 6 : 7);
    const auto* name = a.suche(QStringLiteral("Anna"));
    ASSERT_NE(name, nullptr);
    EXPECT_NEAR(name->x, s + 2.38, 1e-6);
    const auto* kopf = a.suche(QStringLiteral("Unverplant"));
    ASSERT_NE(kopf, nullptr);
    EXPECT_NEAR(kopf->x + kopf->b / 2, s + 6.73 + 2.75 * k, 1e-6);
    // The middle line stands 0.25 below the first, the third 0.3 below the middle.
    const auto* zeile1 = a.suche(QStringLiteral("Resturlaub"));
    const auto* zeile3 = a.suche(QStringLiteral("genommen"));
    ASSERT_TRUE(zeile1 && zeile3);
    EXPECT_NEAR(kopf->y - zeile1->y, 0.25, 1e-6);
    EXPECT_NEAR(zeile3->y - kopf->y, 0.3, 1e-6);
  }
}

}  // namespace
