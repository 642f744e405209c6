#include "platform/Raster.h"

#include <gtest/gtest.h>

#include <QTest>

#include "platform/Bildschirm.h"
#include "platform/Laufzeitfehler.h"

namespace {

class RasterTest : public ::testing::Test {
 protected:
  void SetUp() override { bildschirm::setzeDpi(96); }
  void TearDown() override { bildschirm::setzeDpi(0); }
  Raster g{10, 33};
};

int fehlernummer(const std::function<void()>& f) {
  try {
    f();
  } catch (const Laufzeitfehler& e) {
    return e.nummer();
  }
  return 0;
}

TEST_F(RasterTest, RowOderColSetzenFaltetDieMarkierungSelEndAlleinNicht) {
  g.setRow(2);
  g.setCol(3);
  g.setRowSel(5);
  g.setColSel(7);
  EXPECT_EQ(g.Row(), 2);
  EXPECT_EQ(g.Col(), 3);
  EXPECT_EQ(g.RowSel(), 5);
  EXPECT_EQ(g.ColSel(), 7);
  g.setRow(4);
  EXPECT_EQ(g.RowSel(), 4);
  EXPECT_EQ(g.ColSel(), 7) << "Row leaves the column end alone";
  g.setCol(1);
  EXPECT_EQ(g.ColSel(), 1);
  // The marking read in normalised form.
  g.setRowSel(2);
  EXPECT_EQ(g.SelObenZeile(), 2);
  EXPECT_EQ(g.SelUntenZeile(), 4);
}

TEST_F(RasterTest, KeineEigeneFarbeUnterscheidetSichVonSchwarz) {
  g.setHighLight(0);
  g.setCellBackColor(1, 1, 0x000000);
  ASSERT_TRUE(g.CellBackColor(1, 1).has_value());
  EXPECT_EQ(*g.CellBackColor(1, 1), 0);
  EXPECT_FALSE(g.CellBackColor(1, 2).has_value());
  g.setBackColor(0x00FF00);
  EXPECT_EQ(g.Hintergrund(1, 2), 0x00FF00) << "without an own colour the grid's colour shows";
  EXPECT_EQ(g.Hintergrund(1, 1), 0) << "black is a colour";
  g.setCellBackColor(1, 1, std::nullopt);
  EXPECT_FALSE(g.CellBackColor(1, 1).has_value());
  EXPECT_EQ(g.Hintergrund(0, 5), g.BackColorFixed());
}

TEST_F(RasterTest, ZelleAnsprechenVerschiebtDieMarkierungNicht) {
  g.setRow(3);
  g.setCol(4);
  g.setColSel(6);
  int wechsel = 0;
  g.beiRowColChange = [&] { ++wechsel; };
  g.setCellBackColor(7, 9, 0x123456);
  g.setCellForeColor(8, 2, 0x0000FF);
  g.setCellFontBold(1, 1, true);
  g.setTextMatrix(9, 32, QStringLiteral("meier"));
  EXPECT_EQ(g.Row(), 3);
  EXPECT_EQ(g.Col(), 4);
  EXPECT_EQ(g.ColSel(), 6);
  EXPECT_EQ(wechsel, 0);
  EXPECT_TRUE(g.CellFontBold(1, 1));
  EXPECT_EQ(g.TextMatrix(9, 32), u"meier");
}

TEST_F(RasterTest, HighLightBestimmtObDieMarkierungSichtbarIst) {
  g.setRow(2);
  g.setCol(2);
  g.setColSel(4);
  g.setCellBackColor(2, 3, 0x0000FF);
  g.setHighLight(1);
  EXPECT_TRUE(g.istMarkiert(2, 3));
  EXPECT_EQ(g.Hintergrund(2, 3), g.BackColorSel());
  EXPECT_FALSE(g.istMarkiert(2, 5));
  EXPECT_FALSE(g.istMarkiert(0, 3)) << "fixed cells never show the marking";
  g.setHighLight(0);
  EXPECT_FALSE(g.istMarkiert(2, 3));
  EXPECT_EQ(g.Hintergrund(2, 3), 0x0000FF);
}

TEST_F(RasterTest, RedrawAusHaeltZurueckBisEingeschaltet) {
  int gemeldet = 0;
  g.beobachten([&] { ++gemeldet; });
  g.setRedraw(false);
  g.setTextMatrix(1, 1, QStringLiteral("U"));
  g.setCellBackColor(1, 1, 0xFF);
  g.setRow(1);
  EXPECT_EQ(gemeldet, 0);
  g.setRedraw(true);
  EXPECT_EQ(gemeldet, 1);
  g.setTextMatrix(1, 2, QStringLiteral("K"));
  EXPECT_EQ(gemeldet, 2);
}

TEST_F(RasterTest, ZeilenhoehenUndSpaltenbreiten) {
  EXPECT_EQ(g.RowHeight(1), Raster::kStandardZeilenhöhe);
  g.setRowHeightMin(300);
  g.setRowHeight(0, 540);
  g.setRowHeight(2, 0);
  EXPECT_EQ(g.RowHeight(1), 300) << "the minimum lifts rows";
  EXPECT_EQ(g.RowHeight(0), 540);
  EXPECT_EQ(g.RowHeight(2), 0) << "a hidden row stays hidden";
  g.setColWidth(32, 0);
  EXPECT_EQ(g.ColWidth(32), 0);
  EXPECT_EQ(g.spaltenPixel(32), 0);
  EXPECT_EQ(g.zeilenPixel(1), 20);  // 300 twips at 96 dpi
}

TEST_F(RasterTest, UngueltigeZellenLoesenDieRasterfehlerAus) {
  EXPECT_EQ(fehlernummer([&] { g.setRow(10); }), Raster::kUngültigeZeile);
  EXPECT_EQ(fehlernummer([&] { g.TextMatrix(-1, 0); }), Raster::kUngültigeZeile);
  EXPECT_EQ(fehlernummer([&] { g.setCellBackColor(1, 33, 0); }), Raster::kUngültigeSpalte);
  EXPECT_EQ(fehlernummer([&] { g.setRows(3'000'000); }), Raster::kKapazitätFehler);
  EXPECT_EQ(g.Rows(), 10) << "a refused size leaves the grid as it was";
}

TEST_F(RasterTest, SchrumpfenZiehtDieMarkierungHineinUndWachsenBehaeltZellen) {
  g.setTextMatrix(2, 5, QStringLiteral("X"));
  g.setCellBackColor(2, 5, 0xABCDEF);
  g.setRow(8);
  g.setCol(30);
  g.setRowSel(9);
  g.setRows(5);
  g.setCols(20);
  EXPECT_EQ(g.Row(), 4);
  EXPECT_EQ(g.RowSel(), 4);
  EXPECT_EQ(g.Col(), 19);
  g.setRows(12);
  EXPECT_EQ(g.TextMatrix(2, 5), u"X");
  EXPECT_EQ(g.CellBackColor(2, 5), 0xABCDEF);
  EXPECT_TRUE(g.TextMatrix(11, 5).isEmpty());
}

TEST_F(RasterTest, TopRowBleibtInnerhalbDessenWasDieAnsichtFuellt) {
  // 20 px per row, view 100 px high: the fixed row and four more rows.
  g.setRowHeightMin(300);
  g.setzeSichtfeld(500, 100);
  EXPECT_EQ(g.größteTopRow(), 6);
  int gescrollt = 0;
  g.beiScroll = [&] { ++gescrollt; };
  g.setTopRow(99);
  EXPECT_EQ(g.TopRow(), 6);
  g.setTopRow(0);
  EXPECT_EQ(g.TopRow(), 1) << "the fixed row never scrolls";
  EXPECT_EQ(gescrollt, 2);
  EXPECT_TRUE(g.RowIsVisible(4));
  EXPECT_FALSE(g.RowIsVisible(5));
  g.setTopRow(3);
  EXPECT_FALSE(g.RowIsVisible(2));
  EXPECT_TRUE(g.RowIsVisible(0));
  g.setRowHeight(4, 0);
  EXPECT_FALSE(g.RowIsVisible(4));
  EXPECT_TRUE(g.RowIsVisible(7)) << "a hidden row makes room for the next";
}

TEST_F(RasterTest, VerbundeneZeilenVerbindenNurGleicheNachbarn) {
  for (int c = 1; c <= 7; ++c) g.setTextMatrix(0, c, c <= 3 ? QStringLiteral("1. KW") : QStringLiteral("2. KW"));
  g.setTextMatrix(0, 0, QStringLiteral("1. KW"));
  EXPECT_EQ(g.Verbund(0, 2), std::make_pair(2, 2)) << "no merging until switched on";
  g.setMergeCells(true);
  g.setMergeRow(0, true);
  EXPECT_EQ(g.Verbund(0, 2), std::make_pair(1, 3)) << "the fixed column stays apart";
  EXPECT_EQ(g.Verbund(0, 5), std::make_pair(4, 7));
  EXPECT_EQ(g.Verbund(1, 5), std::make_pair(5, 5)) << "only merged rows join";
}

TEST_F(RasterTest, SortierenVerschiebtGanzeZeilen) {
  Raster s(5, 3);
  const QStringList namen = {QStringLiteral("Kopf"), QStringLiteral("10"), QStringLiteral("9"), QStringLiteral("100"),
                             QStringLiteral("2,5")};
  for (int r = 0; r < 5; ++r) {
    s.setTextMatrix(r, 1, namen[r]);
    s.setCellBackColor(r, 2, r);
  }
  s.setCol(1);
  s.Sort(Raster::NumerischAufsteigend);
  EXPECT_EQ(s.TextMatrix(0, 1), u"Kopf");
  EXPECT_EQ(s.TextMatrix(1, 1), u"2,5");
  EXPECT_EQ(s.TextMatrix(2, 1), u"9");
  EXPECT_EQ(s.TextMatrix(4, 1), u"100");
  EXPECT_EQ(s.CellBackColor(2, 2), 2) << "the colours go with their row";
  s.Sort(Raster::TextAbsteigend);
  EXPECT_EQ(s.TextMatrix(1, 1), u"9");
}

TEST_F(RasterTest, ZeilenWerdenHinzugefuegtUndEntfernt) {
  Raster s(2, 3);
  s.AddItem(QStringLiteral("a\tb\tc"));
  s.AddItem(QStringLiteral("x"), 1);
  EXPECT_EQ(s.Rows(), 4);
  EXPECT_EQ(s.TextMatrix(1, 0), u"x");
  EXPECT_EQ(s.TextMatrix(3, 2), u"c");
  s.RemoveItem(1);
  s.RemoveItem(1);
  EXPECT_EQ(s.Rows(), 2);
  EXPECT_NE(fehlernummer([&] { s.RemoveItem(1); }), 0) << "the last scrolling row stays";
  s.setCellFontBold(1, 1, true);
  s.Clear();
  EXPECT_FALSE(s.CellFontBold(1, 1));
}

// Everything a cell holds, to compare two grids cell by cell.
struct Zellbild {
  QString text;
  std::optional<Farbwert> hinten, vorne;
  bool fett;
  double grösse;
  int ausrichtung;
  bool operator==(const Zellbild&) const = default;
};

Zellbild bild(const Raster& g, int r, int c) {
  return {g.TextMatrix(r, c),   g.CellBackColor(r, c), g.CellForeColor(r, c),
          g.CellFontBold(r, c), g.CellFontSize(r, c),  g.CellAlignment(r, c)};
}

void erwarteGleicheZellen(const Raster& a, const Raster& b, const std::string& fall) {
  ASSERT_EQ(a.Rows(), b.Rows()) << fall;
  ASSERT_EQ(a.Cols(), b.Cols()) << fall;
  for (int r = 0; r < a.Rows(); ++r) {
    EXPECT_EQ(a.RowHeight(r), b.RowHeight(r)) << fall << ", Zeile " << r;
    EXPECT_EQ(a.MergeRow(r), b.MergeRow(r)) << fall << ", Zeile " << r;
    for (int c = 0; c < a.Cols(); ++c)
      EXPECT_TRUE(bild(a, r, c) == bild(b, r, c)) << fall << ", Zelle " << r << "/" << c;
  }
}

// Some of everything in every cell of the grid, so that "left as it is" shows.
void vorbelegen(Raster& g) {
  for (int r = 0; r < g.Rows(); ++r) {
    g.setRowHeight(r, 300 + r);
    g.setMergeRow(r, r % 2 == 0);
    for (int c = 0; c < g.Cols(); ++c) {
      if ((r + c) % 3 != 0) g.setTextMatrix(r, c, QStringLiteral("t%1/%2").arg(r).arg(c));
      if ((r + c) % 2 == 0) g.setCellBackColor(r, c, 0x010203 * c);
      if ((r + c) % 4 == 1) g.setCellForeColor(r, c, 0x000000);
      g.setCellFontBold(r, c, c % 5 == 0);
      g.setCellFontSize(r, c, c % 7 == 0 ? 9.75 : 0);
      g.setCellAlignment(r, c, c % 3 == 0 ? Raster::RechtsMitte : -1);
    }
  }
}

TEST_F(RasterTest, ZellenAufEinmalSetzenWirktWieZelleFuerZelle) {
  const QString u = QStringLiteral("U"), leer, blank = QStringLiteral(" ");
  using F = Raster::Zellfüllung;
  const F eintrag{0x000000, 0x40C040, &u}, arbeitstag{0x101010, 0x101010, nullptr};
  const F ohneFarben{std::nullopt, std::nullopt, &blank}, leererText{0x0000FF, std::nullopt, &leer};
  const F nurVorne{0x00FF00, std::nullopt, nullptr};
  struct Fall {
    const char* name;
    int zeile, ersteSpalte;
    std::vector<const F*> füllungen;
  };
  const std::vector<Fall> fälle = {
      {"Tagesspalten einer Zeile", 3, 1, {&eintrag, &arbeitstag, nullptr, &eintrag, &ohneFarben, &leererText}},
      {"ab der festen Spalte", 1, 0, {&arbeitstag, &nurVorne}},
      {"bis zur letzten Spalte", 9, 30, {&eintrag, nullptr, &ohneFarben}},
      {"nur Lücken", 5, 4, {nullptr, nullptr, nullptr}},
      {"keine Zelle", 2, 7, {}},
      {"Kopfzeile, eine Füllung mehrmals", 0, 10, {&leererText, &leererText, &eintrag, &eintrag}},
      {"ganze Zeile", 7, 0, std::vector<const F*>(33, &nurVorne)},
  };
  for (const Fall& f : fälle) {
    Raster bulk(10, 33), einzeln(10, 33);
    vorbelegen(bulk);
    vorbelegen(einzeln);
    int meldungen = 0;
    bulk.beobachten([&] { ++meldungen; });
    bulk.setzeZellen(f.zeile, f.ersteSpalte, f.füllungen);
    for (size_t i = 0; i < f.füllungen.size(); ++i) {
      const F* z = f.füllungen[i];
      if (!z) continue;
      const int c = f.ersteSpalte + static_cast<int>(i);
      einzeln.setCellForeColor(f.zeile, c, z->vorne());
      einzeln.setCellBackColor(f.zeile, c, z->hinten());
      if (z->text()) einzeln.setTextMatrix(f.zeile, c, *z->text());
    }
    erwarteGleicheZellen(bulk, einzeln, f.name);
    EXPECT_EQ(meldungen, f.füllungen.empty() ? 0 : 1) << f.name << ": one notification for the whole row";
  }
  // The fills themselves, read back in a grid.
  Raster g(2, 5);
  const std::vector<const F*> zeile = {&eintrag, &ohneFarben, &leererText, &nurVorne};
  g.setTextMatrix(1, 4, u);
  g.setzeZellen(1, 1, zeile);
  EXPECT_TRUE((bild(g, 1, 1) == Zellbild{u, 0x40C040, 0x000000, false, 0, -1}));
  EXPECT_TRUE((bild(g, 1, 2) == Zellbild{blank, std::nullopt, std::nullopt, false, 0, -1}));
  EXPECT_TRUE((bild(g, 1, 3) == Zellbild{leer, std::nullopt, 0x0000FF, false, 0, -1}));
  EXPECT_TRUE((bild(g, 1, 4) == Zellbild{u, std::nullopt, 0x00FF00, false, 0, -1})) << "the text stays";
}

TEST_F(RasterTest, ZellenAufEinmalAusserhalbAendertNichts) {
  const QString u = QStringLiteral("U");
  const Raster::Zellfüllung eintrag{0x000000, 0x40C040, &u};
  const std::vector<const Raster::Zellfüllung*> drei(3, &eintrag);
  struct Fall {
    int zeile, ersteSpalte, fehler;
  };
  for (const Fall f : {Fall{10, 1, Raster::kUngültigeZeile}, Fall{-1, 1, Raster::kUngültigeZeile},
                       Fall{4, 31, Raster::kUngültigeSpalte}, Fall{4, -1, Raster::kUngültigeSpalte}}) {
    Raster a(10, 33), b(10, 33);
    vorbelegen(a);
    vorbelegen(b);
    EXPECT_EQ(fehlernummer([&] { a.setzeZellen(f.zeile, f.ersteSpalte, drei); }), f.fehler)
        << f.zeile << "/" << f.ersteSpalte;
    erwarteGleicheZellen(a, b, "nach dem Fehler");
  }
}

TEST_F(RasterTest, GekuerzteUndWiederGewachseneZeilenSindLeerWieNeue) {
  // Shrinking and growing again, also with column counts changed in between: the rows
  // that come back are as empty as those of a new grid of the final size.
  struct Fall {
    const char* name;
    int kürzenAuf, spaltenDazwischen, wachsenAuf;
  };
  const std::vector<Fall> fälle = {
      {"auf die Kopfzeile und zurück", 1, 33, 12}, {"auf nichts und zurück", 0, 33, 12},
      {"halb und darüber hinaus", 6, 33, 20},      {"weniger Spalten dazwischen", 1, 20, 12},
      {"mehr Spalten dazwischen", 3, 40, 12},      {"zurück auf weniger als vorher", 2, 33, 5},
  };
  for (const Fall& f : fälle) {
    Raster g(12, 33);
    vorbelegen(g);
    g.setRows(f.kürzenAuf);
    g.setCols(f.spaltenDazwischen);
    g.setRows(f.wachsenAuf);
    Raster neu(f.wachsenAuf, f.spaltenDazwischen);
    // The rows kept through the shrinking keep their contents, as before.
    for (int r = 0; r < std::min(f.kürzenAuf, f.wachsenAuf); ++r) {
      neu.setRowHeight(r, g.RowHeight(r));
      neu.setMergeRow(r, g.MergeRow(r));
      for (int c = 0; c < neu.Cols(); ++c) {
        neu.setTextMatrix(r, c, g.TextMatrix(r, c));
        neu.setCellBackColor(r, c, g.CellBackColor(r, c));
        neu.setCellForeColor(r, c, g.CellForeColor(r, c));
        neu.setCellFontBold(r, c, g.CellFontBold(r, c));
        neu.setCellFontSize(r, c, g.CellFontSize(r, c));
        neu.setCellAlignment(r, c, g.CellAlignment(r, c));
      }
    }
    erwarteGleicheZellen(g, neu, f.name);
    for (int r = f.kürzenAuf; r < f.wachsenAuf; ++r) {
      EXPECT_EQ(g.RowHeight(r), Raster::kStandardZeilenhöhe) << f.name << ", Zeile " << r;
      EXPECT_TRUE(g.TextMatrix(r, 1).isEmpty()) << f.name << ", Zeile " << r;
      EXPECT_FALSE(g.CellBackColor(r, 0).has_value()) << f.name << ", Zeile " << r;
    }
  }
}

TEST_F(RasterTest, RowColChangeNurBeiEchterAenderung) {
  int wechsel = 0;
  g.beiRowColChange = [&] { ++wechsel; };
  g.setRow(3);
  g.setRow(3);
  g.setCol(5);
  g.setRowSel(7);
  EXPECT_EQ(wechsel, 2);
}

TEST_F(RasterTest, FarbwerteHabenRotImNiedrigenByte) {
  EXPECT_EQ(zuQColor(0x0000FF), QColor(255, 0, 0));
  EXPECT_EQ(ausQColor(QColor(0, 0, 255)), 0xFF0000);
}

}  // namespace
