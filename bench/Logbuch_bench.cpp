// The logbook viewer over 100,000 logbook lines in twelve monthly files (one in fifty
// cancelled by a ":Storno" line in the same or the next month): reading and cancelling,
// splitting into entries, showing the whole year in the user log, the whole opening of
// the window up to the year shown, sorting it by date, and thinning it by a double click
// and a Ctrl+click.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTemporaryDir>
#include <optional>

#include "platform/Bildschirm.h"
#include "startup/Start.h"
#include "startup/Zeilencodierung.h"
#include "store/Konfigdaten.h"
#include "views/frmLogbuch.h"
#include "widgets/Rasteransicht.h"

namespace {

constexpr int kZeilen = 100'000;

struct Logbuchordner {
  QTemporaryDir tmp;
  Logbuchordner() {
    gLogordner = tmp.path() + u'/';
    gDatumstrennzeichen = QStringLiteral(".");
    gDatumsreihenfolge = 1;
    gHeute = QDate(2026, 12, 31);
    gBenutzerstufe = 2;
    bildschirm::setzeDpi(96);
    const int proMonat = kZeilen / 12 + 1;
    int n = 0;
    QString offen;  // a line waiting for its ":Storno"
    for (int m = 1; m <= 12 && n < kZeilen; ++m) {
      QByteArray inhalt;
      for (int i = 0; i < proMonat && n < kZeilen; ++i, ++n) {
        const QString kopf = QStringLiteral("%1.%2.26 %3:%4:00|")
                                 .arg(1 + i % 28, 2, 10, QChar(u'0'))
                                 .arg(m, 2, 10, QChar(u'0'))
                                 .arg(8 + i % 10, 2, 10, QChar(u'0'))
                                 .arg(i % 60, 2, 10, QChar(u'0'));
        QString zeile;
        if (!offen.isEmpty() && i % 50 == 7) {
          zeile = kopf + offen + QStringLiteral(":Storno");
          offen.clear();
        } else if (i % 10 == 9) {
          zeile = kopf + QStringLiteral("chef|VelkoraAdmin|Feiertage neu: %1").arg(n);
        } else {
          const QString ereignis = QStringLiteral("benutzer%1|mitarbeiter%2|Urlaub|%3%426|%3%426")
                                       .arg(n % 40)
                                       .arg(n % 1000)
                                       .arg(1 + i % 28, 2, 10, QChar(u'0'))
                                       .arg(m, 2, 10, QChar(u'0'));
          zeile = kopf + ereignis + (i % 7 == 0 ? QStringLiteral("|Kommentar %1").arg(n) : QString());
          if (i % 50 == 3) offen = zeile.mid(18);
        }
        inhalt += Zeile_kodieren(zeile, 'K') + "\r\n";
      }
      QFile f(gLogordner + QStringLiteral("26%1 Velkora.log").arg(m, 2, 10, QChar(u'0')));
      f.open(QIODevice::WriteOnly);
      f.write(inhalt);
    }
  }
};

Logbuchordner& Ordner() {
  static Logbuchordner d;
  return d;
}

// A viewer with the whole year of the user log shown.
struct Betrachter {
  frmLogbuch f;
  Betrachter() {
    f.Form_Load();
    f.Form_Activate();
    {
      // The year is shown once, below, not also by the boxes' own display on a change.
      const QSignalBlocker a(f.txtVonDatum), b(f.txtBisDatum);
      f.txtVonDatum->setText(QStringLiteral("01.01.26"));
      f.txtBisDatum->setText(QStringLiteral("31.12.26"));
    }
    f.Logbuch_anzeigen();
  }
};

}  // namespace

static void BM_Logbuch_lesen(benchmark::State& state) {
  Ordner();
  QStringList übersprungen;
  for (auto _ : state) benchmark::DoNotOptimize(Logbuchzeilen_lesen(gLogordner, übersprungen));
  state.counters["Zeilen"] = static_cast<double>(Logbuchzeilen_lesen(gLogordner, übersprungen).size() - 1);
}
BENCHMARK(BM_Logbuch_lesen)->Unit(benchmark::kMillisecond);

static void BM_Logbuch_zerlegen(benchmark::State& state) {
  Ordner();
  QStringList übersprungen;
  const QStringList zeilen = Logbuchzeilen_lesen(gLogordner, übersprungen);
  for (auto _ : state) benchmark::DoNotOptimize(Logbucheinträge_zerlegen(zeilen));
}
BENCHMARK(BM_Logbuch_zerlegen)->Unit(benchmark::kMillisecond);

static void BM_Logbuch_anzeigen(benchmark::State& state) {
  Ordner();
  Betrachter b;
  for (auto _ : state) b.f.Logbuch_anzeigen();
  state.counters["Zeilen"] = b.f.msgFlexGrid->raster().Rows() - 1;
}
BENCHMARK(BM_Logbuch_anzeigen)->Unit(benchmark::kMillisecond);

// The whole opening as the user waits for it: the window loads (reads the logbooks),
// activates (splits them, shows the last month, fills the filter boxes) and shows the year.
static void BM_Logbuch_oeffnen(benchmark::State& state) {
  Ordner();
  std::optional<Betrachter> b;
  for (auto _ : state) {
    // The window's teardown is not part of the wait.
    state.PauseTiming();
    b.reset();
    state.ResumeTiming();
    b.emplace();
  }
  state.counters["Zeilen"] = b->f.msgFlexGrid->raster().Rows() - 1;
}
BENCHMARK(BM_Logbuch_oeffnen)->Unit(benchmark::kMillisecond);

static void BM_Logbuch_nach_Datum_sortieren(benchmark::State& state) {
  Ordner();
  Betrachter b;
  Raster& g = b.f.msgFlexGrid->raster();
  for (auto _ : state) {
    g.setzeMaus(0, 0);
    b.f.msgFlexGrid_Kopfklick();
  }
}
BENCHMARK(BM_Logbuch_nach_Datum_sortieren)->Unit(benchmark::kMillisecond);

// Thinning: a double click keeps one employee's rows, a Ctrl+click removes one writer's.
static void BM_Logbuch_verduennen(benchmark::State& state) {
  Ordner();
  Betrachter b;
  Raster& g = b.f.msgFlexGrid->raster();
  const bool behalten = state.range(0) == 1;
  for (auto _ : state) {
    state.PauseTiming();
    b.f.Logbuch_anzeigen();
    state.ResumeTiming();
    g.setzeMaus(2, behalten ? 3 : 2);
    if (behalten)
      b.f.msgFlexGrid_DblClick();
    else
      b.f.msgFlexGrid_MouseDown(1, 2);
  }
  state.counters["Zeilen_danach"] = g.Rows() - 1;
}
BENCHMARK(BM_Logbuch_verduennen)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
