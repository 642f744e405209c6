#include "planner/Hauptfensterlayout.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

Layouteingabe Eingabe(int breite, int höhe, int knöpfe, int sf = 1800) {
  Layouteingabe e;
  e.innenBreite = breite;
  e.innenHöhe = höhe;
  e.bildschirmBreite = 28800;
  e.knöpfe = knöpfe;
  e.sfBreite = sf;
  return e;
}

// Every button and "Beenden" inside the window and clear of each other.
void PrüfeFreiUndInnen(const Layoutergebnis& l) {
  const QRect fenster(0, 0, l.innenBreite, l.innenHöhe);
  std::vector<QRect> alle = l.knopf;
  alle.push_back(l.beenden);
  for (size_t i = 0; i < alle.size(); ++i) {
    EXPECT_TRUE(fenster.contains(alle[i])) << "control " << i << " leaves the window";
    for (size_t j = i + 1; j < alle.size(); ++j)
      EXPECT_FALSE(alle[i].intersects(alle[j])) << "controls " << i << " and " << j << " overlap";
  }
}

TEST(Hauptfensterlayout, SechsSchaltflaechenStehenAbBreite16050RechtsDarunterUnten) {
  const Layoutergebnis breit = Hauptfenster_anordnen(Eingabe(16050, 9000, 6));
  EXPECT_TRUE(breit.breit);
  EXPECT_EQ(breit.knopfspalten, 1);
  for (const QRect& k : breit.knopf) EXPECT_EQ(k.left(), 16050 - 1800 - 255);
  EXPECT_EQ(breit.knopf[5].top(), 480 + 5 * 720);
  EXPECT_EQ(breit.raster.width(), 16050 - 1800 - 750);
  EXPECT_EQ(breit.tabellenhöhe, 9000 - 720);

  const Layoutergebnis schmal = Hauptfenster_anordnen(Eingabe(16049, 9000, 6));
  EXPECT_FALSE(schmal.breit);
  EXPECT_EQ(schmal.knopfspalten, 1);
  for (const QRect& k : schmal.knopf) EXPECT_EQ(k.top(), 9000 - 765);
  EXPECT_EQ(schmal.knopf[1].left(), 255 + 1800 + 150);
  EXPECT_EQ(schmal.raster.width(), 16049 - 480);
  PrüfeFreiUndInnen(breit);
  PrüfeFreiUndInnen(schmal);
}

TEST(Hauptfensterlayout, VieleSchaltflaechenImNiedrigenBreitenFensterStehenInZweiSpalten) {
  const Layoutergebnis l = Hauptfenster_anordnen(Eingabe(18090, 18524, 24));
  ASSERT_TRUE(l.breit);
  EXPECT_EQ(l.knopfspalten, 2);
  const int x = 18090 - 2 * (1800 + 255);
  for (int i = 0; i < 12; ++i) EXPECT_EQ(l.knopf[i].left(), x);
  for (int i = 12; i < 24; ++i) EXPECT_EQ(l.knopf[i].left(), x + 1800 + 255);
  EXPECT_EQ(l.knopf[12].top(), 480);
  EXPECT_EQ(l.raster.width(), 18090 - 2 * 1800 - 990);
  PrüfeFreiUndInnen(l);

  const Layoutergebnis dreizehn = Hauptfenster_anordnen(Eingabe(18090, 720 * 13 + 1244, 13));
  ASSERT_EQ(dreizehn.knopfspalten, 2);
  EXPECT_EQ(dreizehn.knopf[6].left(), dreizehn.knopf[0].left()) << "the first column holds the larger half";
  EXPECT_NE(dreizehn.knopf[7].left(), dreizehn.knopf[0].left());
  // One twip more and one column fits.
  EXPECT_EQ(Hauptfenster_anordnen(Eingabe(18090, 720 * 13 + 1245, 13)).knopfspalten, 1);
}

TEST(Hauptfensterlayout, SchmaleZeilenTeilenDieSchaltflaechen) {
  struct Fall {
    int n;
    std::vector<int> reihen;
  };
  for (const Fall& f : std::vector<Fall>{{0, {0}},
                                         {6, {6}},
                                         {7, {3, 4}},
                                         {9, {4, 5}},
                                         {11, {5, 6}},
                                         {12, {6, 6}},
                                         {13, {7, 6}},
                                         {17, {6, 6, 5}},
                                         {24, {6, 6, 6, 6}},
                                         {25, {6, 6, 6, 7}}}) {
    const Layoutergebnis l = Hauptfenster_anordnen(Eingabe(14000, 9000, f.n));
    ASSERT_FALSE(l.breit) << f.n;
    EXPECT_EQ(l.knopfspalten, static_cast<int>(f.reihen.size())) << f.n;
    std::vector<int> gezählt(f.reihen.size(), 0);
    const int ersteOben = l.knopf.empty() ? 0 : l.knopf[0].top();
    for (int i = 0; i < f.n && i < 24; ++i) ++gezählt[(l.knopf[i].top() - ersteOben) / 630];
    if (f.n == 25) ++gezählt.back();  // the erase button stands above "Beenden"
    EXPECT_EQ(gezählt, f.reihen) << f.n;
    PrüfeFreiUndInnen(l);
  }
}

