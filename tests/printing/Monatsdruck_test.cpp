#include "printing/Monatsdruck.h"

#include "common/Druckhelfer.h"

namespace {

class Monatsdruck : public DruckTest {
 protected:
  Aufzeichnung& drucken(int exemplare = 1) {
    gDruckauftrag = QStringLiteral("ME");
    gDrucker = gDruckersystem.ziel(QStringLiteral("Laser"), QString());
    EXPECT_TRUE(Monatsübersicht_drucken(exemplare));
    EXPECT_EQ(aufträge.size(), static_cast<size_t>(exemplare));
    return *aufträge.back();
  }
  static double letzteZeile(const Aufzeichnung& a, const QString& name) {
    const auto* e = a.suche(name);
    return e ? e->y : -1;
  }
};

TEST_F(Monatsdruck, SeitenMitWiederholtemKopfUndSeitenzahlen) {
  monat(60);
  Aufzeichnung& a = drucken();
  EXPECT_EQ(a.seiten, 3);
  EXPECT_TRUE(a.beendet);
  for (int s = 1; s <= 3; ++s) {
    EXPECT_NE(a.suche(QStringLiteral("März 2026"), s), nullptr) << s;
    EXPECT_NE(a.suche(QStringLiteral("Seite %1").arg(s), s), nullptr) << s;
    EXPECT_NE(a.suche(QStringLiteral("Velkora"), s), nullptr) << s;
    EXPECT_NE(a.suche(QStringLiteral("31"), s), nullptr) << s;
    EXPECT_NE(a.suche(QStringLiteral("Mo"), s), nullptr) << s;
  }
  // Every row once, in order, none below the page limit.
  double vorher = 0;
  int seite = 1;
  for (int r = 1; r <= 60; ++r) {
    const auto* e = a.suche(QStringLiteral("Mitarbeiter %1").arg(r));
    ASSERT_NE(e, nullptr) << r;
    if (e->seite == seite) {
      EXPECT_GT(e->y, vorher);
    }
    seite = e->seite;
    vorher = e->y;
    EXPECT_LE(e->y, 18.25 + 0.6);
  }
  EXPECT_FALSE(quelle.gitter.Redraw() == false);
}

TEST_F(Monatsdruck, KeineZeilenDruckenNichts) {
  monat(0);
  Aufzeichnung& a = drucken();
  EXPECT_EQ(a.seiten, 0);
  EXPECT_TRUE(a.einträge.empty());
}

TEST_F(Monatsdruck, FarbenDerZellenUndHeutigeLeereZelle) {
  monat(2);
  Raster& g = quelle.gitter;
  g.setTextMatrix(1, 5, QStringLiteral("U"));
  g.setCellBackColor(1, 5, 0x00AA00);
  g.setCellForeColor(1, 5, 0x0000FF);
  g.setCellBackColor(1, 10, gGrundfarben[8]);  // today, empty, in the current-row colour
  g.setCellBackColor(2, 10, gGrundfarben[8]);
  g.setTextMatrix(2, 10, QStringLiteral("K"));
  Aufzeichnung& a = drucken();
  const auto kastenBei = [&](double x, double y) -> Farbwert {
    Farbwert f = -1;
    for (const auto& e : a.einträge)
      if (e.art == Aufzeichnung::Kasten && std::abs(e.x - x - 0.03) < 1e-6 && std::abs(e.y - y - 0.03) < 1e-6)
        f = e.farbe;
    return f;
  };
  const auto* u = a.suche(QStringLiteral("U"));
  ASSERT_NE(u, nullptr);
  EXPECT_EQ(u->farbe, 0x0000FF);
  EXPECT_TRUE(u->transparent);
  EXPECT_EQ(kastenBei(7.16 + 0.63 * 5, u->y - 0.1), 0x00AA00);
  EXPECT_EQ(kastenBei(7.16 + 0.63 * 10, u->y - 0.1), gGrundfarben[1]);  // today's empty cell
  EXPECT_EQ(kastenBei(7.16 + 0.63 * 3, u->y - 0.1), gGrundfarben[1]);   // no colour of its own
  const auto* k = a.suche(QStringLiteral("K"));
  ASSERT_NE(k, nullptr);
  EXPECT_EQ(kastenBei(7.16 + 0.63 * 10, k->y - 0.1), gGrundfarben[8]);  // today's cell with an entry
}

TEST_F(Monatsdruck, TagessummenBeginnenEineNeueSeite) {
  gBenutzerwerte[25] = 1;
  quelle.summen.setRows(7);
  for (int i = 1; i <= 6; ++i) quelle.summen.setTextMatrix(i, 0, QStringLiteral("Summe %1").arg(i));
  quelle.summen.setRowHeight(3, 0);  // hidden
  // Rows until the last ends at about 16 cm.
  monat(1);
  Aufzeichnung& probe = drucken();
  const double erste = letzteZeile(probe, QStringLiteral("Mitarbeiter 1"));
  const double schritt = 0.15 + 0.45;
  const int zeilen = 1 + static_cast<int>((16.0 - schritt - erste) / schritt) + 1;
  aufträge.clear();
  monat(zeilen);
  Aufzeichnung& a = drucken();
  const auto* letzte = a.suche(QStringLiteral("Mitarbeiter %1").arg(zeilen));
  ASSERT_NE(letzte, nullptr);
  EXPECT_EQ(letzte->seite, 1);
  EXPECT_GE(letzte->y + schritt, 18.25 - 0.55 * 5);
  EXPECT_EQ(a.seiten, 2);
  EXPECT_EQ(a.suche(QStringLiteral("Summe 3")), nullptr);
  for (int i : {1, 2, 4, 5, 6}) EXPECT_EQ(a.suche(QStringLiteral("Summe %1").arg(i))->seite, 2) << i;
  EXPECT_NE(a.suche(QStringLiteral("Seite 2"), 2), nullptr);
  EXPECT_NE(a.suche(QStringLiteral("März 2026"), 2), nullptr);
  // Switched off for printing: no sums.
  aufträge.clear();
  gBenutzerwerte[30] = 0;
  EXPECT_EQ(drucken().suche(QStringLiteral("Summe 1")), nullptr);
}

TEST_F(Monatsdruck, DreizeiligeLegendeGehtAufEineSeiteOhneTageskopf) {
  gBenutzerwerte[24] = 1;
  knöpfe(16);  // 17 with the erase button: three legend lines
  monat(1);
  Aufzeichnung& probe = drucken();
  const double erste = letzteZeile(probe, QStringLiteral("Mitarbeiter 1"));
  const double schritt = 0.6;
  const int zeilen = 1 + static_cast<int>((17.0 - erste) / schritt);
  aufträge.clear();
  monat(zeilen);
  Aufzeichnung& a = drucken();
  ASSERT_EQ(a.seiten, 2);
  EXPECT_GT(a.suche(QStringLiteral("Mitarbeiter %1").arg(zeilen))->y, 16.4);
  EXPECT_EQ(a.suche(QStringLiteral("Grund 1"))->seite, 2);
  EXPECT_NE(a.suche(QStringLiteral("Velkora"), 2), nullptr);
  EXPECT_EQ(a.suche(QStringLiteral("März 2026"), 2), nullptr);
  EXPECT_NE(a.suche(QStringLiteral("Seite 2"), 2), nullptr);
  // A short month keeps the legend on its page.
  aufträge.clear();
  monat(3);
  EXPECT_EQ(drucken().suche(QStringLiteral("Grund 16"))->seite, 1);
}

TEST_F(Monatsdruck, LetzterTagMontagHatBandOhneText) {
  // August 2026 ends on a Monday (calendar week 36 starts on the 31st).
  gMonatsschlüssel = QStringLiteral("2608");
  quelle.monat = 7;
  monat(1);
  for (int d = 1; d <= 31; ++d) quelle.wochen.setTextMatrix(0, d, QString::number(QDate(2026, 8, d).weekNumber()));
  Aufzeichnung& a = drucken();
  EXPECT_EQ(a.suche(QStringLiteral("36")), nullptr);
  EXPECT_NE(a.suche(QStringLiteral("35")), nullptr);
  int bänderAm31 = 0;
  for (const auto& e : a.einträge)
    if (e.art == Aufzeichnung::Kasten && std::abs(e.x - (7.16 + 0.63 * 31 + 0.03)) < 1e-6 &&
        e.farbe == gGrundfarben[5] && std::abs(e.h - 0.53) < 1e-6)
      ++bänderAm31;
  EXPECT_EQ(bänderAm31, 1);
  // A 31-day month, no day column beyond.
  EXPECT_NE(a.suche(QStringLiteral("31")), nullptr);
}

TEST_F(Monatsdruck, ZweiExemplareZweiGleicheAuftraege) {
  monat(3);
  drucken(2);
  ASSERT_EQ(aufträge.size(), 2u);
  ASSERT_EQ(aufträge[0]->einträge.size(), aufträge[1]->einträge.size());
  for (size_t i = 0; i < aufträge[0]->einträge.size(); ++i)
    EXPECT_EQ(aufträge[0]->einträge[i].text, aufträge[1]->einträge[i].text);
}

}  // namespace
