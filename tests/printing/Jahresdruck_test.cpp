#include "printing/Jahresdruck.h"

#include <QLabel>
#include <QLineEdit>

#include "printing/Ansichtsquellen.h"
#include "printing/frmDrucken.h"

namespace {

class Jahresdruck : public AnsichtsdruckTest {
 protected:
  void SetUp() override {
    AnsichtsdruckTest::SetUp();
    jahr.füllen();
    jahr.einsetzen();
    gSFUrlaub = 1;
  }
  Aufzeichnung& drucken(int exemplare = 1) {
    return AnsichtsdruckTest::drucken(QStringLiteral("JE"), Jahresübersicht_drucken, exemplare);
  }
  static double y(const Aufzeichnung& a, const QString& text) {
    const auto* e = a.suche(text);
    EXPECT_NE(e, nullptr) << text.toStdString();
    return e ? e->y : -100;
  }
  Jahresquelle_Test jahr;
};

TEST_F(Jahresdruck, LueckeHaengtAnZahlDerKnoepfeUndAmUrlaubsknopf) {
  // Button entries (the erase button counted), vacation button, and where the account
  // block and the sums heading stand below the December row.
  struct Fall {
    int einträge;
    int urlaub;
    double lücke;
  };
  for (const Fall& f : {Fall{14, 1, 0.15}, Fall{15, 1, 0}, Fall{20, 1, 0}, Fall{15, 0, 0.15}}) {
    knöpfe(f.einträge - 1);
    gSFUrlaub = f.urlaub;
    aufträge.clear();
    Aufzeichnung& a = drucken();
    const double dezember = y(a, QStringLiteral("Dezember"));
    if (f.urlaub) {
      EXPECT_NEAR(y(a, QStringLiteral("E3")) - dezember, 0.6 + 0.4 + f.lücke / 2, 1e-6) << f.einträge;
      // Four lines of the account, then the sums heading.
      EXPECT_NEAR(y(a, QStringLiteral("E29")) - y(a, QStringLiteral("E6")), 0.45 + 0.4 + f.lücke, 1e-6) << f.einträge;
    } else {
      EXPECT_EQ(a.suche(QStringLiteral("E3")), nullptr);
      EXPECT_EQ(a.suche(QStringLiteral("E7")), nullptr);
      EXPECT_NEAR(y(a, QStringLiteral("E29")) - dezember, 0.6 + 0.55, 1e-6);
    }
    EXPECT_NEAR(y(a, QStringLiteral("E54")) - y(a, QStringLiteral("E30")), 0.65 + f.lücke, 1e-6) << f.einträge;
    EXPECT_EQ(a.seiten, 1);
  }
}

TEST_F(Jahresdruck, KontoblockOhneSonderurlaub) {
  Aufzeichnung& a = drucken();
  const auto* kopf = a.suche(QStringLiteral("E3"));
  ASSERT_NE(kopf, nullptr);
  EXPECT_TRUE(kopf->schrift.fett && kopf->schrift.kursiv);
  EXPECT_NEAR(kopf->x, 3.3, 1e-6);
  // Element, x of its left edge or (right-aligned) of its right edge, line below E4.
  struct Ort {
    int element;
    double x;
    bool rechts;
    int zeile;
  };
  const double zeile2 = y(a, QStringLiteral("E4"));
  EXPECT_NEAR(zeile2 - kopf->y, 0.45 + 0.2, 1e-6);
  for (const Ort& o : {Ort{4, 3.3, false, 0}, Ort{7, 9.7, true, 0}, Ort{10, 11.6, false, 0}, Ort{12, 18.0, true, 0},
                       Ort{14, 19.9, false, 0}, Ort{16, 26.3, true, 0}, Ort{5, 3.3, false, 1}, Ort{17, 26.3, true, 1},
                       Ort{6, 3.3, false, 2}, Ort{9, 9.7, true, 2}}) {
    const auto* e = a.suche(QStringLiteral("E%1").arg(o.element));
    ASSERT_NE(e, nullptr) << o.element;
    EXPECT_NEAR(o.rechts ? e->x + e->b : e->x, o.x, 1e-6) << o.element;
    EXPECT_NEAR(e->y, zeile2 + 0.45 * o.zeile, 1e-6) << o.element;
    EXPECT_FALSE(e->schrift.fett) << o.element;
  }
  for (int e = 18; e <= 28; ++e) EXPECT_EQ(a.suche(QStringLiteral("E%1").arg(e)), nullptr) << e;
}

TEST_F(Jahresdruck, KontoblockMitSonderurlaub) {
  jahr.sonderurlaub = true;
  Aufzeichnung& a = drucken();
  const auto* kopf = a.suche(QStringLiteral("E3"));
  const auto* sonder = a.suche(QStringLiteral("E18"));
  ASSERT_TRUE(kopf && sonder);
  EXPECT_NEAR(sonder->x, 16.6, 1e-6);
  EXPECT_NEAR(sonder->y, kopf->y, 1e-6);
  EXPECT_TRUE(sonder->schrift.fett && sonder->schrift.kursiv);
  struct Ort {
    int element;
    double x;
    bool rechts;
    int zeile;
  };
  const double zeile2 = kopf->y + 0.45 + 0.2;
  for (const Ort& o :
       {Ort{4, 3.3, false, 0}, Ort{7, 8.8, true, 0}, Ort{10, 9.6, false, 0}, Ort{12, 15.4, true, 0},
        Ort{19, 16.6, false, 0}, Ort{20, 19.7, true, 0}, Ort{21, 20.5, false, 0}, Ort{23, 26.3, true, 0},
        Ort{22, 20.5, false, 1}, Ort{24, 26.3, true, 1}, Ort{14, 9.6, false, 2}, Ort{27, 26.3, true, 2},
        Ort{15, 9.6, false, 3}, Ort{17, 15.4, true, 3}, Ort{26, 20.5, false, 3}, Ort{28, 26.3, true, 3}}) {
    const auto* e = a.suche(QStringLiteral("E%1").arg(o.element));
    ASSERT_NE(e, nullptr) << o.element;
    EXPECT_NEAR(o.rechts ? e->x + e->b : e->x, o.x, 1e-6) << o.element;
    EXPECT_NEAR(e->y, zeile2 + 0.45 * o.zeile, 1e-6) << o.element;
  }
  // After the fifth line the sums heading moves up by 0.4 again.
  EXPECT_NEAR(y(a, QStringLiteral("E29")) - y(a, QStringLiteral("E28")), 0.45 - 0.4 + 0.4 + 0.15, 1e-6);
}

TEST_F(Jahresdruck, KopfzeileInFarbe5UndZellenOhneFarbeInFarbe1) {
  Raster& g = jahr.gitter;
  g.setCellBackColor(0, 5, 0x123456);  // whatever the heading cell holds
  g.setTextMatrix(2, 5, QStringLiteral("U"));
  g.setCellBackColor(2, 5, 0x00AA00);
  g.setCellForeColor(2, 5, 0x0000FF);
  g.setCellBackColor(3, 0, 0x777777);
  Aufzeichnung& a = drucken();
  const double kopf = y(a, QStringLiteral("Monat"));
  const auto tag = [](int d) { return 6.16 + 0.63 * d; };
  EXPECT_EQ(kastenBei(a, 3.3, kopf - 0.1), gGrundfarben[5]);
  EXPECT_EQ(kastenBei(a, tag(5), kopf - 0.1), gGrundfarben[5]);
  const auto* u = a.suche(QStringLiteral("U"));
  ASSERT_NE(u, nullptr);
  EXPECT_EQ(u->farbe, 0x0000FF);
  EXPECT_NEAR(u->x + u->b / 2, 6.5 + 0.63 * 5, 1e-6);
  EXPECT_EQ(kastenBei(a, tag(5), u->y - 0.1), 0x00AA00);
  EXPECT_EQ(kastenBei(a, tag(6), u->y - 0.1), gGrundfarben[1]);
  EXPECT_EQ(kastenBei(a, 3.3, y(a, QStringLiteral("März")) - 0.1), 0x777777);
  // The name, the title and a footer without page number.
  const auto* name = a.suche(QStringLiteral("Vera Muster"));
  ASSERT_NE(name, nullptr);
  EXPECT_TRUE(name->schrift.fett && name->schrift.kursiv);
  EXPECT_NE(a.suche(QStringLiteral("Jahresübersicht 2026")), nullptr);
  EXPECT_EQ(a.suche(QStringLiteral("Seite 1")), nullptr);
  EXPECT_TRUE(a.quer);
}

TEST_F(Jahresdruck, LoeschknopfOhneKastenUndSumme) {
  knöpfe(9);
  Aufzeichnung& a = drucken();
  const double summen = y(a, QStringLiteral("E30"));
  for (int i = 1; i <= 9; ++i) {
    const auto* s = a.suche(QStringLiteral("E%1").arg(29 + i));
    ASSERT_NE(s, nullptr) << i;
    EXPECT_NEAR(s->x + s->b / 2, 3.64 + 0.974 * (i - 1), 1e-6) << i;
    EXPECT_EQ(kastenBei(a, 3.3 + 0.974 * (i - 1), summen - 0.45 - 0.3 - 0.1), gSFHintergrundfarben[i]) << i;
  }
  EXPECT_EQ(a.suche(QStringLiteral("E39")), nullptr);
  EXPECT_EQ(kastenBei(a, 3.3 + 0.974 * 9, summen - 0.45 - 0.3 - 0.1), -1);
  // The legend lists the nine codes and then the window's two last captions.
  EXPECT_NE(a.suche(QStringLiteral("Grund 9")), nullptr);
  EXPECT_EQ(a.suche(QStringLiteral("Löschen")), nullptr);
  EXPECT_NE(a.suche(QStringLiteral("Wochenende / Frei")), nullptr);
  EXPECT_NE(a.suche(QStringLiteral("Feiertag")), nullptr);
}

TEST_F(Jahresdruck, NullExemplareDruckenNichts) {
  gDruckauftrag = QStringLiteral("JE");
  EXPECT_TRUE(Jahresübersicht_drucken(0));
  EXPECT_TRUE(aufträge.empty());
}

TEST_F(Jahresdruck, AlleMitarbeiterJeEineSeiteInListenfolgeUndAbbrechen) {
  jahr.namen = {QStringLiteral("Anna"), QStringLiteral("Bernd"), QStringLiteral("Carla")};
  gDruckauftrag = QStringLiteral("JG");
  {
    frmDrucken d;
    d.Form_Load();
    EXPECT_TRUE(d.txtAnzahl->isHidden());
    EXPECT_EQ(d.lblBeschriftung[2]->text(), QStringLiteral("Jahresübersicht 2026 für alle\n\nMitarbeiter drucken?"));
    QString fortschritt;
    jahr.beimWählen = [&](int) {
      if (jahr.gewählt.size() == 3) fortschritt = d.lblBeschriftung[2]->text();
    };
    EXPECT_TRUE(d.Drucken());
    EXPECT_EQ(fortschritt, QStringLiteral("Jahresübersicht 2026 wird gedruckt für\n\nBernd ..."));
  }
  ASSERT_EQ(aufträge.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(aufträge[i]->seiten, 1);
    EXPECT_TRUE(aufträge[i]->beendet);
    EXPECT_NE(aufträge[i]->suche(jahr.namen[i]), nullptr) << i;
  }
  EXPECT_EQ(jahr.gewählt, (std::vector<int>{0, 1, 2, 0}));

  // "&Abbrechen" while the second is printed: two pages, the window keeps the second.
  aufträge.clear();
  jahr.gewählt.clear();
  frmDrucken e;
  e.Form_Load();
  jahr.beimWählen = [&](int i) {
    if (i == 1) e.cmdAuswahl_Click(2);
  };
  EXPECT_FALSE(e.Drucken());
  EXPECT_EQ(aufträge.size(), 2u);
  EXPECT_EQ(jahr.gewählt, (std::vector<int>{0, 1}));
  EXPECT_TRUE(e.mEntladen);
}

}  // namespace