TEST(Hauptfensterlayout, LoeschschaltflaecheVonFuenfundzwanzigStehtUeberBeenden) {
  const Layoutergebnis l = Hauptfenster_anordnen(Eingabe(14000, 9000, 25));
  EXPECT_EQ(l.knopf[24].left(), l.beenden.left());
  EXPECT_EQ(l.knopf[24].top(), 9000 - 1395);
  EXPECT_EQ(l.beenden.top(), 9000 - 765);
}

TEST(Hauptfensterlayout, JedesSchmaleMinimumLaesstDemRaster1475Hoehe) {
  for (const int h : {0, 600}) {
    for (const auto& [n, höhe] : std::vector<std::pair<int, int>>{{3, 2955}, {7, 3555}, {14, 4185}, {19, 4815}}) {
      Layouteingabe e = Eingabe(14000, 1000, n);
      e.tagessummenHöhe = h;
      const Layoutergebnis l = Hauptfenster_anordnen(e);
      EXPECT_EQ(l.mindestHöhe, höhe + h) << n;
      EXPECT_EQ(l.innenHöhe, höhe + h) << "the window springs back to its minimum";
      EXPECT_EQ(l.tabellenhöhe, 1475 + h) << n;
    }
  }
}

TEST(Hauptfensterlayout, KleinesFensterSpringtZurueckMinimiertesBleibtWieEsIst) {
  const Layoutergebnis l = Hauptfenster_anordnen(Eingabe(9000, 1500, 0));
  EXPECT_EQ(l.innenBreite, 13980);
  EXPECT_EQ(l.innenHöhe, 2955);
  EXPECT_EQ(l.mindestBreite, 13980);
  Layouteingabe max = Eingabe(9000, 1500, 0);
  max.normalZustand = false;
  EXPECT_EQ(Hauptfenster_anordnen(max).innenBreite, 9000);
}

TEST(Hauptfensterlayout, BreiteSchaltflaechenVerbreiternDasFensterOderFallenAufSchmalemBildschirmZurueck) {
  // 12 buttons of 2370 twips: two rows of six need 255 + 5 x 2520 + 2 x 2370 + 405.
  const int nötig = 255 + 5 * (2370 + 150) + 2 * 2370 + 405;
  Layoutergebnis l = Hauptfenster_anordnen(Eingabe(14000, 9000, 12, 2370));
  EXPECT_EQ(l.sfBreite, 2370);
  EXPECT_EQ(l.mindestBreite, nötig);
  EXPECT_EQ(l.innenBreite, nötig);
  PrüfeFreiUndInnen(l);

  Layouteingabe schmal = Eingabe(14000, 9000, 12, 2370);
  schmal.bildschirmBreite = 15000;
  l = Hauptfenster_anordnen(schmal);
  EXPECT_EQ(l.sfBreite, 1800);
  EXPECT_EQ(l.mindestBreite, 13980);
  PrüfeFreiUndInnen(l);
}

TEST(Hauptfensterlayout, KalenderwochenSchiebenDasRasterNachUnten) {
  Layouteingabe e = Eingabe(16350, 9435, 0);
  const Layoutergebnis ohne = Hauptfenster_anordnen(e);
  e.kalenderwochen = true;
  const Layoutergebnis mit = Hauptfenster_anordnen(e);
  EXPECT_EQ(ohne.raster.top(), 465);
  EXPECT_EQ(ohne.kombiOben, 600);
  EXPECT_TRUE(ohne.kalenderwochen.isEmpty());
  EXPECT_EQ(mit.raster.top(), 765);
  EXPECT_EQ(mit.kombiOben, 900);
  EXPECT_EQ(mit.tabellenhöhe, ohne.tabellenhöhe - 300);
  EXPECT_EQ(mit.kalenderwochen.width(), mit.raster.width());
}

TEST(Hauptfensterlayout, SpaltenTeilenSichDieRasterbreiteUndKoepfeBrechenBeiBreiteUm) {
  const Layoutergebnis l = Hauptfenster_anordnen(Eingabe(20000, 9435, 0));
  EXPECT_EQ(l.raster.width(), 20000 - 1800 - 750);
  EXPECT_EQ(l.namensspalte, static_cast<int>(std::lround(l.raster.width() / 4.5)));
  EXPECT_EQ(l.tagesspalte, (l.raster.width() - l.namensspalte) / 31);
  EXPECT_LE(l.namensspalte + 31 * l.tagesspalte, l.raster.width());
  EXPECT_TRUE(l.zweizeiligerKopf);
  EXPECT_FALSE(Hauptfenster_anordnen(Eingabe(16350, 9435, 0)).zweizeiligerKopf);
}

