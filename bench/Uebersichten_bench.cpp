// The sums overview and the year overview over the large data folder: building the
// sums of a year for 1,000 employees and twelve codes, showing one employee's year
// (twelve month files of 1,000 lines read), and each window's whole opening with its
// fresh read of all 36 months.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include "Grossbestand.h"
#include "platform/Bildschirm.h"
#include "platform/widgets/Rasteransicht.h"
#include "store/Anzeigeberechtigungen.h"
#include "store/Erfassungsdaten.h"
#include "views/frmJahresuebersicht.h"
#include "views/frmSummenuebersicht.h"

namespace {

struct Summenordner {
  QTemporaryDir tmp;
  Summenordner() {
    gDatenordner = tmp.path() + u'/';
    Großbestand_einrichten();
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
    for (int m = 1; m <= 36; ++m) {
      const QString schlüssel = Monatsschlüssel_zu_Index(m);
      QFile f(gDatenordner + schlüssel + QStringLiteral(" 250101 Data.dat"));
      f.open(QIODevice::WriteOnly);
      f.write(Großmonat(schlüssel));
    }
    bildschirm::setzeDpi(96);
  }
};

Summenordner& Ordner() {
  static Summenordner d;
  return d;
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
  gAnsichtshaken = {};
}
BENCHMARK(BM_Jahresuebersicht_anzeigen)->Unit(benchmark::kMillisecond);

static void BM_Jahresuebersicht_oeffnen(benchmark::State& state) {
  Ordner();
  gAnsichtshaken.hauptfenster_tag_lesen = [] { return QStringLiteral("benutzer500"); };
  for (auto _ : state) {
    frmJahresuebersicht f;
    f.Form_Load();
  }
  gAnsichtshaken = {};
}
BENCHMARK(BM_Jahresuebersicht_oeffnen)->Unit(benchmark::kMillisecond);
