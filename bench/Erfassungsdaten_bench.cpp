// Reading the month record files of a data folder with 1,000 employees: one month,
// and all 36 months of the window into the day table; all 36 months also of the same
// folder with every user name in lower-case ASCII, in ASCII with a capital, holding
// umlauts and holding letters of the code page's upper block, side by side.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <map>
#include <memory>

#include "Grossbestand.h"
#include "store/Erfassungsdaten.h"

namespace {

// A data folder with all 36 months of the large data folder.
struct Datenordner {
  QTemporaryDir tmp;
  Namensart art;
  explicit Datenordner(Namensart a) : art(a) {
    gDatenordner = tmp.path() + u'/';
    Großbestand_einrichten(kMitarbeiter, art);
    Großmonate_schreiben(gDatenordner, kMitarbeiter, art);
  }
};

// Set up again for every benchmark: the others change the same tables.
Datenordner& Ordner(Namensart art = Namensart::Gemischt) {
  // Each folder written when it is first asked for, so that a filtered run writes only its own.
  static std::map<Namensart, std::unique_ptr<Datenordner>> ordner;
  auto& o = ordner[art];
  if (!o) o = std::make_unique<Datenordner>(art);
  Datenordner& d = *o;
  gDatenordner = d.tmp.path() + u'/';
  Großbestand_einrichten(kMitarbeiter, art);
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

static void BM_Alle_Erfassungsdaten_einlesen_Namen(benchmark::State& state, Namensart art) {
  Ordner(art);
  for (auto _ : state) Alle_Erfassungsdaten_einlesen(false);
  // Every employee's row found, whatever the spelling of the name.
  int gefunden = 0;
  for (int i = 1; i <= gErfassungsdaten.zeilen(); ++i) gefunden += gErfassungsdaten(i, 1).isEmpty() ? 0 : 1;
  state.counters["Zeilen"] = gefunden;
}
BENCHMARK_CAPTURE(BM_Alle_Erfassungsdaten_einlesen_Namen, ascii, Namensart::Ascii)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Alle_Erfassungsdaten_einlesen_Namen, ascii_gross, Namensart::AsciiGroß)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Alle_Erfassungsdaten_einlesen_Namen, umlaute, Namensart::Umlaute)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Alle_Erfassungsdaten_einlesen_Namen, sonderzeichen, Namensart::Sonderzeichen)
    ->Unit(benchmark::kMillisecond);
