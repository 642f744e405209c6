// What every list printout shares: page breaks at the layout's limit with the whole
// head repeated, a footer on every page and none after the last, and no page at all
// for a grid that holds only its heading row.
#include "printing/Ansichtsquellen.h"

namespace {

struct Liste {
  const char* name;
  QString code;
  std::function<bool(int)> routine;
  QString kopf;      // a heading text every page repeats
  double grenze;     // the line below which a page ends
  int namensspalte;  // the grid column that identifies a row
};

class Listendruck : public AnsichtsdruckTest {
 protected:
  void SetUp() override {
    AnsichtsdruckTest::SetUp();
    logbuch.einsetzen();
    summen.einsetzen();
    urlaub.einsetzen();
    überstunden.einsetzen();
  }
  std::vector<std::pair<Liste, Raster*>> listen() {
    return {
        {{"Logbuch", QStringLiteral("LB"), [](int n) { return Logbuch_drucken(QStringLiteral("B"), n); },
          QStringLiteral("Kommentar"), 18.25, 0},
         &logbuch.gitter},
        {{"Summen", QStringLiteral("S"), Summenübersicht_drucken, QStringLiteral("Name"), 26.8, 0}, &summen.gitter},
        {{"Urlaub", QStringLiteral("U"), Urlaubsübersicht_drucken, QStringLiteral("Unverplant"), 18.25, 0},
         &urlaub.gitter},
        {{"Ueberstunden", QStringLiteral("Ü"), Überstunden_drucken, QStringLiteral("Bemerkung"), 26.8, 0},
         &überstunden.gitter},
    };
  }
  Logbuchquelle_Test logbuch;
  Summenquelle_Test summen;
  Urlaubsquelle_Test urlaub;
  Überstundenquelle_Test überstunden;
};

TEST_F(Listendruck, SeitenumbruchMitKopfUndFusszeileOhneLeereSeite) {
  for (auto& [liste, gitter] : listen()) {
    gitter->setRows(101);
    for (int r = 1; r <= 100; ++r) gitter->setTextMatrix(r, liste.namensspalte, QStringLiteral("Zeile %1").arg(r));
    aufträge.clear();
    Aufzeichnung& a = drucken(liste.code, liste.routine);
    ASSERT_GE(a.seiten, 2) << liste.name;
    EXPECT_TRUE(a.beendet);
    int seite = 1;
    double vorher = 0;
    for (int r = 1; r <= 100; ++r) {
      const auto* e = a.suche(QStringLiteral("Zeile %1").arg(r));
      ASSERT_NE(e, nullptr) << liste.name << " " << r;
      ASSERT_GE(e->seite, seite) << liste.name << " " << r;
      if (e->seite == seite) {
        EXPECT_GT(e->y, vorher) << liste.name << " " << r;
      }
      seite = e->seite;
      vorher = e->y;
      EXPECT_LE(e->y, liste.grenze + 0.15 + 1e-6) << liste.name << " " << r;
    }
    EXPECT_EQ(seite, a.seiten) << liste.name << ": no page after the last row";
    for (int s = 1; s <= a.seiten; ++s) {
      EXPECT_NE(a.suche(liste.kopf, s), nullptr) << liste.name << " " << s;
      EXPECT_NE(a.suche(QStringLiteral("Seite %1").arg(s), s), nullptr) << liste.name << " " << s;
      EXPECT_NE(a.suche(QStringLiteral("10.03.26"), s), nullptr) << liste.name << " " << s;
    }
    // A page is full: the next row would not have fitted.
    const auto* letzteDerErsten = a.suche(QStringLiteral("Zeile %1").arg(1));
    for (int r = 1; r <= 100; ++r) {
      const auto* e = a.suche(QStringLiteral("Zeile %1").arg(r));
      if (e->seite == 1) letzteDerErsten = e;
    }
    EXPECT_GT(letzteDerErsten->y + 0.45, liste.grenze) << liste.name;
  }
}

TEST_F(Listendruck, NurKopfzeileDrucktKeineSeite) {
  for (auto& [liste, gitter] : listen()) {
    gitter->setRows(1);
    aufträge.clear();
    Aufzeichnung& a = drucken(liste.code, liste.routine);
    EXPECT_EQ(a.seiten, 0) << liste.name;
    EXPECT_TRUE(a.einträge.empty()) << liste.name;
    EXPECT_TRUE(a.beendet) << liste.name;
  }
}

TEST_F(Listendruck, JedesExemplarEinEigenerAuftrag) {
  for (auto& [liste, gitter] : listen()) {
    gitter->setRows(3);
    for (int r = 1; r <= 2; ++r) gitter->setTextMatrix(r, liste.namensspalte, QStringLiteral("Zeile %1").arg(r));
    aufträge.clear();
    drucken(liste.code, liste.routine, 2);
    ASSERT_EQ(aufträge.size(), 2u) << liste.name;
    for (const auto& a : aufträge) {
      EXPECT_EQ(a->seiten, 1) << liste.name;
      EXPECT_TRUE(a->beendet) << liste.name;
      EXPECT_NE(a->suche(QStringLiteral("Zeile 2")), nullptr) << liste.name;
    }
  }
}

}  // namespace
