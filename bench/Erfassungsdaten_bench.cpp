// Reading the month record files of a data folder with 1,000 employees: one month,
// and all 36 months of the window into the day table.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "Grossbestand.h"
#include "store/Erfassungsdaten.h"

namespace {

// A data folder with all 36 months of the large data folder.
struct Datenordner {
  QTemporaryDir tmp;
  Datenordner() {
    gDatenordner = tmp.path() + u'/';
    Großbestand_einrichten();
    Großmonate_schreiben(gDatenordner);
  }
};

// Set up again for every benchmark: the others change the same tables.
Datenordner& Ordner() {
  static Datenordner d;
  gDatenordner = d.tmp.path() + u'/';
  Großbestand_einrichten();
  return d;
}

}  // namespace

static void BM_Boden_ein_Monat_roh_mit_Tabellendekodierer(benchmark::State& state) {
  Ordner();
  const QString pfad = gDatenordner + QStringLiteral("2603 250101 Data.dat");
  for (auto _ : state) benchmark::DoNotOptimize(Roh_mit_Tabelle_dekodieren(pfad));
}
BENCHMARK(BM_Boden_ein_Monat_roh_mit_Tabellendekodierer)->Unit(benchmark::kMillisecond);

static void BM_Boden_alle_Monate_roh_mit_Tabellendekodierer(benchmark::State& state) {
  Ordner();
  QStringList pfade;
  for (int m = 1; m <= 36; ++m)
    pfade << gDatenordner + Monatsschlüssel_zu_Index(m) + QStringLiteral(" 250101 Data.dat");
  for (auto _ : state)
    for (const QString& p : pfade) benchmark::DoNotOptimize(Roh_mit_Tabelle_dekodieren(p));
}
BENCHMARK(BM_Boden_alle_Monate_roh_mit_Tabellendekodierer)->Unit(benchmark::kMillisecond);

static void BM_Erfassungsdaten_lesen_ein_Monat(benchmark::State& state) {
  Ordner();
  for (auto _ : state) benchmark::DoNotOptimize(Erfassungsdaten_lesen(QStringLiteral("2603")));
}
BENCHMARK(BM_Erfassungsdaten_lesen_ein_Monat)->Unit(benchmark::kMillisecond);

static void BM_Alle_Erfassungsdaten_einlesen(benchmark::State& state) {
  Ordner();
  for (auto _ : state) Alle_Erfassungsdaten_einlesen(false);
  state.counters["schnell"] = gSchnellesLesen ? 1 : 0;
}
BENCHMARK(BM_Alle_Erfassungsdaten_einlesen)->Unit(benchmark::kMillisecond);
