// Showing a month of many employees: reading the month file and filling the grid
// model with rows, texts and colours.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>

#include "launch/Programmstart.h"
#include "planner/Monatsanzeige.h"
#include "platform/Zustand.h"
#include "startup/Dateizugriff.h"
#include "startup/Start.h"
#include "startup/Zeilencodierung.h"
#include "store/Feiertage.h"
#include "store/Konfigdaten.h"
#include "store/Mitarbeiterdaten.h"
#include "store/Velkoraini.h"

namespace {

void Daten_einrichten(const QString& ordner, int mitarbeiter) {
  zustand::alleZurücksetzen();
  Starthaken_setzen();
  gDatenordner = ordner;
  gBenutzername = QStringLiteral("m1");
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
    gBenutzerIDs[i] = QStringLiteral("m%1").arg(m);
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
    LineOut(QStringLiteral("A:m%1:").arg(i) + codes.left(31).leftJustified(31, u' '));
    if (i % 10 == 0) LineOut(QStringLiteral("K:m%1:01-04:Kommentar").arg(i));
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
