// Reading the month record files of a data folder with 1,000 employees: one month,
// and all 36 months of the window into the day table.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "startup/Start.h"
#include "startup/Zeilencodierung.h"
#include "store/Erfassungsdaten.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"

namespace {

constexpr int kMitarbeiter = 1000;

// A data folder with all 36 months, each one entry line and a comment per employee
// plus a quarter of the employees with a second, later line (appended saves).
struct Datenordner {
  QTemporaryDir tmp;
  Datenordner() {
    gDatenordner = tmp.path() + u'/';
    gHeuteText = QStringLiteral("260310");
    gDatumstrennzeichen = QStringLiteral(".");
    gPlanungsjahr = 2025;
    gBenutzerstufe = 2;
    gSFTexte = QStringList{QString()};
    for (int i = 1; i <= 12; ++i) gSFTexte << QStringLiteral("B%1").arg(i);
    gSFTexte << QStringLiteral("Löschen");
    QStringList ids{QString()};
    for (int i = 0; i < kMitarbeiter; ++i) ids << QStringLiteral("benutzer%1").arg(i);
    Mitarbeitertabelle_dimensionieren(kMitarbeiter);
    gBenutzerIDs = ids;
    gMitarbeiterNamen = ids;
    for (int m = 1; m <= 36; ++m) {
      const QString schlüssel = Monatsschlüssel_zu_Index(m);
      QByteArray inhalt;
      const auto zeile = [&](const QString& t) { inhalt += Zeile_kodieren(t, 65 + (inhalt.size() % 60)) + "\r\n"; };
      zeile(u'[' + schlüssel + u']');
      zeile(QStringLiteral("Kennung"));
      zeile(QStringLiteral("NoEx:NoEx"));
      for (int i = 0; i < kMitarbeiter; ++i) {
        const QString codes = QStringLiteral("11  A   3 2   BB     1   C  4  ").left(31);
        zeile(QStringLiteral("A:benutzer%1:").arg(i) + codes);
        zeile(QStringLiteral("K:benutzer%1:01-02:Seminar in Berlin").arg(i));
      }
      for (int i = 0; i < kMitarbeiter; i += 4) zeile(QStringLiteral("A:benutzer%1:").arg(i) + QString(31, u'1'));
      QFile f(gDatenordner + schlüssel + QStringLiteral(" 250101 Data.dat"));
      f.open(QIODevice::WriteOnly);
      f.write(inhalt);
    }
  }
};

Datenordner& Ordner() {
  static Datenordner d;
  return d;
}

}  // namespace

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
