// Showing a month of many employees: reading the month file and filling the grid
// model with rows, texts and colours.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QPainter>
#include <QPixmap>
#include <QTemporaryDir>
#include <vector>

#include "Grossbestand.h"
#include "launch/Programmstart.h"
#include "planner/Monatsanzeige.h"
#include "platform/Bildschirm.h"
#include "platform/Zustand.h"
#include "startup/Dateizugriff.h"
#include "startup/Start.h"
#include "startup/Zeilencodierung.h"
#include "store/Feiertage.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Velkoraini.h"
#include "widgets/Rasteransicht.h"

namespace {

void Daten_einrichten(const QString& ordner, int mitarbeiter) {
  zustand::alleZurücksetzen();
  Starthaken_setzen();
  gDatenordner = ordner;
  gBenutzername = Großbenutzer(1);
  gHeute = QDate(2026, 3, 12);
  gHeuteText = QStringLiteral("260312");
  gSettings = QStringLiteral("0000000000000101110U½##K310030100####0000010000000");
  gWochenende = QStringLiteral("SaSo");
  for (int i = 1; i <= 9; ++i) gGrundfarben[i] = 0x101010 * i;
  const QStringList texte = {"Urlaub", "½ Urlaub", "Zeitausgleich", "Dienstreise", "Krank", "Sonstiges", "Löschen"};
  Schaltflächen_leeren();
  for (int i = 0; i < texte.size(); ++i) {
    gSFTexte << texte[i];
    gSFKennbuchstaben << texte[i].left(1);
    gSFTextfarben << 0;
    gSFHintergrundfarben << 0x203040 * (i + 1);
    gSFNurAdmins << 0;
    gSFVerbergen << (i == 4 ? 1 : 0);
  }
  gFeiertagsTabelle = QStringLiteral("260319|");
  gMonatsschlüssel = QStringLiteral("2603");
  gBenutzerwerte[25] = 1;
  gBenutzerwerte[28] = 1;

  // A heading before every 20 employees.
  const int zeilen = mitarbeiter + (mitarbeiter + 19) / 20;
  Mitarbeitertabelle_dimensionieren(zeilen);
  int m = 0;
  for (int i = 1; i <= zeilen; ++i) {
    if ((i - 1) % 21 == 0) {
      gMitarbeiterNamen[i] = QStringLiteral("Gruppe %1").arg(i / 21 + 1);
      continue;
    }
    ++m;
    gMitarbeiterNamen[i] = QStringLiteral("Mitarbeiter %1").arg(m);
    gBenutzerIDs[i] = Großbenutzer(m);
    gEintrittsdaten[i] = QStringLiteral("000000");
    gAustrittsdaten[i] = QStringLiteral("999999");
  }

  // Every employee with a line of entries, a tenth of them with a comment.
  const QString codes = QStringLiteral("1  3 55 8   2  6   11111   4  ");
  FOpen(ordner + QStringLiteral("2603 260310 Data.dat"), QStringLiteral("Output"));
  LineOut(QStringLiteral("[2603]"));
  LineOut(QStringLiteral("Velkora:0123456789AB"));
  LineOut(QStringLiteral("NoEx:NoEx"));
  for (int i = 1; i <= mitarbeiter; ++i) {
    LineOut(QStringLiteral("A:") + Großbenutzer(i) + u':' + codes.left(31).leftJustified(31, u' '));
    if (i % 10 == 0) LineOut(QStringLiteral("K:") + Großbenutzer(i) + QStringLiteral(":01-04:Kommentar"));
  }
  FClose();
}

void BM_Monat_anzeigen(benchmark::State& state) {
  QTemporaryDir tmp;
  const QString ordner = tmp.path() + u'/';
  Daten_einrichten(ordner, static_cast<int>(state.range(0)));
  Raster grid(1, 33), kawo(1, 33), tasu(7, 32);
  Monatsanzeige anzeige(grid, kawo, tasu);
  for (auto _ : state) {
    anzeige.anzeigen(true);
    benchmark::DoNotOptimize(grid.Rows());
  }
  state.SetComplexityN(state.range(0));
  zustand::alleZurücksetzen();
}
BENCHMARK(BM_Monat_anzeigen)->Arg(100)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace

namespace {

// The floor of the model: decoding the month file's lines.
void BM_Boden_Monat_dekodieren(benchmark::State& state) {
  QTemporaryDir tmp;
  const QString ordner = tmp.path() + u'/';
  Daten_einrichten(ordner, static_cast<int>(state.range(0)));
  const QString pfad = ordner + QStringLiteral("2603 260310 Data.dat");
  for (auto _ : state) benchmark::DoNotOptimize(Roh_mit_Tabelle_dekodieren(pfad));
  zustand::alleZurücksetzen();
}
BENCHMARK(BM_Boden_Monat_dekodieren)->Arg(1000)->Unit(benchmark::kMillisecond);

// The folder listings one shown month costs.
void BM_Ordnerlisten_je_gezeigtem_Monat(benchmark::State& state) {
  QTemporaryDir tmp;
  const QString ordner = tmp.path() + u'/';
  Daten_einrichten(ordner, 100);
  Raster grid(1, 33), kawo(1, 33), tasu(7, 32);
  Monatsanzeige anzeige(grid, kawo, tasu);
  const quint64 vorher = Dateilisten_bisher();
  int gezeigt = 0;
  for (auto _ : state) {
    anzeige.anzeigen(true);
    ++gezeigt;
  }
  state.counters["Listen_je_Monat"] = static_cast<double>(Dateilisten_bisher() - vorher) / std::max(gezeigt, 1);
  zustand::alleZurücksetzen();
}
BENCHMARK(BM_Ordnerlisten_je_gezeigtem_Monat);

// A month grid of 1,000 employees in a window-sized view, painted: the grid's paint
// beside a bare QPainter drawing the same visible cells (background, two lines, text).
struct Gitterbild {
  Rasteransicht ansicht;
  Gitterbild() {
    bildschirm::setzeDpi(96);
    ansicht.resize(1600, 1000);
    Raster& r = ansicht.raster();
    r.setRows(1001);
    r.setCols(33);
    r.setFixedRows(1);
    r.setFixedCols(1);
    r.setColWidth(0, 2400);
    for (int c = 1; c < 33; ++c) r.setColWidth(c, 675);
    for (int z = 0; z < 1001; ++z) {
      r.setRowHeight(z, 300);
      r.setTextMatrix(z, 0, QStringLiteral("Mitarbeiter %1").arg(z));
      for (int c = 1; c < 33; ++c)
        if ((z + c) % 3 == 0) {
          r.setTextMatrix(z, c, QStringLiteral("U"));
          r.setCellBackColor(z, c, 0x40C040);
        }
    }
    ansicht.show();
  }
};

void BM_Monatsraster_zeichnen(benchmark::State& state) {
  Gitterbild g;
  // Rendered through the grid's own paint into a window-sized target.
  QPixmap ziel(g.ansicht.viewport()->size());
  for (auto _ : state) g.ansicht.viewport()->render(&ziel);
}
BENCHMARK(BM_Monatsraster_zeichnen)->Unit(benchmark::kMillisecond);

// The cells the grid shows, each painted on its own with a bare QPainter: its colour
// (fixed, marked, own or plain), a line along its right and its bottom edge in the
// fixed or the plain line colour, its text left and centred in the grid's text area of
// the cell, clipped short of the lines. Sizes, colours and texts are read from the grid
// before, so that only the painting is timed; the alignment is the one these texts get.
struct Bodenzelle {
  QRect zelle;
  QColor hinten, linie, vorne;
  QString text;
};

std::vector<Bodenzelle> Bodenzellen(const Raster& r, const QSize& größe) {
  std::vector<Bodenzelle> zellen;
  int y = 0;
  for (int z = 0; z < r.Rows() && y < größe.height(); ++z) {
    int x = 0;
    for (int c = 0; c < r.Cols() && x < größe.width(); ++c) {
      const bool fest = z < r.FixedRows() || c < r.FixedCols();
      zellen.push_back({QRect(x, y, r.spaltenPixel(c), r.zeilenPixel(z)), zuQColor(r.Hintergrund(z, c)),
                        zuQColor(fest ? r.GridColorFixed() : r.GridColor()), zuQColor(r.Vordergrund(z, c)),
                        r.TextMatrix(z, c)});
      x += r.spaltenPixel(c);
    }
    y += r.zeilenPixel(z);
  }
  return zellen;
}

void Boden_zeichnen(QPainter& p, const QFont& schrift, const std::vector<Bodenzelle>& zellen) {
  p.setFont(schrift);
  for (const Bodenzelle& b : zellen) {
    p.fillRect(b.zelle, b.hinten);
    p.setPen(b.linie);
    p.drawLine(b.zelle.topRight(), b.zelle.bottomRight());
    p.drawLine(b.zelle.bottomLeft(), b.zelle.bottomRight());
    if (!b.text.isEmpty()) {
      p.setPen(b.vorne);
      p.save();
      p.setClipRect(b.zelle.adjusted(0, 0, -1, -1));
      p.drawText(Rasteransicht::textfläche(b.zelle), Qt::AlignLeft | Qt::AlignVCenter, b.text);
      p.restore();
    }
  }
}

void BM_Boden_Monatsraster_bloss_gezeichnet(benchmark::State& state) {
  Gitterbild g;
  const QSize größe = g.ansicht.viewport()->size();
  QPixmap bild(größe), ziel(größe);
  const QFont schrift = g.ansicht.font();
  const std::vector<Bodenzelle> zellen = Bodenzellen(g.ansicht.raster(), größe);
  // The floor draws what the grid shows, pixel for pixel.
  {
    QPainter p(&bild);
    Boden_zeichnen(p, schrift, zellen);
  }
  g.ansicht.viewport()->render(&ziel);
  if (bild.toImage().convertToFormat(QImage::Format_RGB32) != ziel.toImage().convertToFormat(QImage::Format_RGB32)) {
    state.SkipWithError("the bare paint differs from the grid's picture");
    return;
  }
  for (auto _ : state) {
    QPainter p(&bild);
    Boden_zeichnen(p, schrift, zellen);
    p.end();
    QPainter(&ziel).drawPixmap(0, 0, bild);  // the grid's copy onto its window
  }
}
BENCHMARK(BM_Boden_Monatsraster_bloss_gezeichnet)->Unit(benchmark::kMillisecond);

}  // namespace
