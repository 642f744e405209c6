// The sums overview and the year overview over the large data folder: building the
// sums of a year for 1,000 employees and twelve codes, showing one employee's year
// (twelve month files of 1,000 lines read), and each window's whole opening with its
// fresh read of all 36 months.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "Grossbestand.h"
#include "planner/Programm.h"
#include "platform/Bildschirm.h"
#include "printing/Jahresdruck.h"
#include "store/Anzeigeberechtigungen.h"
#include "store/Erfassungsdaten.h"
#include "views/frmJahresuebersicht.h"
#include "views/frmSummenuebersicht.h"
#include "widgets/Rasteransicht.h"

namespace {

// The tables the overviews need besides the large data folder's.
void Übersichten_einrichten(const QString& ordner, int mitarbeiter) {
  // The overviews' links as the program sets them, here without a main window.
  Ansichtshaken_verdrahten();
  gDatenordner = ordner;
  Großbestand_einrichten(mitarbeiter);
  gDatumstrennzeichen = QStringLiteral(".");
  gDatumsreihenfolge = 1;
  gSFKennbuchstaben = QStringList{QString()};
  gSFTextfarben = {0};
  gSFHintergrundfarben = {0};
  for (int i = 1; i < gSFTexte.size(); ++i) {
    gSFKennbuchstaben << QString(QChar(u'A' + i - 1));
    gSFTextfarben << 0;
    gSFHintergrundfarben << 0xFFFFFF;
  }
  gAnzeigegruppen = QStringList{QString(), QStringLiteral("NoGroups")};
  bildschirm::setzeDpi(96);
}

struct Summenordner {
  QTemporaryDir tmp;
  int mitarbeiter;
  explicit Summenordner(int n) : mitarbeiter(n) {
    Übersichten_einrichten(tmp.path() + u'/', n);
    Großmonate_schreiben(gDatenordner, n);
  }
};

// The folder of 1,000 (or 4,000) employees, its tables set up again for every
// benchmark: the others change the same tables.
Summenordner& Ordner(int mitarbeiter = kMitarbeiter) {
  static Summenordner tausend(kMitarbeiter);
  static std::unique_ptr<Summenordner> viertausend;
  Summenordner* d = &tausend;
  if (mitarbeiter != kMitarbeiter) {
    if (!viertausend) viertausend = std::make_unique<Summenordner>(mitarbeiter);
    d = viertausend.get();
  }
  Übersichten_einrichten(d->tmp.path() + u'/', d->mitarbeiter);
  return *d;
}

}  // namespace

static void BM_Summen_anzeigen(benchmark::State& state) {
  Ordner();
  frmSummenuebersicht f;
  f.Form_Load();
  for (auto _ : state) f.Summen_anzeigen();
  state.counters["Zeilen"] = f.msgFlexGrid->raster().Rows();
}
BENCHMARK(BM_Summen_anzeigen)->Unit(benchmark::kMillisecond);

static void BM_Summenuebersicht_oeffnen(benchmark::State& state) {
  Ordner();
  for (auto _ : state) {
    frmSummenuebersicht f;
    f.Form_Load();
  }
}
BENCHMARK(BM_Summenuebersicht_oeffnen)->Unit(benchmark::kMillisecond);

static void BM_Jahresuebersicht_anzeigen(benchmark::State& state) {
  Ordner();
  gAnsichtshaken.hauptfenster_tag_lesen = [] { return QStringLiteral("benutzer500"); };
  frmJahresuebersicht f;
  f.Form_Load();
  for (auto _ : state) f.Jahresübersicht_anzeigen();
  state.counters["Tag_1"] = f.msgFlexGrid->raster().TextMatrix(1, 1) == u"A" ? 1 : 0;
  Ansichtshaken_verdrahten();
}
BENCHMARK(BM_Jahresuebersicht_anzeigen)->Unit(benchmark::kMillisecond);

static void BM_Jahresuebersicht_oeffnen(benchmark::State& state) {
  Ordner(static_cast<int>(state.range(0)));
  gAnsichtshaken.hauptfenster_tag_lesen = [] { return QStringLiteral("benutzer500"); };
  for (auto _ : state) {
    frmJahresuebersicht f;
    f.Form_Load();
  }
  Ansichtshaken_verdrahten();
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_Jahresuebersicht_oeffnen)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond)->Complexity();

// The all-employees print of the year overview makes every employee's page in turn:
// choosing each name of the open window, as the print dialog does.
static void BM_Jahresuebersicht_jedes_Mitarbeiters_zeigen(benchmark::State& state) {
  Ordner();
  frmJahresuebersicht f;
  f.Form_Load();
  const Jahresdruckquelle& q = gJahresdruckquelle;
  for (auto _ : state) {
    q.serie(true);
    for (int i = 0; i < q.anzahl(); ++i) q.wählen(i);
    q.serie(false);
  }
  state.counters["Mitarbeiter"] = q.anzahl();
}
BENCHMARK(BM_Jahresuebersicht_jedes_Mitarbeiters_zeigen)->Unit(benchmark::kMillisecond)->Iterations(1);
