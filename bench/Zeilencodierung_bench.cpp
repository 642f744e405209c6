// Every data file passes through the line encoding; a month of 1,000 employees is
// about 1,000 lines of 40 characters.
#include <benchmark/benchmark.h>

#include "startup/Zeilencodierung.h"

static void BM_Zeile_kodieren(benchmark::State& state) {
  const QString zeile = QStringLiteral("A:mueller:UUUUU  ZZ   KK K     ½   DD  SS ");
  for (auto _ : state) benchmark::DoNotOptimize(Zeile_kodieren(zeile, 77));
}
BENCHMARK(BM_Zeile_kodieren);

static void BM_Zeile_dekodieren(benchmark::State& state) {
  const QByteArray zeile = Zeile_kodieren(QStringLiteral("A:mueller:UUUUU  ZZ   KK K     ½   DD  SS "), 77);
  for (auto _ : state) benchmark::DoNotOptimize(Zeile_dekodieren(zeile));
}
BENCHMARK(BM_Zeile_dekodieren);