TEST(Hauptfensterlayout, SkalierungIstEinsWoEinPixelGanzeTwipsIst) {
  EXPECT_DOUBLE_EQ(Skalierung_aus_DPI(96), 1.0);
  EXPECT_DOUBLE_EQ(Skalierung_aus_DPI(120), 1.0);
  EXPECT_DOUBLE_EQ(Skalierung_aus_DPI(144), 1.0);
  EXPECT_NEAR(Skalierung_aus_DPI(110), 2.0 - 13.0 / (1440.0 / 110), 1e-12);
  Layouteingabe e = Eingabe(16049, 9000, 0);
  e.skalierung = Skalierung_aus_DPI(110);
  EXPECT_EQ(Hauptfenster_anordnen(e).raster.width(), static_cast<int>(std::lround((16049 - 480) * e.skalierung)));
}

TEST(Tabellenhoehen, ZeilenFuellenDenRaumInGanzenPixelnBleibenAberHoechstensQuadratisch) {
  Tabelleneingabe e;
  e.tabellenhöhe = 6000;
  e.zeilen = 11;  // header + 10 rows
  e.tagesspalte = 450;
  // (6000 - 540) / 10 = 546, capped at 450 - 15 = 435.
  EXPECT_EQ(Tabellenhöhen_berechnen(e).zeilenhöhe, 435);
  e.tagesspalte = 900;
  e.tabellenhöhe = 6200;
  const Tabellenergebnis t = Tabellenhöhen_berechnen(e);
  EXPECT_EQ(t.zeilenhöhe, 555);  // 566 down to whole pixels
  EXPECT_EQ(t.rasterhöhe, 6200);
  // Filling the room would leave less than 75 twips below the last row: one pixel less.
  e.tabellenhöhe = 540 + 10 * 555 + 30;
  EXPECT_EQ(Tabellenhöhen_berechnen(e).zeilenhöhe, 540);
  // Many employees: the user's row height holds and the grid scrolls.
  e.zeilen = 200;
  EXPECT_EQ(Tabellenhöhen_berechnen(e).zeilenhöhe, 300);
  // A reset keeps the user's height.
  e.zeilen = 3;
  e.zurücksetzen = true;
  EXPECT_EQ(Tabellenhöhen_berechnen(e).zeilenhöhe, 300);
}

TEST(Tabellenhoehen, TagessummenStehenUnterDerLetztenZeileImRaum) {
  Tabelleneingabe e;
  e.tabellenhöhe = 6000;
  e.zeilen = 4;
  e.summenzeilen = 2;
  e.tagesspalte = 360;
  const Tabellenergebnis t = Tabellenhöhen_berechnen(e);
  EXPECT_EQ(t.zeilenhöhe, 345);
  EXPECT_EQ(t.summenhöhe, 2 * 345 + 30);
  EXPECT_EQ(t.summenOben, t.rasterhöhe);
  EXPECT_LE(t.rasterhöhe + t.summenhöhe, 6000);
  e.zeilen = 100;  // more rows than room: the sums keep their place at the bottom
  const Tabellenergebnis voll = Tabellenhöhen_berechnen(e);
  EXPECT_EQ(voll.rasterhöhe + voll.summenhöhe, 6000);
}

// With day sums, rows recomputed to fill the room leave every row and both grids'
// frames inside it: no row is cut and the grid needs no scroll bar.
TEST(Tabellenhoehen, MitTagessummenPassenAlleZeilenSamtRahmenInDenRaum) {
  for (const int rahmen : {30, 60})
    for (const int höhe : {3000, 4815, 6000, 9780})
      for (const int zeilen : {2, 7, 8, 12})
        for (const int summen : {1, 3}) {
          Tabelleneingabe e;
          e.tabellenhöhe = höhe;
          e.zeilen = zeilen;
          e.summenzeilen = summen;
          e.tagesspalte = 2000;
          e.zeilenhöhe = 15;  // the user's height never holds the rows back here
          e.rahmen = rahmen;
          const Tabellenergebnis t = Tabellenhöhen_berechnen(e);
          const std::string fall = std::to_string(rahmen) + "/" + std::to_string(höhe) + "/" + std::to_string(zeilen) +
                                   "/" + std::to_string(summen);
          EXPECT_EQ(t.rasterhöhe, e.kopfhöhe + (zeilen - 1) * t.zeilenhöhe + rahmen) << fall;
          EXPECT_EQ(t.summenhöhe, summen * t.zeilenhöhe + rahmen) << fall;
          EXPECT_LE(t.rasterhöhe + t.summenhöhe, höhe) << fall;
        }
}

}  // namespace
