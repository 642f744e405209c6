// The grid's picture: whatever way the view paints, every pixel is the one that painting
// each shown cell on its own gives: its background, a line along its right and its
// bottom edge, its text drawn into the text area of the cell, clipped short of the
// lines. The test paints the cells that way with a bare QPainter and compares.
#include <gtest/gtest.h>

#include <QPainter>
#include <QPixmap>
#include <QSet>
#include <QTest>
#include <functional>

#include "platform/Bildschirm.h"
#include "widgets/Rasteransicht.h"

namespace {

struct Strecke {
  int index, anfang, länge;
};

std::vector<Strecke> strecken(int fest, int erste, int anzahl, int platz, const std::function<int(int)>& pixel) {
  std::vector<Strecke> s;
  int pos = 0;
  const auto dazu = [&](int i) {
    if (pixel(i) > 0) {
      s.push_back({i, pos, pixel(i)});
      pos += pixel(i);
    }
  };
  for (int i = 0; i < fest && pos < platz; ++i) dazu(i);
  for (int i = erste; i < anzahl && pos < platz; ++i) dazu(i);
  return s;
}

// The shown cells painted one by one, each with its own state.
QImage zelleFürZelle(const Rasteransicht& ansicht) {
  const Raster& g = ansicht.raster();
  const QSize größe = ansicht.viewport()->size();
  QPixmap bild(größe);
  QPainter p(&bild);
  p.fillRect(bild.rect(), zuQColor(g.BackColorBkg()));
  const auto zeilen =
      strecken(g.FixedRows(), g.TopRow(), g.Rows(), größe.height(), [&](int r) { return g.zeilenPixel(r); });
  const auto spalten =
      strecken(g.FixedCols(), g.LeftCol(), g.Cols(), größe.width(), [&](int c) { return g.spaltenPixel(c); });
  for (const auto& z : zeilen)
    for (size_t i = 0; i < spalten.size(); ++i) {
      const int r = z.index, c = spalten[i].index;
      auto [erste, letzte] = g.Verbund(r, c);
      if (erste < c && i > 0 && spalten[i - 1].index >= erste) continue;
      size_t j = i;
      while (j + 1 < spalten.size() && spalten[j + 1].index <= letzte) ++j;
      const QRect zelle(spalten[i].anfang, z.anfang, spalten[j].anfang + spalten[j].länge - spalten[i].anfang, z.länge);
      const bool fest = r < g.FixedRows() || c < g.FixedCols();
      p.fillRect(zelle, zuQColor(g.Hintergrund(r, c)));
      p.setPen(zuQColor(fest ? g.GridColorFixed() : g.GridColor()));
      p.drawLine(zelle.topRight(), zelle.bottomRight());
      p.drawLine(zelle.bottomLeft(), zelle.bottomRight());
      QString text = g.TextMatrix(r, c);
      if (text.isEmpty()) continue;
      text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
      p.setFont(ansicht.zellenschrift(r, c));
      p.setPen(zuQColor(g.Vordergrund(r, c)));
      int a = g.CellAlignment(r, c);
      if (a < 0 && fest) a = g.FixedAlignment(c);
      if (a < 0) a = g.ColAlignment(c);
      const QRect innen = Rasteransicht::textfläche(zelle);
      const bool umbrechen = g.WordWrap() && innen.height() >= 2 * p.fontMetrics().height();
      p.save();
      p.setClipRect(zelle.adjusted(0, 0, -1, -1));
      p.drawText(innen, static_cast<int>(Rasterausrichtung(a, text)) | (umbrechen ? Qt::TextWordWrap : 0), text);
      p.restore();
    }
  p.end();
  return bild.toImage().convertToFormat(QImage::Format_RGB32);
}

struct Fall {
  const char* name;
  std::function<void(Rasteransicht&)> einrichten;
};

const QStringList kTexte = {"U",
                            "½",
                            "Mitarbeiter 117",
                            "Tarif",
                            "ÄÖÜäöüß",
                            "12,5",
                            "-3",
                            "42",
                            "1e3",
                            "jy_gq",
                            "W",
                            "WWWWWWWWWWWWWWWWWWWW",
                            " Rand ",
                            "Zeile\r\nzwei",
                            "Tab\tTab",
                            "שלום",
                            "Ω≠∑",
                            "Ein ziemlich langer Text, der umbricht",
                            "a&b",
                            "iiii"};

void monat(Rasteransicht& a) {
  Raster& g = a.raster();
  g.setRows(40);
  g.setCols(33);
  g.setColWidth(0, 2400);
  for (int c = 1; c < 33; ++c) g.setColWidth(c, 675);
  for (int r = 0; r < 40; ++r) {
    g.setRowHeight(r, 300);
    g.setTextMatrix(r, 0, QStringLiteral("Mitarbeiter %1").arg(r));
    for (int c = 1; c < 33; ++c)
      if ((r + c) % 3 == 0) {
        g.setTextMatrix(r, c, c % 2 ? QStringLiteral("U") : QStringLiteral("½"));
        g.setCellBackColor(r, c, 0x40C040);
      } else if (c % 7 == 0) {
        g.setCellBackColor(r, c, 0xC0C0C0);
      }
  }
  g.setRow(3);
  g.setCol(4);
  g.setRowSel(6);
  g.setColSel(9);
}

void alleTexte(Rasteransicht& a, int zeilenhöhe) {
  Raster& g = a.raster();
  g.setRows(kTexte.size() + 1);
  g.setCols(11);
  for (int c = 0; c < 11; ++c) {
    g.setColWidth(c, c == 0 ? 1500 : 600 + 150 * c);
    g.setColAlignment(c, c == 0 ? Raster::Allgemein : c - 1);
    g.setTextMatrix(0, c, QStringLiteral("Sp %1").arg(c));
  }
  for (int r = 1; r <= kTexte.size(); ++r) {
    g.setRowHeight(r, zeilenhöhe);
    for (int c = 0; c < 11; ++c) g.setTextMatrix(r, c, kTexte[r - 1]);
  }
}

const Fall kFälle[] = {
    {"Monat", monat},
    {"MonatGerollt",
     [](Rasteransicht& a) {
       monat(a);
       a.raster().setTopRow(7);
       a.raster().setLeftCol(5);
     }},
    {"AusrichtungenEinzeilig", [](Rasteransicht& a) { alleTexte(a, 300); }},
    {"AusrichtungenHoch", [](Rasteransicht& a) { alleTexte(a, 720); }},
    {"AusrichtungenNiedrig", [](Rasteransicht& a) { alleTexte(a, 150); }},
    {"Umbruch",
     [](Rasteransicht& a) {
       alleTexte(a, 900);
       a.raster().setWordWrap(true);
     }},
    {"SchriftenUndFarben",
     [](Rasteransicht& a) {
       alleTexte(a, 360);
       Raster& g = a.raster();
       for (int r = 1; r < g.Rows(); ++r)
         for (int c = 0; c < g.Cols(); ++c) {
           if ((r + c) % 2) g.setCellFontBold(r, c, true);
           if ((r + c) % 3 == 0) g.setCellFontSize(r, c, 6 + (r + c) % 11);
           if ((r * c) % 5 == 1) g.setCellForeColor(r, c, 0x0000FF * (r % 2) + 0x008000);
           if ((r * c) % 4 == 2) g.setCellAlignment(r, c, (r + c) % 10);
         }
       g.setFixedAlignment(0, Raster::MitteUnten);
       g.setGridColor(0x00FF00);
       g.setGridColorFixed(0x7F007F);
     }},
    {"KursiveGrosseSchrift",
     [](Rasteransicht& a) {
       QFont f = a.font();
       f.setItalic(true);
       f.setPointSizeF(13);
       a.setFont(f);
       alleTexte(a, 400);
     }},
    {"VerbundenVerborgenKlein",
     [](Rasteransicht& a) {
       Raster& g = a.raster();
       g.setRows(9);
       g.setCols(8);
       g.setFixedCols(2);
       for (int c = 0; c < 8; ++c) g.setColWidth(c, 800);
       g.setColWidth(4, 0);
       g.setRowHeight(3, 0);
       g.setMergeCells(true);
       for (int r = 0; r < 9; ++r) {
         g.setMergeRow(r, r % 2 == 0);
         for (int c = 0; c < 8; ++c) g.setTextMatrix(r, c, c < 3 || c > 5 ? QStringLiteral("Gleich") : QString());
       }
       g.setTextMatrix(5, 7, QStringLiteral("Anders"));
       g.setHighLight(0);
     }},
};

class Rasterbild : public ::testing::TestWithParam<Fall> {
 protected:
  void SetUp() override { bildschirm::setzeDpi(96); }
  void TearDown() override { bildschirm::setzeDpi(0); }
};

TEST_P(Rasterbild, GleichtDemBildZelleFuerZelle) {
  Rasteransicht ansicht;
  ansicht.resize(900, 520);
  GetParam().einrichten(ansicht);
  ansicht.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&ansicht));
  // Twice: a repaint draws the texts it laid out before.
  for (int mal = 0; mal < 2; ++mal) {
    const QImage ist = ansicht.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage soll = zelleFürZelle(ansicht);
    ASSERT_EQ(ist.size(), soll.size());
    int anders = 0;
    QPoint erstes(-1, -1);
    for (int y = 0; y < ist.height(); ++y)
      for (int x = 0; x < ist.width(); ++x)
        if (ist.pixel(x, y) != soll.pixel(x, y) && anders++ == 0) erstes = QPoint(x, y);
    EXPECT_EQ(anders, 0) << GetParam().name << ", paint " << mal + 1 << ": first at " << erstes.x() << "," << erstes.y()
                         << " cell " << ansicht.zelleBei(erstes).first << "," << ansicht.zelleBei(erstes).second;
    // Not two empty pictures: the texts and the lines are there.
    QSet<QRgb> farben;
    for (int y = 0; y < soll.height(); y += 3)
      for (int x = 0; x < soll.width(); ++x) farben.insert(soll.pixel(x, y));
    EXPECT_GT(farben.size(), 8);
  }
}

// Texts laid out in one font are not drawn in the next: a new font of the grid, or of a
// cell, paints as the cell-by-cell paint does.
TEST(RasterbildSchrift, EineNeueSchriftZeichnetNeu) {
  bildschirm::setzeDpi(96);
  Rasteransicht ansicht;
  ansicht.resize(900, 520);
  alleTexte(ansicht, 400);
  ansicht.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&ansicht));
  const auto vergleichen = [&](const char* wann) {
    const QImage ist = ansicht.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(ist == zelleFürZelle(ansicht)) << wann;
    return ist;
  };
  const QImage vorher = vergleichen("before");
  // Of the same size and weight: only the shape differs.
  QFont f = ansicht.font();
  f.setItalic(true);
  ansicht.setFont(f);
  EXPECT_FALSE(vergleichen("after the grid's font changed") == vorher);
  ansicht.raster().setCellFontBold(1, 1, true);
  ansicht.raster().setCellFontSize(2, 2, 7);
  vergleichen("after cells' fonts changed");
  bildschirm::setzeDpi(0);
}

INSTANTIATE_TEST_SUITE_P(Faelle, Rasterbild, ::testing::ValuesIn(kFälle),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
